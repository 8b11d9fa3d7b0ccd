#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace carddriver {

// What the software card presents to the library: its family, cards and
// lines, and the answers of its self-checks (which tests turn into faults).
struct SoftCardConfig {
    uint16_t cardType = 50;
    uint16_t cardCount = 1;
    // One type code per channel: 0 user, 1 trunk, 2 empty, 3 monitor.
    std::vector<uint16_t> channelTypes = std::vector<uint16_t>(8, 1);
    uint16_t speechChannels = 8;
    bool newerInterface = true;
    // Six-digit serial number of each card (missing entries read as 0).
    std::vector<uint32_t> serialNumbers{709826};
    // Self-check answers: per card (missing entries are 0, good), interrupt
    // line, connection (a failing card number), DSP start, and how many
    // cards the count request finds (negative: as many as configured).
    std::vector<uint16_t> cardCheckResults;
    uint16_t irqCheckResult = 0;
    uint16_t connectionCheckResult = 0;
    uint16_t dspStartResult = 0;
    int cardsFound = -1;
    // The simulated exchange behind the trunk lines.
    std::string scenarioFile;
    // Folder for one WAV and a log line per call; empty writes nothing.
    std::string callRecordFolder;

    uint16_t channelCount() const { return static_cast<uint16_t>(channelTypes.size()); }

    // Reads section [SoftCard] of `path`; a missing file gives the defaults.
    // Keys: CardType, CardCount, Channels, UserChannels (the last ones are
    // user lines), SpeechChannels, NewerInterface, Serial, Scenario, CallRecords.
    static SoftCardConfig load(const std::string& path);
};

} // namespace carddriver
