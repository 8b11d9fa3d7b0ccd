#pragma once
#include <array>
#include <cstdint>

namespace carddriver {

// The 16-bit serial memory of a register-level card, driven bit by bit
// through one card register: bit 0 select, bit 1 clock, bit 2 data in,
// bit 3 data out. A command is a start bit and 8 bits (most significant
// first) clocked in while selected; command 0x80 + n reads word n, whose 16
// bits then come out on the following rising clock edges.
class SerialMemory {
public:
    static constexpr uint8_t kSelect = 1;
    static constexpr uint8_t kClock = 2;
    static constexpr uint8_t kDataIn = 4;
    static constexpr uint8_t kDataOut = 8;

    void setWord(int index, uint16_t word);
    // The register written with `value`.
    void write(uint8_t value);
    // The register as read back: the last written bits plus the data-out bit.
    uint8_t read() const;

private:
    enum class Phase { WaitStart, Command, Output };
    std::array<uint16_t, 64> words_{};
    uint8_t last_ = 0;
    Phase phase_ = Phase::WaitStart;
    int bitsIn_ = 0;
    uint8_t command_ = 0;
    uint16_t shift_ = 0;
    int bitsOut_ = 0;
    bool dataOut_ = false;
};

} // namespace carddriver
