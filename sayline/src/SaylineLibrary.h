#pragma once

#include "ChannelPlayback.h"
#include "LinecardLibrary.h"
#include "LinecardPlayback.h"
#include "SlotPool.h"
#include "TraceFile.h"

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace sayline {

// The library-wide state between Sayline_Init and Sayline_Release: the card
// library, the slot pool, one entry per card channel and the shared trace
// file. Every channel argument is range-checked here.
class SaylineLibrary {
public:
    static constexpr int32_t kNoCard = -1;
    static constexpr int32_t kNoSpeech = -2;
    static constexpr int32_t kNotBound = -4;
    static constexpr int32_t kSlotTable = -5;
    static constexpr int32_t kOutOfRange = -6;
    static constexpr int32_t kBusy = -7;
    static constexpr int32_t kEmptyText = -8;
    static constexpr int32_t kFileNotFound = -9;
    static constexpr int32_t kChannelMap = -13;
    static constexpr int32_t kFirstInstance = -14;
    static constexpr int32_t kTraceFile = -20;

    struct Options {
        const char* cardLibrary = LinecardLibrary::kFileName;
        // Where "TTSTrace.txt" is created: the current folder unless named.
        std::filesystem::path traceFolder;
        std::chrono::milliseconds poll = std::chrono::milliseconds(200);
    };

    explicit SaylineLibrary(Options options) : options_(std::move(options)) {}
    ~SaylineLibrary();
    SaylineLibrary(const SaylineLibrary&) = delete;
    SaylineLibrary& operator=(const SaylineLibrary&) = delete;

    // S on success, else the error of Sayline_Init. After kNotBound (no card
    // channels) the PC-sound slot still serves; after other errors the
    // object holds nothing.
    int32_t start();

    int32_t total() const;
    int32_t existing() const;
    int32_t leave() const;

    int32_t bind(int32_t ch);
    int32_t unbind(int32_t ch);
    int32_t deleteIdle();
    int32_t reset(int32_t ch) const;
    int32_t enableTrace(int32_t ch, int32_t on);
    int32_t threadStep(int32_t slot) const;

    int32_t startPlay(int32_t ch, const char* text, bool isFile, SlotWorker::Voice voice);
    int32_t checkPlay(int32_t ch);
    int32_t stopPlay(int32_t ch);

    int32_t convert(ConverType kind, const char* source, const char* name, int32_t ch,
                    SlotWorker::Voice voice);
    int32_t checkConversion(int32_t ch);
    int32_t stopConversion(int32_t ch);

    int32_t startAudio(const char* text, bool isFile, SlotWorker::Voice voice);
    int32_t stopAudio();
    int32_t checkAudio() const;

private:
    struct Channel {
        std::mutex mutex;
        std::unique_ptr<ChannelPlayback> playback;
    };

    bool validChannel(int32_t ch) const { return ch >= 0 && ch < channelCount_; }
    void releaseAll();

    const Options options_;
    std::unique_ptr<LinecardLibrary> card_;
    std::unique_ptr<LinecardPlayback> cardPlayback_;
    std::filesystem::path folder_;
    int32_t channelCount_ = 0;
    int32_t speechChannels_ = 0;
    // Declared before the pool and the channels, which write to it.
    TraceFile trace_;
    std::unique_ptr<SlotPool> pool_;
    std::unique_ptr<Channel[]> channels_;
};

} // namespace sayline
