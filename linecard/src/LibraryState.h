#pragma once
#include "CardConfig.h"
#include "VoiceFile.h"
#include "carddriver/CardDriver.h"
#include "linecard/Linecard.h"

#include <array>
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

namespace linecard {

// The per-channel tables of the library.
struct ChannelState {
    uint32_t workMode = 0;
    uint32_t halfFlag = 0;
    uint32_t recordSkip = 0;
    uint32_t recordRemaining = 0;
    bool recordLooping = false;
    uint32_t memoryRemaining = 0;
    const uint8_t* memorySource = nullptr;
    std::array<uint32_t, 10> timers{};
    uint32_t ringEnd = 0;
    uint32_t feedState = 0;
    uint32_t loopedSignal = 0;
    uint32_t hangUpState = 0;
    // Stream play ring.
    uint8_t streamState = 0;
    uint32_t streamRead = 0;
    uint32_t streamWrite = 0;
    uint32_t streamHeld = 0;
    std::vector<uint8_t> streamRing;
    // The open voice file (play or record) and the file-play position.
    std::shared_ptr<VoiceFile> file;
    bool filePlayActive = false;
    uint32_t fileStartOffset = 0;
    int64_t fileStartMillis = 0;
    // Live recording: the record remainder at the last chunk taken.
    uint32_t liveMark = 0;
    // Digit sending: the tone built for the digits, played as a memory play.
    std::vector<uint8_t> sendBuffer;
    bool sending = false;
};

// The generated call-progress tones (1-5 and 20).
struct ToneBuffer {
    std::vector<uint8_t> bytes;
};

// Process-wide library state: one instance, as the card is one per process.
struct LibraryState {
    bool loaded = false;
    bool enabled = false;
    CardConfig config;
    std::string configPath;
    std::shared_ptr<carddriver::CardDriver> device;
    std::array<uint8_t, kSysInfoBytes> sysInfo{};
    std::array<uint16_t, kMaxChannels> extendedTypes{};
    bool newerInterface = false;
    uint16_t dspChannels = 0;
    uint16_t servedChannels = 0;
    uint32_t half = 0;
    int packRate = 0;
    int waveFormat = 0;
    uint32_t liveChunk = 0; // live recording chunk size, library-wide
    std::vector<uint8_t> staging;
    std::array<ChannelState, kMaxChannels> channels{};
    std::array<ToneBuffer, 21> tones{};
    LinecardMessageHook messageHook = nullptr;
    std::unique_ptr<std::mutex> streamLock;

    static LibraryState& instance();
    bool alternateBuffering() const { return config.recordAndPlayMode == 1 && newerInterface; }
    // One driver request; false when there is no device or it refuses.
    bool request(DriverRequest& record, void* area = nullptr, uint32_t areaBytes = 0);
    bool request(uint32_t function, uint16_t channel, uint16_t value = 0, uint32_t param1 = 0,
                 uint32_t param2 = 0);
    ChannelStatus status(uint16_t channel);
    // Shows a message through the hook unless message boxes are off.
    void message(const std::string& text, const char* caption, int flags = 1) const;
    static bool validChannel(int32_t ch) {
        return ch >= 0 && ch < static_cast<int32_t>(kMaxChannels);
    }
};

} // namespace linecard
