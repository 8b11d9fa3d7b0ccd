#pragma once

#include "SlotWorker.h"

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

namespace sayline {

// The speech slots of the cards: slots 0..T-1 serve card channels, each with
// its own worker and engine instance once the pool has given it one, and one
// more slot serves the PC's sound device. Instances are made ahead of use:
// min(T, 4) at first, then one spare whenever at most one is left unbound.
class SlotPool {
public:
    static constexpr int32_t kOutOfRange = -6;
    static constexpr int32_t kNotBound = -4;
    static constexpr int32_t kNoSpeechChannelLeft = -15;
    static constexpr int32_t kNoFreeSlot = -18;
    static constexpr int32_t kNoIdleInstance = -19;

    using EngineFactory = std::function<SpeechcoreHandle()>;

    // `speechChannels` is T, `cardChannels` the channels that can be bound.
    // The PC-sound slot gets its instance here (see hasSoundSlot).
    SlotPool(int speechChannels, int cardChannels, std::filesystem::path folder,
             EngineFactory factory,
             std::chrono::milliseconds poll = std::chrono::milliseconds(200));
    ~SlotPool();
    SlotPool(const SlotPool&) = delete;
    SlotPool& operator=(const SlotPool&) = delete;

    // Creates instances by the rule above; the number created (up to the
    // first failure).
    int grow();

    int32_t bind(int channel);
    // Stops the channel's worker and frees its slot (the instance stays for
    // the next binding).
    int32_t unbind(int channel);
    // Destroys one idle instance (bound to no channel).
    int32_t deleteIdle();

    int total() const { return speechChannels_; }
    int existing() const;
    int attached() const;
    int leave() const { return speechChannels_ - attached(); }

    // The worker of a bound channel, null otherwise.
    SlotWorker* workerFor(int channel) const;
    // The slot number serving a bound channel, -1 otherwise.
    int slotFor(int channel) const;
    bool hasSoundSlot() const { return sound_ != nullptr && sound_->hasEngine(); }
    SlotWorker* soundSlot() const { return sound_.get(); }
    // The worker of slot n (the PC-sound slot included), null where the slot
    // has none or n lies outside the table.
    SlotWorker* workerAt(int slot) const;

private:
    struct Slot {
        std::unique_ptr<SlotWorker> worker;
        int channel = -1;
    };

    // The helpers below expect mutex_ to be held.
    bool growOne();
    int growLocked();
    int countExisting() const;
    int countAttached() const;
    std::unique_ptr<SlotWorker> makeWorker(int slot, SpeechcoreHandle engine) const;

    const int speechChannels_;
    const std::filesystem::path folder_;
    const EngineFactory factory_;
    const std::chrono::milliseconds poll_;
    bool grown_ = false;

    mutable std::mutex mutex_;
    std::vector<Slot> slots_;           // 0..T-1
    std::vector<int> slotOfChannel_;    // per card channel, -1 when unbound
    std::unique_ptr<SlotWorker> sound_; // the PC's sound device
};

} // namespace sayline
