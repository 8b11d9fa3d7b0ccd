#include "MhEncoder.h"

#include "BitOrder.h"
#include "BitWriter.h"
#include "FaxCodeTables.h"
#include "FaxPage.h"
#include "RasterLine.h"

namespace faxform {
namespace {

void putRun(BitWriter& writer, const LineRunCode* codes, int run) {
    const LineRunCode& code = codes[run];
    writer.put(code.bits, code.length);
}

} // namespace

std::optional<std::size_t> MhEncoder::encodePage(const std::uint8_t* raster, std::size_t lines,
                                                 std::uint8_t* out, std::size_t capacity) {
    // Written most significant bit first and reversed at the end, so the
    // byte values here are the mirror images of 00 80 and 00 08 80.
    const LineRunCode* whiteCodes = lineRunCodes(false);
    const LineRunCode* blackCodes = lineRunCodes(true);
    BitWriter writer(out, capacity);
    writer.putByte(0x00);
    writer.putByte(0x01);
    for (std::size_t i = 0; i < lines && !writer.overflowed(); ++i) {
        const std::uint8_t* line = raster + i * kLineBytes;
        int position = 0;
        bool black = false;
        while (position < kLineWidth) {
            const int change = nextChange(line, position, black);
            putRun(writer, black ? blackCodes : whiteCodes, change - position);
            position = change;
            black = !black;
        }
        writer.put(kEolCode, kEolLength);
    }
    writer.padToByte();
    for (int i = 0; i < 4; ++i) {
        writer.putByte(0x00);
        writer.putByte(0x10);
        writer.putByte(0x01);
    }
    writer.padToByte();
    if (writer.overflowed()) {
        return std::nullopt;
    }
    reverseBitOrder(out, writer.size());
    return writer.size();
}

} // namespace faxform
