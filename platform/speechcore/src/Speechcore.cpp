// The flat exports: find the instance behind the handle and keep every C++
// exception on this side of the C boundary.
#include "speechcore/Speechcore.h"

#include "EngineRegistry.h"
#include "SpeechEngine.h"

#include <new>

using speechcore::EngineRegistry;
using speechcore::SpeechEngine;

namespace {

template <typename Call> int32_t withEngine(SpeechcoreHandle handle, Call call) {
    try {
        const std::shared_ptr<SpeechEngine> engine = EngineRegistry::instance().find(handle);
        if (engine == nullptr)
            return SPEECHCORE_ERR_BAD_HANDLE;
        return call(*engine);
    } catch (...) {
        return SPEECHCORE_ERR_ENGINE;
    }
}

} // namespace

extern "C" {

SpeechcoreHandle Speechcore_Create(void) {
    try {
        std::shared_ptr<SpeechEngine> engine = SpeechEngine::create();
        if (engine == nullptr)
            return nullptr;
        return EngineRegistry::instance().add(std::move(engine));
    } catch (...) {
        return nullptr;
    }
}

int32_t Speechcore_Destroy(SpeechcoreHandle engine) {
    try {
        const std::shared_ptr<SpeechEngine> removed = EngineRegistry::instance().remove(engine);
        if (removed == nullptr)
            return SPEECHCORE_ERR_BAD_HANDLE;
        removed->shutdown();
        return SPEECHCORE_OK;
    } catch (...) {
        return SPEECHCORE_ERR_ENGINE;
    }
}

int32_t Speechcore_SetParam(SpeechcoreHandle engine, int32_t number, int32_t value) {
    return withEngine(engine, [&](SpeechEngine& e) { return e.setEngineParam(number, value); });
}

int32_t Speechcore_SetVoiceParam(SpeechcoreHandle engine, int32_t voice, int32_t number,
                                 int32_t value) {
    return withEngine(engine,
                      [&](SpeechEngine& e) { return e.setVoiceParam(voice, number, value); });
}

int32_t Speechcore_AddText(SpeechcoreHandle engine, const char* gbkText) {
    return withEngine(engine, [&](SpeechEngine& e) { return e.addText(gbkText); });
}

int32_t Speechcore_Start(SpeechcoreHandle engine) {
    return withEngine(engine, [](SpeechEngine& e) { return e.start(); });
}

int32_t Speechcore_IsBusy(SpeechcoreHandle engine) {
    return withEngine(engine, [](SpeechEngine& e) { return e.isBusy(); });
}

int32_t Speechcore_Stop(SpeechcoreHandle engine) {
    return withEngine(engine, [](SpeechEngine& e) { return e.stop(); });
}

int32_t Speechcore_OutputToFile(SpeechcoreHandle engine, const char* path) {
    return withEngine(engine, [&](SpeechEngine& e) { return e.outputToFile(path); });
}

int32_t Speechcore_OutputToDevice(SpeechcoreHandle engine, int32_t device) {
    return withEngine(engine, [&](SpeechEngine& e) { return e.outputToDevice(device); });
}

int32_t Speechcore_GetLastResult(SpeechcoreHandle engine) {
    return withEngine(engine, [](SpeechEngine& e) { return e.lastResult(); });
}

} // extern "C"
