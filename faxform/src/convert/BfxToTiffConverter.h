#pragma once

#include "FileHandle.h"
#include "WorkBuffer.h"

#include <cstdint>

namespace faxform {

// Writes every page of a BFX file as one page of a TIFF Class F file.
class BfxToTiffConverter {
public:
    std::int32_t convert(const char* bfxPath, const char* tiffPath);

private:
    std::int32_t readHeader();
    std::int32_t convertPage(unsigned index);
    std::int32_t writeDirectory(std::uint64_t directoryPosition, std::size_t lines,
                                std::size_t codedSize);

    WorkBuffer raster_;
    WorkBuffer code_;
    FileHandle source_;
    FileHandle destination_;
    unsigned pageCount_ = 0;
    bool fineResolution_ = false;
    // Where the offset of the next IFD goes: the header first, then each
    // IFD's link field.
    std::uint64_t linkPosition_ = 4;
};

} // namespace faxform
