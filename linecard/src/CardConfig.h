#pragma once
#include <array>
#include <cstdint>
#include <string>

namespace linecard {

// The settings of LINECARD-V.INI after their range rules.
struct CardConfig {
    int recordAndPlayMode = 0;
    bool disablePopBox = false;
    int cardNo = 0;
    int cardType = 0;
    bool enableExtra = false;
    std::array<uint32_t, 16> extraCard{};
    bool dtmfSource = false;
    int flash = 80; // 10 ms units
    int machineNo = 0;
    int enableFsk = 0;
    bool variant103 = false;
    int recvSeizure = 10;
    int recvBuffer = 1024;
    int enhanceConfDtmf = 1;
    int enhanceConf = 0;
    int enhanceConfBuf = 0;
    int enhanceBusyLen = 30;
    int connect = 0;
    int irq = 0;
    int waveFormat = 0;
    std::string installDir;
    uint32_t memAddr = 0;
    int checkRingMode = 0;
    int dtmfMode = 0;
    int trunkRecAgc = 0;
    int trunkRecVol = 4;
    int trunkPlayVol = 0;
    int userRecAgc = 0;
    int userRecVol = 0;
    int userPlayVol = 0;
    std::array<uint32_t, 16> address{};
    std::array<uint16_t, 16> newRecord{};
    int fskMode = 0;

    bool isDspType() const { return cardType == 30 || cardType == 31 || cardType == 50; }
    bool anyNewRecord() const;
};

} // namespace linecard
