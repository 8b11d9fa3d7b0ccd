#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace linecard {

// A voice file being played or recorded on one channel, read and written in
// card bytes. Format 0 is raw card samples, 1 an A-law WAV, 2 an unsigned
// 8-bit WAV (the card then works in 8-bit linear), 3 an IMA ADPCM WAV that
// is converted from and to the card's A-law block by block.
class VoiceFile {
public:
    static constexpr uint32_t kWavHeaderBytes = 58;
    static constexpr uint32_t kAdpcmHeaderBytes = 60;

    VoiceFile() = default;
    VoiceFile(const VoiceFile&) = delete;
    VoiceFile& operator=(const VoiceFile&) = delete;
    ~VoiceFile();

    // Opens for play and seeks to the start for `offset` (rounded down to
    // 256 bytes past the header in the WAV formats).
    bool openForPlay(const std::string& path, int format, uint32_t offset);
    // Creates the file anew with a placeholder header.
    bool create(const std::string& path, int format);
    // Up to `bytes` card bytes; fewer at the end of the file.
    uint32_t read(uint8_t* destination, uint32_t bytes);
    bool write(const uint8_t* source, uint32_t bytes);
    // Rewrites the header with the final sizes and closes; false when the close fails.
    bool finishAndClose();
    bool close();
    bool isOpen() const { return fd_ >= 0; }
    int format() const { return format_; }

    // The header of a WAV format for a file of `fileBytes` (placeholder: the header alone).
    static std::vector<uint8_t> header(int format, uint32_t fileBytes);
    // Where play starts in the file for a caller's offset.
    static uint32_t startOffset(int format, uint32_t offset);

private:
    int fd_ = -1;
    int format_ = 0;
    std::vector<int16_t> decoded_; // ADPCM play: samples of the current block not yet read
    size_t decodedAt_ = 0;
    std::vector<int16_t> pending_; // ADPCM record: samples of the unfinished block
};

} // namespace linecard
