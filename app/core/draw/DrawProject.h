#pragma once

#include <QDateTime>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QVariant>

// The draw conditions of one project, as the pools and the replacement read
// them. A project number without a project row gives no conditions.
struct DrawProject {
    QString billID;
    bool found = false;
    QString city;
    int gapDay = 0;
    int num3 = 0;
    bool archived = false;
    // The project's own evaluation specialty and industry: the replacement's
    // fallback when the declined expert's row carries neither.
    QVariant typeName;
    QString specialty;
    QDateTime pbBeginDate;
    // The avoidance lists, sorted: the pools leave them out through their
    // query; the audit trail records them as they were at the draw.
    QStringList avoidedUnits;
    QStringList avoidedExperts;

    // Reads the project row and its avoidance lists; false with the reason
    // on a database error.
    static bool OpenProject(QSqlDatabase db, const QString& billID, DrawProject* out,
                            QString* error);
};
