// Line control exports.
#include "../ChannelTimers.h"
#include "../LibraryState.h"
#include "../LineControl.h"
#include "../ToneGenerator.h"
#include "ExportChecks.h"
#include "linecard/Linecard.h"

#include <algorithm>
#include <cstring>

using linecard::channelOf;
using linecard::LibraryState;
using linecard::LineControl;

namespace {
LineControl line() {
    return LineControl(LibraryState::instance());
}
} // namespace

extern "C" {

int32_t CheckValidCh(void) {
    return line().validChannelCount();
}

int32_t CheckChType(int32_t ch) {
    LC_CHECK_CHANNEL(ch);
    return line().channelType(channelOf(ch));
}

int32_t CheckChTypeNew(int32_t ch) {
    LC_CHECK_CHANNEL(ch);
    return line().channelTypeNew(channelOf(ch));
}

int32_t OffHook(int32_t ch) {
    LC_CHECK_CHANNEL(ch);
    return line().hook(channelOf(ch), 0);
}

int32_t HangUp(int32_t ch) {
    LC_CHECK_CHANNEL(ch);
    return line().hook(channelOf(ch), 1);
}

int32_t RingDetect(int32_t ch) {
    LC_CHECK_CHANNEL(ch);
    return line().lineSense(channelOf(ch));
}

int32_t CheckRingEnd(int32_t ch) {
    LC_CHECK_CHANNEL(ch);
    return line().checkRingEnd(channelOf(ch));
}

int32_t CheckPolarity(int32_t ch) {
    LC_CHECK_CHANNEL(ch);
    return line().checkPolarity(channelOf(ch));
}

int32_t FeedPower(int32_t ch) {
    LC_CHECK_CHANNEL(ch);
    return line().feedPower(channelOf(ch));
}

int32_t FeedRing(int32_t ch) {
    LC_CHECK_CHANNEL(ch);
    return line().hook(channelOf(ch), 1);
}

int32_t FeedRealRing(int32_t ch) {
    LC_CHECK_CHANNEL(ch);
    return line().feedRealRing(channelOf(ch));
}

int32_t OffHookDetect(int32_t ch) {
    LC_CHECK_CHANNEL(ch);
    return line().offHookDetect(channelOf(ch));
}

int32_t StartHangUpDetect(int32_t ch) {
    LC_CHECK_CHANNEL(ch);
    LibraryState::instance().channels[channelOf(ch)].hangUpState = 0;
    return 0;
}

int32_t HangUpDetect(int32_t ch) {
    LC_CHECK_CHANNEL(ch);
    return line().hangUpDetect(channelOf(ch));
}

int32_t StartPlaySignal(int32_t ch, int32_t tone) {
    LC_CHECK_CHANNEL(ch);
    return line().startPlaySignal(channelOf(ch), tone);
}

int32_t SetGenerateSigParam(int32_t tone, int32_t freq1, int32_t freq2, double level1,
                            double level2, int32_t onMs, int32_t offMs, int32_t sampleRate) {
    LibraryState& state = LibraryState::instance();
    linecard::ToneGenerator::Request request{tone,   freq1, freq2, level1,
                                             level2, onMs,  offMs, sampleRate};
    std::vector<uint8_t> bytes;
    int result = linecard::ToneGenerator::build(request, state.waveFormat, bytes);
    if (result == 0)
        state.tones[static_cast<size_t>(tone)].bytes = std::move(bytes);
    return result;
}

int32_t ReadGenerateSigBuf(int32_t tone, void* destination, int32_t capacity) {
    if (!((tone >= 1 && tone <= 5) || tone == 20) || capacity < 0)
        return LC_BAD_ARGUMENT;
    const auto& bytes = LibraryState::instance().tones[static_cast<size_t>(tone)].bytes;
    if (destination)
        std::memcpy(destination, bytes.data(),
                    std::min(bytes.size(), static_cast<size_t>(capacity)));
    return static_cast<int32_t>(bytes.size());
}

int32_t FeedSigFunc(void) {
    line().feedSigFunc();
    return 0;
}

int32_t StartTimer(int32_t ch, int32_t timer) {
    LC_CHECK_CHANNEL(ch);
    if (timer < 0 || timer > 9)
        return LC_BAD_ARGUMENT;
    linecard::ChannelTimers::start(LibraryState::instance().channels[channelOf(ch)], timer);
    return timer;
}

int32_t ElapseTime(int32_t ch, int32_t timer) {
    LC_CHECK_CHANNEL(ch);
    if (timer < 0 || timer > 9)
        return LC_BAD_ARGUMENT;
    return static_cast<int32_t>(
        linecard::ChannelTimers::elapsed(LibraryState::instance().channels[channelOf(ch)], timer));
}

} // extern "C"
