#pragma once
#include "carddriver/CardDriver.h"
#include "carddriver/SerialMemory.h"
#include "carddriver/SoftCardConfig.h"
#include "carddriver/SoftChannel.h"
#include "carddriver/TrunkExchange.h"

#include <array>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace carddriver {

// The card driver in software: it answers every request of the library with
// the behaviour of a real card, plays and records its channel buffers at
// 8000 bytes per second against the clock service, and runs its digit and
// call-progress detectors on what the lines carry.
class SoftCard : public CardDriver {
public:
    struct DspChunk {
        uint16_t card;
        uint32_t memory;
        uint32_t offset;
        uint32_t length;
    };

    explicit SoftCard(SoftCardConfig config);
    ~SoftCard() override;

    bool deviceControl(linecard::DriverRequest& request, void* area) override;

    // The device name the library opens for this card's family.
    std::string deviceName() const;
    const SoftCardConfig& config() const { return config_; }
    void setExchange(std::shared_ptr<TrunkExchange> exchange);

    // Exclusive open, as a device without sharing.
    bool open();
    void close();
    bool isOpen() const;

    // For tests and tools: what a line delivers to the card and to the user.
    void injectAudio(uint16_t channel, const std::vector<uint8_t>& alaw);
    void setHandsetOffHook(uint16_t channel, bool offHook);
    void pushDigit(uint16_t channel, uint8_t code);
    // Forces the next detector periods of a channel (1 = tone) instead of the audio's verdict.
    void injectSignalBits(uint16_t channel, const std::vector<uint8_t>& bits);
    // Brings the buffers up to the clock's present.
    void catchUp();

    // For tests: what the library has asked for.
    std::vector<linecard::DriverRequest> requests() const;
    void clearRequests();
    std::vector<DspChunk> dspChunks() const;
    bool dspStarted() const;
    bool linearSamples() const;
    uint16_t halfBytes() const;
    bool userRinging(uint16_t channel) const;
    bool trunkSeized(uint16_t channel) const;
    std::vector<uint8_t> channelBuffer(uint16_t channel) const;
    // Every byte the channel has played onto its line since enable.
    std::vector<uint8_t> playedAudio(uint16_t channel) const;
    void setPlayedAudioCapture(bool on);

private:
    bool handle(linecard::DriverRequest& request, void* area);
    bool handleQueued(linecard::DriverRequest& request, void* area, bool& handled);
    bool validChannel(uint32_t channel) const { return channel < channels_.size(); }
    void advanceSamples(uint64_t samples);
    void endPeriod();

    SoftCardConfig config_;
    mutable std::recursive_mutex mutex_;
    bool open_ = false;
    std::vector<SoftChannel> channels_;
    std::shared_ptr<TrunkExchange> exchange_;
    uint16_t half_ = 0;
    bool enabled_ = false;
    bool queueMode_ = false;
    int64_t epochMicros_ = 0;
    uint64_t samplesDone_ = 0;
    int samplesInPeriod_ = 0;
    uint64_t period_ = 0;
    std::vector<std::array<uint8_t, 512>> signalRings_;
    std::vector<std::deque<uint8_t>> forcedBits_;
    std::vector<std::array<uint8_t, 4>> registers_;
    std::vector<SerialMemory> serialMemories_;
    std::array<uint8_t, 65536> ports_{};
    std::vector<linecard::DriverRequest> requests_;
    std::vector<DspChunk> chunks_;
    bool dspStarted_ = false;
    bool linear_ = false;
    float singleFrequencyCoefficient_ = 0; // 2 cos(w) of detector group 1
    bool capturePlayed_ = false;
    std::vector<std::vector<uint8_t>> played_;
};

} // namespace carddriver
