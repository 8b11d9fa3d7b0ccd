#pragma once
#include "LibraryState.h"

namespace linecard {

// LoadDRV and FreeDRV: configuration, device, card checks, DSP programs.
class CardLoader {
public:
    explicit CardLoader(LibraryState& state) : state_(state) {}
    int load();
    int free();
    static std::string configPath();

private:
    int checkCards();
    int downloadHeron();
    int downloadHeronn();
    int downloadEgret();
    int egretMemory2Section(uint16_t card, bool& loadNothing);
    void fillSysInfo();
    void closeDevice();

    LibraryState& state_;
};

} // namespace linecard
