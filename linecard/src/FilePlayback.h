#pragma once
#include "LibraryState.h"

#include <string>

namespace linecard {

// Voice files on a channel: play with the two-half pump, and recording with
// its drain at the stop.
class FilePlayback {
public:
    explicit FilePlayback(LibraryState& state) : state_(state) {}

    int startPlayFile(uint16_t ch, const std::string& path, uint32_t offset);
    int stopPlayFile(uint16_t ch);
    int64_t playFileOffset(uint16_t ch) const;
    int startRecordFile(uint16_t ch, const std::string& path, uint32_t length);
    int checkRecordEnd(uint16_t ch);
    int stopRecordFile(uint16_t ch);
    void pumpPlay(uint16_t ch, ChannelState& channel);
    void pumpRecord(uint16_t ch, ChannelState& channel);

private:
    bool moveToCard(uint16_t ch, const uint8_t* bytes, uint32_t length, uint32_t offset);
    bool moveFromCard(uint16_t ch, uint8_t* bytes, uint32_t length, uint32_t offset);
    // Writes card bytes to the channel's file, dropping the skip count first.
    void writeRecorded(ChannelState& channel, const uint8_t* bytes, uint32_t length);
    int dueHalf(const ChannelState& channel, uint16_t remainder) const;

    LibraryState& state_;
};

} // namespace linecard
