#pragma once

#include "HdlcDeframer.h"

#include <cstdint>

namespace faxsense {

// Looks through the frames of one burst for the T.30 command that shows a
// fax machine: the first sound, final frame decides.
class T30FrameScanner {
public:
    static constexpr uint8_t Address = 0xFF;
    static constexpr uint8_t ControlFinal = 0x13;
    static constexpr uint8_t ControlNotFinal = 0x03;
    static constexpr uint8_t Dis = 128;
    static constexpr uint8_t Dcs = 130;
    static constexpr uint8_t Dcn = 250;
    static constexpr uint8_t Crp = 26;

    // The FCF (bit 0 cleared) of the first good final frame, or -1.
    static int finalFcf(const HdlcDeframer& deframer);
    static bool isFaxCommand(int fcf);
    static bool detects(const HdlcDeframer& deframer) { return isFaxCommand(finalFcf(deframer)); }
};

} // namespace faxsense
