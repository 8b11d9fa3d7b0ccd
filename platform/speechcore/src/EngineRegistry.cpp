#include "EngineRegistry.h"

#include "SpeechEngine.h"

namespace speechcore {

EngineRegistry& EngineRegistry::instance() {
    // Never destroyed: instances a program leaves alive at exit keep their
    // worker threads, which must not be torn down under them.
    static EngineRegistry* registry = new EngineRegistry();
    return *registry;
}

SpeechcoreHandle EngineRegistry::add(std::shared_ptr<SpeechEngine> engine) {
    std::lock_guard lock(mutex_);
    const uintptr_t id = nextId_++;
    engines_.emplace(id, std::move(engine));
    return reinterpret_cast<SpeechcoreHandle>(id);
}

std::shared_ptr<SpeechEngine> EngineRegistry::find(SpeechcoreHandle handle) const {
    std::lock_guard lock(mutex_);
    const auto it = engines_.find(reinterpret_cast<uintptr_t>(handle));
    return it == engines_.end() ? nullptr : it->second;
}

std::shared_ptr<SpeechEngine> EngineRegistry::remove(SpeechcoreHandle handle) {
    std::lock_guard lock(mutex_);
    const auto it = engines_.find(reinterpret_cast<uintptr_t>(handle));
    if (it == engines_.end())
        return nullptr;
    std::shared_ptr<SpeechEngine> engine = std::move(it->second);
    engines_.erase(it);
    return engine;
}

} // namespace speechcore
