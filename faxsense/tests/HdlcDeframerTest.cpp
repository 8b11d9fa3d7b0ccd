// The deframer on bit streams from spandsp's HDLC transmitter.
#include "HdlcDeframer.h"
#include "V21SignalSource.h"

#include <gtest/gtest.h>

#include <ostream>

#include <spandsp.h>

#include <functional>
#include <string>
#include <vector>

namespace faxsense {
namespace {

using testing::T30Frame;
using testing::V21SignalSource;
using Bits = std::vector<uint8_t>;

// Line bits to the deframer's input: most significant bit first, the tail
// filled with ones as an idle line would be.
std::vector<uint8_t> pack(const Bits& bits) {
    std::vector<uint8_t> bytes((bits.size() + 7) / 8, 0xFF);
    for (std::size_t i = 0; i < bits.size(); ++i) {
        const uint8_t mask = static_cast<uint8_t>(0x80 >> (i % 8));
        bytes[i / 8] = bits[i] ? (bytes[i / 8] | mask) : (bytes[i / 8] & ~mask);
    }
    return bytes;
}

std::vector<uint8_t> withFcs(std::vector<uint8_t> octets) {
    octets.resize(octets.size() + 2);
    crc_itu16_append(octets.data(), static_cast<int>(octets.size() - 2));
    return octets;
}

struct Expected {
    std::vector<uint8_t> bytes; // FCS included
    bool crcGood;
};

struct DeframeCase {
    std::string name;
    std::vector<T30Frame> frames;
    std::function<void(Bits&)> damage; // applied to the line bits, may be empty
    std::vector<Expected> expected;
};

void PrintTo(const DeframeCase& c, std::ostream* os) {
    *os << c.name;
}

const T30Frame kStuffed{{0xFF, 0x13, 0x7E, 0xFF, 0x3F, 0x7E, 0xFC, 0xFF, 0x1F}, false};
const T30Frame kShort{{0xFF, 0x13, 0xFB}, false};

// The first bit of the first frame: after the four-flag preamble.
constexpr std::size_t kFrameStart = 4 * 8;

std::vector<DeframeCase> deframeCases() {
    return {
        {"OneFrame",
         {V21SignalSource::dis()},
         {},
         {{withFcs(V21SignalSource::dis().octets), true}}},
        {"ZeroBitStuffing", {kStuffed}, {}, {{withFcs(kStuffed.octets), true}}},
        {"FramesInARow",
         {V21SignalSource::csi(), kShort},
         {},
         {{withFcs(V21SignalSource::csi().octets), true}, {withFcs(kShort.octets), true}}},
        {"BadFcs",
         {T30Frame{kShort.octets, true}},
         {},
         {{[] {
               auto bytes = withFcs(kShort.octets);
               bytes[3] ^= 0xFF;
               bytes[4] ^= 0xFF;
               return bytes;
           }(),
           false}}},
        {"SevenOnesAbortTheFrame",
         {V21SignalSource::dis(), kShort},
         [](Bits& bits) { std::fill_n(bits.begin() + kFrameStart + 20, 7, uint8_t{1}); },
         {{withFcs(kShort.octets), true}}},
        {"LostBitLeavesNoWholeOctets",
         {kShort, V21SignalSource::dcn()},
         [](Bits& bits) { bits.erase(bits.begin() + kFrameStart + 12); },
         {{withFcs(V21SignalSource::dcn().octets), true}}},
        {"FlippedBitFailsTheFcs",
         {kShort},
         // A bit of the control octet, clear of any run of ones.
         [](Bits& bits) { bits[kFrameStart + 12] ^= 1; },
         {{[] {
               auto bytes = withFcs(kShort.octets);
               bytes[1] ^= 0x04;
               return bytes;
           }(),
           false}}},
    };
}

class HdlcDeframerTest : public ::testing::TestWithParam<DeframeCase> {};

TEST_P(HdlcDeframerTest, FindsTheSentFrames) {
    const DeframeCase& c = GetParam();
    Bits bits = V21SignalSource::hdlcBits(c.frames, 4);
    if (c.damage) {
        c.damage(bits);
    }
    HdlcDeframer deframer;
    deframer.deframe(pack(bits));

    ASSERT_EQ(deframer.frames().size(), c.expected.size());
    for (std::size_t i = 0; i < c.expected.size(); ++i) {
        const HdlcFrame& frame = deframer.frames()[i];
        const auto bytes = deframer.bytesOf(frame);
        EXPECT_EQ(std::vector<uint8_t>(bytes.begin(), bytes.end()), c.expected[i].bytes) << i;
        EXPECT_EQ(frame.crcGood, c.expected[i].crcGood) << i;
    }
}

INSTANTIATE_TEST_SUITE_P(SpandspHdlc, HdlcDeframerTest, ::testing::ValuesIn(deframeCases()),
                         [](const auto& info) { return info.param.name; });

TEST(HdlcDeframerLimitsTest, OnlyTheLastBytesOfAnOverlongInputAreRead) {
    // Flags and a frame, the frame in the last 256 bytes, noise before them.
    Bits bits(4000, 0);
    for (std::size_t i = 0; i < bits.size(); i += 3) {
        bits[i] = 1;
    }
    const Bits frame = V21SignalSource::hdlcBits({kShort}, 4);
    bits.insert(bits.end(), frame.begin(), frame.end());
    const auto bytes = pack(bits);
    ASSERT_GT(bytes.size(), std::size_t{HdlcDeframer::MaxInputBytes});

    HdlcDeframer deframer;
    deframer.deframe(bytes);
    ASSERT_EQ(deframer.frames().size(), 1u);
    EXPECT_TRUE(deframer.frames()[0].crcGood);
}

TEST(HdlcDeframerLimitsTest, NothingButOnesOrZerosGivesNoFrame) {
    HdlcDeframer deframer;
    for (const uint8_t fill : {uint8_t{0x00}, uint8_t{0xFF}}) {
        deframer.deframe(std::vector<uint8_t>(HdlcDeframer::MaxInputBytes, fill));
        EXPECT_TRUE(deframer.frames().empty());
    }
}

} // namespace
} // namespace faxsense
