#include "carddriver/RealClock.h"

#include <chrono>
#include <thread>

namespace carddriver {

int64_t RealClock::nowMicros() const {
    using namespace std::chrono;
    return duration_cast<microseconds>(system_clock::now().time_since_epoch()).count();
}

void RealClock::wait(int64_t micros) {
    if (micros > 0)
        std::this_thread::sleep_for(std::chrono::microseconds(micros));
}

} // namespace carddriver
