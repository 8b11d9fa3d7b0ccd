#pragma once

#include "FileHandle.h"
#include "TiffDirectoryReader.h"
#include "WorkBuffer.h"

#include <cstdint>

namespace faxform {

// Writes every page of a bilevel TIFF file as one page of a BFX file.
class TiffToBfxConverter {
public:
    std::int32_t convert(const char* tiffPath, const char* bfxPath);

private:
    std::int32_t convertPage(const TiffPage& page, unsigned number);
    std::int32_t decodePage(const TiffPage& page, std::size_t& lines);

    WorkBuffer raster_;
    WorkBuffer code_;
    FileHandle source_;
    FileHandle destination_;
    std::uint32_t dataOffset_ = 0;
    double lastYResolution_ = 0;
};

} // namespace faxform
