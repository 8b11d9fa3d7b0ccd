#include "CardConfigReader.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <functional>
#include <unistd.h>

using linecard::CardConfig;
using linecard::CardConfigReader;

namespace {

CardConfigReader::Result readText(const std::string& text) {
    // Each test process has its own file: ctest runs them side by side.
    std::string path = ::testing::TempDir() + "/config-reader-" + std::to_string(getpid()) + ".ini";
    std::ofstream(path) << text;
    auto result = CardConfigReader::read(path);
    std::remove(path.c_str());
    return result;
}

const std::string kEgret = "[SYSTEM]\nCardNo=1\nCardType=50\n";
const std::string kRegister = "[SYSTEM]\nCardNo=1\nCardType=12\nIRQ=5\n[ADDRESS]\naddr01=300\n";
const std::string kHeron =
    "[SYSTEM]\nCardNo=1\nCardType=30\nIRQ=5\n[ADDRESS]\naddr01=300\n[SYSTEM]\n";

struct RefusedCase {
    const char* name;
    std::string ini;
    const char* message;
};

class ConfigRefused : public ::testing::TestWithParam<RefusedCase> {};

TEST_P(ConfigRefused, StopsLoadingWithItsMessage) {
    auto result = readText(GetParam().ini);
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.message, GetParam().message);
}

INSTANTIATE_TEST_SUITE_P(
    RangeRules, ConfigRefused,
    ::testing::Values(
        RefusedCase{"CardNoZero", "[SYSTEM]\nCardNo=0\nCardType=50\n", "ERR_INI_01: CardNo=0"},
        RefusedCase{"CardNo17", "[SYSTEM]\nCardNo=17\nCardType=50\n", "ERR_INI_01: CardNo=17"},
        RefusedCase{"CardNoMissing", "[SYSTEM]\nCardType=50\n", "ERR_INI_01: CardNo=0"},
        RefusedCase{"CardType9", "[SYSTEM]\nCardNo=1\nCardType=9\n", "ERR_INI_02: CardType=9"},
        RefusedCase{"MachineNo16", kEgret + "MachineNo=16\n", "ERR_INI_03: MachineNO=16"},
        RefusedCase{"FskWithConference", kEgret + "EnableFSK=1\nEnhanceConf=1\n",
                    "ERR_INI_03: EnableFSK & EnhanceConf can not work same time!"},
        RefusedCase{"Variant103WithConference", kEgret + "EnableFSK=103\nEnhanceConf=2\n",
                    "ERR_INI_03: EnableFSK & EnhanceConf can not work same time!"},
        RefusedCase{"Irq2", "[SYSTEM]\nCardNo=1\nCardType=12\nIRQ=2\n", "ERR_INI_03: IRQ=2"},
        RefusedCase{"Irq8", "[SYSTEM]\nCardNo=1\nCardType=12\nIRQ=8\n", "ERR_INI_03: IRQ=8"},
        RefusedCase{"MemAddrC800", kHeron + "MemAddr=C800\n", "ERR_INI_05: MemAddr=C800"},
        RefusedCase{"MemAddrMissing", kHeron, "ERR_INI_05: MemAddr=0"},
        RefusedCase{"CheckRingMode2", kEgret + "[HERON]\nCheckRingMode=2\n",
                    "ERR_INI_06: ChecRingMode=2 (should 0~1)"},
        RefusedCase{"DtmfMode3", kEgret + "[HERON]\nDtmfMode=3\n",
                    "ERR_INI_07: DtmfMode=3 (should 0~2)"},
        RefusedCase{"TrunkRecAgc2", kEgret + "[HERON]\nTrunkRecAGC=2\n",
                    "ERR_INI_08: TrunkRecAGC=2 (should 0~1)"},
        RefusedCase{"TrunkRecVol21", kEgret + "[HERON]\nTrunkRecVol=21\n",
                    "ERR_INI_09: TrunkRecVol=21 (should -20~+20)"},
        RefusedCase{"TrunkPlayVolMinus21", kEgret + "[HERON]\nTrunkPlayVol=-21\n",
                    "ERR_INI_10: TrunkPlayVol=-21 (should -20~+20)"},
        RefusedCase{"UserRecAgcMinus1", kEgret + "[HERON]\nUserRecAGC=-1\n",
                    "ERR_INI_11: UserRecAGC=-1 (should 0~1)"},
        RefusedCase{"UserRecVol30", kEgret + "[HERON]\nUserRecVol=30\n",
                    "ERR_INI_12: UserRecVol=30 (should -20~+20)"},
        RefusedCase{"UserPlayVol25", kEgret + "[HERON]\nUserPlayVol=25\n",
                    "ERR_INI_13: UserPlayVol=25 (should -20~+20)"},
        RefusedCase{"SecondAddressMissing",
                    "[SYSTEM]\nCardNo=2\nCardType=12\nIRQ=5\n[ADDRESS]\naddr01=300\n",
                    "ERR_INI_04: Addr02=0"},
        RefusedCase{"AddressNotHex",
                    "[SYSTEM]\nCardNo=1\nCardType=12\nIRQ=5\n[ADDRESS]\naddr01=xyz\n",
                    "ERR_INI_04: Addr01=0"}),
    [](const auto& info) { return std::string(info.param.name); });

