#pragma once

#include <filesystem>

namespace sayline {

// Where the slots keep their engine output and spilled texts: the folder named
// by SAYLINE_DIR, else a folder of this user's own under the system
// temporary directory.
class RuntimeFolder {
public:
    // The folder, created if needed; empty if it cannot be made.
    static std::filesystem::path resolve();

    // The engine's mu-law output of slot n.
    static std::filesystem::path mulawFile(const std::filesystem::path& folder, int slot);
    // The text file a long text of slot n is spilled to.
    static std::filesystem::path spillFile(const std::filesystem::path& folder, int slot);
};

} // namespace sayline
