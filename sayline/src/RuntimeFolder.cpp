#include "RuntimeFolder.h"

#include <cstdlib>
#include <string>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace sayline {

namespace {

bool makeFolder(const std::filesystem::path& folder) {
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    return std::filesystem::is_directory(folder, error);
}

} // namespace

std::filesystem::path RuntimeFolder::resolve() {
    if (const char* named = std::getenv("SAYLINE_DIR"); named != nullptr && *named != '\0')
        return makeFolder(named) ? std::filesystem::path(named) : std::filesystem::path();

    std::error_code error;
    const auto temp = std::filesystem::temp_directory_path(error);
    if (error)
        return {};
    const auto folder = temp / ("sayline-" + std::to_string(::getuid()));
    if (!makeFolder(folder))
        return {};
    // Other users must not read what is spoken nor plant files a slot reads.
    struct stat info {};
    if (::lstat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode) || info.st_uid != ::getuid())
        return {};
    if ((info.st_mode & 077) != 0 && ::chmod(folder.c_str(), 0700) != 0)
        return {};
    return folder;
}

std::filesystem::path RuntimeFolder::mulawFile(const std::filesystem::path& folder, int slot) {
    return folder / ("LcTTSChannel" + std::to_string(slot) + "_uLawFile.rau");
}

std::filesystem::path RuntimeFolder::spillFile(const std::filesystem::path& folder, int slot) {
    return folder / ("LcTTSChannel" + std::to_string(slot) + "_Buf.TXT");
}

} // namespace sayline
