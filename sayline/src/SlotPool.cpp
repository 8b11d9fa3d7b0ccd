#include "SlotPool.h"

#include "RuntimeFolder.h"

#include <algorithm>

namespace sayline {

SlotPool::SlotPool(int speechChannels, int cardChannels, std::filesystem::path folder,
                   EngineFactory factory, std::chrono::milliseconds poll)
    : speechChannels_(std::max(0, speechChannels)), folder_(std::move(folder)),
      factory_(std::move(factory)), poll_(poll),
      slots_(static_cast<size_t>(std::max(0, speechChannels))),
      slotOfChannel_(static_cast<size_t>(std::max(0, cardChannels)), -1) {
    // The PC-sound slot is numbered after the card channels' slots.
    sound_ = makeWorker(std::max(0, cardChannels), factory_());
}

SlotPool::~SlotPool() = default;

std::unique_ptr<SlotWorker> SlotPool::makeWorker(int slot, SpeechcoreHandle engine) const {
    return std::make_unique<SlotWorker>(
        slot, SlotWorker::Files{RuntimeFolder::mulawFile(folder_, slot)}, engine, poll_);
}

int SlotPool::existing() const {
    std::lock_guard lock(mutex_);
    return static_cast<int>(std::count_if(slots_.begin(), slots_.end(),
                                          [](const Slot& s) { return s.worker != nullptr; }));
}

int SlotPool::attached() const {
    std::lock_guard lock(mutex_);
    return static_cast<int>(
        std::count_if(slots_.begin(), slots_.end(), [](const Slot& s) { return s.channel >= 0; }));
}

bool SlotPool::growOne() {
    const auto free = std::find_if(slots_.begin(), slots_.end(),
                                   [](const Slot& s) { return s.worker == nullptr; });
    if (free == slots_.end())
        return false;
    SpeechcoreHandle engine = factory_();
    if (engine == nullptr)
        return false;
    free->worker = makeWorker(static_cast<int>(free - slots_.begin()), engine);
    return true;
}

int SlotPool::countExisting() const {
    return static_cast<int>(std::count_if(slots_.begin(), slots_.end(),
                                          [](const Slot& s) { return s.worker != nullptr; }));
}

int SlotPool::countAttached() const {
    return static_cast<int>(
        std::count_if(slots_.begin(), slots_.end(), [](const Slot& s) { return s.channel >= 0; }));
}

int SlotPool::growLocked() {
    const int exist = countExisting();
    int wanted = 0;
    if (!grown_)
        wanted = std::min(speechChannels_, 4);
    else if (exist - countAttached() <= 1 && exist < speechChannels_)
        wanted = 1;
    grown_ = true;
    int created = 0;
    while (created < wanted && growOne())
        ++created;
    return created;
}

int SlotPool::grow() {
    std::lock_guard lock(mutex_);
    return growLocked();
}

int32_t SlotPool::bind(int channel) {
    // One hold of the lock: two channels bound at once must not both count
    // on the same spare instance.
    std::lock_guard lock(mutex_);
    if (channel < 0 || channel >= static_cast<int>(slotOfChannel_.size()))
        return kOutOfRange;
    if (slotOfChannel_[static_cast<size_t>(channel)] >= 0)
        return 0;
    if (countAttached() >= countExisting()) {
        growLocked();
        if (countAttached() >= countExisting())
            return kNoSpeechChannelLeft;
    }
    const auto free = std::find_if(slots_.begin(), slots_.end(), [](const Slot& s) {
        return s.worker != nullptr && s.worker->hasEngine() && s.channel < 0;
    });
    if (free == slots_.end())
        return kNoFreeSlot;
    free->channel = channel;
    slotOfChannel_[static_cast<size_t>(channel)] = static_cast<int>(free - slots_.begin());
    // A spare for the next binding, made now rather than when it is needed.
    growLocked();
    return 0;
}

int32_t SlotPool::unbind(int channel) {
    SlotWorker* worker = nullptr;
    {
        std::lock_guard lock(mutex_);
        if (channel < 0 || channel >= static_cast<int>(slotOfChannel_.size()))
            return kOutOfRange;
        const int slot = slotOfChannel_[static_cast<size_t>(channel)];
        if (slot < 0)
            return kNotBound;
        worker = slots_[static_cast<size_t>(slot)].worker.get();
    }
    worker->stop();
    std::lock_guard lock(mutex_);
    const int slot = slotOfChannel_[static_cast<size_t>(channel)];
    if (slot >= 0)
        slots_[static_cast<size_t>(slot)].channel = -1;
    slotOfChannel_[static_cast<size_t>(channel)] = -1;
    return 0;
}

int32_t SlotPool::deleteIdle() {
    std::unique_ptr<SlotWorker> idle;
    {
        std::lock_guard lock(mutex_);
        const auto it = std::find_if(slots_.begin(), slots_.end(), [](const Slot& s) {
            return s.worker != nullptr && s.channel < 0;
        });
        if (it == slots_.end())
            return kNoIdleInstance;
        idle = std::move(it->worker);
    }
    // Ended outside the lock: it joins the worker thread.
    idle.reset();
    return 0;
}

SlotWorker* SlotPool::workerFor(int channel) const {
    std::lock_guard lock(mutex_);
    if (channel < 0 || channel >= static_cast<int>(slotOfChannel_.size()))
        return nullptr;
    const int slot = slotOfChannel_[static_cast<size_t>(channel)];
    return slot < 0 ? nullptr : slots_[static_cast<size_t>(slot)].worker.get();
}

SlotWorker* SlotPool::workerAt(int slot) const {
    std::lock_guard lock(mutex_);
    if (sound_ != nullptr && slot == sound_->slot())
        return sound_.get();
    if (slot < 0 || slot >= static_cast<int>(slots_.size()))
        return nullptr;
    return slots_[static_cast<size_t>(slot)].worker.get();
}

int SlotPool::slotFor(int channel) const {
    std::lock_guard lock(mutex_);
    if (channel < 0 || channel >= static_cast<int>(slotOfChannel_.size()))
        return -1;
    return slotOfChannel_[static_cast<size_t>(channel)];
}

} // namespace sayline
