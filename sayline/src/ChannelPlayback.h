#pragma once

#include "CardPlayback.h"
#include "SlotWorker.h"
#include "TraceFile.h"

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <vector>

namespace sayline {

// The API side of text playback on one bound card channel: starts requests
// on the channel's slot worker and, on every poll, hands the pieces the
// worker has synthesised to the card (PlayStep).
class ChannelPlayback {
public:
    // Results of start and check.
    static constexpr int32_t kStarted = 0;
    static constexpr int32_t kFinished = 3;
    static constexpr int32_t kSpeaking = 4;
    static constexpr int32_t kEmptyText = -8;
    static constexpr int32_t kFileNotFound = -9;

    ChannelPlayback(int channel, SlotWorker& worker, CardPlayback& card,
                    std::filesystem::path spillFile);

    // Text (or, with `isFile`, the path of a text file) in GBK. A text of
    // more than 400 bytes is spilled to the slot's file and spoken sentence by
    // sentence; if the spill cannot be written it is spoken from memory.
    int32_t start(const char* text, bool isFile, SlotWorker::Voice voice);
    // kFinished once everything has played (or nothing was playing),
    // kSpeaking while it goes on. Feeds the card first on every call.
    int32_t check();
    // Stops the card and the worker; returns when the worker is idle.
    int32_t stop();

    int playStep() const { return playStep_; }
    void setTrace(TraceFile* trace) { trace_.store(trace); }

private:
    int32_t checkBuffer();
    int32_t checkFile();
    void loadAndPlay();
    void trace(int code, const char* message);

    const int channel_;
    SlotWorker& worker_;
    CardPlayback& card_;
    const std::filesystem::path spillFile_;
    int playStep_ = 0;
    // The card plays straight from here (Linecard keeps the address); three
    // spare bytes as in the card's own buffers.
    std::vector<uint8_t> audio_;
    std::atomic<TraceFile*> trace_{nullptr};
    TraceFile::Source traceSource_;
};

} // namespace sayline
