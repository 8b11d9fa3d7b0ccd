#pragma once

#include <cstdio>

namespace faxsense {

// Where the detector's diagnostic lines go. Off unless the environment
// variable FAXSENSE_DEBUG_LOG names a file to append to ("-" is stderr);
// it is read when the library is initialised.
class DebugLog {
public:
    using Sink = void (*)(const char* line, void* context);

    static void configureFromEnvironment();
    // Replaces the destination (null switches the log off); for embedders and tests.
    static void setSink(Sink sink, void* context);
    static bool enabled() { return sink_ != nullptr; }

    static void write(const char* line);
    static void writef(const char* format, int value);

private:
    static Sink sink_;
    static void* context_;
};

} // namespace faxsense
