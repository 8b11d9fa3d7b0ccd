#pragma once

#include "VoiceSettings.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

namespace speechcore {

class AudioSink;

// One engine instance: its voice, the text added for the next start, the
// chosen output and the background thread of the running synthesis.
class SpeechEngine {
public:
    // Null when espeak-ng cannot be set up.
    static std::shared_ptr<SpeechEngine> create();
    ~SpeechEngine();
    SpeechEngine(const SpeechEngine&) = delete;
    SpeechEngine& operator=(const SpeechEngine&) = delete;

    int32_t setEngineParam(int32_t number, int32_t value);
    int32_t setVoiceParam(int32_t voice, int32_t number, int32_t value);
    int32_t addText(const char* gbkText);
    int32_t start();
    int32_t isBusy() const { return busy_.load() ? 1 : 0; }
    int32_t stop();
    int32_t outputToFile(const char* path);
    int32_t outputToDevice(int32_t device);
    int32_t lastResult() const { return lastResult_.load(); }
    // Stops the synthesis; later starts are refused.
    void shutdown();

    // A generous bound on the text of one start (UTF-8 bytes): ten times the
    // largest text a speech slot holds.
    static constexpr size_t kMaxTextBytes = 1u << 20;

private:
    SpeechEngine() = default;
    enum class Output { None, File, Device };

    void run(std::unique_ptr<AudioSink> sink, std::string utf8, VoiceSettings voice);
    void joinWorker();

    // Guards everything but the atomics; the worker never takes it, so the
    // API side may hold it while joining the worker.
    std::mutex mutex_;
    VoiceSettings voice_;
    int32_t inputParam_ = 0;
    std::string pendingUtf8_;
    Output output_ = Output::None;
    std::string target_;
    bool closed_ = false;
    std::thread worker_;

    std::atomic<bool> busy_{false};
    std::atomic<bool> stop_{false};
    std::atomic<int32_t> lastResult_{0};
};

} // namespace speechcore
