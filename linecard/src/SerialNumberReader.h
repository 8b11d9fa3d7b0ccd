#pragma once
#include "LibraryState.h"

namespace linecard {

// Reads the six-digit serial number of a card: from the driver on DSP cards,
// else bit by bit from the card's serial memory through its registers.
class SerialNumberReader {
public:
    explicit SerialNumberReader(LibraryState& state) : state_(state) {}
    int read(int card);

private:
    uint8_t readRegister(uint16_t card, uint16_t reg);
    void writeRegister(uint16_t card, uint16_t reg, uint8_t value);
    void put(uint16_t card) { writeRegister(card, 2, shadow_); }
    void clock(uint16_t card);
    void command(uint16_t card, uint8_t code);
    int readBit(uint16_t card);

    LibraryState& state_;
    uint8_t shadow_ = 0;
};

} // namespace linecard
