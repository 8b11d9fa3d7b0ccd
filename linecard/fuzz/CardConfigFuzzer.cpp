// Any text as LINECARD-V.INI: reading it gives a configuration or a message, never a crash.
#include "CardConfigReader.h"

#include <cstddef>
#include <cstdint>
#include <fstream>
#include <string>
#include <unistd.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string path =
        "/tmp/linecard-config-fuzz-" + std::to_string(getpid()) + ".ini";
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    auto result = linecard::CardConfigReader::read(path);
    if (result.ok && (result.config.cardNo < 1 || result.config.cardNo > 16))
        __builtin_trap();
    return 0;
}
