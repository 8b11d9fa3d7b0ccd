#include "carddriver/ClockService.h"

#include "carddriver/RealClock.h"

#include <mutex>

namespace carddriver {
namespace {
std::mutex clockMutex;
std::shared_ptr<CardClock>& installedClock() {
    static std::shared_ptr<CardClock> clock = std::make_shared<RealClock>();
    return clock;
}
} // namespace

std::shared_ptr<CardClock> ClockService::current() {
    std::lock_guard lock(clockMutex);
    return installedClock();
}

int64_t ClockService::nowMicros() {
    return current()->nowMicros();
}

void ClockService::waitMillis(int64_t millis) {
    current()->wait(millis * 1000);
}

void ClockService::install(std::shared_ptr<CardClock> clock) {
    std::lock_guard lock(clockMutex);
    installedClock() = clock ? std::move(clock) : std::make_shared<RealClock>();
}

} // namespace carddriver
