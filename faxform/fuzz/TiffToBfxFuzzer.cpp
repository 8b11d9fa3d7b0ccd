// Any bytes as a TIFF file: the conversion may refuse them, never misbehave.
#include "FuzzFiles.h"
#include "faxform/Faxform.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const faxform::fuzz::ScratchFile input("in.tif");
    static const faxform::fuzz::ScratchFile output("out.bfx");
    static const faxform::fuzz::ScratchFile again("again.tif");
    if (!input.write(data, size)) {
        std::abort();
    }
    const std::int32_t result = lcFax_TiffToBfx(input.path(), output.path());
    if (result > 0) {
        std::abort();
    }
    // Whatever was accepted must read back as BFX.
    if (result == 0 && lcFax_BfxToTiff(output.path(), again.path()) != 0) {
        std::abort();
    }
    return 0;
}
