#include "V21Receiver.h"

#include "DebugLog.h"

#include <algorithm>
#include <cstdlib>

namespace faxsense {

namespace {

// Band-pass at 7200 Hz: unity over 1650..1850 Hz, below 0.01 at 1180 and 3000 Hz.
constexpr std::array<int16_t, 31> kBandPass = {129,  173,   -79,  0,    -115, -550,  412,  1549,
                                               -692, -2892, 800,  4287, -643, -5350, 246,  5746,
                                               246,  -5350, -643, 4287, 800,  -2892, -692, 1549,
                                               412,  -550,  -115, 0,    -79,  173,   129};

// Low-pass of the discriminator output, evaluated at every second sample
// (3600 Hz, twelve values per bit): 0.86 at 300 Hz, 0.08 at 900 Hz.
constexpr std::array<int16_t, 21> kLowPass = {-56,  -138, -203, -149, 144,  767,  1718,
                                              2873, 3999, 4823, 5126, 4823, 3999, 2873,
                                              1718, 767,  144,  -149, -203, -138, -56};

// b[n-18] is weighted by 31307/32768 so that 1650 Hz and 1850 Hz give
// discriminator outputs of nearly equal size and opposite sign.
constexpr int32_t kDelayedWeight = 31307;

constexpr int32_t kCarrierEnergyFloor = 1601;
constexpr int kCarrierPeriodsNeeded = 8;
constexpr int kQuietPeriodsAllowed = 4;
constexpr int kPeriodsBeforeThreshold = 4;
constexpr uint32_t kFourFlags = 0x7E7E7E7Eu;
constexpr uint32_t kLockPattern = 0xFBEF88C1u;
constexpr int32_t kGainTarget = 18000;
constexpr int32_t kMaxGain = 65535; // keeps gain * sample inside 32 bits

int16_t saturate16(int32_t v) {
    return static_cast<int16_t>(std::clamp(v, -32768, 32767));
}

uint32_t integerSquareRoot(uint32_t value) {
    uint32_t root = 0;
    uint32_t bit = 1u << 30;
    while (bit > value) {
        bit >>= 2;
    }
    while (bit != 0) {
        if (value >= root + bit) {
            value -= root + bit;
            root = (root >> 1) + bit;
        } else {
            root >>= 1;
        }
        bit >>= 2;
    }
    return root;
}

} // namespace

const std::array<int16_t, 31>& V21Receiver::bandPassCoefficients() {
    return kBandPass;
}
const std::array<int16_t, 21>& V21Receiver::lowPassCoefficients() {
    return kLowPass;
}

bool V21Receiver::processBlock(const int16_t* samples) {
    // 32-bit lanes throughout the filter so that it vectorises on any x86-64.
    std::array<int32_t, BandPassHistory + BlockSamples> scaled;
    std::copy(bandPassHistory_.begin(), bandPassHistory_.end(), scaled.begin());
    for (int i = 0; i < BlockSamples; ++i) {
        scaled[BandPassHistory + i] = saturate16((gain_ * samples[i] + 128) >> 8);
    }

    // The taps are symmetric: tap k and tap 30 - k share one multiply.
    std::array<int32_t, BlockSamples> sums{};
    for (int i = 0; i < BlockSamples; ++i) {
        sums[i] = kBandPass[15] * scaled[BandPassHistory - 15 + i];
    }
    for (int k = 0; k < 15; ++k) {
        const int32_t tap = kBandPass[k];
        const int32_t* newer = &scaled[BandPassHistory - k];
        const int32_t* older = &scaled[k];
        for (int i = 0; i < BlockSamples; ++i) {
            sums[i] += tap * (newer[i] + older[i]);
        }
    }
    std::array<int16_t, DiscriminatorHistory + BlockSamples> filtered;
    std::copy(filteredHistory_.begin(), filteredHistory_.end(), filtered.begin());
    for (int i = 0; i < BlockSamples; ++i) {
        filtered[DiscriminatorHistory + i] = saturate16((sums[i] + 16384) >> 15);
    }

    // The discriminator runs on every sample so that its history is whole
    // the moment a carrier is found.
    std::array<int16_t, LowPassHistory + BlockSamples> discriminated;
    std::copy(discriminatorHistory_.begin(), discriminatorHistory_.end(), discriminated.begin());
    for (int i = 0; i < BlockSamples; ++i) {
        const int16_t* newest = &filtered[DiscriminatorHistory + i];
        const int32_t delayed = newest[-17] + ((kDelayedWeight * newest[-18] + 16384) >> 15);
        // The product of two full-scale samples needs 31 bits; the shift keeps
        // weak signals, before their gain is set, well clear of zero.
        discriminated[LowPassHistory + i] = saturate16((newest[0] * delayed + 2048) >> 12);
    }

    bool burstEnded = false;
    for (int period = 0; period < BlockSamples / BitPeriodSamples; ++period) {
        const int offset = period * BitPeriodSamples;
        if (carrier_ == Carrier::Off) {
            searchCarrier(&scaled[BandPassHistory + offset],
                          &filtered[DiscriminatorHistory + offset]);
            continue;
        }
        const int32_t magnitudeSum = demodulate(&filtered[DiscriminatorHistory + offset],
                                                &discriminated[LowPassHistory + offset]);
        if (carrier_ == Carrier::Synced && watchCarrierLoss(magnitudeSum)) {
            burstEnded = true;
        }
    }

    for (int i = 0; i < BandPassHistory; ++i) {
        bandPassHistory_[i] = static_cast<int16_t>(scaled[BlockSamples + i]);
    }
    std::copy(filtered.end() - DiscriminatorHistory, filtered.end(), filteredHistory_.begin());
    std::copy(discriminated.end() - LowPassHistory, discriminated.end(),
              discriminatorHistory_.begin());
    return burstEnded;
}

void V21Receiver::searchCarrier(const int32_t* scaled, const int16_t* filtered) {
    int32_t rawEnergy = 0;
    int32_t bandEnergy = 0;
    for (int i = 0; i < BitPeriodSamples; ++i) {
        rawEnergy += (scaled[i] * scaled[i]) >> 10;
        bandEnergy += (filtered[i] * filtered[i]) >> 8;
    }
    if (bandEnergy < rawEnergy || bandEnergy < kCarrierEnergyFloor) {
        carrierPeriods_ = 0;
        return;
    }
    if (++carrierPeriods_ > kCarrierPeriodsNeeded) {
        carrierPeriods_ = 0;
        carrier_ = Carrier::On;
        bitCounter_ = 0;
        lastSign_ = 1;
        DebugLog::write("F03 carrier detected!");
    }
}

int32_t V21Receiver::demodulate(const int16_t* filtered, const int16_t* discriminated) {
    int32_t magnitudeSum = 0;
    for (int i = 0; i < BitPeriodSamples; ++i) {
        const int16_t magnitude =
            static_cast<int16_t>(std::min(std::abs(int32_t{filtered[i]}), 32767));
        magnitudeRing_[magnitudeIndex_] = magnitude;
        magnitudeIndex_ = (magnitudeIndex_ + 1) % MagnitudeRingSize;
        magnitudeSum += magnitude;
    }
    // One low-pass output per pair of samples: 3600 Hz, twelve values per bit.
    for (int i = 1; i < BitPeriodSamples; i += 2) {
        const int16_t* newest = &discriminated[i];
        int32_t sum = kLowPass[10] * newest[-10];
        for (int k = 0; k < 10; ++k) {
            sum += kLowPass[k] * (newest[-k] + newest[k - 20]);
        }
        clockBit((sum + 16384) >> 15);
    }
    return magnitudeSum;
}

void V21Receiver::clockBit(int32_t value) {
    const int sign = value > 0 ? 1 : (value < 0 ? 0 : lastSign_);
    if (sign != lastSign_) {
        // A transition marks a bit edge: sample again half a bit later.
        lastSign_ = sign;
        bitCounter_ = 7;
        return;
    }
    if (++bitCounter_ > 11) {
        bitCounter_ -= 12;
        takeBit(sign);
    }
}

void V21Receiver::takeBit(int bit) {
    shiftRegister_ = (shiftRegister_ << 1) | static_cast<uint32_t>(bit);
    if (carrier_ == Carrier::On) {
        if (shiftRegister_ == kFourFlags) {
            declareSync();
        }
        return;
    }
    if (shiftRegister_ == kLockPattern) {
        lockedGain_ = gain_;
    }
    assembleBit(bit);
}

void V21Receiver::declareSync() {
    // The ring holds the last 512 carrier magnitudes at the current gain.
    uint32_t squares = 0;
    for (const int16_t magnitude : magnitudeRing_) {
        const uint32_t scaledDown = static_cast<uint32_t>(magnitude) >> 4;
        squares += scaledDown * scaledDown;
    }
    const uint32_t root = integerSquareRoot((squares >> 11) / 2);
    if (root > 0) {
        // The measured level already carries the present gain: scale it rather
        // than replace it, so that every burst is brought to the same level
        // whatever gain the previous burst left behind.
        const int32_t corrected = kGainTarget * gain_ / (InitialGain * static_cast<int32_t>(root));
        gain_ = std::clamp(corrected, int32_t{1}, kMaxGain);
    }
    DebugLog::writef("F03 Gain: %d\n", gain_);
    carrier_ = Carrier::Synced;
    periodsSinceSync_ = -1; // the period of the sync itself does not count
    lossThreshold_ = 0;
    quietPeriods_ = 0;
    partialByte_ = 0;
    partialBits_ = 0;
    byteCount_ = 0;
}

void V21Receiver::assembleBit(int bit) {
    partialByte_ |= static_cast<uint8_t>(bit << partialBits_);
    if (++partialBits_ < 8) {
        return;
    }
    byteRing_[byteCount_ % ByteRingSize] = partialByte_;
    // Keep the count bounded without moving the ring position.
    byteCount_ =
        byteCount_ + 1 >= 2 * ByteRingSize ? byteCount_ + 1 - ByteRingSize : byteCount_ + 1;
    partialByte_ = 0;
    partialBits_ = 0;
}

bool V21Receiver::watchCarrierLoss(int32_t magnitudeSum) {
    if (periodsSinceSync_ < kPeriodsBeforeThreshold) {
        if (++periodsSinceSync_ == kPeriodsBeforeThreshold) {
            lossThreshold_ = magnitudeSum / 4;
        }
        return false;
    }
    if (magnitudeSum >= lossThreshold_) {
        quietPeriods_ = 0;
        return false;
    }
    if (++quietPeriods_ <= kQuietPeriodsAllowed) {
        return false;
    }
    carrier_ = Carrier::Off;
    carrierPeriods_ = 0;
    // Eight ones complete the last byte and close any frame still open.
    for (int i = 0; i < 8; ++i) {
        assembleBit(1);
    }
    return true;
}

int V21Receiver::collectedBytes(std::span<uint8_t, ByteRingSize> out) const {
    const uint32_t count = std::min<uint32_t>(byteCount_, ByteRingSize);
    const uint32_t first = byteCount_ > ByteRingSize ? byteCount_ % ByteRingSize : 0;
    for (uint32_t i = 0; i < count; ++i) {
        out[i] = byteRing_[(first + i) % ByteRingSize];
    }
    return static_cast<int>(count);
}

} // namespace faxsense
