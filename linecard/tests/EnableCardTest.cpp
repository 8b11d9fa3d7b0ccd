#include "CardEnabler.h"
#include "LibraryState.h"
#include "LinecardFixture.h"

using carddriver::SoftCardConfig;
using linecard::CardEnabler;
using linecard::LibraryState;

namespace {

struct BufferCase {
    int requested;
    uint32_t buffer;
};

class BufferRounding : public ::testing::TestWithParam<BufferCase> {};

TEST_P(BufferRounding, RoundsUpTo4096AndCapsAt61440) {
    EXPECT_EQ(CardEnabler::roundBuffer(GetParam().requested), GetParam().buffer);
}

INSTANTIATE_TEST_SUITE_P(Sizes, BufferRounding,
                         ::testing::Values(BufferCase{51200, 53248}, BufferCase{61440, 61440},
                                           BufferCase{61441, 61440}, BufferCase{65535, 61440},
                                           BufferCase{0, 4096}, BufferCase{1, 4096},
                                           BufferCase{4096, 4096}, BufferCase{4097, 8192}));

TEST(GainFactor, FollowsTwentiethPowersOfTen) {
    EXPECT_EQ(CardEnabler::gainFactor(-20), 204u);
    EXPECT_EQ(CardEnabler::gainFactor(0), 2048u);
    EXPECT_EQ(CardEnabler::gainFactor(20), 20480u);
    EXPECT_EQ(CardEnabler::gainFactor(4), 3245u);
}

class EnableCardTest : public LinecardFixture {};

TEST_F(EnableCardTest, RefusedBeforeLoading) {
    installCard();
    EXPECT_EQ(EnableCard(8, 8192), -1);
}

TEST_F(EnableCardTest, HalfOfTheRoundedBufferGoesToTheDriver) {
    installCard();
    writeEgretIni();
    ASSERT_EQ(LoadDRV(), 0);
    ASSERT_EQ(EnableCard(300, 51200), 0);
    LibraryState& state = LibraryState::instance();
    EXPECT_EQ(state.half, 26624u);
    EXPECT_EQ(state.servedChannels, 256);
    EXPECT_EQ(card_->halfBytes(), 26624);
    int16_t enabled = 0;
    ForTTS_GetVar(&enabled, nullptr);
    EXPECT_EQ(enabled, 1);
    DisableCard();
    ForTTS_GetVar(&enabled, nullptr);
    EXPECT_EQ(enabled, 0);
}

TEST_F(EnableCardTest, QueueModeUsesTheFixedHalf) {
    installCard();
    writeEgretIni("RecordAndPlayMode=1\n");
    ASSERT_EQ(LoadDRV(), 0);
    ASSERT_EQ(EnableCard(8, 51200), 0);
    EXPECT_EQ(LibraryState::instance().half, 16384u);
    EXPECT_EQ(card_->halfBytes(), 16384);
}

TEST_F(EnableCardTest, GainsAndModesFollowTheChannelKind) {
    SoftCardConfig config;
    config.channelTypes = {1, 0};
    installCard(config);
    writeEgretIni("", "TrunkRecVol=-20\nTrunkPlayVol=20\nUserRecVol=0\nUserPlayVol=4\n");
    ASSERT_EQ(LoadDRV(), 0);
    card_->clearRequests();
    ASSERT_EQ(EnableCard(2, 8192), 0);
    std::vector<std::tuple<uint16_t, uint16_t, uint32_t>> gains;
    bool trunkHungUp = false, userPowered = false;
    for (const auto& r : card_->requests()) {
        uint32_t function = linecard::requestFunction(r.Code);
        if (function == linecard::fn::Gain)
            gains.emplace_back(r.Channel, r.Value, r.Param1);
        if (function == linecard::fn::Hook && r.Channel == 0 && r.Value == 1)
            trunkHungUp = true;
        if (function == linecard::fn::Hook && r.Channel == 1 && r.Value == 0)
            userPowered = true;
    }
    using Gains = std::vector<std::tuple<uint16_t, uint16_t, uint32_t>>;
    EXPECT_EQ(gains, (Gains{{0, 0, 204}, {0, 1, 20480}, {1, 0, 2048}, {1, 1, 3245}}));
    EXPECT_TRUE(trunkHungUp);
    EXPECT_TRUE(userPowered);
}

TEST_F(EnableCardTest, PackRateCutsTheHalfToAMultipleOf252) {
    installCard();
    writeEgretIni("", "WaveFormat=4\n");
    ASSERT_EQ(LoadDRV(), 0);
    ASSERT_EQ(EnableCard(8, 8192), 0);
    LibraryState& state = LibraryState::instance();
    EXPECT_EQ(state.half, 4032u);
    EXPECT_EQ(state.waveFormat, 0);
}

class SerialNumber : public LinecardFixture {};

TEST_F(SerialNumber, RegisterLevelCardIsReadBitByBitFromItsSerialMemory) {
    SoftCardConfig config;
    config.cardType = 12;
    config.cardCount = 2;
    config.channelTypes.assign(16, 1);
    config.serialNumbers = {709826, 123456};
    installCard(config);
    writeIni("[SYSTEM]\nCardNo=2\nCardType=12\nIRQ=5\n[ADDRESS]\naddr01=300\naddr02=2A0\n");
    ASSERT_EQ(LoadDRV(), 0);
    EXPECT_EQ(CheckValidCh(), 16);
    EXPECT_EQ(NewReadPass(0), 709826);
    EXPECT_EQ(NewReadPass(1), 123456);
    EXPECT_EQ(NewReadPass(2), -1);
    EXPECT_EQ(NewReadPass(-1), LC_BAD_ARGUMENT);
}

TEST_F(SerialNumber, DspCardAsksTheDriver) {
    SoftCardConfig config;
    config.serialNumbers = {654321};
    installCard(config);
    writeEgretIni();
    ASSERT_EQ(LoadDRV(), 0);
    EXPECT_EQ(NewReadPass(0), 654321);
}

TEST_F(SerialNumber, CallerIdSupportByFamily) {
    SoftCardConfig config;
    config.cardType = 13;
    installCard(config);
    writeIni("[SYSTEM]\nCardNo=1\nCardType=13\nIRQ=5\n[ADDRESS]\naddr01=300\n");
    ASSERT_EQ(LoadDRV(), 0);
    EXPECT_EQ(IsSupportCallerID(), 0);
}

TEST_F(SerialNumber, SystemInformationCarriesTheConfigurationAndTheDriverTypes) {
    SoftCardConfig config;
    config.cardType = 12;
    config.channelTypes = {1, 0, 1, 0, 1, 0, 1, 0};
    installCard(config);
    writeIni("[SYSTEM]\nCardNo=1\nCardType=12\nIRQ=5\nConnect=2\nInstallDir=/opt/x/\n"
             "[ADDRESS]\naddr01=2A0\n");
    ASSERT_EQ(LoadDRV(), 0);
    EXPECT_EQ(IsSupportCallerID(), 1);
    uint8_t info[1140];
    GetSysInfo(info);
    auto u16 = [&](size_t at) { return static_cast<uint16_t>(info[at] | (info[at + 1] << 8)); };
    EXPECT_EQ(u16(0), 1);
    EXPECT_EQ(u16(2), 12);
    EXPECT_EQ(u16(4), 2);
    EXPECT_EQ(u16(6), 5);
    EXPECT_STREQ(reinterpret_cast<char*>(info + 8), "/opt/x/");
    EXPECT_EQ(u16(78), 0x2A0);
    EXPECT_EQ(u16(114 + 2), 0);
    EXPECT_EQ(u16(114 + 4), 1);
    EXPECT_EQ(u16(1138), 2);
}

} // namespace
