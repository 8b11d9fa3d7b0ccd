#include "FileConversion.h"

#include "VocFileConverter.h"

#include <fstream>
#include <system_error>

namespace sayline {

std::filesystem::path FileConversion::targetFor(const std::string& name, Format format) {
    return name + (format == Format::Voc ? ".voc" : ".wav");
}

PieceSynthesiser::Outcome FileConversion::run(PieceSynthesiser& synthesiser,
                                              const std::string& gbkText, const std::string& name,
                                              Format format, const std::filesystem::path& mulawFile,
                                              const PieceSynthesiser::StopCheck& stop) {
    const std::filesystem::path target = targetFor(name, format);
    std::error_code ignored;
    if (std::filesystem::is_regular_file(target, ignored))
        std::filesystem::remove(target, ignored);
    if (format == Format::Wav)
        return synthesiser.toFile(gbkText, target.string(), stop);

    // Emptied first, so a failed synthesis cannot hand on an older piece.
    std::ofstream(mulawFile, std::ios::binary | std::ios::trunc).close();
    const auto outcome = synthesiser.toFile(gbkText, mulawFile.string(), stop);
    if (outcome == PieceSynthesiser::Outcome::Failed)
        return outcome;
    return VocFileConverter::convert(mulawFile, target) ? outcome
                                                        : PieceSynthesiser::Outcome::Failed;
}

} // namespace sayline
