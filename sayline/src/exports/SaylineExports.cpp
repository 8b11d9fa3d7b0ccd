// The flat exports: each takes the library-wide state under a shared lock,
// so that Sayline_Init and Sayline_Release (exclusive) never pull the slots
// away from a call still running on another thread.
#include "sayline/Sayline.h"

#include "SaylineLibrary.h"

#include <cstring>
#include <memory>
#include <shared_mutex>

using sayline::ConverType;
using sayline::SaylineLibrary;
using sayline::SlotWorker;

namespace {

std::shared_mutex& stateMutex() {
    static std::shared_mutex mutex;
    return mutex;
}

std::unique_ptr<SaylineLibrary>& state() {
    static std::unique_ptr<SaylineLibrary> library;
    return library;
}

template <typename Action> int32_t withLibrary(int32_t absent, Action action) {
    std::shared_lock lock(stateMutex());
    SaylineLibrary* library = state().get();
    return library != nullptr ? action(*library) : absent;
}

SlotWorker::Voice voice(int32_t speed, int32_t volume, int32_t param) {
    return SlotWorker::Voice{speed, volume, param};
}

int32_t convert(ConverType kind, const char* source, const char* name, int32_t ch, int32_t speed,
                int32_t volume, int32_t param) {
    return withLibrary(SAYLINE_ERR_OUT_OF_RANGE, [&](SaylineLibrary& library) {
        return library.convert(kind, source, name, ch, voice(speed, volume, param));
    });
}

} // namespace

