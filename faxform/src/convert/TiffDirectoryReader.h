#pragma once

#include "FileHandle.h"

#include <cstdint>
#include <vector>

namespace faxform {

// What a conversion needs from one TIFF page, after the tag defaults.
struct TiffPage {
    std::uint32_t width = 0;
    std::uint32_t length = 0xFFFFFFFF; // unknown: as many lines as the data holds
    std::uint32_t bitsPerSample = 1;
    std::uint32_t compression = 1;
    std::uint32_t photometric = 0;
    std::uint32_t fillOrder = 1;
    std::uint32_t samplesPerPixel = 1;
    std::uint32_t rowsPerStrip = 0xFFFFFFFF;
    std::uint32_t t4Options = 0;
    std::uint32_t t6Options = 0;
    std::uint32_t resolutionUnit = 2;
    double xResolution = 200;
    double yResolution = 192;
    std::vector<std::uint32_t> stripOffsets;
    std::vector<std::uint32_t> stripByteCounts;
    std::uint32_t nextDirectory = 0;
};

// Reads the header and the IFDs of a TIFF file in either byte order.
class TiffDirectoryReader {
public:
    explicit TiffDirectoryReader(FileHandle& file) : file_(file) {}

    // Reads the 8-byte header; gives the first IFD offset.
    std::int32_t readHeader(std::uint32_t& firstDirectory);
    std::int32_t readDirectory(std::uint32_t offset, TiffPage& page);

private:
    struct Entry {
        std::uint16_t tag;
        std::uint16_t type;
        std::uint32_t count;
        const std::uint8_t* value; // the 4-byte value or offset field
    };

    std::uint16_t get16(const std::uint8_t* in) const;
    std::uint32_t get32(const std::uint8_t* in) const;
    std::uint32_t scalar(const Entry& entry) const;
    std::int32_t readArray(const Entry& entry, std::vector<std::uint32_t>& values,
                           std::int32_t shortError, std::int32_t longError);
    std::int32_t readRational(const Entry& entry, double fallback, double& value,
                              std::int32_t error);

    FileHandle& file_;
    bool bigEndian_ = false;
};

} // namespace faxform
