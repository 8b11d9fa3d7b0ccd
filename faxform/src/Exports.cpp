#include "convert/BfxToTiffConverter.h"
#include "convert/TiffToBfxConverter.h"
#include "faxform/Faxform.h"

#include <new>

extern "C" {

FAXFORM_API int32_t FAXFORM_CALL lcFax_BfxToTiff(const char* bfxPath, const char* tiffPath) {
    try {
        faxform::BfxToTiffConverter converter;
        return converter.convert(bfxPath, tiffPath);
    } catch (const std::bad_alloc&) {
        return FAXFORM_BFX2TIFF_RASTER_BUFFER_NOT_ALLOCATED;
    }
}

FAXFORM_API int32_t FAXFORM_CALL lcFax_TiffToBfx(const char* tiffPath, const char* bfxPath) {
    try {
        faxform::TiffToBfxConverter converter;
        return converter.convert(tiffPath, bfxPath);
    } catch (const std::bad_alloc&) {
        return FAXFORM_TIFF2BFX_BUFFER_NOT_ALLOCATED;
    }
}

FAXFORM_API int32_t FAXFORM_CALL lcFax_FormatChange(void) {
    return 0;
}
FAXFORM_API int32_t FAXFORM_CALL lcFax_ResolveTiff(void) {
    return 0;
}
FAXFORM_API int32_t FAXFORM_CALL lcFax_ComposeTiff(void) {
    return 0;
}
FAXFORM_API int32_t FAXFORM_CALL lcFax_ComposeBfx(void) {
    return 0;
}
FAXFORM_API int32_t FAXFORM_CALL lcFax_ResolveTiffExt(void) {
    return 0;
}
FAXFORM_API int32_t FAXFORM_CALL lcFax_ComposeTiffExt(void) {
    return 0;
}
FAXFORM_API int32_t FAXFORM_CALL lcFax_StartResolveTiff(void) {
    return 0;
}
FAXFORM_API int32_t FAXFORM_CALL lcFax_StartComposeTiff(void) {
    return 0;
}

} // extern "C"
