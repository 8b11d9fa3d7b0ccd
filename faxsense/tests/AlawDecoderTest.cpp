#include "AlawDecoder.h"
#include "AlawEncoder.h"

#include <gtest/gtest.h>

namespace faxsense {
namespace {

TEST(AlawDecoderTest, EveryCodeExpandsAsSpandspsG711Does) {
    for (int code = 0; code < 256; ++code) {
        EXPECT_EQ(AlawDecoder::decode(static_cast<uint8_t>(code)),
                  testing::AlawEncoder::decode(static_cast<uint8_t>(code)))
            << "code " << code;
    }
}

} // namespace
} // namespace faxsense
