#include "SqlDateTime.h"

#include <gtest/gtest.h>

struct DateTimeForm {
    const char* name;
    QVariant stored;
    QDateTime expected;
};

TEST(SqlDateTime, EveryFormAWriterUsesReadsAsTheSameValue) {
    const QDateTime t(QDate(2026, 5, 7), QTime(23, 59, 59));
    const QDateTime midnight(QDate(2026, 5, 7), QTime(0, 0));
    const DateTimeForm forms[] = {
        {"value", QVariant(t), t},
        {"date value", QVariant(QDate(2026, 5, 7)), midnight},
        {"ISO with T and milliseconds", QVariant("2026-05-07T23:59:59.000"), t},
        {"ISO with T", QVariant("2026-05-07T23:59:59"), t},
        {"blank between date and time", QVariant("2026-05-07 23:59:59"), t},
        {"microseconds", QVariant("2026-05-07 23:59:59.000000"), t},
        {"date alone", QVariant("2026-05-07"), midnight},
        {"surrounding blanks", QVariant(" 2026-05-07 23:59:59 "), t},
    };
    for (const DateTimeForm& f : forms)
        EXPECT_EQ(SqlDateTime::parse(f.stored), f.expected) << f.name;
}

TEST(SqlDateTime, NoDateGivesAnInvalidTime) {
    EXPECT_FALSE(SqlDateTime::parse(QVariant()).isValid());
    EXPECT_FALSE(SqlDateTime::parse(QVariant(QMetaType::fromType<QString>())).isValid());
    EXPECT_FALSE(SqlDateTime::parse(QVariant("next Tuesday")).isValid());
    EXPECT_FALSE(SqlDateTime::parse(QVariant("2026-13-40")).isValid());
}

TEST(SqlDateTime, SecondsDropTheMilliseconds) {
    const QDateTime t(QDate(2026, 5, 7), QTime(9, 30, 15, 987));
    EXPECT_EQ(SqlDateTime::toSeconds(t), QDateTime(QDate(2026, 5, 7), QTime(9, 30, 15)));
}
