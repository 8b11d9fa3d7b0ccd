#pragma once

#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstdio>

namespace faxform {

// An open file that is closed on every path out of a conversion.
class FileHandle {
public:
    FileHandle() = default;
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    ~FileHandle();

    bool openForReading(const char* path);
    bool create(const char* path);

    bool readAt(std::uint64_t offset, void* data, std::size_t size);
    bool read(void* data, std::size_t size);
    bool writeAt(std::uint64_t offset, const void* data, std::size_t size);
    bool write(const void* data, std::size_t size);
    bool seekToEnd();
    std::uint64_t position();

    // Flushes and closes; false when buffered data could not be written.
    bool close();

private:
    std::FILE* file_ = nullptr;
};

} // namespace faxform
