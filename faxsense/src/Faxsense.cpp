#include "faxsense/Faxsense.h"

#include "ChannelDetector.h"
#include "DebugLog.h"

#include <array>
#include <span>

namespace {

std::array<faxsense::ChannelDetector, FAXSENSE_CHANNEL_COUNT> gChannels;
bool gInitialised = false;

} // namespace

extern "C" int32_t lc_faxinit(void) {
    // The filter, CRC and bit-reversal tables are built at compile time.
    gChannels.fill(faxsense::ChannelDetector{});
    faxsense::DebugLog::configureFromEnvironment();
    gInitialised = true;
    return 0;
}

extern "C" int32_t lc_faxdetect(int32_t channel, const uint8_t* alaw, int32_t count) {
    if (channel < 0 || channel >= FAXSENSE_CHANNEL_COUNT) {
        return FAXSENSE_ERR_CHANNEL;
    }
    if (count <= 0) {
        return FAXSENSE_NOTHING;
    }
    if (alaw == nullptr) {
        return FAXSENSE_ERR_NO_DATA;
    }
    if (!gInitialised) {
        return FAXSENSE_ERR_NOT_INITIALISED;
    }
    const std::span<const uint8_t> audio(alaw, static_cast<std::size_t>(count));
    return gChannels[static_cast<std::size_t>(channel)].feed(audio) ? FAXSENSE_DETECTED
                                                                    : FAXSENSE_NOTHING;
}
