#include "T30FrameScanner.h"

namespace faxsense {

int T30FrameScanner::finalFcf(const HdlcDeframer& deframer) {
    for (const HdlcFrame& frame : deframer.frames()) {
        // Address, control, FCF and the two FCS octets at the least.
        if (!frame.crcGood || frame.length <= 4) {
            continue;
        }
        const auto bytes = deframer.bytesOf(frame);
        if (bytes[0] != Address) {
            continue;
        }
        if (bytes[1] == ControlFinal) {
            return bytes[2] & 0xFE; // bit 0 only tells which side sent it
        }
    }
    return -1;
}

bool T30FrameScanner::isFaxCommand(int fcf) {
    return fcf == Dis || fcf == Dcs || fcf == Dcn || fcf == Crp;
}

} // namespace faxsense
