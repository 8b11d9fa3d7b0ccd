#include "PasswordHash.h"

#include <gtest/gtest.h>

TEST(PasswordHash, StoredFormVerifiesOnlyTheSameUserAndPassword) {
    const QString stored = ScramblePassword("admin", "69081");
    EXPECT_TRUE(stored.startsWith("pbkdf2-sha256$100000$"));
    EXPECT_LE(stored.size(), 160);
    EXPECT_TRUE(PasswordMatches("admin", "69081", stored));
    EXPECT_FALSE(PasswordMatches("admin", "69082", stored));
    EXPECT_FALSE(PasswordMatches("Admin", "69081", stored));
    EXPECT_FALSE(PasswordMatches("admin", "", stored));
}

TEST(PasswordHash, SamePasswordGivesDifferentStoredForms) {
    EXPECT_NE(ScramblePassword("a", "pw"), ScramblePassword("a", "pw"));
    EXPECT_NE(ScramblePassword("a", "pw"), ScramblePassword("b", "pw"));
}

TEST(PasswordHash, MalformedStoredFormsNeverMatch) {
    for (const char* bad : {"", "69081", "pbkdf2-sha256$x$AAAA$AAAA", "pbkdf2-sha256$0$AAAA$AAAA",
                            "pbkdf2-sha256$999999999$AAAA$AAAA", "md5$1$a$b"})
        EXPECT_FALSE(PasswordMatches("admin", "69081", bad)) << bad;
}
