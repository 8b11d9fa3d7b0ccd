// Loading and card set-up exports.
#include "../CardEnabler.h"
#include "../CardLoader.h"
#include "../LibraryState.h"
#include "../SerialNumberReader.h"
#include "linecard/Linecard.h"

#include <cstring>

using linecard::LibraryState;

extern "C" {

void SetMessageBoxHook(LinecardMessageHook hook) {
    LibraryState::instance().messageHook = hook;
}

int32_t LoadDRV(void) {
    return linecard::CardLoader(LibraryState::instance()).load();
}

int32_t FreeDRV(void) {
    return linecard::CardLoader(LibraryState::instance()).free();
}

int32_t EnableCard(int32_t channels, int32_t bufferBytes) {
    return linecard::CardEnabler(LibraryState::instance()).enable(channels, bufferBytes);
}

int32_t DisableCard(void) {
    return linecard::CardEnabler(LibraryState::instance()).disable();
}

int32_t GetSysInfo(void* destination) {
    if (!destination)
        return LC_BAD_ARGUMENT;
    std::memcpy(destination, LibraryState::instance().sysInfo.data(), linecard::kSysInfoBytes);
    return 0;
}

int32_t IsSupportCallerID(void) {
    int type = LibraryState::instance().config.cardType;
    return type == 12 || type == 30 || type == 31 || type == 50 ? 1 : 0;
}

int32_t SetPackRate(int32_t rate) {
    if (rate < 0 || rate > 0xFFFF)
        return LC_BAD_ARGUMENT;
    return linecard::CardEnabler(LibraryState::instance()).setPackRate(rate);
}

int32_t NewReadPass(int32_t card) {
    return linecard::SerialNumberReader(LibraryState::instance()).read(card);
}

} // extern "C"
