// Call-progress tone detection exports.
#include "../LibraryState.h"
#include "../ToneDetection.h"
#include "ExportChecks.h"

#include "linecard/Linecard.h"
#include <algorithm>

using linecard::channelOf;
using linecard::LibraryState;
using linecard::ToneDetection;

namespace {
ToneDetection detection() {
    return ToneDetection(LibraryState::instance());
}
} // namespace

extern "C" {

int32_t StartSigCheck(int32_t ch) {
    LC_CHECK_CHANNEL(ch);
    return detection().startSigCheck(channelOf(ch));
}

int32_t StopSigCheck(int32_t ch) {
    LC_CHECK_CHANNEL(ch);
    return detection().stopSigCheck(channelOf(ch));
}

int32_t ReadSigBuf(int32_t ch, uint16_t* position, uint16_t* count, void* area) {
    LC_CHECK_CHANNEL(ch);
    uint16_t p = 0, n = 0;
    int ok = detection().read(channelOf(ch), p, n) ? 1 : 0;
    if (position)
        *position = p;
    if (count)
        *count = n;
    if (area)
        std::copy(ToneDetection::copy().begin(), ToneDetection::copy().end(),
                  static_cast<uint8_t*>(area));
    return ok;
}

int32_t ReadCheckResult(int32_t ch, int32_t type) {
    LC_CHECK_CHANNEL(ch);
    return detection().readCheckResult(channelOf(ch), type);
}

int32_t ReadBusyCount(void) {
    return ToneDetection::parameters().busyCount;
}

int32_t SetBusyPara(int32_t ms) {
    auto& p = ToneDetection::parameters();
    ToneDetection::busyWindow(ms, p.busyOnMin, p.busyOnMax);
    p.busyOffMin = p.busyOnMin;
    p.busyOffMax = p.busyOnMax;
    return 0;
}

int32_t NewSetBusyPara(int32_t onMin, int32_t onMax, int32_t offMin, int32_t offMax) {
    auto& p = ToneDetection::parameters();
    p.busyOnMin = ToneDetection::samplesOf(onMin);
    p.busyOnMax = ToneDetection::samplesOf(onMax);
    p.busyOffMin = ToneDetection::samplesOf(offMin);
    p.busyOffMax = ToneDetection::samplesOf(offMax);
    return 0;
}

int32_t SetDialPara(int32_t ringOn, int32_t ringOff, int32_t busyTime, int32_t cycles) {
    auto& p = ToneDetection::parameters();
    ToneDetection::busyWindow(busyTime, p.cadenceBusyOnMin, p.cadenceBusyOnMax);
    p.cadenceBusyOffMin = p.cadenceBusyOnMin;
    p.cadenceBusyOffMax = p.cadenceBusyOnMax;
    p.ringOnMin = ToneDetection::samplesOf(ringOn - ringOn / 4);
    p.ringOnMax = ToneDetection::samplesOf(ringOn + ringOn / 4);
    p.ringOffMin = ToneDetection::samplesOf(ringOff - ringOff / 4);
    p.ringOffMax = ToneDetection::samplesOf(ringOff + ringOff / 4);
    int64_t silence = (static_cast<int64_t>(ringOff) + 2LL * ringOn + 16) / 32;
    p.silenceLimit = static_cast<uint16_t>(std::clamp<int64_t>(silence, 0, 0xFFFF));
    p.cyclesRequired = static_cast<uint8_t>(cycles & 0xFF);
    return 0;
}

int32_t CheckSilence(int32_t ch, int32_t samples) {
    LC_CHECK_CHANNEL(ch);
    return detection().checkSilence(channelOf(ch), samples);
}

int32_t SetSigPara(int32_t mode, int32_t band) {
    return detection().setSigPara(mode, band);
}

int32_t SetSigFreqAll(int32_t group, int32_t frequency) {
    return detection().setSigFreqAll(group, frequency);
}

int32_t SetSignalPara(int32_t p1, int32_t p2, int32_t p3, int32_t p4, int32_t p5, int32_t p6,
                      int32_t p7, int32_t p8) {
    const int32_t values[8] = {p1, p2, p3, p4, p5, p6, p7, p8};
    for (int i = 0; i < 8; ++i)
        if (values[i] < 0)
            return -(i + 1);
    std::copy(values, values + 8, ToneDetection::parameters().signal.begin());
    return 0;
}

int32_t StartSigCheckEx(int32_t ch) {
    LC_CHECK_CHANNEL(ch);
    return detection().startSigCheckEx(channelOf(ch));
}

int32_t StopSigCheckEx(int32_t ch) {
    return StopSigCheck(ch);
}

int32_t CheckSendResult(int32_t ch) {
    LC_CHECK_CHANNEL(ch);
    return detection().checkSendResult(channelOf(ch));
}

int32_t StartCheckSingleFreqTone(int32_t ch, int32_t frequency) {
    LC_CHECK_CHANNEL(ch);
    detection().setSigFreqAll(1, frequency);
    return detection().startSigCheck(channelOf(ch));
}

int32_t StartCheckDialTone(int32_t ch) {
    return StartCheckSingleFreqTone(ch, 450);
}

int32_t SingleFreqToneCheckResult(int32_t ch) {
    LC_CHECK_CHANNEL(ch);
    return detection().singleFrequencyResult(channelOf(ch));
}

int32_t DialToneCheckResult(int32_t ch) {
    return SingleFreqToneCheckResult(ch);
}

} // extern "C"
