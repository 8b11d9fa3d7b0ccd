#pragma once
#include "LibraryState.h"

#include <string>

namespace linecard {

// Play and record in the card's queue mode (RecordAndPlayMode 1 with the
// newer interface): the driver keeps each channel's data as a queue, reports
// its free space and recorded bytes, and says how much each move carried.
class QueuePlayback {
public:
    explicit QueuePlayback(LibraryState& state) : state_(state) {}

    int startPlay(uint16_t ch, const uint8_t* address, uint32_t length, bool speech);
    int startPlayFile(uint16_t ch, const std::string& path, uint32_t offset);
    int startRecordFile(uint16_t ch, const std::string& path, uint32_t length);
    int stopRecordFile(uint16_t ch);
    int64_t playFileOffset(uint16_t ch);
    // One pump step for a channel in play (1, 3, 6) or record (2) mode.
    void pump(uint16_t ch, ChannelState& channel);

private:
    uint32_t move(uint16_t ch, uint8_t* bytes, uint32_t length, bool toCard);
    // Status with an operation: the Param1 answer, and the status record.
    uint32_t query(uint16_t ch, uint16_t operation, ChannelStatus& status,
                   uint32_t* param2 = nullptr);
    void markPlayEnd(uint16_t ch) { state_.request(fn::LoopStop, ch, 0, 0); }
    void writeToFile(ChannelState& channel, const uint8_t* bytes, uint32_t length);

    LibraryState& state_;
};

} // namespace linecard
