#include "FileHandle.h"

namespace faxform {

FileHandle::~FileHandle() {
    close();
}

bool FileHandle::openForReading(const char* path) {
    file_ = std::fopen(path, "rb");
    return file_ != nullptr;
}

bool FileHandle::create(const char* path) {
    file_ = std::fopen(path, "wb");
    return file_ != nullptr;
}

bool FileHandle::readAt(std::uint64_t offset, void* data, std::size_t size) {
    if (offset > static_cast<std::uint64_t>(LONG_MAX) ||
        std::fseek(file_, static_cast<long>(offset), SEEK_SET) != 0) {
        return false;
    }
    return read(data, size);
}

bool FileHandle::read(void* data, std::size_t size) {
    return std::fread(data, 1, size, file_) == size;
}

bool FileHandle::writeAt(std::uint64_t offset, const void* data, std::size_t size) {
    if (offset > static_cast<std::uint64_t>(LONG_MAX) ||
        std::fseek(file_, static_cast<long>(offset), SEEK_SET) != 0) {
        return false;
    }
    return write(data, size);
}

bool FileHandle::write(const void* data, std::size_t size) {
    return std::fwrite(data, 1, size, file_) == size;
}

bool FileHandle::seekToEnd() {
    return std::fseek(file_, 0, SEEK_END) == 0;
}

std::uint64_t FileHandle::position() {
    const long position = std::ftell(file_);
    return position < 0 ? 0 : static_cast<std::uint64_t>(position);
}

bool FileHandle::close() {
    if (file_ == nullptr) {
        return true;
    }
    const bool ok = std::fclose(file_) == 0;
    file_ = nullptr;
    return ok;
}

} // namespace faxform
