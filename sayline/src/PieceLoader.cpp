#include "PieceLoader.h"

#include "MulawToAlaw.h"

#include <cstdio>

namespace sayline {

size_t PieceLoader::load(const std::filesystem::path& mulawFile, uint8_t* buffer, size_t capacity) {
    if (buffer == nullptr || capacity == 0)
        return 0;
    std::FILE* file = std::fopen(mulawFile.c_str(), "rb");
    if (file == nullptr)
        return 0;
    const size_t loaded = std::fread(buffer, 1, capacity, file);
    std::fclose(file);
    MulawToAlaw::mapInPlace(buffer, loaded);
    return loaded;
}

} // namespace sayline
