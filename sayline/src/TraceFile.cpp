#include "TraceFile.h"

#include <iconv.h>

namespace sayline {

namespace {

// The messages are written in the system code page; a message with no GBK
// form is written as it is rather than lost.
std::string toGbk(const std::string& utf8) {
    iconv_t cd = iconv_open("GBK", "UTF-8");
    if (cd == reinterpret_cast<iconv_t>(-1))
        return utf8;
    std::string out(utf8.size() * 2 + 4, '\0');
    char* in = const_cast<char*>(utf8.data());
    size_t inLeft = utf8.size();
    char* at = out.data();
    size_t outLeft = out.size();
    const size_t done = iconv(cd, &in, &inLeft, &at, &outLeft);
    iconv_close(cd);
    if (done == static_cast<size_t>(-1))
        return utf8;
    out.resize(out.size() - outLeft);
    return out;
}

} // namespace

TraceFile::~TraceFile() {
    close();
}

bool TraceFile::open(const std::filesystem::path& path) {
    std::lock_guard lock(mutex_);
    if (file_ != nullptr)
        return true;
    file_ = std::fopen(path.c_str(), "wb");
    return file_ != nullptr;
}

void TraceFile::close() {
    std::lock_guard lock(mutex_);
    if (file_ != nullptr)
        std::fclose(file_);
    file_ = nullptr;
}

bool TraceFile::isOpen() const {
    std::lock_guard lock(mutex_);
    return file_ != nullptr;
}

void TraceFile::workerLine(Source& source, int channel, int code, const std::string& message) {
    write(source, code,
          "Thread Ch=" + std::to_string(channel) + ", Step=" + std::to_string(code) +
              " , Msg=" + toGbk(message) + "\n");
}

void TraceFile::apiLine(Source& source, int channel, int code, const std::string& message) {
    write(source, code,
          "Upper Ch=" + std::to_string(channel) + ", Upper Step=" + std::to_string(code) +
              "   Msg=" + toGbk(message) + "\n");
}

void TraceFile::write(Source& source, int code, const std::string& line) {
    std::lock_guard lock(mutex_);
    if (file_ == nullptr || code == source.lastCode)
        return;
    source.lastCode = code;
    std::fputs(line.c_str(), file_);
    // Flushed per line: the trace is read while the program still runs, and
    // after a crash it is the only record.
    std::fflush(file_);
}

} // namespace sayline
