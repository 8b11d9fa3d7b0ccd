#pragma once

#include <array>
#include <cstdint>
#include <span>

namespace faxsense {

struct HdlcFrame {
    uint16_t offset = 0; // into HdlcDeframer::payload()
    uint16_t length = 0; // octets, FCS included
    bool crcGood = false;
};

// Splits a received bit stream into HDLC frames: flags (0x7E) delimit them,
// a zero after five ones is removed, seven ones abort the frame in progress.
// Frames whose bit count is not a whole number of octets are dropped.
class HdlcDeframer {
public:
    static constexpr int MaxInputBytes = 256;

    // `lineBytes` hold the stream in arrival order, most significant bit of
    // each byte first. Frames still open at the end are dropped.
    void deframe(std::span<const uint8_t> lineBytes);

    std::span<const HdlcFrame> frames() const { return {frames_.data(), frameCount_}; }
    std::span<const uint8_t> bytesOf(const HdlcFrame& frame) const {
        return std::span<const uint8_t>(payload_).subspan(frame.offset, frame.length);
    }

private:
    void closeFrame();

    // Every payload octet costs at least 8 input bits, every frame at least one.
    std::array<uint8_t, MaxInputBytes> payload_{};
    std::array<HdlcFrame, MaxInputBytes> frames_{};
    std::size_t frameCount_ = 0;
    std::size_t payloadUsed_ = 0;

    bool inFrame_ = false;
    std::size_t frameStart_ = 0;
    int ones_ = 0;
    int bitsInOctet_ = 0;
    uint8_t octet_ = 0;
    uint16_t crc_ = 0;
};

} // namespace faxsense
