#pragma once
// Argument checks shared by the export files: a channel outside the tables
// gives LC_BAD_ARGUMENT before anything is touched.
#include "../LibraryState.h"
#include "linecard/Linecard.h"

#include <cstdint>

#define LC_CHECK_CHANNEL(ch)                                                                       \
    if (!linecard::LibraryState::validChannel(ch))                                                 \
    return LC_BAD_ARGUMENT

namespace linecard {
// A channel that passed LC_CHECK_CHANNEL, as the driver record holds it.
inline uint16_t channelOf(int32_t ch) {
    return static_cast<uint16_t>(ch);
}
} // namespace linecard
