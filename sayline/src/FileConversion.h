#pragma once

#include "PieceSynthesiser.h"

#include <filesystem>
#include <string>

namespace sayline {

// Text to a .voc file (card A-law, no header) or a .wav file (the engine's
// mu-law WAVE) on a slot's engine.
class FileConversion {
public:
    enum class Format { Voc, Wav };

    // The target: the caller's name with the format's extension appended.
    static std::filesystem::path targetFor(const std::string& name, Format format);

    // Deletes an older target, synthesises and, for .voc, maps the slot's
    // mu-law file into the target. A stopped conversion leaves what was
    // spoken so far.
    static PieceSynthesiser::Outcome run(PieceSynthesiser& synthesiser, const std::string& gbkText,
                                         const std::string& name, Format format,
                                         const std::filesystem::path& mulawFile,
                                         const PieceSynthesiser::StopCheck& stop);
};

} // namespace sayline
