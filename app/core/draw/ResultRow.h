#pragma once

#include "Candidate.h"

#include <QSqlDatabase>
#include <QString>

// One expert appended to a project's draw result (ProjectList), with the
// expert's values as they are at the moment of the draw.
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

    bool append(QSqlDatabase db, QString* error) const;
};
