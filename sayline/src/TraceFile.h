#pragma once

#include <cstdio>
#include <filesystem>
#include <mutex>
#include <string>

namespace sayline {

// "TTSTrace.txt": one file for all slots, written from the worker threads
// and the API side alike, in the system code page (GBK).
class TraceFile {
public:
    // What was last written for one slot's worker or one channel's API side:
    // a line is written only when the step code changes.
    struct Source {
        int lastCode = -1;
    };

    ~TraceFile();

    // Creates (or empties) the file unless it is already open for another
    // slot, whose lines it keeps; false if it cannot be created.
    bool open(const std::filesystem::path& path);
    void close();
    bool isOpen() const;

    // "Thread Ch=<ch>, Step=<code> , Msg=<message>"; the message is UTF-8.
    void workerLine(Source& source, int channel, int code, const std::string& message);
    // "Upper Ch=<ch>, Upper Step=<code>   Msg=<message>".
    void apiLine(Source& source, int channel, int code, const std::string& message);

private:
    void write(Source& source, int code, const std::string& line);

    mutable std::mutex mutex_;
    std::FILE* file_ = nullptr;
};

} // namespace sayline
