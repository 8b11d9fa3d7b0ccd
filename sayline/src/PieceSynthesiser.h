#pragma once

#include "speechcore/Speechcore.h"

#include <cstdint>
#include <functional>
#include <string>

namespace sayline {

// Drives one slot's engine instance through one piece of speech: choose the
// output, add the text, start, and poll until the engine is done or the slot
// asks to stop.
class PieceSynthesiser {
public:
    enum class Outcome { Done, Stopped, Failed };
    // Called between two polls of the engine; waits the poll interval.
    using PollWait = std::function<void()>;
    // True once the piece must end early.
    using StopCheck = std::function<bool()>;

    // The engine is polled every 200 ms, as often as a slot checks its stop flag.
    static PollWait standardWait();

    PieceSynthesiser(SpeechcoreHandle engine, PollWait wait);

    // A new engine instance with engine parameter 1 at 0, voice parameter 2
    // at 50 and the slot's speed and volume; null if the engine has none.
    static SpeechcoreHandle createEngine(int32_t speed, int32_t volume);
    // The parameters a slot hands the engine before every piece; speed and
    // volume are clamped to 0..100 first.
    void applyVoice(int32_t speed, int32_t volume, int32_t engineParam);

    // Speaks GBK text into a file (the slot's mu-law file or a .wav target).
    Outcome toFile(const std::string& gbkText, const std::string& path, const StopCheck& stop);
    // Speaks GBK text on the PC's sound device.
    Outcome toSoundDevice(const std::string& gbkText, const StopCheck& stop);

private:
    Outcome run(const std::string& gbkText, const StopCheck& stop);

    SpeechcoreHandle engine_;
    PollWait wait_;
};

} // namespace sayline
