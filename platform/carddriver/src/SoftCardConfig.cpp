#include "carddriver/SoftCardConfig.h"

#include "carddriver/ProfileFile.h"

#include <algorithm>

namespace carddriver {

SoftCardConfig SoftCardConfig::load(const std::string& path) {
    SoftCardConfig config;
    ProfileFile file(path);
    if (!file.exists())
        return config;
    const std::string section = "SoftCard";
    config.cardType = static_cast<uint16_t>(file.readInt(section, "CardType", config.cardType));
    config.cardCount = static_cast<uint16_t>(
        std::clamp<long long>(file.readInt(section, "CardCount", config.cardCount), 1, 16));
    long long channels = std::clamp<long long>(file.readInt(section, "Channels", 8), 1, 256);
    long long users = std::clamp<long long>(file.readInt(section, "UserChannels", 0), 0, channels);
    config.channelTypes.assign(static_cast<size_t>(channels), 1);
    std::fill(config.channelTypes.end() - users, config.channelTypes.end(), 0);
    config.speechChannels =
        static_cast<uint16_t>(file.readInt(section, "SpeechChannels", config.speechChannels));
    config.newerInterface = file.readInt(section, "NewerInterface", 1) != 0;
    config.serialNumbers.assign(config.cardCount,
                                static_cast<uint32_t>(file.readInt(section, "Serial", 709826)));
    config.scenarioFile = file.readString(section, "Scenario", "");
    config.callRecordFolder = file.readString(section, "CallRecords", "");
    return config;
}

} // namespace carddriver
