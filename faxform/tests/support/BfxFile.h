#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace faxform::test {

// A BFX file taken apart (or to be put together) by the tests themselves.
struct BfxFile {
    std::vector<std::vector<std::uint8_t>> pages; // coded data, LSB first
    std::uint8_t resolutionFlag = '@';
    std::vector<std::uint8_t> header; // the first 2048 bytes as read

    // Lays the pages out back to back from offset 2048.
    std::vector<std::uint8_t> bytes() const;
    static BfxFile parse(const std::vector<std::uint8_t>& bytes);
};

std::vector<std::uint8_t> readFile(const std::string& path);
void writeFile(const std::string& path, const std::vector<std::uint8_t>& bytes);

// Runs a shell command; gives its exit status and what it wrote to stderr.
int runCommand(const std::string& command, std::string* errors = nullptr);

// How many file descriptors the process holds, to catch a handle left open.
std::size_t openDescriptorCount();

// A fresh directory under the build's temporary space, removed afterwards.
class TempDirectory {
public:
    TempDirectory();
    ~TempDirectory();
    TempDirectory(const TempDirectory&) = delete;
    TempDirectory& operator=(const TempDirectory&) = delete;

    std::string path(const std::string& name) const { return root_ + "/" + name; }

private:
    std::string root_;
};

} // namespace faxform::test
