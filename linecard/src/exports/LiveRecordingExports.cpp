// Live recording exports.
#include "../CurveCoder.h"
#include "../LibraryState.h"
#include "../LiveRecording.h"
#include "ExportChecks.h"
#include "linecard/Linecard.h"

#include <vector>

using linecard::channelOf;
using linecard::LibraryState;
using linecard::LiveRecording;

namespace {
LiveRecording live() {
    return LiveRecording(LibraryState::instance());
}
} // namespace

extern "C" {

int32_t VR_SetRefreshSize(int32_t size) {
    return live().setRefreshSize(size);
}

int32_t VR_StartRecord(int32_t ch) {
    LC_CHECK_CHANNEL(ch);
    return live().start(static_cast<uint16_t>(ch));
}

int32_t VR_StopRecord(int32_t ch) {
    LC_CHECK_CHANNEL(ch);
    return live().stop(static_cast<uint16_t>(ch));
}

int32_t VR_GetRecordData(int32_t ch, void* destination) {
    LC_CHECK_CHANNEL(ch);
    return live().take(static_cast<uint16_t>(ch), static_cast<uint8_t*>(destination));
}

int32_t VR_GetRecordWaveData(int32_t ch, int16_t* destination, int32_t samples) {
    LC_CHECK_CHANNEL(ch);
    // The area must hold a whole chunk; a smaller one would be overrun.
    uint32_t chunk = LibraryState::instance().liveChunk;
    if (!destination || samples < 0 || static_cast<uint32_t>(samples) < chunk)
        return LC_BAD_ARGUMENT;
    std::vector<uint8_t> bytes(chunk);
    int got = live().take(static_cast<uint16_t>(ch), bytes.data());
    for (int i = 0; i < got; ++i)
        destination[i] = linecard::CurveCoder::decode(bytes[static_cast<size_t>(i)]);
    return 2 * got;
}

int32_t VR_SetEcrMode(int32_t ch, int32_t mode, uint32_t p1, uint32_t p2) {
    LC_CHECK_CHANNEL(ch);
    return live().setEcrMode(static_cast<uint16_t>(ch), mode, p1, p2);
}

} // extern "C"
