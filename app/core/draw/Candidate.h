#pragma once

#include <QString>
#include <QVariant>

// One expert of a candidate pool, with the values a result row copies as they
// are in the register (a missing value stays missing).
struct Candidate {
    QString expertID;
    QVariant expertName;
    QVariant tel;
    QVariant mobile;
    QVariant employer;
    QString specialtyClass;
    bool designated = false;

    // The draw compares employers as text: a missing employer is the empty one.
    QString employerText() const { return employer.toString(); }
    QString mobileText() const { return mobile.toString(); }
};
