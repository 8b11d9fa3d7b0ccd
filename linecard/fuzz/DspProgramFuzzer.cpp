// Any bytes as a DSP program file: the section table must never lead
// outside the file, whatever its offsets and lengths say.
#include "DspProgramFile.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    linecard::DspProgramFile file;
    if (file.parse(std::vector<uint8_t>(data, data + size)) != linecard::DspProgramFile::Status::Ok)
        return 0;
    std::vector<uint8_t> bytes;
    uint32_t fullLength = 0;
    for (int section = -1; section <= file.sectionCount(); ++section)
        if (file.readSection(section, 65536, bytes, fullLength) && !bytes.empty())
            (void)bytes.back();
    return 0;
}
