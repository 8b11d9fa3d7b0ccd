#include "PieceSynthesiser.h"

#include <algorithm>
#include <chrono>
#include <thread>

namespace sayline {

PieceSynthesiser::PollWait PieceSynthesiser::standardWait() {
    return [] { std::this_thread::sleep_for(std::chrono::milliseconds(200)); };
}

PieceSynthesiser::PieceSynthesiser(SpeechcoreHandle engine, PollWait wait)
    : engine_(engine), wait_(std::move(wait)) {}

SpeechcoreHandle PieceSynthesiser::createEngine(int32_t speed, int32_t volume) {
    SpeechcoreHandle engine = Speechcore_Create();
    if (engine == nullptr)
        return nullptr;
    Speechcore_SetParam(engine, SPEECHCORE_PARAM_INPUT, 0);
    Speechcore_SetVoiceParam(engine, 0, SPEECHCORE_VOICE_PITCH, 50);
    Speechcore_SetVoiceParam(engine, 0, SPEECHCORE_VOICE_SPEED, std::clamp(speed, 0, 100));
    Speechcore_SetVoiceParam(engine, 0, SPEECHCORE_VOICE_VOLUME, std::clamp(volume, 0, 100));
    return engine;
}

void PieceSynthesiser::applyVoice(int32_t speed, int32_t volume, int32_t engineParam) {
    Speechcore_SetParam(engine_, SPEECHCORE_PARAM_INPUT, engineParam);
    Speechcore_SetVoiceParam(engine_, 0, SPEECHCORE_VOICE_SPEED, std::clamp(speed, 0, 100));
    Speechcore_SetVoiceParam(engine_, 0, SPEECHCORE_VOICE_VOLUME, std::clamp(volume, 0, 100));
}

PieceSynthesiser::Outcome PieceSynthesiser::toFile(const std::string& gbkText,
                                                   const std::string& path, const StopCheck& stop) {
    if (Speechcore_OutputToFile(engine_, path.c_str()) != SPEECHCORE_OK)
        return Outcome::Failed;
    return run(gbkText, stop);
}

PieceSynthesiser::Outcome PieceSynthesiser::toSoundDevice(const std::string& gbkText,
                                                          const StopCheck& stop) {
    if (Speechcore_OutputToDevice(engine_, SPEECHCORE_DEFAULT_DEVICE) != SPEECHCORE_OK)
        return Outcome::Failed;
    return run(gbkText, stop);
}

PieceSynthesiser::Outcome PieceSynthesiser::run(const std::string& gbkText, const StopCheck& stop) {
    if (Speechcore_AddText(engine_, gbkText.c_str()) != SPEECHCORE_OK ||
        Speechcore_Start(engine_) != SPEECHCORE_OK)
        return Outcome::Failed;
    while (Speechcore_IsBusy(engine_) == 1) {
        if (stop()) {
            Speechcore_Stop(engine_);
            return Outcome::Stopped;
        }
        wait_();
    }
    return Speechcore_GetLastResult(engine_) == SPEECHCORE_OK ? Outcome::Done : Outcome::Failed;
}

} // namespace sayline
