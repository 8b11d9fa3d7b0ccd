#pragma once

#include <QString>
#include <QVariant>

// One row of a project's demand (ProjectSpeciality).
struct DemandRow {
    // The row's own number, by which the audit trail names it.
    qlonglong id = 0;
    QString specialtyClass;
    // Evaluation specialty number of a technical row; null when the row has none.
    QVariant typeName;
    QString typeNameText;
    // Industry restriction of a technical row; when set it replaces the specialty.
    QString specialty;
    int num = 0;
};
