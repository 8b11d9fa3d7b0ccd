// Untrusted audio into the detector. The first byte picks what is exercised:
// the whole channel detector fed in chunks of a chosen size, or the HDLC
// deframer and T.30 scan on the raw bytes of a burst.
#include "ChannelDetector.h"
#include "HdlcDeframer.h"
#include "T30FrameScanner.h"

#include <cstddef>
#include <cstdint>
#include <span>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    if (size < 2) {
        return 0;
    }
    const uint8_t mode = data[0];
    const std::span<const uint8_t> rest(data + 1, size - 1);
    if (mode & 1) {
        faxsense::HdlcDeframer deframer;
        deframer.deframe(rest);
        (void)faxsense::T30FrameScanner::detects(deframer);
        return 0;
    }
    // Chunks of 1..128 blocks plus a ragged tail, as a caller might hand them in.
    const std::size_t chunk = (static_cast<std::size_t>(mode >> 1) + 1) * 80 + (mode & 0x7E) % 80;
    faxsense::ChannelDetector detector;
    for (std::size_t at = 0; at < rest.size(); at += chunk) {
        (void)detector.feed(rest.subspan(at, std::min(chunk, rest.size() - at)));
    }
    return 0;
}
