#pragma once

#include "AudioSink.h"

#include <atomic>
#include <memory>
#include <string>

struct _snd_pcm;

namespace speechcore {

// Plays a synthesis run on an ALSA sound device as it is produced.
class SoundDeviceSink : public AudioSink {
public:
    // The ALSA device for a Speechcore device number: the default device
    // (SPEECHCORE_AUDIO_DEVICE in the environment names another), or
    // "plughw:N" for card N. Empty when the number is out of range.
    static std::string deviceName(int32_t device);
    // Whether the device can be opened now; it is closed again at once.
    static int32_t probe(const std::string& name);
    // Opens the device for `rate` Hz mono; null with `error` set on failure.
    static std::unique_ptr<SoundDeviceSink> open(const std::string& name, int rate,
                                                 const std::atomic<bool>& stop, int32_t& error);
    ~SoundDeviceSink() override;

    int32_t write(const int16_t* samples, size_t count) override;
    int32_t finish(bool stopped) override;

private:
    SoundDeviceSink(_snd_pcm* pcm, int rate, const std::atomic<bool>& stop);

    _snd_pcm* pcm_;
    int rate_;
    const std::atomic<bool>& stop_;
};

} // namespace speechcore
