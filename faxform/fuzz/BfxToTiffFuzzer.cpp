// Any bytes as a BFX file: the conversion may refuse them, never misbehave.
#include "FuzzFiles.h"
#include "faxform/Faxform.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const faxform::fuzz::ScratchFile input("in.bfx");
    static const faxform::fuzz::ScratchFile output("out.tif");
    static const faxform::fuzz::ScratchFile again("again.bfx");
    if (!input.write(data, size)) {
        std::abort();
    }
    const std::int32_t result = lcFax_BfxToTiff(input.path(), output.path());
    if (result > 0) {
        std::abort();
    }
    // A TIFF we wrote must always convert back.
    if (result == 0 && lcFax_TiffToBfx(output.path(), again.path()) != 0) {
        std::abort();
    }
    return 0;
}
