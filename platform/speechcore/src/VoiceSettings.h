#pragma once

#include <cstdint>

namespace speechcore {

// The caller's voice parameters (each 0..100) and how they map onto
// espeak-ng's own scales.
struct VoiceSettings {
    int32_t pitch = 50;
    int32_t speed = 50;
    int32_t volume = 50;

    static bool isValidValue(int32_t value) { return value >= 0 && value <= 100; }

    // espeak-ng's Mandarin voice is only intelligible between its minimum (80)
    // and maximum (450) rate, so 0..100 spans exactly that range. At 45 a
    // 34-character announcement takes about 8.5 s, close to four syllables a
    // second: a calm, clear telephone announcement.
    int espeakRate() const;
    // 0..100 onto espeak-ng's amplitude 0..200, so 50 is espeak-ng's normal
    // level; 45 peaks near -3 dBFS with no clipping, and espeak-ng's own limiter
    // keeps 100 from wrapping.
    int espeakVolume() const;
    // espeak-ng's pitch scale is already 0..100 with 50 as the voice's own.
    int espeakPitch() const;
};

} // namespace speechcore
