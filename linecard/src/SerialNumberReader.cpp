#include "SerialNumberReader.h"

namespace linecard {
namespace {
constexpr uint8_t kSelect = 1, kClock = 2, kData = 4, kDataOut = 8;
}

uint8_t SerialNumberReader::readRegister(uint16_t card, uint16_t reg) {
    DriverRequest read{requestCode(fn::ReadRegister), card, reg, 0, 0, 0};
    state_.request(read);
    return static_cast<uint8_t>(read.Value & 0xFF);
}

void SerialNumberReader::writeRegister(uint16_t card, uint16_t reg, uint8_t value) {
    state_.request(fn::WriteRegister, card, reg, value);
}

void SerialNumberReader::clock(uint16_t card) {
    shadow_ |= kClock;
    put(card);
    shadow_ &= static_cast<uint8_t>(~kClock);
    put(card);
}

void SerialNumberReader::command(uint16_t card, uint8_t code) {
    shadow_ = 0;
    put(card);
    shadow_ |= kSelect;
    put(card);
    clock(card);
    shadow_ |= kData;
    put(card);
    clock(card);
    for (int bit = 7; bit >= 0; --bit) {
        if (code & (1 << bit))
            shadow_ |= kData;
        else
            shadow_ &= static_cast<uint8_t>(~kData);
        put(card);
        clock(card);
    }
}

int SerialNumberReader::readBit(uint16_t card) {
    shadow_ |= kClock;
    put(card);
    uint8_t value = readRegister(card, 2);
    shadow_ &= static_cast<uint8_t>(~kClock);
    put(card);
    return (value & kDataOut) ? 1 : 0;
}

int SerialNumberReader::read(int card) {
    const CardConfig& c = state_.config;
    if (card < 0 || card >= 16)
        return LC_BAD_ARGUMENT;
    uint16_t index = static_cast<uint16_t>(card);
    if (c.cardType == 31 || c.cardType == 50) {
        DriverRequest info{requestCode(fn::CardInformation), index, 2, 0, 0, 0};
        state_.request(info);
        return static_cast<int>(info.Param1);
    }
    int channels = c.cardNo * 8;
    if (card * 8 >= channels)
        return -1;
    writeRegister(index, 1, static_cast<uint8_t>((readRegister(index, 1) & 0xE7) | 8));
    uint8_t r0 = readRegister(index, 0);
    writeRegister(index, 1, static_cast<uint8_t>(r0 & 0xE7));
    writeRegister(index, 1, 0);
    writeRegister(index, 0, static_cast<uint8_t>(readRegister(index, 0) | 8));

    command(index, 0x30);
    clock(index);
    clock(index);
    shadow_ &= static_cast<uint8_t>(~kSelect);
    put(index);
    clock(index);

    int words[3] = {0, 0, 0};
    for (int n = 0; n < 3; ++n) {
        command(index, static_cast<uint8_t>(0x80 + n));
        for (int bit = 0; bit < 16; ++bit)
            words[n] = (words[n] << 1) | readBit(index);
        clock(index);
        clock(index);
    }
    command(index, 0x00);
    clock(index);
    writeRegister(index, 0, static_cast<uint8_t>(readRegister(index, 0) & 7));

    int result = 0;
    for (int word : words) {
        for (int digit : {word >> 8, word & 0xFF}) {
            if (digit < '0' || digit > '9')
                return -1;
            result = result * 10 + (digit - '0');
        }
    }
    return result;
}

} // namespace linecard
