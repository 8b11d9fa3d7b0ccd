#pragma once
#include "carddriver/CardClock.h"

namespace carddriver {

class RealClock : public CardClock {
public:
    int64_t nowMicros() const override;
    void wait(int64_t micros) override;
};

} // namespace carddriver
