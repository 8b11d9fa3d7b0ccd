// Its own program: the library before lc_faxinit has run.
#include "faxsense/Faxsense.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

TEST(FaxsenseUninitialisedTest, DetectingBeforeInitialisingIsAnError) {
    const std::vector<uint8_t> block(FAXSENSE_BLOCK_BYTES, 0xD5);
    EXPECT_EQ(lc_faxdetect(0, block.data(), FAXSENSE_BLOCK_BYTES), FAXSENSE_ERR_NOT_INITIALISED);
    // The argument checks come first all the same.
    EXPECT_EQ(lc_faxdetect(-1, block.data(), FAXSENSE_BLOCK_BYTES), FAXSENSE_ERR_CHANNEL);
}

} // namespace
