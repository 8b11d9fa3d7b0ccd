#include "T30FrameScanner.h"
#include "HdlcDeframer.h"
#include "V21SignalSource.h"

#include <gtest/gtest.h>

#include <ostream>

#include <string>
#include <vector>

namespace faxsense {
namespace {

using testing::T30Frame;

struct ScanCase {
    std::string name;
    std::vector<T30Frame> frames;
    int finalFcf;
    bool detects;
};

void PrintTo(const ScanCase& c, std::ostream* os) {
    *os << c.name;
}

class T30FrameScannerTest : public ::testing::TestWithParam<ScanCase> {};

TEST_P(T30FrameScannerTest, TheFirstGoodFinalFrameDecides) {
    const ScanCase& c = GetParam();
    const auto bits = testing::V21SignalSource::hdlcBits(c.frames, 2);
    std::vector<uint8_t> bytes((bits.size() + 7) / 8, 0xFF);
    for (std::size_t i = 0; i < bits.size(); ++i) {
        if (!bits[i]) {
            bytes[i / 8] &= static_cast<uint8_t>(~(0x80 >> (i % 8)));
        }
    }
    HdlcDeframer deframer;
    deframer.deframe(bytes);
    EXPECT_EQ(T30FrameScanner::finalFcf(deframer), c.finalFcf);
    EXPECT_EQ(T30FrameScanner::detects(deframer), c.detects);
}

INSTANTIATE_TEST_SUITE_P(
    Frames, T30FrameScannerTest,
    ::testing::Values(ScanCase{"DisWithXBit", {{{0xFF, 0x13, 0x81, 0x00}, false}}, 128, true},
                      ScanCase{"Dcs", {{{0xFF, 0x13, 0x83, 0x00, 0x46}, false}}, 130, true},
                      ScanCase{"Dcn", {{{0xFF, 0x13, 0xFB}, false}}, 250, true},
                      ScanCase{"Crp", {{{0xFF, 0x13, 0x1A}, false}}, 26, true},
                      ScanCase{
                          "FinalCfrIsNoFaxCommand", {{{0xFF, 0x13, 0x84}, false}}, 0x84, false},
                      ScanCase{"NonFinalOnly", {{{0xFF, 0x03, 0x80, 0x00}, false}}, -1, false},
                      ScanCase{"FourBytesAreTooShort", {{{0xFF, 0x13}, false}}, -1, false},
                      ScanCase{"OtherAddress", {{{0x03, 0x13, 0x80}, false}}, -1, false},
                      ScanCase{"OtherControl", {{{0xFF, 0x10, 0x80}, false}}, -1, false},
                      ScanCase{"BadFcsSkipped",
                               {{{0xFF, 0x13, 0x80, 0x00}, true}, {{0xFF, 0x13, 0xFA}, false}},
                               250,
                               true},
                      ScanCase{"FirstFinalStopsTheScan",
                               {{{0xFF, 0x13, 0x84}, false}, {{0xFF, 0x13, 0x80, 0x00}, false}},
                               0x84,
                               false}),
    [](const auto& info) { return info.param.name; });

} // namespace
} // namespace faxsense
