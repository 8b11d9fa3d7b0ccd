/* Faxform: conversion between the voice card's BFX fax page files and
 * TIFF Class F files. Every call opens its two files, converts, closes them
 * and frees its memory; the library keeps no state between calls.
 *
 * Both conversions return 0 on success or one of the negative codes below.
 * A failed conversion leaves a partial destination file behind.
 */
#ifndef FAXFORM_FAXFORM_H
#define FAXFORM_FAXFORM_H

#include <stdint.h>

#if defined(_WIN32)
#define FAXFORM_CALL __stdcall
#ifdef FAXFORM_BUILDING
#define FAXFORM_API __declspec(dllexport)
#else
#define FAXFORM_API __declspec(dllimport)
#endif
#else
#define FAXFORM_CALL
#define FAXFORM_API __attribute__((visibility("default")))
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* lcFax_BfxToTiff(bfxPath, tiffPath) */
enum {
    FAXFORM_BFX2TIFF_NO_SOURCE_PATH = -1,
    FAXFORM_BFX2TIFF_NO_DESTINATION_PATH = -2,
    FAXFORM_BFX2TIFF_DESTINATION_NOT_CREATED = -3,
    FAXFORM_BFX2TIFF_SOURCE_NOT_OPENED = -4,
    FAXFORM_BFX2TIFF_BAD_SIGNATURE = -5,
    FAXFORM_BFX2TIFF_BAD_PAGE_COUNT = -6, /* unreadable or 0 */
    FAXFORM_BFX2TIFF_RESOLUTION_UNREADABLE = -7,
    FAXFORM_BFX2TIFF_HEADER_NOT_WRITTEN = -8,
    FAXFORM_BFX2TIFF_IFD_LINK_NOT_WRITTEN = -9,
    FAXFORM_BFX2TIFF_PAGE_NOT_READ = -10, /* page table entry or page data */
    FAXFORM_BFX2TIFF_ENTRY_COUNT_NOT_WRITTEN = -11,
    FAXFORM_BFX2TIFF_ENTRIES_NOT_WRITTEN = -12,
    FAXFORM_BFX2TIFF_NEXT_LINK_NOT_WRITTEN = -13,
    FAXFORM_BFX2TIFF_XRES_NOT_WRITTEN = -14,
    FAXFORM_BFX2TIFF_YRES_NOT_WRITTEN = -15,
    FAXFORM_BFX2TIFF_PAGE_NOT_WRITTEN = -16,
    FAXFORM_BFX2TIFF_RASTER_BUFFER_NOT_ALLOCATED = -17,
    FAXFORM_BFX2TIFF_CODE_BUFFER_NOT_ALLOCATED = -18
};

/* lcFax_TiffToBfx(tiffPath, bfxPath) */
enum {
    FAXFORM_TIFF2BFX_NO_PATH = -1, /* source or destination path null or empty */
    FAXFORM_TIFF2BFX_SOURCE_NOT_OPENED = -2,
    FAXFORM_TIFF2BFX_DESTINATION_NOT_CREATED = -3,
    FAXFORM_TIFF2BFX_HEADER_NOT_READ = -4,
    FAXFORM_TIFF2BFX_BAD_BYTE_ORDER = -5, /* neither "II" nor "MM" */
    FAXFORM_TIFF2BFX_BAD_VERSION = -6,    /* not 42 */
    FAXFORM_TIFF2BFX_ENTRY_COUNT_NOT_READ = -7,
    FAXFORM_TIFF2BFX_TOO_MANY_ENTRIES = -8, /* more than 100 */
    FAXFORM_TIFF2BFX_ENTRIES_NOT_READ = -9,
    FAXFORM_TIFF2BFX_NEXT_LINK_NOT_READ = -10,
    FAXFORM_TIFF2BFX_SHORT_STRIP_OFFSETS_NOT_READ = -11,
    FAXFORM_TIFF2BFX_LONG_STRIP_OFFSETS_NOT_READ = -12,
    FAXFORM_TIFF2BFX_SHORT_STRIP_COUNTS_NOT_READ = -13,
    FAXFORM_TIFF2BFX_LONG_STRIP_COUNTS_NOT_READ = -14,
    FAXFORM_TIFF2BFX_XRES_NOT_READ = -15,
    FAXFORM_TIFF2BFX_YRES_NOT_READ = -16,
    FAXFORM_TIFF2BFX_STRIP_DATA_NOT_READ = -17, /* strip truncated or outside the file */
    FAXFORM_TIFF2BFX_BUFFER_NOT_ALLOCATED = -18
};

/* Codes of both directions for input the page format cannot hold. Input is
 * untrusted, so each of these ends the conversion instead of guessing. */
enum {
    /* The coded page, its decoded raster (at most 9709 lines of 1728 pixels)
     * or its re-encoded data does not fit its 2 MB work buffer. */
    FAXFORM_PAGE_TOO_LARGE = -30,
    /* The coded data holds an invalid code, a line whose runs do not add up
     * to 1728 pixels, a code cut off by the end of the data or no line at all. */
    FAXFORM_CORRUPT_CODE = -31,
    /* More pages than the BFX page table holds (97). */
    FAXFORM_TOO_MANY_PAGES = -32,
    /* A TIFF page whose ImageWidth is not 1728. */
    FAXFORM_BAD_WIDTH = -33,
    /* A TIFF page that is not bilevel: BitsPerSample or SamplesPerPixel not 1,
     * or PhotometricInterpretation neither 0 nor 1. */
    FAXFORM_NOT_BILEVEL = -34,
    /* A TIFF page whose Compression is not 1 (none), 2 (CCITT RLE),
     * 3 (T.4) or 4 (T.6). */
    FAXFORM_UNSUPPORTED_COMPRESSION = -35,
    /* A TIFF page of more than 100 strips. */
    FAXFORM_TOO_MANY_STRIPS = -36,
    /* A TIFF without any page (first IFD offset 0). */
    FAXFORM_NO_PAGES = -37,
    /* The BFX destination could not be written. */
    FAXFORM_BFX_NOT_WRITTEN = -38,
    /* A TIFF page without StripOffsets or StripByteCounts, with differing
     * numbers of them, or with them in a type other than SHORT or LONG. */
    FAXFORM_BAD_STRIP_TAGS = -39
};

FAXFORM_API int32_t FAXFORM_CALL lcFax_BfxToTiff(const char* bfxPath, const char* tiffPath);
FAXFORM_API int32_t FAXFORM_CALL lcFax_TiffToBfx(const char* tiffPath, const char* bfxPath);

/* Kept for the card libraries that bind them; they do nothing and return 0. */
FAXFORM_API int32_t FAXFORM_CALL lcFax_FormatChange(void);
FAXFORM_API int32_t FAXFORM_CALL lcFax_ResolveTiff(void);
FAXFORM_API int32_t FAXFORM_CALL lcFax_ComposeTiff(void);
FAXFORM_API int32_t FAXFORM_CALL lcFax_ComposeBfx(void);
FAXFORM_API int32_t FAXFORM_CALL lcFax_ResolveTiffExt(void);
FAXFORM_API int32_t FAXFORM_CALL lcFax_ComposeTiffExt(void);
FAXFORM_API int32_t FAXFORM_CALL lcFax_StartResolveTiff(void);
FAXFORM_API int32_t FAXFORM_CALL lcFax_StartComposeTiff(void);

#ifdef __cplusplus
}
#endif

#endif
