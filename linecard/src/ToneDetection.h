#pragma once
#include "LibraryState.h"

#include <array>
#include <vector>

namespace linecard {

// Detection parameters, counts of 32 ms samples (one byte each where the
// card's tables have a byte).
struct ToneDetectionParameters {
    uint8_t busyOnMin = 20, busyOnMax = 24, busyOffMin = 20, busyOffMax = 24;
    uint16_t busyCount = 0;
    uint16_t continuousWindow = 60;
    uint8_t cadenceBusyOnMin = 10, cadenceBusyOnMax = 12;
    uint8_t cadenceBusyOffMin = 10, cadenceBusyOffMax = 12;
    uint8_t ringOnMin = 28, ringOnMax = 34, ringOffMin = 113, ringOffMax = 138;
    uint16_t silenceLimit = 156;
    uint8_t cyclesRequired = 5;
    std::array<int32_t, 8> signal{}; // the second classifier's eight values
};

// The call-progress classifiers over the card's signal buffer: one bit per
// channel per 32 ms sample, 512 samples held circularly.
class ToneDetection {
public:
    static constexpr int kNoResult = 16, kBusy = 17, kRingBack = 19, kOther = 20, kSilence = 21;
    static constexpr int kNoBusyCycle = 32, kBusyCycle = 33, kContinuous = 48;

    explicit ToneDetection(LibraryState& state) : state_(state) {}

    int startSigCheck(uint16_t ch);
    int stopSigCheck(uint16_t ch);
    // The raw read into the library's copy; false when the driver refuses.
    bool read(uint16_t ch, uint16_t& position, uint16_t& count);
    int readCheckResult(uint16_t ch, int type);
    int checkSilence(uint16_t ch, int samples);
    int startSigCheckEx(uint16_t ch);
    int checkSendResult(uint16_t ch);
    int setSigPara(int mode, int band);
    int setSigFreqAll(int group, int frequency);
    int singleFrequencyResult(uint16_t ch);

    // A window bound from milliseconds: (ms + 16) / 32, kept within its byte.
    static uint8_t samplesOf(int64_t ms);
    // The busy windows of a nominal time: +-10 %.
    static void busyWindow(int ms, uint8_t& min, uint8_t& max);
    // One record of the extended signal buffer: A its byte 0, B its byte 4.
    static bool singleFrequencyTone(int a, int b);

    static ToneDetectionParameters& parameters();
    static const std::array<uint8_t, 512>& copy();

private:
    int bit(uint16_t ch, uint32_t position) const;
    int busyCountCheck(uint16_t ch, uint16_t p0, uint16_t n);
    int cadenceCheck(uint16_t ch, uint16_t p0, uint16_t n);
    int continuousCheck(uint16_t ch, uint16_t p0, uint16_t n);

    LibraryState& state_;
};

} // namespace linecard
