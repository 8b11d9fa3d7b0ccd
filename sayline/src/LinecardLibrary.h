#pragma once

#include <cstdint>
#include <memory>

namespace sayline {

// The analog voice card library as the speech library binds it: found by
// name at run time (the program has already loaded it and enabled its card),
// with the few exports speech needs. A library that lacks any of them is
// treated as absent.
class LinecardLibrary {
public:
    // The file the library is known by; tests may name another.
    static constexpr const char* kFileName = "liblinecard.so";

    // Null when the library cannot be found or lacks an export.
    static std::unique_ptr<LinecardLibrary> open(const char* fileName = kFileName);
    ~LinecardLibrary();
    LinecardLibrary(const LinecardLibrary&) = delete;
    LinecardLibrary& operator=(const LinecardLibrary&) = delete;

    // The program has enabled the card (ForTTS_GetVar).
    bool cardsEnabled() const;
    bool speechCard() const;
    int32_t channels() const;
    int32_t speechChannels() const;

    int32_t startPlay(int32_t ch, const void* address, uint32_t length) const;
    int32_t stopPlay(int32_t ch) const;
    int32_t checkPlayEnd(int32_t ch) const;
    int32_t pushPlay() const;
    int32_t stopPlayFile(int32_t ch) const;

private:
    using Call = int32_t (*)();
    using ChannelCall = int32_t (*)(int32_t);
    using Play = int32_t (*)(int32_t, const void*, uint32_t, uint32_t);
    using GetVar = int32_t (*)(int16_t*, int32_t*);

    explicit LinecardLibrary(void* handle) : handle_(handle) {}
    bool bind();

    void* handle_;
    GetVar getVar_ = nullptr;
    Call isTtsCard_ = nullptr;
    Call ttsChannels_ = nullptr;
    Call validChannels_ = nullptr;
    Play startPlay_ = nullptr;
    ChannelCall stopPlay_ = nullptr;
    ChannelCall checkPlayEnd_ = nullptr;
    Call pushPlay_ = nullptr;
    ChannelCall stopPlayFile_ = nullptr;
};

} // namespace sayline
