#include "VocFileConverter.h"

#include "MulawToAlaw.h"

#include <cstdint>
#include <cstdio>
#include <system_error>
#include <vector>

namespace sayline {

bool VocFileConverter::convert(const std::filesystem::path& mulawFile,
                               const std::filesystem::path& vocFile) {
    std::FILE* in = std::fopen(mulawFile.c_str(), "rb");
    if (in == nullptr)
        return false;
    std::FILE* out = std::fopen(vocFile.c_str(), "wb");
    if (out == nullptr) {
        std::fclose(in);
        return false;
    }
    std::vector<uint8_t> block(kBlockBytes);
    bool ok = true;
    size_t n = 0;
    while (ok && (n = std::fread(block.data(), 1, block.size(), in)) > 0) {
        MulawToAlaw::mapInPlace(block.data(), n);
        ok = std::fwrite(block.data(), 1, n, out) == n;
    }
    ok = ok && std::ferror(in) == 0;
    std::fclose(in);
    ok = std::fclose(out) == 0 && ok;
    // Only a half-written file of our own is taken away, never a device or
    // anything else the name might point at.
    std::error_code ignored;
    if (!ok && std::filesystem::is_regular_file(vocFile, ignored))
        std::filesystem::remove(vocFile, ignored);
    return ok;
}

} // namespace sayline
