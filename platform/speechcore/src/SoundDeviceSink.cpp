#include "SoundDeviceSink.h"

#include "speechcore/Speechcore.h"

#include <alsa/asoundlib.h>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <mutex>
#include <thread>

namespace speechcore {

namespace {

// Everything is opened non-blocking and every wait is bounded: a missing,
// busy or wedged device must end the run, never hang the caller or a worker.
constexpr int kWaitSliceMs = 100;
constexpr int kMaxStalledSlices = 20;
constexpr unsigned kLatencyUs = 200000;

void ignoreAlsaMessage(const char*, int, const char*, int, const char*, ...) {}

// alsa-lib prints every failed open to stderr; on a machine without sound
// hardware that is expected and the caller gets the error code instead.
void quietAlsa() {
    static std::once_flag once;
    std::call_once(once, [] { snd_lib_error_set_handler(&ignoreAlsaMessage); });
}

snd_pcm_t* openPcm(const std::string& name) {
    quietAlsa();
    snd_pcm_t* pcm = nullptr;
    if (snd_pcm_open(&pcm, name.c_str(), SND_PCM_STREAM_PLAYBACK, SND_PCM_NONBLOCK) < 0)
        return nullptr;
    return pcm;
}

} // namespace

std::string SoundDeviceSink::deviceName(int32_t device) {
    if (device == SPEECHCORE_DEFAULT_DEVICE) {
        const char* named = std::getenv("SPEECHCORE_AUDIO_DEVICE");
        return named != nullptr && *named != '\0' ? named : "default";
    }
    if (device < 0 || device > SPEECHCORE_MAX_CARD)
        return {};
    return "plughw:" + std::to_string(device);
}

int32_t SoundDeviceSink::probe(const std::string& name) {
    snd_pcm_t* pcm = openPcm(name);
    if (pcm == nullptr)
        return SPEECHCORE_ERR_NO_DEVICE;
    snd_pcm_close(pcm);
    return SPEECHCORE_OK;
}

std::unique_ptr<SoundDeviceSink> SoundDeviceSink::open(const std::string& name, int rate,
                                                       const std::atomic<bool>& stop,
                                                       int32_t& error) {
    snd_pcm_t* pcm = openPcm(name);
    if (pcm == nullptr) {
        error = SPEECHCORE_ERR_NO_DEVICE;
        return nullptr;
    }
    if (snd_pcm_set_params(pcm, SND_PCM_FORMAT_S16, SND_PCM_ACCESS_RW_INTERLEAVED, 1,
                           static_cast<unsigned>(rate), 1, kLatencyUs) < 0) {
        snd_pcm_close(pcm);
        error = SPEECHCORE_ERR_NO_DEVICE;
        return nullptr;
    }
    error = SPEECHCORE_OK;
    return std::unique_ptr<SoundDeviceSink>(new SoundDeviceSink(pcm, rate, stop));
}

SoundDeviceSink::SoundDeviceSink(snd_pcm_t* pcm, int rate, const std::atomic<bool>& stop)
    : pcm_(pcm), rate_(rate), stop_(stop) {}

SoundDeviceSink::~SoundDeviceSink() {
    if (pcm_ != nullptr)
        snd_pcm_close(pcm_);
}

int32_t SoundDeviceSink::write(const int16_t* samples, size_t count) {
    int stalled = 0;
    while (count > 0) {
        if (stop_.load())
            return SPEECHCORE_OK;
        const snd_pcm_sframes_t n = snd_pcm_writei(pcm_, samples, count);
        if (n == -EAGAIN) {
            const int ready = snd_pcm_wait(pcm_, kWaitSliceMs);
            if (ready == 0 && ++stalled > kMaxStalledSlices)
                return SPEECHCORE_ERR_NO_DEVICE;
            if (ready < 0 && snd_pcm_recover(pcm_, ready, 1) < 0)
                return SPEECHCORE_ERR_NO_DEVICE;
            continue;
        }
        if (n < 0) {
            if (snd_pcm_recover(pcm_, static_cast<int>(n), 1) < 0 || ++stalled > kMaxStalledSlices)
                return SPEECHCORE_ERR_NO_DEVICE;
            continue;
        }
        stalled = 0;
        samples += n;
        count -= static_cast<size_t>(n);
    }
    return SPEECHCORE_OK;
}

int32_t SoundDeviceSink::finish(bool stopped) {
    int32_t result = SPEECHCORE_OK;
    if (stopped) {
        snd_pcm_drop(pcm_);
    } else if (snd_pcm_drain(pcm_) == -EAGAIN) {
        // Non-blocking drain only starts draining; wait for the buffered audio
        // to play, no longer than it can take plus a margin, and stop on request.
        snd_pcm_sframes_t pending = 0;
        if (snd_pcm_delay(pcm_, &pending) < 0 || pending < 0)
            pending = 0;
        const auto deadline = std::chrono::steady_clock::now() +
                              std::chrono::milliseconds(pending * 1000 / rate_) +
                              std::chrono::seconds(2);
        while (snd_pcm_state(pcm_) == SND_PCM_STATE_DRAINING) {
            if (stop_.load()) {
                snd_pcm_drop(pcm_);
                break;
            }
            if (std::chrono::steady_clock::now() > deadline) {
                snd_pcm_drop(pcm_);
                result = SPEECHCORE_ERR_NO_DEVICE;
                break;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    }
    snd_pcm_close(pcm_);
    pcm_ = nullptr;
    return result;
}

} // namespace speechcore
