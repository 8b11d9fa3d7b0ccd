#pragma once

#include "FaxTestPage.h"

#include <cstdint>
#include <string>
#include <vector>

// The test side's reference: libtiff writes the source files and decodes
// whatever Faxform produces.
namespace faxform::test {

struct SourceTiffOptions {
    double yResolution = 196;
    std::uint16_t resolutionUnit = 2; // inch
    bool blackIsZero = false;
    std::uint16_t compression = 1; // any scheme libtiff can write
};

// Writes the pages, one IFD and one strip each.
void writeTiff(const std::string& path, const std::vector<FaxTestPage>& pages,
               const SourceTiffOptions& options = {});

struct DecodedTiff {
    std::vector<FaxTestPage> pages;
    std::vector<double> xResolutions;
    std::vector<double> yResolutions;
    std::string errors; // everything libtiff complained about
};

// Decodes every page as the eye sees it (BlackIsZero pages inverted).
DecodedTiff decodeTiff(const std::string& path);

// The raw (still coded) single strip of every page.
std::vector<std::vector<std::uint8_t>> rawStrips(const std::string& path);

// Decodes LSB-first MH page data of `lines` lines by handing it to libtiff
// as the strip of a Group 3 TIFF written at `scratchPath`.
FaxTestPage decodeMhWithLibtiff(const std::vector<std::uint8_t>& data, std::size_t lines,
                                const std::string& scratchPath, std::string& errors);

} // namespace faxform::test
