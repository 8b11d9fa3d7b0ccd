#include "BfxToTiffConverter.h"

#include "../codec/BitOrder.h"
#include "../codec/FaxPage.h"
#include "../codec/MhEncoder.h"
#include "../codec/PageRaster.h"
#include "BfxLayout.h"
#include "faxform/Faxform.h"

#include <cstring>

namespace faxform {
namespace {

// The IFD written for each page: entry count, 14 entries, the next-IFD link,
// the two resolution rationals; the coded data follows directly.
constexpr int kEntryCount = 14;
constexpr std::size_t kEntriesSize = kEntryCount * 12;
constexpr std::uint64_t kLinkOffset = 2 + kEntriesSize;
constexpr std::uint64_t kXResolutionOffset = kLinkOffset + 4; // 174
constexpr std::uint64_t kYResolutionOffset = kXResolutionOffset + 8;
constexpr std::uint64_t kDataOffset = kYResolutionOffset + 8; // 190

enum : std::uint16_t { kShort = 3, kLong = 4, kRational = 5 };

void putEntry(std::uint8_t*& out, std::uint16_t tag, std::uint16_t type, std::uint32_t value) {
    putLittle16(out, tag);
    putLittle16(out + 2, type);
    putLittle32(out + 4, 1);
    if (type == kShort) {
        putLittle16(out + 8, static_cast<std::uint16_t>(value));
        putLittle16(out + 10, 0);
    } else {
        putLittle32(out + 8, value);
    }
    out += 12;
}

} // namespace

std::int32_t BfxToTiffConverter::convert(const char* bfxPath, const char* tiffPath) {
    if (!raster_.allocate(kWorkBufferSize)) {
        return FAXFORM_BFX2TIFF_RASTER_BUFFER_NOT_ALLOCATED;
    }
    if (bfxPath == nullptr || *bfxPath == '\0') {
        return FAXFORM_BFX2TIFF_NO_SOURCE_PATH;
    }
    if (tiffPath == nullptr || *tiffPath == '\0') {
        return FAXFORM_BFX2TIFF_NO_DESTINATION_PATH;
    }
    if (!destination_.create(tiffPath)) {
        return FAXFORM_BFX2TIFF_DESTINATION_NOT_CREATED;
    }
    if (!source_.openForReading(bfxPath)) {
        return FAXFORM_BFX2TIFF_SOURCE_NOT_OPENED;
    }
    if (!code_.allocate(kWorkBufferSize)) {
        return FAXFORM_BFX2TIFF_CODE_BUFFER_NOT_ALLOCATED;
    }
    if (const std::int32_t result = readHeader(); result != 0) {
        return result;
    }
    const std::uint8_t header[8] = {'I', 'I', 42, 0, 8, 0, 0, 0};
    if (!destination_.write(header, sizeof header)) {
        return FAXFORM_BFX2TIFF_HEADER_NOT_WRITTEN;
    }
    for (unsigned page = 0; page < pageCount_; ++page) {
        if (const std::int32_t result = convertPage(page); result != 0) {
            return result;
        }
    }
    source_.close();
    if (!destination_.close()) {
        return FAXFORM_BFX2TIFF_PAGE_NOT_WRITTEN;
    }
    return 0;
}

std::int32_t BfxToTiffConverter::readHeader() {
    char signature[kBfxSignatureSize];
    if (!source_.read(signature, sizeof signature) ||
        std::memcmp(signature, kBfxSignature, kBfxSignatureSize) != 0) {
        return FAXFORM_BFX2TIFF_BAD_SIGNATURE;
    }
    std::uint8_t count = 0;
    if (!source_.readAt(kBfxPageCountOffset, &count, 1) || count == 0) {
        return FAXFORM_BFX2TIFF_BAD_PAGE_COUNT;
    }
    // A larger count would take the page table over the resolution flag.
    if (count > kBfxMaxPages) {
        return FAXFORM_TOO_MANY_PAGES;
    }
    std::uint8_t flag = 0;
    if (!source_.readAt(kBfxResolutionOffset, &flag, 1)) {
        return FAXFORM_BFX2TIFF_RESOLUTION_UNREADABLE;
    }
    pageCount_ = count;
    fineResolution_ = flag == kBfxFineResolution;
    return 0;
}

std::int32_t BfxToTiffConverter::convertPage(unsigned index) {
    // TIFF wants every IFD on a word boundary.
    std::uint64_t directoryPosition = destination_.position();
    if (directoryPosition & 1) {
        const std::uint8_t zero = 0;
        if (!destination_.write(&zero, 1)) {
            return FAXFORM_BFX2TIFF_PAGE_NOT_WRITTEN;
        }
        ++directoryPosition;
    }
    std::uint8_t link[4];
    putLittle32(link, static_cast<std::uint32_t>(directoryPosition));
    if (!destination_.writeAt(linkPosition_, link, sizeof link) || !destination_.seekToEnd()) {
        return FAXFORM_BFX2TIFF_IFD_LINK_NOT_WRITTEN;
    }

    std::uint8_t entry[4];
    if (!source_.readAt(bfxPageLengthOffset(index), entry, sizeof entry)) {
        return FAXFORM_BFX2TIFF_PAGE_NOT_READ;
    }
    const std::uint32_t length = getLittle32(entry);
    if (!source_.readAt(bfxPageDataOffset(index), entry, sizeof entry)) {
        return FAXFORM_BFX2TIFF_PAGE_NOT_READ;
    }
    const std::uint32_t offset = getLittle32(entry);
    if (length > code_.size()) {
        return FAXFORM_PAGE_TOO_LARGE;
    }
    if (!source_.readAt(offset, code_.data(), length)) {
        return FAXFORM_BFX2TIFF_PAGE_NOT_READ;
    }
    code_.padAfter(length);
    reverseBitOrder(code_.data(), length);

    PageRaster raster(raster_.data(), kMaxRasterLines);
    const DecodeStatus status =
        raster.appendCoded(FaxCoding::ModifiedHuffman, code_.data(), length, kMaxRasterLines + 1);
    if (status == DecodeStatus::TooLarge) {
        return FAXFORM_PAGE_TOO_LARGE;
    }
    if (status == DecodeStatus::Corrupt || raster.lines() == 0) {
        return FAXFORM_CORRUPT_CODE;
    }
    const auto coded =
        MhEncoder::encodePage(raster.data(), raster.lines(), code_.data(), code_.size());
    if (!coded) {
        return FAXFORM_PAGE_TOO_LARGE;
    }
    if (const std::int32_t result = writeDirectory(directoryPosition, raster.lines(), *coded);
        result != 0) {
        return result;
    }
    if (!destination_.write(code_.data(), *coded)) {
        return FAXFORM_BFX2TIFF_PAGE_NOT_WRITTEN;
    }
    linkPosition_ = directoryPosition + kLinkOffset;
    return 0;
}

std::int32_t BfxToTiffConverter::writeDirectory(std::uint64_t directoryPosition, std::size_t lines,
                                                std::size_t codedSize) {
    std::uint8_t count[2];
    putLittle16(count, kEntryCount);
    if (!destination_.write(count, sizeof count)) {
        return FAXFORM_BFX2TIFF_ENTRY_COUNT_NOT_WRITTEN;
    }
    const auto position = static_cast<std::uint32_t>(directoryPosition);
    const auto lineCount = static_cast<std::uint32_t>(lines);
    std::uint8_t entries[kEntriesSize];
    std::uint8_t* out = entries;
    putEntry(out, 256, kShort, 1728);                                 // ImageWidth
    putEntry(out, 257, kShort, lineCount);                            // ImageLength
    putEntry(out, 258, kShort, 1);                                    // BitsPerSample
    putEntry(out, 259, kShort, 3);                                    // Compression: T.4
    putEntry(out, 262, kShort, 0);                                    // Photometric: WhiteIsZero
    putEntry(out, 266, kShort, 2);                                    // FillOrder: LSB first
    putEntry(out, 273, kLong, position + kDataOffset);                // StripOffsets
    putEntry(out, 277, kShort, 1);                                    // SamplesPerPixel
    putEntry(out, 278, kShort, lineCount);                            // RowsPerStrip
    putEntry(out, 279, kLong, static_cast<std::uint32_t>(codedSize)); // StripByteCounts
    putEntry(out, 282, kRational, position + kXResolutionOffset);     // XResolution
    putEntry(out, 283, kRational, position + kYResolutionOffset);     // YResolution
    putEntry(out, 292, kLong, 0);                                     // T4Options
    putEntry(out, 296, kShort, 2);                                    // ResolutionUnit: inch
    if (!destination_.write(entries, sizeof entries)) {
        return FAXFORM_BFX2TIFF_ENTRIES_NOT_WRITTEN;
    }
    const std::uint8_t noNextDirectory[4] = {};
    if (!destination_.write(noNextDirectory, sizeof noNextDirectory)) {
        return FAXFORM_BFX2TIFF_NEXT_LINK_NOT_WRITTEN;
    }
    std::uint8_t resolution[8];
    putLittle32(resolution, 200);
    putLittle32(resolution + 4, 1);
    if (!destination_.write(resolution, sizeof resolution)) {
        return FAXFORM_BFX2TIFF_XRES_NOT_WRITTEN;
    }
    putLittle32(resolution, fineResolution_ ? 200 : 98);
    if (!destination_.write(resolution, sizeof resolution)) {
        return FAXFORM_BFX2TIFF_YRES_NOT_WRITTEN;
    }
    return 0;
}

} // namespace faxform
