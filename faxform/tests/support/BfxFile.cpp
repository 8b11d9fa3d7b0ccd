#include "BfxFile.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <unistd.h>

namespace faxform::test {
namespace {

void put32(std::vector<std::uint8_t>& out, std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        out[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(value >> (8 * i));
    }
}

std::uint32_t get32(const std::vector<std::uint8_t>& in, std::size_t at) {
    return std::uint32_t{in.at(at)} | (std::uint32_t{in.at(at + 1)} << 8) |
           (std::uint32_t{in.at(at + 2)} << 16) | (std::uint32_t{in.at(at + 3)} << 24);
}

} // namespace

std::vector<std::uint8_t> BfxFile::bytes() const {
    std::vector<std::uint8_t> out(2048, 0);
    const char signature[] = "BIT  FAX0";
    std::copy(signature, signature + 9, out.begin());
    out[9] = static_cast<std::uint8_t>(pages.size());
    out[1577] = resolutionFlag;
    for (std::size_t i = 0; i < pages.size(); ++i) {
        put32(out, 16 + 16 * i + 4, static_cast<std::uint32_t>(pages[i].size()));
        put32(out, 16 + 16 * i + 8, static_cast<std::uint32_t>(out.size()));
        out.insert(out.end(), pages[i].begin(), pages[i].end());
    }
    return out;
}

BfxFile BfxFile::parse(const std::vector<std::uint8_t>& bytes) {
    BfxFile file;
    if (bytes.size() < 2048) {
        throw std::runtime_error("BFX shorter than its header");
    }
    file.header.assign(bytes.begin(), bytes.begin() + 2048);
    file.resolutionFlag = bytes[1577];
    for (std::size_t i = 0; i < bytes[9]; ++i) {
        const std::uint32_t length = get32(bytes, 16 + 16 * i + 4);
        const std::uint32_t offset = get32(bytes, 16 + 16 * i + 8);
        if (std::size_t{offset} + length > bytes.size()) {
            throw std::runtime_error("BFX page outside the file");
        }
        file.pages.emplace_back(bytes.begin() + offset, bytes.begin() + offset + length);
    }
    return file;
}

std::vector<std::uint8_t> readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

int runCommand(const std::string& command, std::string* errors) {
    char errorPath[] = "/tmp/faxform-stderr-XXXXXX";
    const int descriptor = mkstemp(errorPath);
    if (descriptor < 0) {
        return -1;
    }
    close(descriptor);
    const int status = std::system((command + " >/dev/null 2>" + errorPath).c_str());
    if (errors != nullptr) {
        const std::vector<std::uint8_t> text = readFile(errorPath);
        errors->assign(text.begin(), text.end());
    }
    std::remove(errorPath);
    return status;
}

std::size_t openDescriptorCount() {
    std::size_t count = 0;
    for ([[maybe_unused]] const auto& entry :
         std::filesystem::directory_iterator("/proc/self/fd")) {
        ++count;
    }
    return count;
}

TempDirectory::TempDirectory() {
    std::string pattern = (std::filesystem::temp_directory_path() / "faxform-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("cannot create a temporary directory");
    }
    root_ = pattern;
}

TempDirectory::~TempDirectory() {
    std::error_code ignored;
    std::filesystem::remove_all(root_, ignored);
}

} // namespace faxform::test
