#include "TextSpill.h"

#include <cstdio>
#include <system_error>

namespace sayline {

bool TextSpill::write(const std::filesystem::path& spillFile, std::string_view text) {
    std::error_code ignored;
    std::filesystem::remove(spillFile, ignored);
    std::FILE* file = std::fopen(spillFile.c_str(), "wb");
    if (file == nullptr)
        return false;
    const bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
    return std::fclose(file) == 0 && written;
}

std::string TextSpill::read(const std::filesystem::path& textFile) {
    std::FILE* file = std::fopen(textFile.c_str(), "rb");
    if (file == nullptr)
        return {};
    std::string text(kTextLimit, '\0');
    text.resize(std::fread(text.data(), 1, text.size(), file));
    std::fclose(file);
    return text;
}

} // namespace sayline
