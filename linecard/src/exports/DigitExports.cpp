// Digit reception and sending exports.
#include "../LibraryState.h"
#include "../LineControl.h"
#include "linecard/Linecard.h"

using linecard::DriverRequest;
using linecard::LibraryState;
namespace fn = linecard::fn;

namespace {
constexpr uint8_t kNoDigit = 0xFF;

// The low byte of a peek or take of the channel's digit queue.
uint8_t readDigit(uint16_t ch, uint16_t take) {
    DriverRequest read{linecard::requestCode(fn::ReadDigit), ch, take, 0, 0, 0};
    if (!LibraryState::instance().request(read))
        return kNoDigit;
    return static_cast<uint8_t>(read.Value & 0xFF);
}
} // namespace

extern "C" {

int32_t InitDtmfBuf(int32_t ch) {
    if (!LibraryState::validChannel(ch))
        return LC_BAD_ARGUMENT;
    return LibraryState::instance().request(fn::ClearDigits, static_cast<uint16_t>(ch)) ? 1 : 0;
}

int32_t GetDtmfCode(int32_t ch) {
    if (!LibraryState::validChannel(ch))
        return LC_BAD_ARGUMENT;
    return static_cast<int8_t>(readDigit(static_cast<uint16_t>(ch), 1));
}

int32_t DtmfHit(int32_t ch) {
    // Bit 15 marks a fax channel; the fax family is not part of this library.
    if (ch >= 0 && (ch & 0x8000))
        return 0;
    if (!LibraryState::validChannel(ch))
        return LC_BAD_ARGUMENT;
    return readDigit(static_cast<uint16_t>(ch), 0) != kNoDigit ? 1 : 0;
}

int32_t DtmfHitA(int32_t ch) {
    if (!LibraryState::validChannel(ch))
        return LC_BAD_ARGUMENT;
    uint8_t code = readDigit(static_cast<uint16_t>(ch), 0);
    return code == kNoDigit ? 0 : 0x100 + (code & 15);
}

int32_t SendDtmfBuf(int32_t ch, const char* digits) {
    if (!LibraryState::validChannel(ch))
        return LC_BAD_ARGUMENT;
    return linecard::LineControl(LibraryState::instance())
        .sendDigits(static_cast<uint16_t>(ch), digits);
}

int32_t CheckSendEnd(int32_t ch) {
    if (!LibraryState::validChannel(ch))
        return LC_BAD_ARGUMENT;
    return linecard::LineControl(LibraryState::instance()).checkSendEnd(static_cast<uint16_t>(ch));
}

} // extern "C"
