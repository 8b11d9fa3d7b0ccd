#pragma once

#include <QString>

// One expert of a candidate pool, with the values a result row copies.
struct Candidate {
    QString expertID;
    QString expertName;
    QString tel;
    QString mobile;
    QString employer;
    // A missing employer differs from an empty one in every SQL comparison.
    bool employerIsNull = false;
    QString specialtyClass;
    bool designated = false;
};
