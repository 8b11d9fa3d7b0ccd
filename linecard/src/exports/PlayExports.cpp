// Play exports and the speech-card queries.
#include "../FilePlayback.h"
#include "../LibraryState.h"
#include "../Playback.h"
#include "ExportChecks.h"
#include "linecard/Linecard.h"

#include <cstring>

using linecard::channelOf;
using linecard::DriverRequest;
using linecard::LibraryState;
using linecard::Playback;
namespace fn = linecard::fn;

namespace {
Playback playback() {
    return Playback(LibraryState::instance());
}
linecard::FilePlayback files() {
    return linecard::FilePlayback(LibraryState::instance());
}

int startPlay(int32_t ch, const void* address, uint32_t offset, uint32_t length, bool speech) {
    if (!LibraryState::validChannel(ch))
        return LC_BAD_ARGUMENT;
    const uint8_t* start = address ? static_cast<const uint8_t*>(address) + offset : nullptr;
    return playback().startPlay(channelOf(ch), start, length, speech);
}

bool isSpeechCard() {
    DriverRequest query{linecard::requestCode(fn::SpeechCapability), 0, 0, 0, 0, 0};
    return LibraryState::instance().request(query) && query.Value == linecard::kSpeechMarker;
}
} // namespace

extern "C" {

int32_t StartPlay(int32_t ch, const void* address, uint32_t offset, uint32_t length) {
    return startPlay(ch, address, offset, length, false);
}

int32_t ForTTS_StartPlay(int32_t ch, const void* address, uint32_t offset, uint32_t length) {
    return startPlay(ch, address, offset, length, true);
}

int32_t StopPlay(int32_t ch) {
    LC_CHECK_CHANNEL(ch);
    return playback().stopPlay(channelOf(ch));
}

int32_t CheckPlayEnd(int32_t ch) {
    LC_CHECK_CHANNEL(ch);
    return playback().checkPlayEnd(channelOf(ch));
}

int32_t ReadStatus(int32_t ch, void* area) {
    LC_CHECK_CHANNEL(ch);
    if (!area)
        return LC_BAD_ARGUMENT;
    DriverRequest read{linecard::requestCode(fn::ReadStatus), channelOf(ch), 0, 0, 0, 0};
    return LibraryState::instance().request(read, area, linecard::kChannelStatusBytes) ? 1 : 0;
}

int32_t PUSH_PLAY(void) {
    playback().pump();
    return 0;
}

int32_t StartPlayMem(int32_t ch) {
    LC_CHECK_CHANNEL(ch);
    return playback().startPlayMem(channelOf(ch));
}

int32_t SendToBuff(int32_t ch, const void* data, uint32_t length) {
    LC_CHECK_CHANNEL(ch);
    return playback().sendToBuff(channelOf(ch), static_cast<const uint8_t*>(data), length);
}

int32_t StartPlayFile(int32_t ch, const char* fileName, uint32_t offset) {
    LC_CHECK_CHANNEL(ch);
    if (!fileName)
        return LC_BAD_ARGUMENT;
    return files().startPlayFile(channelOf(ch), fileName, offset);
}

int32_t StopPlayFile(int32_t ch) {
    LC_CHECK_CHANNEL(ch);
    return files().stopPlayFile(channelOf(ch));
}

int32_t GetPlayFileOffset(int32_t ch) {
    LC_CHECK_CHANNEL(ch);
    return static_cast<int32_t>(files().playFileOffset(channelOf(ch)));
}

int32_t StartRecordFile(int32_t ch, const char* fileName, uint32_t length) {
    return StartRecordFile_Ex(ch, fileName, length, 0);
}

int32_t StartRecordFile_Ex(int32_t ch, const char* fileName, uint32_t length, int32_t share) {
    LC_CHECK_CHANNEL(ch);
    if (!fileName)
        return LC_BAD_ARGUMENT;
    // Files here are always open to other readers; `share` changes nothing.
    (void)share;
    return files().startRecordFile(channelOf(ch), fileName, length);
}

int32_t CheckRecordEnd(int32_t ch) {
    LC_CHECK_CHANNEL(ch);
    return files().checkRecordEnd(channelOf(ch));
}

int32_t StopRecordFile(int32_t ch) {
    LC_CHECK_CHANNEL(ch);
    return files().stopRecordFile(channelOf(ch));
}

int32_t ForTTS_GetTTSChnlNum(void) {
    if (!isSpeechCard())
        return 0;
    DriverRequest count{linecard::requestCode(fn::SpeechCapability), 0, 1, 0, 0, 0};
    if (!LibraryState::instance().request(count) || count.Value != linecard::kSpeechMarker)
        return 0;
    return static_cast<int32_t>(count.Param1);
}

int32_t ForTTS_IsTTSCard(void) {
    return isSpeechCard() ? 1 : 0;
}

int32_t IsNowSupportTTS(void) {
    return isSpeechCard() ? 1 : 0;
}

int32_t ForTTS_GetVar(int16_t* enabled, int32_t* other) {
    if (enabled)
        *enabled = LibraryState::instance().enabled ? 1 : 0;
    if (other)
        *other = 0;
    return 0;
}

} // extern "C"