struct AcceptedCase {
    const char* name;
    std::string ini;
    std::function<void(const CardConfig&)> check;
};

class ConfigAccepted : public ::testing::TestWithParam<AcceptedCase> {};

TEST_P(ConfigAccepted, CorrectsOrKeepsTheValue) {
    auto result = readText(GetParam().ini);
    ASSERT_TRUE(result.ok) << result.message;
    GetParam().check(result.config);
}

INSTANTIATE_TEST_SUITE_P(
    Corrections, ConfigAccepted,
    ::testing::Values(
        AcceptedCase{"FlashDefault", kEgret, [](auto& c) { EXPECT_EQ(c.flash, 80); }},
        AcceptedCase{"Flash1500Becomes100", kEgret + "Flash=1500\n",
                     [](auto& c) { EXPECT_EQ(c.flash, 100); }},
        AcceptedCase{"MemAddrLowerCaseFolded", kHeron + "MemAddr=d800\n",
                     [](auto& c) { EXPECT_EQ(c.memAddr, 0xD800u); }},
        AcceptedCase{"Variant103CountsAsNoFsk", kEgret + "EnableFSK=103\n",
                     [](auto& c) {
                         EXPECT_TRUE(c.variant103);
                         EXPECT_EQ(c.enableFsk, 0);
                     }},
        AcceptedCase{"FskSeizureAndBufferClamped",
                     kEgret + "EnableFSK=1\n[FSK]\nRecvSeizure=5\nRecvBuffer=100\n",
                     [](auto& c) {
                         EXPECT_EQ(c.recvSeizure, 1);
                         EXPECT_EQ(c.recvBuffer, 256);
                     }},
        AcceptedCase{"FskSeizureAndBufferCapped",
                     kEgret + "EnableFSK=2\n[FSK]\nRecvSeizure=900\nRecvBuffer=9000\n",
                     [](auto& c) {
                         EXPECT_EQ(c.recvSeizure, 30);
                         EXPECT_EQ(c.recvBuffer, 8192);
                     }},
        AcceptedCase{"ConferenceValuesOutOfRange",
                     kEgret + "EnhanceConf=3\nEnhanceConfBuf=105\nEnhanceConfDtmf=7\n",
                     [](auto& c) {
                         EXPECT_EQ(c.enhanceConf, 0);
                         EXPECT_EQ(c.enhanceConfBuf, 0);
                         EXPECT_EQ(c.enhanceConfDtmf, 1);
                     }},
        AcceptedCase{"BusyLenOutsideRange", kEgret + "EnhanceConf=1\nEnhanceBusyLen=5\n",
                     [](auto& c) { EXPECT_EQ(c.enhanceBusyLen, 30); }},
        AcceptedCase{"ExtraCardsOnlyWithEnableExtra",
                     kEgret + "[ExtraTable]\nEnableExtra=2\nCard[0]=3\n",
                     [](auto& c) {
                         EXPECT_FALSE(c.enableExtra);
                         EXPECT_EQ(c.extraCard[0], 0u);
                     }},
        AcceptedCase{"ExtraCardOutOfRangeIsZero",
                     kEgret + "[ExtraTable]\nEnableExtra=1\nCard[0]=4\n",
                     [](auto& c) {
                         EXPECT_TRUE(c.enableExtra);
                         EXPECT_EQ(c.extraCard[0], 0u);
                     }},
        AcceptedCase{"WaveFormat5IsZero", kEgret + "[HERON]\nWaveFormat=5\n",
                     [](auto& c) { EXPECT_EQ(c.waveFormat, 0); }},
        AcceptedCase{"WaveFormatOnlyForEgret", kRegister + "[HERON]\nWaveFormat=2\n",
                     [](auto& c) { EXPECT_EQ(c.waveFormat, 0); }},
        AcceptedCase{"VolumesIgnoredOnRegisterCards", kRegister + "[HERON]\nTrunkRecVol=99\n",
                     [](auto& c) { EXPECT_EQ(c.trunkRecVol, 4); }},
        AcceptedCase{"InstallDirCutTo69", kEgret + "InstallDir=" + std::string(80, 'x') + "\n",
                     [](auto& c) { EXPECT_EQ(c.installDir.size(), 69u); }},
        AcceptedCase{"NumberThatDoesNotParseIsZero", kEgret + "MachineNo=abc\n",
                     [](auto& c) { EXPECT_EQ(c.machineNo, 0); }},
        AcceptedCase{"KeysMatchWithoutCase", "[system]\ncardno=2\ncardtype=50\n",
                     [](auto& c) { EXPECT_EQ(c.cardNo, 2); }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(HexKey, FoldsLowerCaseAndStopsAtTheFirstNonDigit) {
    EXPECT_EQ(CardConfigReader::parseHex("d800", 0), 0xD800u);
    EXPECT_EQ(CardConfigReader::parseHex("2A0h", 0), 0x2A0u);
    EXPECT_EQ(CardConfigReader::parseHex("", 7), 7u);
    EXPECT_EQ(CardConfigReader::parseHex("g1", 7), 0u);
}

} // namespace
