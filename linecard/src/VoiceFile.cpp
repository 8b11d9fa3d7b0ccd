#include "VoiceFile.h"

#include "CurveCoder.h"
#include "ImaAdpcmCoder.h"

#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace linecard {
namespace {

void put16(std::vector<uint8_t>& out, uint32_t value) {
    out.push_back(static_cast<uint8_t>(value & 0xFF));
    out.push_back(static_cast<uint8_t>((value >> 8) & 0xFF));
}
void put32(std::vector<uint8_t>& out, uint32_t value) {
    put16(out, value & 0xFFFF);
    put16(out, value >> 16);
}
void putText(std::vector<uint8_t>& out, const char* text) {
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<uint8_t>(text[i]));
}

bool writeAll(int fd, const uint8_t* bytes, size_t count) {
    while (count > 0) {
        ssize_t written = ::write(fd, bytes, count);
        if (written <= 0)
            return false;
        bytes += written;
        count -= static_cast<size_t>(written);
    }
    return true;
}

size_t readAll(int fd, uint8_t* bytes, size_t count) {
    size_t total = 0;
    while (total < count) {
        ssize_t got = ::read(fd, bytes + total, count - total);
        if (got <= 0)
            break;
        total += static_cast<size_t>(got);
    }
    return total;
}

} // namespace

VoiceFile::~VoiceFile() {
    close();
}

std::vector<uint8_t> VoiceFile::header(int format, uint32_t fileBytes) {
    std::vector<uint8_t> out;
    bool adpcm = format == 3;
    uint32_t headerBytes = adpcm ? kAdpcmHeaderBytes : kWavHeaderBytes;
    uint32_t data = fileBytes > headerBytes ? fileBytes - headerBytes : 0;
    putText(out, "RIFF");
    put32(out, (fileBytes > 8 ? fileBytes : headerBytes) - 8);
    putText(out, "WAVE");
    putText(out, "fmt ");
    if (adpcm) {
        put32(out, 20);
        put16(out, 0x11);
        put16(out, 1);
        put32(out, 8000);
        put32(out, 4055);
        put16(out, 256);
        put16(out, 4);
        put16(out, 2);
        put16(out, 505);
    } else {
        put32(out, 18);
        put16(out, format == 2 ? 1 : 6);
        put16(out, 1);
        put32(out, 8000);
        put32(out, 8000);
        put16(out, 1);
        put16(out, 8);
        put16(out, 0);
    }
    putText(out, "fact");
    put32(out, 4);
    put32(out, adpcm ? data / 256 * 505 : data);
    putText(out, "data");
    put32(out, data);
    return out;
}

uint32_t VoiceFile::startOffset(int format, uint32_t offset) {
    if (format == 1 || format == 2)
        return (offset & ~255u) + kWavHeaderBytes;
    if (format == 3)
        return (offset & ~255u) + kAdpcmHeaderBytes;
    return offset;
}

bool VoiceFile::openForPlay(const std::string& path, int format, uint32_t offset) {
    close();
    fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd_ < 0)
        return false;
    format_ = format;
    decoded_.clear();
    decodedAt_ = 0;
    ::lseek(fd_, static_cast<off_t>(startOffset(format, offset)), SEEK_SET);
    return true;
}

bool VoiceFile::create(const std::string& path, int format) {
    close();
    fd_ = ::open(path.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd_ < 0)
        return false;
    format_ = format;
    pending_.clear();
    if (format >= 1 && format <= 3) {
        std::vector<uint8_t> placeholder = header(format, 0);
        if (!writeAll(fd_, placeholder.data(), placeholder.size()))
            return false;
    }
    return true;
}

uint32_t VoiceFile::read(uint8_t* destination, uint32_t bytes) {
    if (fd_ < 0)
        return 0;
    if (format_ != 3)
        return static_cast<uint32_t>(readAll(fd_, destination, bytes));
    uint32_t done = 0;
    while (done < bytes) {
        if (decodedAt_ >= decoded_.size()) {
            uint8_t block[ImaAdpcmCoder::kBlockBytes];
            if (readAll(fd_, block, sizeof block) < sizeof block)
                break;
            decoded_.resize(ImaAdpcmCoder::kBlockSamples);
            ImaAdpcmCoder::decodeBlock(block, decoded_.data());
            decodedAt_ = 0;
        }
        destination[done++] = CurveCoder::encode(decoded_[decodedAt_++]);
    }
    return done;
}

bool VoiceFile::write(const uint8_t* source, uint32_t bytes) {
    if (fd_ < 0)
        return false;
    if (format_ != 3)
        return writeAll(fd_, source, bytes);
    for (uint32_t i = 0; i < bytes; ++i) {
        pending_.push_back(CurveCoder::decode(source[i]));
        if (pending_.size() == ImaAdpcmCoder::kBlockSamples) {
            uint8_t block[ImaAdpcmCoder::kBlockBytes];
            ImaAdpcmCoder::encodeBlock(pending_.data(), block);
            pending_.clear();
            if (!writeAll(fd_, block, sizeof block))
                return false;
        }
    }
    return true;
}

bool VoiceFile::finishAndClose() {
    if (fd_ < 0)
        return false;
    if (format_ >= 1 && format_ <= 3) {
        struct stat info {};
        ::fstat(fd_, &info);
        std::vector<uint8_t> final = header(format_, static_cast<uint32_t>(info.st_size));
        ::lseek(fd_, 0, SEEK_SET);
        writeAll(fd_, final.data(), final.size());
    }
    return close();
}

bool VoiceFile::close() {
    if (fd_ < 0)
        return false;
    int result = ::close(fd_);
    fd_ = -1;
    return result == 0;
}

} // namespace linecard
