#pragma once

#include <array>
#include <cstdint>
#include <span>

namespace faxsense {

// Demodulates V.21 channel 2 (1650 Hz mark, 1850 Hz space, 300 bit/s) from
// 7200 Hz samples and collects the bits of one signalling burst, from frame
// sync on the HDLC flags to the loss of the carrier.
class V21Receiver {
public:
    static constexpr int BlockSamples = 72;
    static constexpr int BitPeriodSamples = 24;
    static constexpr int32_t InitialGain = 362; // 1.41 in 1/256 units
    static constexpr int ByteRingSize = 256;
    static constexpr int MagnitudeRingSize = 512;

    enum class Carrier : uint8_t { Off, On, Synced };

    // Processes one block; returns true when a burst ended in it.
    bool processBlock(const int16_t* samples);

    // The bytes of the current or last burst, oldest first, bits packed least
    // significant first as they arrived. When a burst outgrew the ring only its
    // last 256 bytes are left. Returns the number copied into `out`.
    int collectedBytes(std::span<uint8_t, ByteRingSize> out) const;

    Carrier carrier() const { return carrier_; }
    int32_t gain() const { return gain_; }
    int32_t lockedGain() const { return lockedGain_; }

    bool operator==(const V21Receiver&) const = default;

    static const std::array<int16_t, 31>& bandPassCoefficients();
    static const std::array<int16_t, 21>& lowPassCoefficients();

private:
    static constexpr int BandPassHistory = 30;
    static constexpr int DiscriminatorHistory = 18;
    static constexpr int LowPassHistory = 20;

    void searchCarrier(const int32_t* scaled, const int16_t* filtered);
    int32_t demodulate(const int16_t* filtered, const int16_t* discriminated);
    void clockBit(int32_t value);
    void takeBit(int bit);
    void declareSync();
    void assembleBit(int bit);
    bool watchCarrierLoss(int32_t magnitudeSum);

    int32_t gain_ = InitialGain;
    int32_t lockedGain_ = 0;
    Carrier carrier_ = Carrier::Off;

    std::array<int16_t, BandPassHistory> bandPassHistory_{};
    std::array<int16_t, DiscriminatorHistory> filteredHistory_{};
    std::array<int16_t, LowPassHistory> discriminatorHistory_{};

    int carrierPeriods_ = 0;
    int32_t bitCounter_ = 0;
    int lastSign_ = 0;
    uint32_t shiftRegister_ = 0;

    int periodsSinceSync_ = 0;
    int32_t lossThreshold_ = 0;
    int quietPeriods_ = 0;

    uint8_t partialByte_ = 0;
    int partialBits_ = 0;
    std::array<uint8_t, ByteRingSize> byteRing_{};
    uint32_t byteCount_ = 0;

    std::array<int16_t, MagnitudeRingSize> magnitudeRing_{};
    int magnitudeIndex_ = 0;
};

} // namespace faxsense
