#pragma once

#include <cstdint>
#include <map>
#include <vector>

namespace faxform::test {

// Hand-made TIFF files, for the shapes no TIFF writer would produce.
struct TagValue {
    std::uint16_t type; // 3 SHORT, 4 LONG, 5 RATIONAL (values in pairs), ...
    std::vector<std::uint32_t> values;
};

using TiffTags = std::map<std::uint16_t, TagValue>;

struct TiffPageSpec {
    TiffTags tags;
    std::vector<std::uint8_t> strip;
};

// The tags of an uncompressed bilevel fax page of `lines` lines at fine
// resolution; StripOffsets is left empty and filled in with the strip's place.
TiffTags uncompressedFaxTags(std::uint32_t lines);

// `lines` uncompressed lines, alternating black and white.
std::vector<std::uint8_t> uncompressedStrip(std::uint32_t lines);

struct BuiltTiff {
    std::vector<std::uint8_t> bytes;
    std::vector<std::uint32_t> directoryOffsets;
};

// Lays out each page as its strip, its out-of-line values, then its IFD.
BuiltTiff buildTiff(const std::vector<TiffPageSpec>& pages, bool bigEndian);

} // namespace faxform::test
