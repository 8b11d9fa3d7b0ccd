// Pages per second of both conversions beside libtiff doing the same work
// (in process, and as the tiffcp command), on dense fine-resolution pages.
#include "faxform/Faxform.h"
#include "support/BfxFile.h"
#include "support/FaxTestPage.h"
#include "support/LibtiffFiles.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <tiffio.h>
#include <vector>

using namespace faxform::test;

namespace {

constexpr int kPages = 40;
constexpr int kRounds = 3;
constexpr std::size_t kFineA4Lines = 2200;

// The best of a few rounds, as pages per second.
double pagesPerSecond(const std::function<bool()>& run) {
    double best = 0;
    for (int round = 0; round < kRounds; ++round) {
        const auto start = std::chrono::steady_clock::now();
        if (!run()) {
            return -1;
        }
        const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
        best = std::max(best, kPages / elapsed.count());
    }
    return best;
}

// What tiffcp -c g3 does with each page, without the process around it.
bool libtiffTranscode(const std::string& from, const std::string& to, std::uint16_t compression) {
    TIFF* in = TIFFOpen(from.c_str(), "r");
    TIFF* out = TIFFOpen(to.c_str(), "w");
    bool ok = in != nullptr && out != nullptr;
    std::vector<std::uint8_t> line(kRowBytes);
    while (ok) {
        std::uint32_t length = 0;
        TIFFGetField(in, TIFFTAG_IMAGELENGTH, &length);
        TIFFSetField(out, TIFFTAG_IMAGEWIDTH, static_cast<std::uint32_t>(kWidth));
        TIFFSetField(out, TIFFTAG_IMAGELENGTH, length);
        TIFFSetField(out, TIFFTAG_BITSPERSAMPLE, 1);
        TIFFSetField(out, TIFFTAG_SAMPLESPERPIXEL, 1);
        TIFFSetField(out, TIFFTAG_COMPRESSION, compression);
        TIFFSetField(out, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_MINISWHITE);
        TIFFSetField(out, TIFFTAG_ROWSPERSTRIP, length);
        for (std::uint32_t row = 0; row < length && ok; ++row) {
            ok = TIFFReadScanline(in, line.data(), row, 0) >= 0 &&
                 TIFFWriteScanline(out, line.data(), row, 0) >= 0;
        }
        TIFFWriteDirectory(out);
        if (!TIFFReadDirectory(in)) {
            break;
        }
    }
    if (in != nullptr) {
        TIFFClose(in);
    }
    if (out != nullptr) {
        TIFFClose(out);
    }
    return ok;
}

void report(const char* what, double rate) {
    if (rate < 0) {
        std::printf("%-58s failed\n", what);
    } else {
        std::printf("%-58s %8.1f pages/s\n", what, rate);
    }
}

void benchmarkPageSet(const char* kind, FaxTestPage (*makePage)(std::size_t, unsigned)) {
    TempDirectory directory;
    std::vector<FaxTestPage> pages;
    for (int i = 0; i < kPages; ++i) {
        pages.push_back(makePage(kFineA4Lines, static_cast<unsigned>(i + 1)));
    }
    const std::string source = directory.path("source.tif");
    const std::string g4 = directory.path("pages-g4.tif");
    const std::string g3 = directory.path("pages-g3.tif");
    const std::string bfx = directory.path("pages.bfx");
    const std::string scratch = directory.path("scratch");
    writeTiff(source, pages);
    if (runCommand("tiffcp -c g4 " + source + " " + g4) != 0 ||
        runCommand("tiffcp -c g3 " + source + " " + g3) != 0 ||
        lcFax_TiffToBfx(g4.c_str(), bfx.c_str()) != 0) {
        std::fprintf(stderr, "cannot prepare the pages\n");
        return;
    }
    std::printf("\n%d %s pages of 1728 x %zu (fine), G4 %zu kB, BFX %zu kB a page\n", kPages, kind,
                kFineA4Lines, readFile(g4).size() / kPages / 1024,
                readFile(bfx).size() / kPages / 1024);

    report("Faxform TIFF (G4) -> BFX", pagesPerSecond([&] {
               return lcFax_TiffToBfx(g4.c_str(), (scratch + ".bfx").c_str()) == 0;
           }));
    report("libtiff in process, G4 -> MH (tiffcp's work)", pagesPerSecond([&] {
               return libtiffTranscode(g4, scratch + ".tif", COMPRESSION_CCITTFAX3);
           }));
    report("tiffcp -c g3, G4 -> MH (one process for all pages)", pagesPerSecond([&] {
               return runCommand("tiffcp -c g3 " + g4 + " " + scratch + ".tif") == 0;
           }));
    report("Faxform BFX -> TIFF (MH -> MH)", pagesPerSecond([&] {
               return lcFax_BfxToTiff(bfx.c_str(), (scratch + ".tif").c_str()) == 0;
           }));
    report("libtiff in process, MH -> MH", pagesPerSecond([&] {
               return libtiffTranscode(g3, scratch + ".tif", COMPRESSION_CCITTFAX3);
           }));
    report("tiffcp -c g3, MH -> MH (one process for all pages)", pagesPerSecond([&] {
               return runCommand("tiffcp -c g3 " + g3 + " " + scratch + ".tif") == 0;
           }));
}

} // namespace

int main() {
    benchmarkPageSet("typed-letter", makeLetterPage);
    benchmarkPageSet("small-print", makeDenseTextPage);
    return 0;
}
