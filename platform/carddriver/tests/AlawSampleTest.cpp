#include "carddriver/AlawSample.h"

#include <gtest/gtest.h>

// The reference library's headers need their own order.
// clang-format off
#include <spandsp/telephony.h>
#include <spandsp/bit_operations.h>
#include <spandsp/g711.h>
// clang-format on

using carddriver::AlawSample;

TEST(AlawSample, DecodesEveryCodeLikeTheReferenceCoder) {
    for (int code = 0; code < 256; ++code)
        ASSERT_EQ(AlawSample::decode(static_cast<uint8_t>(code)),
                  alaw_to_linear(static_cast<uint8_t>(code)))
            << code;
}

TEST(AlawSample, EncodesEverySampleLikeTheReferenceCoder) {
    for (int sample = -32768; sample <= 32767; ++sample)
        ASSERT_EQ(AlawSample::encode(static_cast<int16_t>(sample)), linear_to_alaw(sample))
            << sample;
}
