#include "LinecardLibrary.h"

#include <dlfcn.h>
#include <filesystem>

namespace sayline {

namespace {

// The card library sits beside this one in the program's folder. A plain
// name is looked up from the caller's search path, which under the
// sanitizers is their runtime's rather than ours, so the folder of this
// library is tried as well.
void* load(const char* fileName) {
    if (void* handle = dlopen(fileName, RTLD_NOW | RTLD_LOCAL); handle != nullptr)
        return handle;
    if (std::filesystem::path(fileName).has_parent_path())
        return nullptr;
    Dl_info self{};
    if (dladdr(reinterpret_cast<const void*>(&load), &self) == 0 || self.dli_fname == nullptr)
        return nullptr;
    const auto beside = std::filesystem::path(self.dli_fname).parent_path() / fileName;
    return dlopen(beside.c_str(), RTLD_NOW | RTLD_LOCAL);
}

template <typename Function> bool find(void* handle, const char* name, Function& function) {
    function = reinterpret_cast<Function>(dlsym(handle, name));
    return function != nullptr;
}

} // namespace

std::unique_ptr<LinecardLibrary> LinecardLibrary::open(const char* fileName) {
    if (fileName == nullptr)
        return nullptr;
    void* handle = load(fileName);
    if (handle == nullptr)
        return nullptr;
    std::unique_ptr<LinecardLibrary> library(new LinecardLibrary(handle));
    if (!library->bind())
        return nullptr;
    return library;
}

bool LinecardLibrary::bind() {
    return find(handle_, "ForTTS_GetVar", getVar_) &&
           find(handle_, "ForTTS_IsTTSCard", isTtsCard_) &&
           find(handle_, "ForTTS_GetTTSChnlNum", ttsChannels_) &&
           find(handle_, "CheckValidCh", validChannels_) &&
           find(handle_, "StartPlay", startPlay_) && find(handle_, "StopPlay", stopPlay_) &&
           find(handle_, "CheckPlayEnd", checkPlayEnd_) && find(handle_, "PUSH_PLAY", pushPlay_) &&
           find(handle_, "StopPlayFile", stopPlayFile_);
}

LinecardLibrary::~LinecardLibrary() {
    dlclose(handle_);
}

bool LinecardLibrary::cardsEnabled() const {
    int16_t enabled = 0;
    int32_t unused = 0;
    getVar_(&enabled, &unused);
    return enabled != 0;
}

bool LinecardLibrary::speechCard() const {
    return isTtsCard_() != 0;
}

int32_t LinecardLibrary::channels() const {
    return validChannels_();
}

int32_t LinecardLibrary::speechChannels() const {
    return ttsChannels_();
}

int32_t LinecardLibrary::startPlay(int32_t ch, const void* address, uint32_t length) const {
    return startPlay_(ch, address, 0, length);
}

int32_t LinecardLibrary::stopPlay(int32_t ch) const {
    return stopPlay_(ch);
}

int32_t LinecardLibrary::checkPlayEnd(int32_t ch) const {
    return checkPlayEnd_(ch);
}

int32_t LinecardLibrary::pushPlay() const {
    return pushPlay_();
}

int32_t LinecardLibrary::stopPlayFile(int32_t ch) const {
    return stopPlayFile_(ch);
}

} // namespace sayline
