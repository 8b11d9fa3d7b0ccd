#include "ToneDetection.h"

#include "LineControl.h"

#include <algorithm>
#include <cmath>

namespace linecard {
namespace {

std::array<uint8_t, 512> signalCopy{};

// The second classifier's history per channel.
struct SignalHistory {
    uint16_t lastPosition = 0;
    uint16_t lastCount = 0;
    std::vector<uint8_t> bits;
};
std::array<SignalHistory, kMaxChannels> histories;
constexpr size_t kHistoryBytes = 5120;

// The cadence state of each channel: a buffer position and the bursts seen.
struct CadenceState {
    uint16_t position = 0;
    uint8_t cycles = 0;
};
std::array<CadenceState, kMaxChannels> cadences;

bool within(int value, uint8_t min, uint8_t max) {
    return value >= min && value <= max;
}

} // namespace

ToneDetectionParameters& ToneDetection::parameters() {
    static ToneDetectionParameters values;
    return values;
}

const std::array<uint8_t, 512>& ToneDetection::copy() {
    return signalCopy;
}

uint8_t ToneDetection::samplesOf(int64_t ms) {
    // A bound past 255 samples would wrap in its byte and turn the window
    // upside down; it is held at the largest value the byte carries.
    int64_t samples = (ms + 16) / 32;
    return static_cast<uint8_t>(std::clamp<int64_t>(samples, 0, 255));
}

void ToneDetection::busyWindow(int ms, uint8_t& min, uint8_t& max) {
    int64_t tenth = static_cast<int64_t>(std::floor(ms * 0.1));
    min = samplesOf(ms - tenth);
    max = samplesOf(ms + tenth);
}

bool ToneDetection::singleFrequencyTone(int a, int b) {
    int inBand = std::max(b - 15, 0);
    int outOfBand = std::max(a - 8, 0);
    return inBand >= 10 && outOfBand <= inBand + 3;
}

int ToneDetection::bit(uint16_t ch, uint32_t position) const {
    return (signalCopy[position % 512] >> (ch % 8)) & 1;
}

bool ToneDetection::read(uint16_t ch, uint16_t& position, uint16_t& count) {
    DriverRequest request{requestCode(fn::ReadSignalBuffer), ch, 0, 0, 0, 0};
    if (!state_.request(request, signalCopy.data(), kSignalBufferBytes)) {
        position = count = 0;
        return false;
    }
    position = static_cast<uint16_t>(request.Channel % 512);
    count = std::min<uint16_t>(request.Value, 512);
    return true;
}

int ToneDetection::startSigCheck(uint16_t ch) {
    state_.request(fn::SignalDetection, ch, 1);
    uint16_t position = 0, count = 0;
    read(ch, position, count);
    cadences[ch] = {position, 0};
    return ch;
}

int ToneDetection::stopSigCheck(uint16_t ch) {
    return state_.request(fn::SignalDetection, ch, 0) ? 1 : 0;
}

int ToneDetection::readCheckResult(uint16_t ch, int type) {
    uint16_t p0 = 0, n = 0;
    read(ch, p0, n);
    if (type == 1 || type == 2)
        return busyCountCheck(ch, p0, n);
    if (type == 3)
        return cadenceCheck(ch, p0, n);
    return continuousCheck(ch, p0, n);
}

int ToneDetection::busyCountCheck(uint16_t ch, uint16_t p0, uint16_t n) {
    ToneDetectionParameters& p = parameters();
    p.busyCount = 0;
    if (n == 0)
        return kNoBusyCycle;
    int previous = bit(ch, p0);
    bool failed = true;
    bool found = false;
    int cycles = 0;
    int run[2] = {0, 0};
    for (uint32_t k = 0; k < n; ++k) {
        int b = bit(ch, p0 + k);
        if (b != previous) {
            if (within(run[0], p.busyOffMin, p.busyOffMax) &&
                within(run[1], p.busyOnMin, p.busyOnMax)) {
                ++cycles;
                p.busyCount = std::max<uint16_t>(p.busyCount, static_cast<uint16_t>(cycles));
                run[0] = run[1] = 0;
                failed = false;
                found = true;
            } else {
                if (failed) {
                    run[b] = 0;
                    cycles = 0;
                }
                failed = true;
            }
            previous = b;
        }
        ++run[b];
    }
    return found ? kBusyCycle : kNoBusyCycle;
}

int ToneDetection::cadenceCheck(uint16_t ch, uint16_t p0, uint16_t n) {
    const ToneDetectionParameters& p = parameters();
    CadenceState& cadence = cadences[ch];

    // Busy cadence and, before the first ring-back burst, silence or a stray tone.
    {
        int previous = bit(ch, p0);
        int run[2] = {0, 0};
        bool toneSeen = false;
        for (uint32_t k = 0; k < n; ++k) {
            int b = bit(ch, p0 + k);
            if (b != previous) {
                if (within(run[0], p.cadenceBusyOffMin, p.cadenceBusyOffMax) &&
                    within(run[1], p.cadenceBusyOnMin, p.cadenceBusyOnMax))
                    return kBusy;
                previous = b;
                run[b] = 0;
            }
            if (cadence.cycles == 0) {
                if (run[0] >= p.silenceLimit)
                    return kSilence;
                if (n >= p.silenceLimit + 1 && toneSeen)
                    return kOther;
            }
            if (b == 0 && run[1] > 2)
                toneSeen = true;
            ++run[b];
        }
    }

    if (cadence.cycles == 0) {
        int previous = bit(ch, p0);
        int run[2] = {0, 0};
        for (uint32_t k = 0; k < n; ++k) {
            int b = bit(ch, p0 + k);
            if (b != previous) {
                if (previous == 1 && within(run[1], p.ringOnMin, p.ringOnMax)) {
                    cadence.cycles = 1;
                    cadence.position = static_cast<uint16_t>((p0 + k) % 512);
                    return kNoResult;
                }
                previous = b;
                run[b] = 0;
            }
            ++run[b];
        }
        return kNoResult;
    }

    // Bursts after the first, each confirmed by the sample after its edge.
    const uint32_t start = cadence.position;
    const uint32_t m = (p0 + n + 512 - start) % 512;
    if (m <= 1)
        return kNoResult;
    int previous = bit(ch, start);
    int run[2] = {0, 0};
    for (uint32_t j = 0; j < m; ++j) {
        uint32_t position = start + j;
        int b = bit(ch, position);
        if (b != previous && j + 1 < m && bit(ch, position + 1) == b) {
            if (b == 1) {
                previous = 1;
                run[1] = 0;
            } else {
                if (!within(run[0], p.ringOffMin, p.ringOffMax) ||
                    !within(run[1], p.ringOnMin, p.ringOnMax))
                    return kOther;
                ++cadence.cycles;
                cadence.position = static_cast<uint16_t>(position % 512);
                return cadence.cycles >= p.cyclesRequired ? kRingBack : kNoResult;
            }
        }
        ++run[b];
        if (run[0] > p.ringOffMax + 10)
            return kOther;
    }
    return kNoResult;
}

int ToneDetection::continuousCheck(uint16_t ch, uint16_t p0, uint16_t n) {
    const uint16_t window = parameters().continuousWindow;
    if (n < window)
        return kNoResult;
    uint32_t newest = p0 + n - 1;
    for (uint32_t back = 1; back <= static_cast<uint32_t>(window - 27); ++back)
        if (bit(ch, newest + 512 - back) == 0)
            return kSilence;
    return kContinuous;
}

int ToneDetection::checkSilence(uint16_t ch, int samples) {
    uint16_t p0 = 0, n = 0;
    read(ch, p0, n);
    if (samples < 0 || samples > n)
        return -1;
    int tone = 0;
    for (uint32_t k = static_cast<uint32_t>(n - samples); k < n; ++k)
        tone += bit(ch, p0 + k);
    return tone;
}

int ToneDetection::startSigCheckEx(uint16_t ch) {
    startSigCheck(ch);
    histories[ch] = SignalHistory{};
    return 0;
}

int ToneDetection::checkSendResult(uint16_t ch) {
    uint16_t position = 0, count = 0;
    read(ch, position, count);
    SignalHistory& history = histories[ch];
    int64_t fresh = history.bits.empty()
                        ? count
                        : count + (position + 512 - history.lastPosition) % 512 - history.lastCount;
    fresh = std::clamp<int64_t>(fresh, 0, count);
    for (uint32_t k = count - static_cast<uint32_t>(fresh);
         k < count && history.bits.size() < kHistoryBytes; ++k)
        history.bits.push_back(static_cast<uint8_t>(bit(ch, position + k)));
    history.lastPosition = position;
    history.lastCount = count;
    if (history.bits.empty())
        return kNoResult;

    const auto& v = parameters().signal;
    const int aLength = v[0], gap = v[1], cLength = v[2];
    const int aTolerance = v[4], gapTolerance = v[5], cTolerance = v[6];
    int tone = 0, silence = 0, sinceA = 0, a = 0, c = 0, other = 0, longGaps = 0;
    for (uint8_t b : history.bits) {
        ++sinceA;
        if (aLength > 0 && sinceA > aTolerance + gap + aLength) {
            ++longGaps;
            sinceA = 0;
        }
        if (b) {
            ++tone;
            silence = 0;
            continue;
        }
        ++silence;
        if (silence > gapTolerance + gap) {
            ++longGaps;
            silence = 0;
        } else if (std::abs(tone - aLength) <= aTolerance) {
            ++a;
            other = 0;
            sinceA = 0;
        } else if (std::abs(tone - cLength) <= cTolerance) {
            ++c;
            other = 0;
        } else if (tone > 0) {
            ++other;
        }
        tone = 0;
    }
    if (a == 0 && c >= 1)
        return kBusy;
    if (a >= 2 && c >= 1)
        return kRingBack;
    if (other > 3 || longGaps > 0)
        return kOther;
    return kNoResult;
}

int ToneDetection::setSigPara(int mode, int band) {
    const CardConfig& c = state_.config;
    if (c.isDspType()) {
        int channels = LineControl(state_).validChannelCount();
        for (int ch = 0; ch < channels; ++ch)
            state_.request(fn::DetectorSetup, static_cast<uint16_t>(ch),
                           static_cast<uint16_t>(mode & 1), static_cast<uint32_t>(6 + (band & 3)));
        return 0;
    }
    for (int card = 0; card < c.cardNo; ++card) {
        uint16_t index = static_cast<uint16_t>(card);
        DriverRequest read{requestCode(fn::ReadRegister), index, 1, 0, 0, 0};
        state_.request(read);
        uint8_t value =
            static_cast<uint8_t>((read.Value & 0x97) | ((((band & 3) * 4) | (mode & 1)) * 8));
        state_.request(fn::WriteRegister, index, 1, value);
    }
    return 0;
}

int ToneDetection::setSigFreqAll(int group, int frequency) {
    if (group < 0 || group > 1 || !state_.config.isDspType())
        return -1;
    int coefficient = static_cast<int>(std::cos(frequency * 0.00078539815) * 32768.0);
    return state_.request(fn::DetectorFrequency, static_cast<uint16_t>(group), 1,
                          static_cast<uint32_t>(coefficient) & 0xFFFF)
               ? 0
               : -1;
}

int ToneDetection::singleFrequencyResult(uint16_t ch) {
    std::vector<uint8_t> records(512 * 6);
    DriverRequest request{requestCode(fn::DetectorFrequency), ch, 0, 0, 0, 0};
    if (!state_.request(request, records.data(), static_cast<uint32_t>(records.size())))
        return 0;
    uint32_t position = request.Channel % 512;
    uint32_t count = std::min<uint32_t>(request.Value, 512);
    if (count < 2)
        return 0;
    bool previous = false;
    for (uint32_t k = 0; k < count; ++k) {
        const uint8_t* record = records.data() + 6 * ((position + k) % 512);
        bool tone = singleFrequencyTone(record[0], record[4]);
        if (tone && previous)
            return 1;
        previous = tone;
    }
    return 0;
}

} // namespace linecard
