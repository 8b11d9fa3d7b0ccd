#include "LibtiffFiles.h"

#include <cstdarg>
#include <cstdio>
#include <stdexcept>
#include <tiffio.h>

namespace faxform::test {
namespace {

std::string* collectedErrors = nullptr;

void collectError(const char* module, const char* format, va_list args) {
    char text[512];
    std::vsnprintf(text, sizeof text, format, args);
    if (collectedErrors != nullptr) {
        *collectedErrors += std::string(module ? module : "") + ": " + text + "\n";
    }
}

class ErrorCollector {
public:
    explicit ErrorCollector(std::string& errors) {
        collectedErrors = &errors;
        previousError_ = TIFFSetErrorHandler(collectError);
        previousWarning_ = TIFFSetWarningHandler(collectError);
    }
    ~ErrorCollector() {
        TIFFSetErrorHandler(previousError_);
        TIFFSetWarningHandler(previousWarning_);
        collectedErrors = nullptr;
    }

private:
    TIFFErrorHandler previousError_;
    TIFFErrorHandler previousWarning_;
};

std::vector<std::uint8_t> invertedRow(const FaxTestPage& page, std::size_t line) {
    std::vector<std::uint8_t> row(page.bits.begin() + static_cast<long>(line * kRowBytes),
                                  page.bits.begin() + static_cast<long>((line + 1) * kRowBytes));
    for (auto& byte : row) {
        byte = static_cast<std::uint8_t>(~byte);
    }
    return row;
}

} // namespace

void writeTiff(const std::string& path, const std::vector<FaxTestPage>& pages,
               const SourceTiffOptions& options) {
    TIFF* tiff = TIFFOpen(path.c_str(), "w");
    if (tiff == nullptr) {
        throw std::runtime_error("cannot create " + path);
    }
    for (std::size_t i = 0; i < pages.size(); ++i) {
        const FaxTestPage& page = pages[i];
        TIFFSetField(tiff, TIFFTAG_SUBFILETYPE, FILETYPE_PAGE);
        TIFFSetField(tiff, TIFFTAG_IMAGEWIDTH, static_cast<std::uint32_t>(kWidth));
        TIFFSetField(tiff, TIFFTAG_IMAGELENGTH, static_cast<std::uint32_t>(page.lines));
        TIFFSetField(tiff, TIFFTAG_BITSPERSAMPLE, 1);
        TIFFSetField(tiff, TIFFTAG_SAMPLESPERPIXEL, 1);
        TIFFSetField(tiff, TIFFTAG_COMPRESSION, options.compression);
        TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC,
                     options.blackIsZero ? PHOTOMETRIC_MINISBLACK : PHOTOMETRIC_MINISWHITE);
        TIFFSetField(tiff, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
        TIFFSetField(tiff, TIFFTAG_ROWSPERSTRIP, static_cast<std::uint32_t>(page.lines));
        TIFFSetField(tiff, TIFFTAG_XRESOLUTION, 200.0);
        TIFFSetField(tiff, TIFFTAG_YRESOLUTION, options.yResolution);
        TIFFSetField(tiff, TIFFTAG_RESOLUTIONUNIT, options.resolutionUnit);
        TIFFSetField(tiff, TIFFTAG_PAGENUMBER, static_cast<std::uint16_t>(i),
                     static_cast<std::uint16_t>(pages.size()));
        for (std::size_t line = 0; line < page.lines; ++line) {
            std::vector<std::uint8_t> row =
                options.blackIsZero
                    ? invertedRow(page, line)
                    : std::vector<std::uint8_t>(
                          page.bits.begin() + static_cast<long>(line * kRowBytes),
                          page.bits.begin() + static_cast<long>((line + 1) * kRowBytes));
            if (TIFFWriteScanline(tiff, row.data(), static_cast<std::uint32_t>(line), 0) < 0) {
                TIFFClose(tiff);
                throw std::runtime_error("cannot write " + path);
            }
        }
        TIFFWriteDirectory(tiff);
    }
    TIFFClose(tiff);
}

DecodedTiff decodeTiff(const std::string& path) {
    DecodedTiff decoded;
    ErrorCollector collector(decoded.errors);
    TIFF* tiff = TIFFOpen(path.c_str(), "r");
    if (tiff == nullptr) {
        decoded.errors += "cannot open " + path + "\n";
        return decoded;
    }
    do {
        std::uint32_t width = 0;
        std::uint32_t length = 0;
        std::uint16_t photometric = PHOTOMETRIC_MINISWHITE;
        float xResolution = 0;
        float yResolution = 0;
        TIFFGetField(tiff, TIFFTAG_IMAGEWIDTH, &width);
        TIFFGetField(tiff, TIFFTAG_IMAGELENGTH, &length);
        TIFFGetField(tiff, TIFFTAG_PHOTOMETRIC, &photometric);
        TIFFGetField(tiff, TIFFTAG_XRESOLUTION, &xResolution);
        TIFFGetField(tiff, TIFFTAG_YRESOLUTION, &yResolution);
        if (width != static_cast<std::uint32_t>(kWidth)) {
            decoded.errors += "width " + std::to_string(width) + "\n";
            break;
        }
        FaxTestPage page;
        page.lines = length;
        page.bits.assign(std::size_t{length} * kRowBytes, 0);
        for (std::uint32_t line = 0; line < length; ++line) {
            if (TIFFReadScanline(tiff, page.bits.data() + line * kRowBytes, line, 0) < 0) {
                decoded.errors += "line " + std::to_string(line) + " not decoded\n";
                break;
            }
        }
        if (photometric == PHOTOMETRIC_MINISBLACK) {
            for (auto& byte : page.bits) {
                byte = static_cast<std::uint8_t>(~byte);
            }
        }
        decoded.pages.push_back(std::move(page));
        decoded.xResolutions.push_back(xResolution);
        decoded.yResolutions.push_back(yResolution);
    } while (TIFFReadDirectory(tiff));
    TIFFClose(tiff);
    return decoded;
}

std::vector<std::vector<std::uint8_t>> rawStrips(const std::string& path) {
    std::vector<std::vector<std::uint8_t>> strips;
    TIFF* tiff = TIFFOpen(path.c_str(), "r");
    if (tiff == nullptr) {
        throw std::runtime_error("cannot open " + path);
    }
    do {
        if (TIFFNumberOfStrips(tiff) != 1) {
            TIFFClose(tiff);
            throw std::runtime_error(path + " has more than one strip a page");
        }
        const tmsize_t size = TIFFRawStripSize(tiff, 0);
        std::vector<std::uint8_t> strip(static_cast<std::size_t>(size));
        TIFFReadRawStrip(tiff, 0, strip.data(), size);
        strips.push_back(std::move(strip));
    } while (TIFFReadDirectory(tiff));
    TIFFClose(tiff);
    return strips;
}

FaxTestPage decodeMhWithLibtiff(const std::vector<std::uint8_t>& data, std::size_t lines,
                                const std::string& scratchPath, std::string& errors) {
    {
        TIFF* tiff = TIFFOpen(scratchPath.c_str(), "w");
        if (tiff == nullptr) {
            throw std::runtime_error("cannot create " + scratchPath);
        }
        TIFFSetField(tiff, TIFFTAG_IMAGEWIDTH, static_cast<std::uint32_t>(kWidth));
        TIFFSetField(tiff, TIFFTAG_IMAGELENGTH, static_cast<std::uint32_t>(lines));
        TIFFSetField(tiff, TIFFTAG_BITSPERSAMPLE, 1);
        TIFFSetField(tiff, TIFFTAG_SAMPLESPERPIXEL, 1);
        TIFFSetField(tiff, TIFFTAG_COMPRESSION, COMPRESSION_CCITTFAX3);
        TIFFSetField(tiff, TIFFTAG_GROUP3OPTIONS, 0);
        TIFFSetField(tiff, TIFFTAG_FILLORDER, FILLORDER_LSB2MSB);
        TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_MINISWHITE);
        TIFFSetField(tiff, TIFFTAG_ROWSPERSTRIP, static_cast<std::uint32_t>(lines));
        TIFFWriteRawStrip(tiff, 0, const_cast<std::uint8_t*>(data.data()),
                          static_cast<tmsize_t>(data.size()));
        TIFFClose(tiff);
    }
    DecodedTiff decoded = decodeTiff(scratchPath);
    errors += decoded.errors;
    return decoded.pages.empty() ? FaxTestPage{} : decoded.pages.front();
}

} // namespace faxform::test
