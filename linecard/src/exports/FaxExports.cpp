// Fax page conversion exports: the card's fax functions work on BFX files,
// users hand in and receive TIFF files, and the conversion is Faxform's.
#include "faxform/Faxform.h"
#include "linecard/Linecard.h"

extern "C" {

int32_t LcFax_BfxToTiff(const char* bfxPath, const char* tiffPath) {
    return lcFax_BfxToTiff(bfxPath, tiffPath);
}

int32_t LcFax_TiffToBfx(const char* tiffPath, const char* bfxPath) {
    return lcFax_TiffToBfx(tiffPath, bfxPath);
}

} // extern "C"
