#include "TiffToBfxConverter.h"

#include "../codec/BitOrder.h"
#include "../codec/FaxPage.h"
#include "../codec/MhEncoder.h"
#include "../codec/PageRaster.h"
#include "BfxLayout.h"
#include "faxform/Faxform.h"

#include <algorithm>

namespace faxform {
namespace {

enum : std::uint32_t {
    kUncompressed = 1,
    kCcittRle = 2,
    kCcittT4 = 3,
    kCcittT6 = 4,
};

constexpr std::uint32_t kT4TwoDimensional = 1;
constexpr double kFineResolutionFrom = 99;
constexpr double kCentimetresPerInch = 2.54;
constexpr std::uint32_t kResolutionUnitCentimetre = 3;

std::int32_t checkBilevelFaxPage(const TiffPage& page) {
    if (page.width != static_cast<std::uint32_t>(kLineWidth)) {
        return FAXFORM_BAD_WIDTH;
    }
    if (page.bitsPerSample != 1 || page.samplesPerPixel != 1 || page.photometric > 1) {
        return FAXFORM_NOT_BILEVEL;
    }
    if (page.compression < kUncompressed || page.compression > kCcittT6) {
        return FAXFORM_UNSUPPORTED_COMPRESSION;
    }
    return 0;
}

FaxCoding codingOf(const TiffPage& page) {
    switch (page.compression) {
    case kCcittRle:
        return FaxCoding::ModifiedHuffmanRle;
    case kCcittT6:
        return FaxCoding::ModifiedModifiedRead;
    default:
        // Bit 1 only allows uncompressed mode; bit 0 alone says MR.
        return (page.t4Options & kT4TwoDimensional) ? FaxCoding::ModifiedRead
                                                    : FaxCoding::ModifiedHuffman;
    }
}

} // namespace

std::int32_t TiffToBfxConverter::convert(const char* tiffPath, const char* bfxPath) {
    if (tiffPath == nullptr || *tiffPath == '\0' || bfxPath == nullptr || *bfxPath == '\0') {
        return FAXFORM_TIFF2BFX_NO_PATH;
    }
    if (!source_.openForReading(tiffPath)) {
        return FAXFORM_TIFF2BFX_SOURCE_NOT_OPENED;
    }
    if (!destination_.create(bfxPath)) {
        return FAXFORM_TIFF2BFX_DESTINATION_NOT_CREATED;
    }
    if (!raster_.allocate(kWorkBufferSize) || !code_.allocate(kWorkBufferSize)) {
        return FAXFORM_TIFF2BFX_BUFFER_NOT_ALLOCATED;
    }
    TiffDirectoryReader reader(source_);
    std::uint32_t directory = 0;
    if (const std::int32_t result = reader.readHeader(directory); result != 0) {
        return result;
    }

    std::uint8_t header[kBfxHeaderSize] = {};
    std::copy_n(kBfxSignature, kBfxSignatureSize, header);
    if (!destination_.write(header, sizeof header)) {
        return FAXFORM_BFX_NOT_WRITTEN;
    }
    dataOffset_ = kBfxHeaderSize;

    if (directory == 0) {
        return FAXFORM_NO_PAGES;
    }
    unsigned pages = 0;
    while (directory != 0) {
        // This also ends an IFD chain that loops back on itself.
        if (pages == kBfxMaxPages) {
            return FAXFORM_TOO_MANY_PAGES;
        }
        TiffPage page;
        if (const std::int32_t result = reader.readDirectory(directory, page); result != 0) {
            return result;
        }
        ++pages;
        if (const std::int32_t result = convertPage(page, pages); result != 0) {
            return result;
        }
        directory = page.nextDirectory;
    }

    const auto count = static_cast<std::uint8_t>(pages);
    const std::uint8_t flag = lastYResolution_ >= kFineResolutionFrom ? kBfxFineResolution : 0;
    if (!destination_.writeAt(kBfxPageCountOffset, &count, 1) ||
        !destination_.writeAt(kBfxResolutionOffset, &flag, 1)) {
        return FAXFORM_BFX_NOT_WRITTEN;
    }
    source_.close();
    if (!destination_.close()) {
        return FAXFORM_BFX_NOT_WRITTEN;
    }
    return 0;
}

std::int32_t TiffToBfxConverter::convertPage(const TiffPage& page, unsigned number) {
    if (const std::int32_t result = checkBilevelFaxPage(page); result != 0) {
        return result;
    }
    std::size_t lines = 0;
    if (const std::int32_t result = decodePage(page, lines); result != 0) {
        return result;
    }
    const auto coded = MhEncoder::encodePage(raster_.data(), lines, code_.data(), code_.size());
    if (!coded) {
        return FAXFORM_PAGE_TOO_LARGE;
    }
    std::uint8_t entry[8];
    putLittle32(entry, static_cast<std::uint32_t>(*coded));
    putLittle32(entry + 4, dataOffset_);
    if (!destination_.writeAt(std::uint64_t{number} * 16 + 4, entry, sizeof entry) ||
        !destination_.writeAt(dataOffset_, code_.data(), *coded)) {
        return FAXFORM_BFX_NOT_WRITTEN;
    }
    dataOffset_ += static_cast<std::uint32_t>(*coded);

    double yResolution = page.yResolution;
    if (page.resolutionUnit == kResolutionUnitCentimetre) {
        yResolution *= kCentimetresPerInch;
    }
    lastYResolution_ = yResolution;
    return 0;
}

std::int32_t TiffToBfxConverter::decodePage(const TiffPage& page, std::size_t& lines) {
    // All strips go into the one code buffer; each is decoded on its own,
    // as a T.6 strip starts afresh from a white reference line.
    std::size_t total = 0;
    for (const std::uint32_t count : page.stripByteCounts) {
        total += count;
    }
    if (total > code_.size()) {
        return FAXFORM_PAGE_TOO_LARGE;
    }
    std::size_t position = 0;
    for (std::size_t i = 0; i < page.stripOffsets.size(); ++i) {
        if (!source_.readAt(page.stripOffsets[i], code_.data() + position,
                            page.stripByteCounts[i])) {
            return FAXFORM_TIFF2BFX_STRIP_DATA_NOT_READ;
        }
        position += page.stripByteCounts[i];
    }
    code_.padAfter(total);
    if (page.fillOrder == 2) {
        reverseBitOrder(code_.data(), total);
    }

    PageRaster raster(raster_.data(), kMaxRasterLines);
    const std::size_t rowsPerStrip = std::max<std::uint32_t>(page.rowsPerStrip, 1);
    std::size_t remaining = page.length;
    position = 0;
    for (std::size_t i = 0; i < page.stripOffsets.size() && remaining > 0; ++i) {
        const std::uint8_t* strip = code_.data() + position;
        const std::size_t size = page.stripByteCounts[i];
        position += size;
        const std::size_t rows = std::min(rowsPerStrip, remaining);
        const std::size_t before = raster.lines();
        const DecodeStatus status = page.compression == kUncompressed
                                        ? raster.appendUncoded(strip, size, rows)
                                        : raster.appendCoded(codingOf(page), strip, size, rows);
        if (status == DecodeStatus::TooLarge) {
            return FAXFORM_PAGE_TOO_LARGE;
        }
        if (status == DecodeStatus::Corrupt) {
            return FAXFORM_CORRUPT_CODE;
        }
        remaining -= raster.lines() - before;
        if (raster.lines() - before < rows && page.length != 0xFFFFFFFF) {
            // A strip shorter than it should be: the page ends with it.
            break;
        }
    }
    if (raster.lines() == 0) {
        return FAXFORM_CORRUPT_CODE;
    }
    if (page.photometric == 1) {
        raster.invert();
    }
    lines = raster.lines();
    return 0;
}

} // namespace faxform
