#include "DspProgramFile.h"

#include <cstring>
#include <fstream>
#include <iterator>

namespace linecard {
namespace {

uint32_t unmask(const uint8_t* bytes) {
    uint32_t value = 0;
    for (int i = 3; i >= 0; --i)
        value = (value << 8) | static_cast<uint8_t>(bytes[i] ^ DspProgramFile::kMask[i]);
    return value;
}

void putMasked(std::vector<uint8_t>& out, size_t at, uint32_t value) {
    for (int i = 0; i < 4; ++i)
        out[at + static_cast<size_t>(i)] =
            static_cast<uint8_t>(((value >> (8 * i)) & 0xFF) ^ DspProgramFile::kMask[i]);
}

} // namespace

DspProgramFile::Status DspProgramFile::open(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return Status::CannotOpen;
    return parse(
        std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()));
}

DspProgramFile::Status DspProgramFile::parse(std::vector<uint8_t> content) {
    content_ = std::move(content);
    sections_.clear();
    if (content_.size() < kHeaderBytes)
        return Status::BadFormat;
    char magic[kHeaderBytes];
    std::memcpy(magic, content_.data(), kHeaderBytes);
    magic[kHeaderBytes - 1] = 0;
    if (std::strcmp(magic, "LcDLD") != 0)
        return Status::BadFormat;
    uint16_t count = static_cast<uint16_t>(content_[62] | (content_[63] << 8));
    if (content_.size() < kHeaderBytes + kEntryBytes * count)
        return Status::BadFormat;
    for (uint16_t i = 0; i < count; ++i) {
        const uint8_t* entry = content_.data() + kHeaderBytes + kEntryBytes * i;
        sections_.push_back({unmask(entry), unmask(entry + 39)});
    }
    return Status::Ok;
}

bool DspProgramFile::readSection(int index, uint32_t maxBytes, std::vector<uint8_t>& bytes,
                                 uint32_t& fullLength) const {
    if (index < 0 || index >= sectionCount())
        return false;
    const Section& section = sections_[static_cast<size_t>(index)];
    fullLength = section.length;
    uint32_t length = section.length < maxBytes ? section.length : maxBytes;
    if (static_cast<uint64_t>(section.offset) + length > content_.size())
        return false;
    bytes.assign(content_.begin() + section.offset, content_.begin() + section.offset + length);
    return true;
}

std::vector<uint8_t> DspProgramFile::build(const std::vector<std::vector<uint8_t>>& sections) {
    size_t tableEnd = kHeaderBytes + kEntryBytes * sections.size();
    std::vector<uint8_t> out(tableEnd, 0);
    std::memcpy(out.data(), "LcDLD", 5);
    out[62] = static_cast<uint8_t>(sections.size() & 0xFF);
    out[63] = static_cast<uint8_t>(sections.size() >> 8);
    for (size_t i = 0; i < sections.size(); ++i) {
        size_t entry = kHeaderBytes + kEntryBytes * i;
        putMasked(out, entry, static_cast<uint32_t>(out.size()));
        putMasked(out, entry + 39, static_cast<uint32_t>(sections[i].size()));
        out.insert(out.end(), sections[i].begin(), sections[i].end());
    }
    return out;
}

} // namespace linecard
