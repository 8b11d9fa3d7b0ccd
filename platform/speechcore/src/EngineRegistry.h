#pragma once

#include "speechcore/Speechcore.h"

#include <cstdint>
#include <memory>
#include <mutex>
#include <unordered_map>

namespace speechcore {

class SpeechEngine;

// The live engine instances by handle. A handle is a number that is never
// reused, so a stale or invented handle is simply not found.
class EngineRegistry {
public:
    static EngineRegistry& instance();

    SpeechcoreHandle add(std::shared_ptr<SpeechEngine> engine);
    std::shared_ptr<SpeechEngine> find(SpeechcoreHandle handle) const;
    // The instance, which is no longer found afterwards; null if unknown.
    std::shared_ptr<SpeechEngine> remove(SpeechcoreHandle handle);

private:
    EngineRegistry() = default;

    mutable std::mutex mutex_;
    std::unordered_map<uintptr_t, std::shared_ptr<SpeechEngine>> engines_;
    uintptr_t nextId_ = 1;
};

} // namespace speechcore
