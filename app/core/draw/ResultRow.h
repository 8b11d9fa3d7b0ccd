#pragma once

#include "Candidate.h"

#include <QString>
#include <QVariantList>

// One expert appended to a project's draw result (ProjectList). The expert's
// number, name, telephones and employer are copied by the database from the
// register row at the moment the row is written. The texts the draw writes
// itself (sms, ICNO, reType, reClass) are never missing: an empty one is
// written as empty text.
struct ResultRow {
    QString billID;
    Candidate expert;
    QString specialtyClass;
    QString sms;
    QString icno;
    QString reType;
    QString reClass;

    static inline const QString kToBeContacted = QStringLiteral("待联系");
    static inline const QString kAutomaticReplacement = QStringLiteral("自动补抽");

    static QString insertSql();
    QVariantList insertValues() const;
};
