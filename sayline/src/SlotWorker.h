#pragma once

#include "PieceSynthesiser.h"
#include "SlotStates.h"
#include "TraceFile.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

namespace sayline {

// One speech slot's worker thread and the state it shares with the API side.
//
// The hand-over keeps the classic steps: the worker finishes a piece, raises
// bWaitUpperOp and suspends itself; the API side plays the piece and resumes
// it. Here every flag is atomic, suspending is a condition-variable wait on
// the slot's mutex, and the worker holds that mutex from raising a flag
// until it waits, so a resume can never fall between the two and be lost.
// Each request carries a generation number: a worker finishing an old
// request never touches the state of a newer one.
class SlotWorker {
public:
    struct Files {
        std::filesystem::path mulaw; // the engine's output of the current piece
    };
    // Kept for the trace of the slot.
    int slot() const { return slot_; }

    // Takes over the engine instance (destroyed with the worker); may be null
    // for a slot whose instance could not be made. `poll` is how often a
    // running synthesis is checked for completion.
    SlotWorker(int slot, Files files, SpeechcoreHandle engine,
               std::chrono::milliseconds poll = std::chrono::milliseconds(200));
    ~SlotWorker();
    SlotWorker(const SlotWorker&) = delete;
    SlotWorker& operator=(const SlotWorker&) = delete;

    bool hasEngine() const { return engine_ != nullptr; }

    struct Voice {
        int32_t speed = 50;
        int32_t volume = 50;
        int32_t engineParam = 0;
    };

    // --- requests (API side) ---
    // Text held in the slot, spoken in one piece (it is cut at the slot's size).
    void startBuffer(const std::string& gbkText, Voice voice);
    // A text file, spoken sentence by sentence.
    void startFile(const std::filesystem::path& textFile, Voice voice);
    // A conversion (CO_TEXT_VOC .. CO_FILE_WAV): `source` is the text or the
    // path of the text file, `target` the name without extension.
    void startConversion(ConverType kind, const std::string& source, const std::string& target,
                         Voice voice);
    // Speech on the PC's sound device (CO_TEXT_AUDIO or CO_FILE_AUDIO).
    void startAudio(ConverType kind, const std::string& source, Voice voice);
    // Lets a worker that waits for the API side go on; bWaitUpperOp drops at once.
    void resume();
    // Ends any request and returns once the worker is idle with bWaitUpperOp
    // 0 (or, should the engine hang, after `limit`); true if it is idle.
    bool stop(std::chrono::milliseconds limit = std::chrono::seconds(5));
    // Ends a conversion or PC-sound request without waiting (PlayActive 0).
    void cancel();

    // --- state the API side reads ---
    int converType() const { return converType_.load(); }
    int threadState() const { return threadState_.load(); }
    bool waitingForUpper() const { return waitUpperOp_.load(); }
    // How many pieces the worker has handed over since it was made; tells a
    // new piece from the one already taken.
    uint64_t handOvers() const { return handOvers_.load(); }
    bool playActive() const { return playActive_.load(); }
    bool isIdle() const { return idle_.load(); }
    const std::filesystem::path& mulawFile() const { return files_.mulaw; }

    // --- tracing ---
    void setTrace(TraceFile* trace, int channel);
    bool traceOn() const { return traceOn_.load(); }
    // The last step code of the worker; kept only while tracing is on.
    int lastStep() const { return lastStep_.load(); }

private:
    void run();
    void passBuffer(std::unique_lock<std::mutex>& lock, uint64_t generation);
    void passFile(std::unique_lock<std::mutex>& lock, uint64_t generation);
    void passConversion(std::unique_lock<std::mutex>& lock, uint64_t generation);
    void passAudio(std::unique_lock<std::mutex>& lock, uint64_t generation);
    void beginRequest(ConverType kind, Voice voice);
    // Waits until the API side resumes the worker (or the slot ends).
    void suspend(std::unique_lock<std::mutex>& lock);
    using Piece = std::function<PieceSynthesiser::Outcome(const PieceSynthesiser::StopCheck&)>;
    // Runs one synthesis with the mutex released. It ends early on a stop,
    // on the end of the slot, when a newer request replaces this one, and
    // for conversions and PC sound also when PlayActive drops.
    PieceSynthesiser::Outcome synthesise(std::unique_lock<std::mutex>& lock, uint64_t generation,
                                         bool endsWithPlayActive, const Piece& piece);
    // Whether the request of `generation` is still the slot's current one.
    bool current(uint64_t generation) const { return generation_.load() == generation; }
    void pollWait();
    void step(int code, const char* message);

    const int slot_;
    const Files files_;
    SpeechcoreHandle engine_;
    PieceSynthesiser synthesiser_;

    std::mutex mutex_;
    std::condition_variable changed_;
    uint64_t resumeTicket_ = 0;
    uint64_t seenTicket_ = 0; // the ticket the worker last looked at the slot under
    std::atomic<uint64_t> generation_{0};
    std::atomic<bool> exit_{false};
    const std::chrono::milliseconds poll_;

    // Request data: written by the API side under the mutex before the
    // worker is resumed, read by the worker under the mutex.
    std::string text_;
    std::string source_;
    std::string target_;
    Voice voice_;
    size_t sentenceStart_ = 0;
    size_t sentenceNext_ = 0;
    std::string sentence_;

    std::atomic<int> converType_{CO_NONE_TEXT};
    std::atomic<int> threadState_{THREAD_STATE_READ_FILE};
    std::atomic<bool> waitUpperOp_{false};
    std::atomic<uint64_t> handOvers_{0};
    std::atomic<bool> stopRequest_{true};
    std::atomic<bool> playActive_{false};
    std::atomic<bool> idle_{false};

    std::atomic<bool> traceOn_{false};
    std::atomic<int> lastStep_{0};
    TraceFile* trace_ = nullptr;
    int traceChannel_ = 0;
    TraceFile::Source traceSource_;

    std::thread thread_;
};

} // namespace sayline
