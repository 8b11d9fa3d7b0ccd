#pragma once

#include "VoiceSettings.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <string>

namespace speechcore {

class AudioSink;

// espeak-ng keeps one set of global state per process (voice, parameters,
// callback, the synthesiser itself). This is its only user: it initialises
// espeak-ng for the first engine instance and lets one synthesis at a time
// run, whichever thread asks. espeak-ng stays loaded until the process ends:
// its terminate call deadlocks on its own queue thread once espeak-ng has
// been initialised a second time, so it is initialised exactly once.
class EspeakSession {
public:
    static EspeakSession& instance();

    // Loads espeak-ng and its Mandarin voice on the first call; the result of
    // that load (SPEECHCORE_ERR_ENGINE if it failed) on every call.
    int32_t acquire();

    // espeak-ng's output rate (valid while acquired).
    int sampleRate() const { return sampleRate_.load(); }

    // Synthesises UTF-8 text into the sink. Waiting for another instance's
    // run and the run itself both end early once `stop` is set; `stopped`
    // tells whether that happened. The result is the sink's or espeak-ng's
    // error, SPEECHCORE_OK otherwise. The sink is not finished here.
    int32_t render(const std::string& utf8, const VoiceSettings& voice,
                   const std::atomic<bool>& stop, AudioSink& sink, bool& stopped);

    // espeak-ng's sample callback lands here; non-zero asks espeak-ng to abort.
    int deliver(const short* samples, int count);

private:
    EspeakSession() = default;
    struct Run;

    std::mutex mutex_;
    bool loaded_ = false;
    int32_t loadResult_ = 0;
    std::atomic<int> sampleRate_{0};
    Run* current_ = nullptr;
};

} // namespace speechcore
