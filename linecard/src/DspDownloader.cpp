#include "DspDownloader.h"

#include "DspProgramFile.h"
#include "carddriver/ApplicationHome.h"

namespace linecard {
namespace {

// The install folder is a plain prefix; a relative one is taken from the
// application home rather than from wherever the program was started.
std::string programPath(const std::string& installDir, const std::string& fileName) {
    std::string path = installDir + fileName;
    if (!path.empty() && path.front() == '/')
        return path;
    return carddriver::ApplicationHome::join(carddriver::ApplicationHome::path(), path);
}

} // namespace

int DspDownloader::download(const std::string& fileName, int section, uint16_t card,
                            uint32_t memory, uint32_t maxBytes) {
    std::string path = programPath(state_.config.installDir, fileName);
    DspProgramFile file;
    switch (file.open(path)) {
    case DspProgramFile::Status::CannotOpen:
        state_.message("ERR_LOAD_DSP_FILE: [" + path + "]", "CHECK DSP CARD");
        return -1;
    case DspProgramFile::Status::BadFormat:
        state_.message("Down Load file [" + path + "] have BAD format", "CHECK DSP CARD");
        return -2;
    case DspProgramFile::Status::Ok:
        break;
    }
    std::vector<uint8_t> bytes;
    uint32_t fullLength = 0;
    if (!file.readSection(section, maxBytes, bytes, fullLength))
        return -3;
    uint32_t length = static_cast<uint32_t>(bytes.size());
    if (section == 5 && fullLength == 131072)
        length = 32768;
    uint32_t base = (state_.config.cardType == 30 && fullLength <= 16384) ? 0x4000 : 0;
    for (uint32_t at = 0; at < length; at += kChunkBytes) {
        uint32_t chunk = length - at < kChunkBytes ? length - at : kChunkBytes;
        DriverRequest record{
            requestCode(fn::DspDownload), card, static_cast<uint16_t>(chunk), base + at, memory, 0};
        if (!state_.request(record, bytes.data() + at, chunk))
            return -3;
    }
    return 0;
}

int DspDownloader::start() {
    uint32_t marker = state_.config.waveFormat == 2 ? kLinear8BitMarker : 0;
    DriverRequest record{requestCode(fn::DspDownload), kDspStartChannel, 0, 0, marker, 0};
    if (!state_.request(record))
        return 0xFF;
    return record.Value;
}

} // namespace linecard
