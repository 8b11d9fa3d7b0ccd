#include "VoiceSettings.h"

#include <espeak-ng/speak_lib.h>

namespace speechcore {

int VoiceSettings::espeakRate() const {
    return espeakRATE_MINIMUM + (speed * (espeakRATE_MAXIMUM - espeakRATE_MINIMUM) + 50) / 100;
}

int VoiceSettings::espeakVolume() const {
    return volume * 2;
}

int VoiceSettings::espeakPitch() const {
    return pitch;
}

} // namespace speechcore
