#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <unistd.h>

namespace faxform::fuzz {

// The conversions work on paths, so each input goes through a file of this
// process's own, in memory where the system offers it, removed at exit.
class ScratchFile {
public:
    explicit ScratchFile(const char* role) {
        const char* folder = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
        path_ = std::string(folder) + "/faxform-fuzz-" + std::to_string(getpid()) + "-" + role;
    }
    ScratchFile(const ScratchFile&) = delete;
    ScratchFile& operator=(const ScratchFile&) = delete;
    ~ScratchFile() { std::remove(path_.c_str()); }

    const char* path() const { return path_.c_str(); }

    bool write(const std::uint8_t* data, std::size_t size) const {
        std::FILE* file = std::fopen(path_.c_str(), "wb");
        if (file == nullptr) {
            return false;
        }
        const bool ok = std::fwrite(data, 1, size, file) == size;
        return std::fclose(file) == 0 && ok;
    }

private:
    std::string path_;
};

} // namespace faxform::fuzz
