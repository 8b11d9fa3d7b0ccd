#include "SpeechEngine.h"

#include "EspeakSession.h"
#include "GbkToUtf8.h"
#include "MulawFileSink.h"
#include "SoundDeviceSink.h"
#include "speechcore/Speechcore.h"

#include <cstring>
#include <system_error>

namespace speechcore {

std::shared_ptr<SpeechEngine> SpeechEngine::create() {
    if (EspeakSession::instance().acquire() != SPEECHCORE_OK)
        return nullptr;
    return std::shared_ptr<SpeechEngine>(new SpeechEngine());
}

SpeechEngine::~SpeechEngine() {
    shutdown();
}

void SpeechEngine::shutdown() {
    std::lock_guard lock(mutex_);
    closed_ = true;
    stop_ = true;
    joinWorker();
}

int32_t SpeechEngine::setEngineParam(int32_t number, int32_t value) {
    if (number != SPEECHCORE_PARAM_INPUT)
        return SPEECHCORE_ERR_BAD_ARGUMENT;
    std::lock_guard lock(mutex_);
    inputParam_ = value;
    return SPEECHCORE_OK;
}

int32_t SpeechEngine::setVoiceParam(int32_t voice, int32_t number, int32_t value) {
    if (voice != 0 || !VoiceSettings::isValidValue(value))
        return SPEECHCORE_ERR_BAD_ARGUMENT;
    std::lock_guard lock(mutex_);
    switch (number) {
    case SPEECHCORE_VOICE_PITCH:
        voice_.pitch = value;
        return SPEECHCORE_OK;
    case SPEECHCORE_VOICE_SPEED:
        voice_.speed = value;
        return SPEECHCORE_OK;
    case SPEECHCORE_VOICE_VOLUME:
        voice_.volume = value;
        return SPEECHCORE_OK;
    default:
        return SPEECHCORE_ERR_BAD_ARGUMENT;
    }
}

int32_t SpeechEngine::addText(const char* gbkText) {
    if (gbkText == nullptr)
        return SPEECHCORE_ERR_BAD_ARGUMENT;
    const size_t length = std::strlen(gbkText);
    if (length > kMaxTextBytes)
        return SPEECHCORE_ERR_TEXT_TOO_LONG;
    std::string utf8;
    if (const int32_t result = GbkToUtf8::convert({gbkText, length}, utf8); result != SPEECHCORE_OK)
        return result;
    std::lock_guard lock(mutex_);
    if (pendingUtf8_.size() + utf8.size() > kMaxTextBytes)
        return SPEECHCORE_ERR_TEXT_TOO_LONG;
    pendingUtf8_ += utf8;
    return SPEECHCORE_OK;
}

int32_t SpeechEngine::outputToFile(const char* path) {
    if (path == nullptr || *path == '\0')
        return SPEECHCORE_ERR_BAD_ARGUMENT;
    std::lock_guard lock(mutex_);
    output_ = Output::File;
    target_ = path;
    return SPEECHCORE_OK;
}

int32_t SpeechEngine::outputToDevice(int32_t device) {
    const std::string name = SoundDeviceSink::deviceName(device);
    if (name.empty())
        return SPEECHCORE_ERR_BAD_ARGUMENT;
    // Checked now so the caller learns at once that there is no device; the
    // output stays as it was then.
    if (const int32_t result = SoundDeviceSink::probe(name); result != SPEECHCORE_OK)
        return result;
    std::lock_guard lock(mutex_);
    output_ = Output::Device;
    target_ = name;
    return SPEECHCORE_OK;
}

int32_t SpeechEngine::start() {
    std::lock_guard lock(mutex_);
    if (closed_)
        return SPEECHCORE_ERR_BAD_HANDLE;
    if (busy_.load())
        return SPEECHCORE_ERR_BUSY;
    if (output_ == Output::None)
        return SPEECHCORE_ERR_NO_OUTPUT;
    joinWorker();
    const int rate = EspeakSession::instance().sampleRate();
    int32_t error = SPEECHCORE_OK;
    std::unique_ptr<AudioSink> sink;
    if (output_ == Output::File)
        sink = MulawFileSink::open(target_, rate, error);
    else
        sink = SoundDeviceSink::open(target_, rate, stop_, error);
    if (sink == nullptr)
        return error;
    stop_ = false;
    busy_ = true;
    lastResult_ = SPEECHCORE_ERR_BUSY;
    std::string utf8 = std::move(pendingUtf8_);
    pendingUtf8_.clear();
    try {
        worker_ = std::thread(&SpeechEngine::run, this, std::move(sink), std::move(utf8), voice_);
    } catch (const std::system_error&) {
        busy_ = false;
        lastResult_ = SPEECHCORE_ERR_ENGINE;
        return SPEECHCORE_ERR_ENGINE;
    }
    return SPEECHCORE_OK;
}

int32_t SpeechEngine::stop() {
    std::lock_guard lock(mutex_);
    stop_ = true;
    joinWorker();
    return SPEECHCORE_OK;
}

void SpeechEngine::joinWorker() {
    if (worker_.joinable())
        worker_.join();
}

void SpeechEngine::run(std::unique_ptr<AudioSink> sink, std::string utf8, VoiceSettings voice) {
    bool stopped = false;
    const int32_t rendered = EspeakSession::instance().render(utf8, voice, stop_, *sink, stopped);
    const int32_t finished = sink->finish(stopped || stop_.load());
    sink.reset();
    lastResult_ = rendered != SPEECHCORE_OK ? rendered : finished;
    busy_ = false;
}

} // namespace speechcore