extern "C" {

int32_t Sayline_Init(void) {
    std::unique_lock lock(stateMutex());
    state().reset();
    auto library = std::make_unique<SaylineLibrary>(SaylineLibrary::Options{});
    const int32_t result = library->start();
    // Without card channels the PC's sound device is still served.
    if (result >= 0 || result == SAYLINE_ERR_NOT_BOUND)
        state() = std::move(library);
    return result;
}

int32_t Sayline_Release(void) {
    std::unique_lock lock(stateMutex());
    state().reset();
    return 0;
}

int32_t Sayline_GetTotalTTSChannel(void) {
    return withLibrary(0, [](SaylineLibrary& library) { return library.total(); });
}

int32_t Sayline_GetExistTTSChannel(void) {
    return withLibrary(0, [](SaylineLibrary& library) { return library.existing(); });
}

int32_t Sayline_GetLeaveTTSChannel(void) {
    return withLibrary(0, [](SaylineLibrary& library) { return library.leave(); });
}

int32_t Sayline_AddTTSToChannel(int32_t ch) {
    return withLibrary(SAYLINE_ERR_OUT_OF_RANGE,
                       [ch](SaylineLibrary& library) { return library.bind(ch); });
}

int32_t Sayline_DelTTSFromChannel(int32_t ch) {
    return withLibrary(SAYLINE_ERR_OUT_OF_RANGE,
                       [ch](SaylineLibrary& library) { return library.unbind(ch); });
}

int32_t Sayline_DeleteTTSChannel(int32_t) {
    return withLibrary(SAYLINE_ERR_NO_IDLE_INSTANCE,
                       [](SaylineLibrary& library) { return library.deleteIdle(); });
}

int32_t Sayline_ResetTTSChannel(int32_t ch) {
    return withLibrary(SAYLINE_ERR_OUT_OF_RANGE,
                       [ch](SaylineLibrary& library) { return library.reset(ch); });
}

int32_t Sayline_EnableTraceTTS(int32_t ch, int32_t on) {
    return withLibrary(SAYLINE_ERR_OUT_OF_RANGE,
                       [ch, on](SaylineLibrary& library) { return library.enableTrace(ch, on); });
}

int32_t Sayline_GetTTSVersion(char* buffer) {
    static constexpr char kVersion[] = "Version : v1.0.0.1-100";
    static_assert(sizeof(kVersion) <= SAYLINE_VERSION_BYTES);
    if (buffer == nullptr)
        return SAYLINE_ERR_EMPTY_TEXT;
    std::memcpy(buffer, kVersion, sizeof(kVersion));
    return 1;
}

int32_t GetThreadStep(int32_t slot) {
    return withLibrary(SAYLINE_ERR_OUT_OF_RANGE,
                       [slot](SaylineLibrary& library) { return library.threadStep(slot); });
}

int32_t Sayline_StartPlayText(int32_t ch, const char* text, int32_t isFile, int32_t, int32_t speed,
                              int32_t volume, int32_t param) {
    return withLibrary(SAYLINE_ERR_OUT_OF_RANGE, [&](SaylineLibrary& library) {
        return library.startPlay(ch, text, isFile != 0, voice(speed, volume, param));
    });
}

int32_t Sayline_CheckPlayTextEnd(int32_t ch) {
    return withLibrary(SAYLINE_ERR_OUT_OF_RANGE,
                       [ch](SaylineLibrary& library) { return library.checkPlay(ch); });
}

int32_t Sayline_StopPlayText(int32_t ch) {
    return withLibrary(SAYLINE_ERR_OUT_OF_RANGE,
                       [ch](SaylineLibrary& library) { return library.stopPlay(ch); });
}

int32_t Sayline_CvtTextToVocFile(const char* text, int32_t, const char* name, int32_t ch,
                                 int32_t speed, int32_t volume, int32_t param) {
    return convert(sayline::CO_TEXT_VOC, text, name, ch, speed, volume, param);
}

int32_t Sayline_CvtTextToWaveFile(const char* text, int32_t, const char* name, int32_t ch,
                                  int32_t speed, int32_t volume, int32_t param) {
    return convert(sayline::CO_TEXT_WAV, text, name, ch, speed, volume, param);
}

int32_t Sayline_CvtTextFileToVocFile(const char* path, int32_t, const char* name, int32_t ch,
                                     int32_t speed, int32_t volume, int32_t param) {
    return convert(sayline::CO_FILE_VOC, path, name, ch, speed, volume, param);
}

int32_t Sayline_CvtTextFileToWaveFile(const char* path, int32_t, const char* name, int32_t ch,
                                      int32_t speed, int32_t volume, int32_t param) {
    return convert(sayline::CO_FILE_WAV, path, name, ch, speed, volume, param);
}

int32_t Sayline_CheckCvtEnd(int32_t ch) {
    return withLibrary(SAYLINE_ERR_OUT_OF_RANGE,
                       [ch](SaylineLibrary& library) { return library.checkConversion(ch); });
}

int32_t Sayline_CvtStop(int32_t ch) {
    return withLibrary(SAYLINE_ERR_OUT_OF_RANGE,
                       [ch](SaylineLibrary& library) { return library.stopConversion(ch); });
}

int32_t Sayline_StartAudioPlayText(const char* text, int32_t isFile, int32_t, int32_t speed,
                                   int32_t volume, int32_t param) {
    return withLibrary(SAYLINE_ERR_NOT_BOUND, [&](SaylineLibrary& library) {
        return library.startAudio(text, isFile != 0, voice(speed, volume, param));
    });
}

int32_t Sayline_StopAudioPlayText(void) {
    return withLibrary(SAYLINE_ERR_NOT_BOUND,
                       [](SaylineLibrary& library) { return library.stopAudio(); });
}

int32_t Sayline_CheckAudioPlayText(void) {
    return withLibrary(SAYLINE_FINISHED,
                       [](SaylineLibrary& library) { return library.checkAudio(); });
}

// No trunk card library is part of this build: no digital channels exist.
int32_t Sayline_E1_GetTotalTTSChannel(void) {
    return 0;
}

int32_t Sayline_E1_AddTTSToChannel(int32_t) {
    return SAYLINE_ERR_NO_CARD;
}

int32_t Sayline_E1_DelTTSFromChannel(int32_t) {
    return SAYLINE_ERR_NO_CARD;
}

int32_t Sayline_E1_ResetTTSChannel(int32_t) {
    return SAYLINE_ERR_NO_CARD;
}

int32_t Sayline_E1_EnableTraceTTS(int32_t, int32_t) {
    return SAYLINE_ERR_NO_CARD;
}

int32_t Sayline_E1_StartPlayText(int32_t, const char*, int32_t, int32_t, int32_t, int32_t,
                                 int32_t) {
    return SAYLINE_ERR_NO_CARD;
}

int32_t Sayline_E1_CheckPlayTextEnd(int32_t) {
    return SAYLINE_ERR_NO_CARD;
}

int32_t Sayline_E1_StopPlayText(int32_t) {
    return SAYLINE_ERR_NO_CARD;
}

} // extern "C"
