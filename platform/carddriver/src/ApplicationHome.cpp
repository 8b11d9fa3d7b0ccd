#include "carddriver/ApplicationHome.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace carddriver {

std::string ApplicationHome::path() {
    if (const char* home = std::getenv("PANELPICK_HOME"); home && *home)
        return home;
    std::error_code error;
    auto exe = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error)
        return ".";
    return exe.parent_path().string();
}

std::string ApplicationHome::join(const std::string& folder, const std::string& name) {
    if (folder.empty())
        return name;
    if (folder.back() == '/')
        return folder + name;
    return folder + "/" + name;
}

} // namespace carddriver
