#include "DebugLog.h"

#include <cstdlib>
#include <cstring>

namespace faxsense {

DebugLog::Sink DebugLog::sink_ = nullptr;
void* DebugLog::context_ = nullptr;

namespace {

FILE* gLogFile = nullptr;

void writeToFile(const char* line, void* context) {
    FILE* file = static_cast<FILE*>(context);
    std::fputs(line, file);
    const std::size_t length = std::strlen(line);
    if (length == 0 || line[length - 1] != '\n') {
        std::fputc('\n', file);
    }
    std::fflush(file);
}

} // namespace

void DebugLog::configureFromEnvironment() {
    if (gLogFile != nullptr && gLogFile != stderr) {
        std::fclose(gLogFile);
    }
    gLogFile = nullptr;
    setSink(nullptr, nullptr);
    const char* target = std::getenv("FAXSENSE_DEBUG_LOG");
    if (target == nullptr || *target == '\0') {
        return;
    }
    gLogFile = std::strcmp(target, "-") == 0 ? stderr : std::fopen(target, "a");
    if (gLogFile != nullptr) {
        setSink(writeToFile, gLogFile);
    }
}

void DebugLog::setSink(Sink sink, void* context) {
    sink_ = sink;
    context_ = context;
}

void DebugLog::write(const char* line) {
    if (sink_ != nullptr) {
        sink_(line, context_);
    }
}

void DebugLog::writef(const char* format, int value) {
    if (sink_ == nullptr) {
        return;
    }
    char line[64];
    std::snprintf(line, sizeof line, format, value);
    sink_(line, context_);
}

} // namespace faxsense
