#pragma once

#include <QByteArray>
#include <QString>
#include <QVariant>

// One expert of a candidate pool, with what the rules look at. The result row
// copies the expert's values from the register itself when it is written.
struct Candidate {
    QString expertID;
    QVariant mobile;
    QVariant employer;
    QString specialtyClass;
    bool designated = false;
    // Worked out once when the pool is read: every pick compares the mobile
    // numbers and hashes the numbers of the whole pool.
    QString mobileKey; // the mobile number trimmed
    QByteArray idUtf8; // expertID followed by a line feed

    // The draw compares employers as text: a missing employer is the empty one.
    QString employerText() const { return employer.toString(); }
    QString mobileText() const { return mobile.toString(); }
};
