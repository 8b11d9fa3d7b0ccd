#include "CardLoader.h"

#include "CardConfigReader.h"
#include "DspDownloader.h"
#include "carddriver/ApplicationHome.h"
#include "carddriver/CardDevices.h"
#include "carddriver/ClockService.h"
#include "carddriver/ProfileFile.h"

#include <cstdio>
#include <cstring>

namespace linecard {
namespace {

constexpr const char* kConfigName = "LINECARD-V.INI";
constexpr int kDownloadFailed = -4;

template <typename... Args> std::string format(const char* pattern, Args... args) {
    char text[160];
    std::snprintf(text, sizeof text, pattern, args...);
    return text;
}

void put16(std::array<uint8_t, kSysInfoBytes>& info, size_t at, uint32_t value) {
    uint16_t v = static_cast<uint16_t>(value);
    std::memcpy(info.data() + at, &v, 2);
}

// The device name of a card family; this system is always of the NT family.
std::string deviceNameOf(int cardType) {
    switch (cardType) {
    case 30:
        return "\\\\.\\LcHERON";
    case 31:
        return "\\\\.\\LcHERONN";
    case 50:
        return "\\\\.\\LcEGRET";
    default:
        return "\\\\.\\LINECARD-V";
    }
}

} // namespace

std::string CardLoader::configPath() {
    return carddriver::ApplicationHome::join(carddriver::CardDevices::configFolder(kConfigName),
                                             kConfigName);
}

void CardLoader::closeDevice() {
    if (state_.device)
        carddriver::CardDevices::close(state_.device);
    state_.device.reset();
}

void CardLoader::fillSysInfo() {
    const CardConfig& c = state_.config;
    auto& info = state_.sysInfo;
    info.fill(0);
    bool egret = c.cardType == 50;
    put16(info, sysinfo::CardCount, static_cast<uint32_t>(c.cardNo));
    put16(info, sysinfo::CardType, static_cast<uint32_t>(c.cardType));
    put16(info, sysinfo::Connection, static_cast<uint32_t>(egret ? c.machineNo : c.connect));
    put16(info, sysinfo::Irq, static_cast<uint32_t>(egret ? 0 : c.irq));
    std::memcpy(info.data() + sysinfo::InstallDir, c.installDir.c_str(),
                std::min<size_t>(c.installDir.size(), sysinfo::InstallDirBytes - 1));
    for (size_t card = 0; card < 16; ++card) {
        put16(info, sysinfo::PortAddress + 2 * card, c.address[card]);
        put16(info, sysinfo::ExtraRecording + 2 * card, c.newRecord[card]);
    }
    put16(info, sysinfo::ConnectionCopy, static_cast<uint32_t>(egret ? c.machineNo : c.connect));
}

int CardLoader::load() {
    if (state_.loaded)
        free();
    if (!state_.enabled)
        state_.channels.fill(ChannelState{});
    state_.configPath = configPath();
    CardConfigReader::Result read = CardConfigReader::read(state_.configPath);
    state_.config = read.config;
    if (!read.ok) {
        state_.message(read.message, kConfigName, 1);
        state_.message("Load driver FAIL", "Message", 0);
        return -2;
    }
    state_.waveFormat = state_.config.waveFormat;
    state_.device = carddriver::CardDevices::open(deviceNameOf(state_.config.cardType));
    if (!state_.device)
        return LC_NO_DEVICE;
    fillSysInfo();
    if (int result = checkCards(); result != 0) {
        closeDevice();
        return result;
    }

    DriverRequest version{requestCode(fn::InterfaceVersion), 0, 0, 0, 0, 0};
    state_.request(version, state_.sysInfo.data(), kSysInfoBytes);
    state_.newerInterface = version.Value != 0;
    carddriver::ProfileFile(state_.configPath)
        .writeString("SYSTEM", "LcEgretVer", state_.newerInterface ? "1" : "0");
    state_.extendedTypes.fill(0);
    if (state_.config.isDspType()) {
        state_.dspChannels = version.Channel;
        if (state_.dspChannels > 128 || state_.config.cardType == 50) {
            DriverRequest types{requestCode(fn::ExtendedChannelTypes), 0, 0, 0, 0, 0};
            state_.request(types, state_.extendedTypes.data(), 512);
        }
    }
    state_.loaded = true;
    return 0;
}

int CardLoader::free() {
    state_.loaded = false;
    int result = state_.device ? 1 : 0;
    closeDevice();
    return result;
}

int CardLoader::checkCards() {
    const CardConfig& c = state_.config;
    if (c.cardType == 50) {
        DriverRequest count{requestCode(fn::CountCards), 0, 0, kCardCountMarker, 0, 0};
        uint16_t found = 0;
        state_.request(count, &found, sizeof found);
        if (count.Value < c.cardNo)
            return -5;
        uint32_t variants[17] = {c.enableExtra ? 1u : 0u};
        for (size_t card = 0; card < 16; ++card)
            variants[card + 1] = c.extraCard[card];
        DriverRequest pass{requestCode(fn::ProgramVariants), 0, 0, 0, 0, 0};
        state_.request(pass, variants, sizeof variants);
    }
    DriverRequest init{requestCode(fn::Initialise),          0, static_cast<uint16_t>(c.memAddr),
                       static_cast<uint32_t>(c.enhanceConf), 0, 0};
    state_.request(init, state_.sysInfo.data(), kSysInfoBytes);

    for (int card = 0; card < c.cardNo; ++card) {
        DriverRequest check{requestCode(fn::CheckCard), static_cast<uint16_t>(card), 0, 0, 0, 0};
        if (!state_.request(check))
            check.Value = 3;
        int r = check.Value;
        if (r == 0)
            continue;
        std::string text;
        if (r == 1)
            text = format("ERR_CHK_01: CardNo=%02d, MapError", card + 1);
        else if (r == 2)
            text = format("ERR_CHK_02: CardNo=%02d, Address=%X", card + 1,
                          c.address[static_cast<size_t>(card)]);
        else if (r == 3)
            text = format("ERR_CHK_03: CardNo=%02d, CardType Invalid", card + 1);
        else
            text = format("ERR_CHK_04: CardNo=%02d, r = %d, CardType Invalid", card + 1, r);
        state_.message(text, "CHECK LINECARD-V");
        return -r;
    }

    int downloaded = 0;
    if (c.cardType == 30)
        downloaded = downloadHeron();
    else if (c.cardType == 31)
        downloaded = downloadHeronn();
    else if (c.cardType == 50)
        downloaded = downloadEgret();
    if (downloaded != 0)
        return downloaded;

    DriverRequest irq{requestCode(fn::CheckIrq), 0, 0, 0, 0, 0};
    state_.request(irq);
    if (irq.Value != 0) {
        state_.message(format("ERR_CHK_04: IRQ=%d Error", c.irq), "CHECK LINECARD-V");
        return -4;
    }
    if (c.cardType == 50)
        return 0;
    DriverRequest connection{requestCode(fn::CheckConnection), 0, 0, 0, 0, 0};
    state_.request(connection);
    if (connection.Value != 0) {
        state_.message(
            format("ERR_CHK_05: CardNo=%d, Connect=%d Error", connection.Value, c.connect),
            "CHECK LINECARD-V");
        return -5;
    }
    return 0;
}

int CardLoader::downloadHeron() {
    const CardConfig& c = state_.config;
    DspDownloader loader(state_);
    for (int card = 0; card < c.cardNo; ++card)
        state_.request(fn::PortByte,
                       static_cast<uint16_t>(c.address[static_cast<size_t>(card)] + 2), 0);
    for (int card = 0; card < c.cardNo; ++card)
        if (loader.download("HERON.DLD", 0, static_cast<uint16_t>(card), 0) != 0)
            return kDownloadFailed;
    loader.start();
    carddriver::ClockService::waitMillis(200);
    return 0;
}

int CardLoader::downloadHeronn() {
    const CardConfig& c = state_.config;
    DspDownloader loader(state_);
    for (int card = 0; card < c.cardNo; ++card) {
        uint16_t port = static_cast<uint16_t>(c.address[static_cast<size_t>(card)]);
        state_.request(fn::PortByte, port, 1, 0);
        carddriver::ClockService::waitMillis(10);
        state_.request(fn::PortByte, static_cast<uint16_t>(port + 1), 1, 12);
        carddriver::ClockService::waitMillis(10);
        state_.request(fn::PortByte, static_cast<uint16_t>(port + 1), 1, 0);
        carddriver::ClockService::waitMillis(10);
    }
    for (int card = 0; card < c.cardNo; ++card) {
        if (c.newRecord[static_cast<size_t>(card)] == 1)
            continue;
        for (uint32_t memory = 0; memory < 2; ++memory)
            if (loader.download("HERONN.DLD", static_cast<int>(memory), static_cast<uint16_t>(card),
                                memory) != 0)
                return kDownloadFailed;
    }
    loader.start();
    carddriver::ClockService::waitMillis(200);
    return 0;
}

// The section for memory 2 of one card; `loadNothing` when none applies.
int CardLoader::egretMemory2Section(uint16_t card, bool& loadNothing) {
    const CardConfig& c = state_.config;
    loadNothing = false;
    auto conferenceBuffer = [&](uint16_t target) {
        DriverRequest buffer{requestCode(fn::CardInformation),       target, 12, 2, 105,
                             static_cast<uint32_t>(c.enhanceConfBuf)};
        state_.request(buffer);
    };
    auto byFsk = [&]() {
        if (c.variant103)
            return 3;
        switch (c.enableFsk) {
        case 1:
            return 2;
        case 2:
            return 4;
        case 3:
            return 7;
        default:
            return 5;
        }
    };
    if (!c.enableExtra) {
        if (c.enhanceConf != 0) {
            conferenceBuffer(card);
            return 6;
        }
        if (c.enableFsk == 0)
            return c.variant103 ? 3 : 5;
        if (c.enableFsk >= 1 && c.enableFsk <= 3)
            return byFsk();
        loadNothing = true;
        return 0;
    }
    switch (c.extraCard[card]) {
    case 1:
        return byFsk();
    case 2:
        if (c.enhanceConf != 0) {
            conferenceBuffer(card);
            return 6;
        }
        return 5;
    case 3:
        return 8;
    default:
        return 5;
    }
}

int CardLoader::downloadEgret() {
    const CardConfig& c = state_.config;
    DspDownloader loader(state_);
    if (c.anyNewRecord()) {
        for (int card = 0; card < c.cardNo; ++card)
            if (c.newRecord[static_cast<size_t>(card)] == 1 &&
                loader.download("DUZOraru.DLD", 0, static_cast<uint16_t>(card), 0, 65536) != 0)
                return -6;
    }
    for (int card = 0; card < c.cardNo; ++card) {
        uint16_t target = static_cast<uint16_t>(card);
        if (c.newRecord[static_cast<size_t>(card)] != 1)
            for (uint32_t memory = 0; memory < 2; ++memory)
                if (loader.download("HERONN.DLD", static_cast<int>(memory), target, memory) != 0)
                    return kDownloadFailed;
    }
    // The conference-buffer request goes to every card before any memory-2 download.
    std::vector<int> sections(static_cast<size_t>(c.cardNo));
    std::vector<bool> nothing(static_cast<size_t>(c.cardNo));
    for (int card = 0; card < c.cardNo; ++card) {
        bool none = false;
        sections[static_cast<size_t>(card)] =
            egretMemory2Section(static_cast<uint16_t>(card), none);
        nothing[static_cast<size_t>(card)] = none;
    }
    for (int card = 0; card < c.cardNo; ++card) {
        uint16_t target = static_cast<uint16_t>(card);
        if (!nothing[static_cast<size_t>(card)] &&
            loader.download("HERONN.DLD", sections[static_cast<size_t>(card)], target, 2) != 0)
            return kDownloadFailed;
        if (loader.download("HERONN.DLD", 5, target, 3) != 0)
            return kDownloadFailed;
    }
    int started = loader.start();
    if (started != 0) {
        state_.message(format("ERR_CHK_DSP: retval = -0x%02x", started), "CHECK EGRET");
        return -started;
    }
    carddriver::ClockService::waitMillis(200);
    return 0;
}

} // namespace linecard
