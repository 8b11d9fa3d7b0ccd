#include "TiffDirectoryReader.h"

#include "faxform/Faxform.h"

namespace faxform {
namespace {

constexpr std::uint16_t kMaxEntries = 100;
constexpr std::uint32_t kMaxStrips = 100;

enum : std::uint16_t { kByte = 1, kShort = 3, kLong = 4 };

} // namespace

std::uint16_t TiffDirectoryReader::get16(const std::uint8_t* in) const {
    return bigEndian_ ? static_cast<std::uint16_t>((in[0] << 8) | in[1])
                      : static_cast<std::uint16_t>(in[0] | (in[1] << 8));
}

std::uint32_t TiffDirectoryReader::get32(const std::uint8_t* in) const {
    if (bigEndian_) {
        return (std::uint32_t{in[0]} << 24) | (std::uint32_t{in[1]} << 16) |
               (std::uint32_t{in[2]} << 8) | std::uint32_t{in[3]};
    }
    return std::uint32_t{in[0]} | (std::uint32_t{in[1]} << 8) | (std::uint32_t{in[2]} << 16) |
           (std::uint32_t{in[3]} << 24);
}

std::int32_t TiffDirectoryReader::readHeader(std::uint32_t& firstDirectory) {
    std::uint8_t header[8];
    if (!file_.readAt(0, header, sizeof header)) {
        return FAXFORM_TIFF2BFX_HEADER_NOT_READ;
    }
    if (header[0] == 'I' && header[1] == 'I') {
        bigEndian_ = false;
    } else if (header[0] == 'M' && header[1] == 'M') {
        bigEndian_ = true;
    } else {
        return FAXFORM_TIFF2BFX_BAD_BYTE_ORDER;
    }
    if (get16(header + 2) != 42) {
        return FAXFORM_TIFF2BFX_BAD_VERSION;
    }
    firstDirectory = get32(header + 4);
    return 0;
}

// A value held in the entry itself sits at the start of the value field, in
// the file's byte order.
std::uint32_t TiffDirectoryReader::scalar(const Entry& entry) const {
    switch (entry.type) {
    case kByte:
        return entry.value[0];
    case kShort:
        return get16(entry.value);
    default:
        return get32(entry.value);
    }
}

std::int32_t TiffDirectoryReader::readArray(const Entry& entry, std::vector<std::uint32_t>& values,
                                            std::int32_t shortError, std::int32_t longError) {
    if (entry.type != kShort && entry.type != kLong) {
        return FAXFORM_BAD_STRIP_TAGS;
    }
    if (entry.count == 0) {
        return FAXFORM_BAD_STRIP_TAGS;
    }
    if (entry.count > kMaxStrips) {
        return FAXFORM_TOO_MANY_STRIPS;
    }
    const unsigned width = entry.type == kShort ? 2 : 4;
    const std::size_t size = std::size_t{entry.count} * width;
    std::uint8_t buffer[kMaxStrips * 4];
    const std::uint8_t* in = entry.value;
    if (size > 4) {
        if (!file_.readAt(get32(entry.value), buffer, size)) {
            return entry.type == kShort ? shortError : longError;
        }
        in = buffer;
    }
    values.resize(entry.count);
    for (std::uint32_t i = 0; i < entry.count; ++i) {
        values[i] = width == 2 ? get16(in + 2 * i) : get32(in + 4 * i);
    }
    return 0;
}

std::int32_t TiffDirectoryReader::readRational(const Entry& entry, double fallback, double& value,
                                               std::int32_t error) {
    if (entry.type == kShort || entry.type == kLong) {
        value = scalar(entry);
        return 0;
    }
    std::uint8_t rational[8];
    if (!file_.readAt(get32(entry.value), rational, sizeof rational)) {
        return error;
    }
    const std::uint32_t numerator = get32(rational);
    const std::uint32_t denominator = get32(rational + 4);
    value = denominator == 0 ? fallback : static_cast<double>(numerator) / denominator;
    return 0;
}

std::int32_t TiffDirectoryReader::readDirectory(std::uint32_t offset, TiffPage& page) {
    std::uint8_t countField[2];
    if (!file_.readAt(offset, countField, sizeof countField)) {
        return FAXFORM_TIFF2BFX_ENTRY_COUNT_NOT_READ;
    }
    const std::uint16_t count = get16(countField);
    if (count > kMaxEntries) {
        return FAXFORM_TIFF2BFX_TOO_MANY_ENTRIES;
    }
    std::uint8_t entries[kMaxEntries * 12];
    if (!file_.read(entries, std::size_t{count} * 12)) {
        return FAXFORM_TIFF2BFX_ENTRIES_NOT_READ;
    }
    std::uint8_t link[4];
    if (!file_.read(link, sizeof link)) {
        return FAXFORM_TIFF2BFX_NEXT_LINK_NOT_READ;
    }
    page = TiffPage{};
    page.nextDirectory = get32(link);

    bool haveOffsets = false;
    bool haveCounts = false;
    for (std::uint16_t i = 0; i < count; ++i) {
        const std::uint8_t* raw = entries + 12 * i;
        const Entry entry{get16(raw), get16(raw + 2), get32(raw + 4), raw + 8};
        std::int32_t result = 0;
        switch (entry.tag) {
        case 256:
            page.width = scalar(entry);
            break;
        case 257:
            page.length = scalar(entry);
            break;
        case 258:
            page.bitsPerSample = scalar(entry);
            break;
        case 259:
            page.compression = scalar(entry);
            break;
        case 262:
            page.photometric = scalar(entry);
            break;
        case 266:
            page.fillOrder = scalar(entry);
            break;
        case 273:
            result =
                readArray(entry, page.stripOffsets, FAXFORM_TIFF2BFX_SHORT_STRIP_OFFSETS_NOT_READ,
                          FAXFORM_TIFF2BFX_LONG_STRIP_OFFSETS_NOT_READ);
            haveOffsets = true;
            break;
        case 277:
            page.samplesPerPixel = scalar(entry);
            break;
        case 278:
            page.rowsPerStrip = scalar(entry);
            break;
        case 279:
            result =
                readArray(entry, page.stripByteCounts, FAXFORM_TIFF2BFX_SHORT_STRIP_COUNTS_NOT_READ,
                          FAXFORM_TIFF2BFX_LONG_STRIP_COUNTS_NOT_READ);
            haveCounts = true;
            break;
        case 282:
            result = readRational(entry, 200, page.xResolution, FAXFORM_TIFF2BFX_XRES_NOT_READ);
            break;
        case 283:
            result = readRational(entry, 192, page.yResolution, FAXFORM_TIFF2BFX_YRES_NOT_READ);
            break;
        case 292:
            page.t4Options = scalar(entry);
            break;
        case 293:
            page.t6Options = scalar(entry);
            break;
        case 296:
            page.resolutionUnit = scalar(entry);
            break;
        default:
            break;
        }
        if (result != 0) {
            return result;
        }
    }
    if (!haveOffsets || !haveCounts || page.stripOffsets.size() != page.stripByteCounts.size()) {
        return FAXFORM_BAD_STRIP_TAGS;
    }
    return 0;
}

} // namespace faxform
