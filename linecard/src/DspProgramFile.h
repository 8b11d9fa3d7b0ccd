#pragma once
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace linecard {

// A DSP program file (.DLD): a 64-byte header starting "LcDLD" with the
// section count at offset 62, then one 99-byte table entry per section whose
// file offset (bytes 0-3) and length (bytes 39-42) are masked byte by byte.
class DspProgramFile {
public:
    enum class Status { Ok, CannotOpen, BadFormat };
    struct Section {
        uint32_t offset = 0;
        uint32_t length = 0;
    };
    static constexpr uint8_t kMask[4] = {0x5A, 0xC3, 0x3C, 0xA5};
    static constexpr size_t kHeaderBytes = 64;
    static constexpr size_t kEntryBytes = 99;

    Status open(const std::string& path);
    // The same checks on a file's bytes already in memory.
    Status parse(std::vector<uint8_t> content);
    int sectionCount() const { return static_cast<int>(sections_.size()); }
    // The bytes of section `index`, at most `maxBytes`; false when the
    // section is missing or lies outside the file.
    bool readSection(int index, uint32_t maxBytes, std::vector<uint8_t>& bytes,
                     uint32_t& fullLength) const;

    // The file layout for the given section contents (used to make program files).
    static std::vector<uint8_t> build(const std::vector<std::vector<uint8_t>>& sections);

private:
    std::vector<uint8_t> content_;
    std::vector<Section> sections_;
};

} // namespace linecard
