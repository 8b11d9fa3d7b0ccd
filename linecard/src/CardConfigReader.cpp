#include "CardConfigReader.h"

#include "carddriver/ProfileFile.h"

#include <cstdio>

namespace linecard {
namespace {

template <typename... Args> std::string format(const char* pattern, Args... args) {
    char text[160];
    std::snprintf(text, sizeof text, pattern, args...);
    return text;
}

int toInt(long long value) {
    return static_cast<int>(static_cast<int32_t>(value));
}

} // namespace

uint32_t CardConfigReader::parseHex(const std::string& text, uint32_t fallback) {
    std::string limited = text.substr(0, 19);
    if (limited.empty())
        return fallback;
    uint32_t value = 0;
    for (char c : limited) {
        if (c > 'Z')
            c = static_cast<char>(c - 'a' + 'A');
        int digit;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        else
            break;
        value = value * 16 + static_cast<uint32_t>(digit);
    }
    return value;
}

CardConfigReader::Result CardConfigReader::read(const std::string& path) {
    carddriver::ProfileFile file(path);
    Result result;
    CardConfig& c = result.config;
    auto num = [&](const char* section, const char* key, long long fallback) {
        return toInt(file.readInt(section, key, fallback));
    };
    auto fail = [&](std::string message) {
        result.ok = false;
        result.message = std::move(message);
        return result;
    };
    auto volume = [&](const char* key, int fallback, int& out, const char* code) {
        out = num("HERON", key, fallback);
        if (out < -20 || out > 20) {
            result.message = format("%s: %s=%d (should -20~+20)", code, key, out);
            return false;
        }
        return true;
    };
    auto agc = [&](const char* key, int& out, const char* code) {
        out = num("HERON", key, 0);
        if (out < 0 || out > 1) {
            result.message = format("%s: %s=%d (should 0~1)", code, key, out);
            return false;
        }
        return true;
    };

    c.recordAndPlayMode = num("SYSTEM", "RecordAndPlayMode", 0);
    c.disablePopBox = num("SYSTEM", "DisablePopBox", 0) == 1;
    c.cardNo = num("SYSTEM", "CardNo", 0);
    if (c.cardNo < 1 || c.cardNo > 16)
        return fail(format("ERR_INI_01: CardNo=%d", c.cardNo));
    c.cardType = num("SYSTEM", "CardType", 0);
    if (c.cardType < 10)
        return fail(format("ERR_INI_02: CardType=%d", c.cardType));
    const bool egret = c.cardType == 50;
    if (egret) {
        c.enableExtra = num("ExtraTable", "EnableExtra", 0) == 1;
        if (c.enableExtra) {
            for (int card = 0; card < c.cardNo; ++card) {
                int value = num("ExtraTable", format("Card[%d]", card).c_str(), 0);
                c.extraCard[static_cast<size_t>(card)] =
                    value >= 1 && value <= 3 ? static_cast<uint32_t>(value) : 0;
            }
        }
        c.dtmfSource = num("HERON", "DtmfSource", 0) == 1;
    }
    int flashMs = num("SYSTEM", "Flash", 800);
    if (flashMs > 1000)
        flashMs = 1000;
    if (flashMs < 0)
        flashMs = 0;
    c.flash = flashMs / 10;
    if (egret) {
        c.machineNo = num("SYSTEM", "MachineNo", 0);
        if (c.machineNo < 0 || c.machineNo > 15)
            return fail(format("ERR_INI_03: MachineNO=%d", c.machineNo));
        c.enableFsk = num("SYSTEM", "EnableFSK", 0);
        if (c.enableFsk == 103) {
            c.variant103 = true;
            c.enableFsk = 0;
        }
        if (c.enableFsk != 0) {
            int seizure = num("FSK", "RecvSeizure", 100) / 10;
            c.recvSeizure = seizure == 0 ? 1 : (seizure > 30 ? 30 : seizure);
            int buffer = num("FSK", "RecvBuffer", 1024);
            c.recvBuffer = buffer < 256 ? 256 : (buffer > 8192 ? 8192 : buffer);
        }
        c.enhanceConfDtmf = num("SYSTEM", "EnhanceConfDtmf", 1) != 0 ? 1 : 0;
        int conf = num("SYSTEM", "EnhanceConf", 0);
        c.enhanceConf = conf == 1 || conf == 2 ? conf : 0;
        int confBuf = num("SYSTEM", "EnhanceConfBuf", 0);
        c.enhanceConfBuf = confBuf >= 0 && confBuf <= 104 ? confBuf : 0;
        if (c.enhanceConf != 0 && (c.enableFsk != 0 || c.variant103) && !c.enableExtra)
            return fail("ERR_INI_03: EnableFSK & EnhanceConf can not work same time!");
        if (c.enhanceConf != 0) {
            int busy = num("SYSTEM", "EnhanceBusyLen", 30);
            c.enhanceBusyLen = busy >= 10 && busy <= 500 ? busy : 30;
        }
    } else {
        c.connect = num("SYSTEM", "Connect", 0);
        c.irq = num("SYSTEM", "IRQ", 0);
        if (c.irq < 3 || c.irq > 7)
            return fail(format("ERR_INI_03: IRQ=%d", c.irq));
    }
    if (egret) {
        int wave = num("HERON", "WaveFormat", 0);
        c.waveFormat = wave >= 1 && wave <= 4 ? wave : 0;
    }
    c.installDir = file.readString("SYSTEM", "InstallDir", "").substr(0, 69);
    if (c.cardType == 30) {
        c.memAddr = parseHex(file.readString("SYSTEM", "MemAddr", ""), 0);
        if (c.memAddr != 0xD000 && c.memAddr != 0xD800 && c.memAddr != 0xE000 &&
            c.memAddr != 0xE800)
            return fail(format("ERR_INI_05: MemAddr=%X", c.memAddr));
    }
    c.checkRingMode = num("HERON", "CheckRingMode", 0);
    if (c.checkRingMode < 0 || c.checkRingMode > 1)
        return fail(format("ERR_INI_06: ChecRingMode=%d (should 0~1)", c.checkRingMode));
    if (c.cardType == 31 || egret) {
        c.dtmfMode = num("HERON", "DtmfMode", 0);
        if (c.dtmfMode < 0 || c.dtmfMode > 2)
            return fail(format("ERR_INI_07: DtmfMode=%d (should 0~2)", c.dtmfMode));
        if (!agc("TrunkRecAGC", c.trunkRecAgc, "ERR_INI_08") ||
            !volume("TrunkRecVol", 4, c.trunkRecVol, "ERR_INI_09") ||
            !volume("TrunkPlayVol", 0, c.trunkPlayVol, "ERR_INI_10") ||
            !agc("UserRecAGC", c.userRecAgc, "ERR_INI_11") ||
            !volume("UserRecVol", 0, c.userRecVol, "ERR_INI_12") ||
            !volume("UserPlayVol", 0, c.userPlayVol, "ERR_INI_13"))
            return fail(result.message);
    }
    if (!egret) {
        for (int card = 1; card <= c.cardNo; ++card) {
            std::string key = format("addr%02d", card);
            uint32_t address = parseHex(file.readString("ADDRESS", key, ""), 0);
            if (address == 0)
                return fail(format("ERR_INI_04: Addr%02d=%X", card, address));
            c.address[static_cast<size_t>(card - 1)] = address;
        }
    }
    for (int card = 0; card < c.cardNo; ++card)
        c.newRecord[static_cast<size_t>(card)] =
            static_cast<uint16_t>(num("NewRecord", format("Card[%d]", card).c_str(), 0));
    c.fskMode = num("SYSTEM", "FskMode", 0);
    result.ok = true;
    return result;
}

} // namespace linecard
