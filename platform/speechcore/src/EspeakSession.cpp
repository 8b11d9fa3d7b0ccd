#include "EspeakSession.h"

#include "AudioSink.h"
#include "speechcore/Speechcore.h"

#include <chrono>
#include <espeak-ng/espeak_ng.h>
#include <espeak-ng/speak_lib.h>
#include <thread>

namespace speechcore {

namespace {

// espeak-ng hands over audio in slices of this length; it bounds how late a
// stop request is noticed.
constexpr int kSliceMs = 50;
constexpr auto kLockPoll = std::chrono::milliseconds(1);
constexpr const char* kVoice = "cmn";

int onSamples(short* samples, int count, espeak_EVENT* /*events*/) {
    return EspeakSession::instance().deliver(samples, count);
}

} // namespace

struct EspeakSession::Run {
    AudioSink& sink;
    const std::atomic<bool>& stop;
    int32_t error = SPEECHCORE_OK;
    bool stopped = false;
};

EspeakSession& EspeakSession::instance() {
    // Never destroyed: worker threads of instances left alive at exit may
    // still be inside espeak-ng.
    static EspeakSession* session = new EspeakSession();
    return *session;
}

int32_t EspeakSession::acquire() {
    std::lock_guard lock(mutex_);
    if (loaded_)
        return loadResult_;
    loaded_ = true;
    espeak_ng_InitializePath(nullptr);
    loadResult_ = SPEECHCORE_ERR_ENGINE;
    if (espeak_ng_Initialize(nullptr) != ENS_OK ||
        espeak_ng_InitializeOutput(ENOUTPUT_MODE_SYNCHRONOUS, kSliceMs, nullptr) != ENS_OK ||
        espeak_ng_SetVoiceByName(kVoice) != ENS_OK)
        return loadResult_;
    espeak_SetSynthCallback(&onSamples);
    sampleRate_ = espeak_ng_GetSampleRate();
    loadResult_ = SPEECHCORE_OK;
    return loadResult_;
}

int32_t EspeakSession::render(const std::string& utf8, const VoiceSettings& voice,
                              const std::atomic<bool>& stop, AudioSink& sink, bool& stopped) {
    stopped = false;
    // try_lock in a loop rather than a timed lock: waiting for another
    // instance's run must still notice a stop, and ThreadSanitizer does not
    // follow the clock-based lock that timed mutexes use.
    std::unique_lock lock(mutex_, std::defer_lock);
    while (!lock.try_lock()) {
        if (stop.load()) {
            stopped = true;
            return SPEECHCORE_OK;
        }
        std::this_thread::sleep_for(kLockPoll);
    }
    if (loadResult_ != SPEECHCORE_OK)
        return SPEECHCORE_ERR_ENGINE;
    if (utf8.empty())
        return SPEECHCORE_OK;
    espeak_ng_SetVoiceByName(kVoice);
    espeak_SetParameter(espeakRATE, voice.espeakRate(), 0);
    espeak_SetParameter(espeakVOLUME, voice.espeakVolume(), 0);
    espeak_SetParameter(espeakPITCH, voice.espeakPitch(), 0);
    Run run{sink, stop};
    current_ = &run;
    const espeak_ERROR status = espeak_Synth(utf8.c_str(), utf8.size() + 1, 0, POS_CHARACTER, 0,
                                             espeakCHARS_UTF8 | espeakENDPAUSE, nullptr, nullptr);
    current_ = nullptr;
    stopped = run.stopped;
    if (run.error != SPEECHCORE_OK)
        return run.error;
    return status == EE_OK ? SPEECHCORE_OK : SPEECHCORE_ERR_ENGINE;
}

// Called by espeak-ng on the rendering thread, which holds mutex_.
int EspeakSession::deliver(const short* samples, int count) {
    Run* run = current_;
    if (run == nullptr)
        return 1;
    if (run->stop.load()) {
        run->stopped = true;
        return 1;
    }
    if (samples == nullptr || count <= 0)
        return 0;
    run->error = run->sink.write(samples, static_cast<size_t>(count));
    return run->error == SPEECHCORE_OK ? 0 : 1;
}

} // namespace speechcore
