#include "DspProgramFile.h"
#include "LinecardFixture.h"

#include <fstream>

using carddriver::SoftCardConfig;

namespace {

class LoadDrv : public LinecardFixture {};

TEST_F(LoadDrv, ConfigurationErrorShowsItsMessageThenLoadFail) {
    installCard();
    writeIni("[SYSTEM]\nCardNo=17\nCardType=50\n");
    EXPECT_EQ(LoadDRV(), -2);
    ASSERT_EQ(messages().size(), 2u);
    EXPECT_EQ(messages()[0].text, "ERR_INI_01: CardNo=17");
    EXPECT_EQ(messages()[0].caption, "LINECARD-V.INI");
    EXPECT_EQ(messages()[1].text, "Load driver FAIL");
    EXPECT_EQ(messages()[1].caption, "Message");
    EXPECT_FALSE(card_->isOpen());
}

TEST_F(LoadDrv, DisablePopBoxSilencesMessagesButKeepsTheCode) {
    installCard();
    writeIni("[SYSTEM]\nDisablePopBox=1\nCardNo=1\nCardType=9\n");
    EXPECT_EQ(LoadDRV(), -2);
    EXPECT_TRUE(messages().empty());
}

TEST_F(LoadDrv, DefaultEgretLoadsWritesVersionAndReadsExtendedTypes) {
    SoftCardConfig config;
    config.channelTypes = {1, 1, 0, 0, 2, 3, 1, 1};
    installCard(config);
    writeEgretIni();
    ASSERT_EQ(LoadDRV(), 0);
    EXPECT_TRUE(card_->isOpen());
    EXPECT_TRUE(card_->dspStarted());
    EXPECT_NE(readIniFile().find("LcEgretVer=1"), std::string::npos);
    EXPECT_EQ(CheckValidCh(), 8);
    EXPECT_EQ(CheckChTypeNew(2), 0);
    EXPECT_EQ(CheckChType(5), 3);
    EXPECT_TRUE(messages().empty());
}

TEST_F(LoadDrv, OlderInterfaceWritesVersionZero) {
    SoftCardConfig config;
    config.newerInterface = false;
    installCard(config);
    writeEgretIni();
    ASSERT_EQ(LoadDRV(), 0);
    EXPECT_NE(readIniFile().find("LcEgretVer=0"), std::string::npos);
}

TEST_F(LoadDrv, NoDeviceForTheConfiguredFamily) {
    installCard(); // a type-50 card
    writeIni("[SYSTEM]\nCardNo=1\nCardType=31\nIRQ=5\n[ADDRESS]\naddr01=300\n");
    EXPECT_EQ(LoadDRV(), LC_NO_DEVICE);
    EXPECT_EQ(EnableCard(8, 8192), -1);
}

TEST_F(LoadDrv, EgretWithFewerCardsThanConfiguredFailsWithoutMessage) {
    SoftCardConfig config;
    config.cardsFound = 1;
    config.cardCount = 2;
    installCard(config);
    writeIni("[SYSTEM]\nCardNo=2\nCardType=50\n");
    EXPECT_EQ(LoadDRV(), -5);
    EXPECT_TRUE(messages().empty());
    EXPECT_FALSE(card_->isOpen());
}

struct CardCheckCase {
    uint16_t answer;
    const char* message;
};

class CardCheck : public LoadDrv, public ::testing::WithParamInterface<CardCheckCase> {};

TEST_P(CardCheck, FailingCardShowsItsMessageAndReturnsMinusTheAnswer) {
    SoftCardConfig config;
    config.cardType = 12;
    config.cardCount = 2;
    config.channelTypes.assign(16, 1);
    config.cardCheckResults = {0, GetParam().answer};
    installCard(config);
    writeIni("[SYSTEM]\nCardNo=2\nCardType=12\nIRQ=5\n[ADDRESS]\naddr01=300\naddr02=2A0\n");
    EXPECT_EQ(LoadDRV(), -GetParam().answer);
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_EQ(messages()[0].text, GetParam().message);
    EXPECT_EQ(messages()[0].caption, "CHECK LINECARD-V");
    EXPECT_FALSE(card_->isOpen());
}

INSTANTIATE_TEST_SUITE_P(
    Answers, CardCheck,
    ::testing::Values(CardCheckCase{1, "ERR_CHK_01: CardNo=02, MapError"},
                      CardCheckCase{2, "ERR_CHK_02: CardNo=02, Address=2A0"},
                      CardCheckCase{3, "ERR_CHK_03: CardNo=02, CardType Invalid"},
                      CardCheckCase{7, "ERR_CHK_04: CardNo=02, r = 7, CardType Invalid"}));

TEST_F(LoadDrv, InterruptLineFault) {
    SoftCardConfig config;
    config.cardType = 12;
    config.irqCheckResult = 1;
    installCard(config);
    writeIni("[SYSTEM]\nCardNo=1\nCardType=12\nIRQ=5\n[ADDRESS]\naddr01=300\n");
    EXPECT_EQ(LoadDRV(), -4);
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_EQ(messages()[0].text, "ERR_CHK_04: IRQ=5 Error");
}

TEST_F(LoadDrv, ConnectionFaultNamesTheCard) {
    SoftCardConfig config;
    config.cardType = 12;
    config.connectionCheckResult = 1;
    installCard(config);
    writeIni("[SYSTEM]\nCardNo=1\nCardType=12\nIRQ=5\nConnect=3\n[ADDRESS]\naddr01=300\n");
    EXPECT_EQ(LoadDRV(), -5);
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_EQ(messages()[0].text, "ERR_CHK_05: CardNo=1, Connect=3 Error");
}

TEST_F(LoadDrv, DspStartErrorIsShownAndReturned) {
    SoftCardConfig config;
    config.dspStartResult = 3;
    installCard(config);
    writeEgretIni();
    EXPECT_EQ(LoadDRV(), -3);
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_EQ(messages()[0].text, "ERR_CHK_DSP: retval = -0x03");
    EXPECT_EQ(messages()[0].caption, "CHECK EGRET");
}

// DSP program files written into the test folder, which InstallDir names.
class DspDownload : public LoadDrv {
protected:
    void writeProgram(const std::string& name, const std::vector<std::vector<uint8_t>>& sections) {
        auto bytes = linecard::DspProgramFile::build(sections);
        std::ofstream(folder_ + "/" + name, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
    }
    std::string installDir() const { return "InstallDir=" + folder_ + "/\n"; }
    // The chunks that went to one memory, as (offset, length).
    std::vector<std::pair<uint32_t, uint32_t>> chunksOf(uint32_t memory) const {
        std::vector<std::pair<uint32_t, uint32_t>> list;
        for (const auto& chunk : card_->dspChunks())
            if (chunk.memory == memory)
                list.emplace_back(chunk.offset, chunk.length);
        return list;
    }
    static std::vector<std::vector<uint8_t>> sectionsOfSizes(std::vector<size_t> sizes) {
        std::vector<std::vector<uint8_t>> sections;
        for (size_t size : sizes)
            sections.emplace_back(size, static_cast<uint8_t>(sections.size()));
        return sections;
    }
};

TEST_F(DspDownload, SectionsGoInChunksOf2048WithRunningOffsets) {
    installCard();
    writeProgram("HERONN.DLD", sectionsOfSizes({5000, 10, 20, 30, 40, 131072, 60, 70, 80}));
    writeEgretIni(installDir());
    ASSERT_EQ(LoadDRV(), 0);
    using Chunks = std::vector<std::pair<uint32_t, uint32_t>>;
    EXPECT_EQ(chunksOf(0), (Chunks{{0, 2048}, {2048, 2048}, {4096, 904}}));
    EXPECT_EQ(chunksOf(1), (Chunks{{0, 10}}));
    EXPECT_EQ(chunksOf(2).size(), 16u) << "memory 2 gets section 5 without caller ID";
    // Section 5 of exactly 131072 bytes is sent as 32768.
    auto memory3 = chunksOf(3);
    ASSERT_EQ(memory3.size(), 16u);
    EXPECT_EQ(memory3.back(), (std::pair<uint32_t, uint32_t>{30720, 2048}));
}

TEST_F(DspDownload, SmallHeronSectionIsOffsetBy0x4000) {
    SoftCardConfig config;
    config.cardType = 30;
    installCard(config);
    writeProgram("HERON.DLD", sectionsOfSizes({3000}));
    writeIni("[SYSTEM]\nCardNo=1\nCardType=30\nIRQ=5\nMemAddr=d800\n" + installDir() +
             "[ADDRESS]\naddr01=300\n");
    ASSERT_EQ(LoadDRV(), 0);
    using Chunks = std::vector<std::pair<uint32_t, uint32_t>>;
    EXPECT_EQ(chunksOf(0), (Chunks{{0x4000, 2048}, {0x4000 + 2048, 952}}));
}

struct Memory2Case {
    const char* name;
    std::string systemLines;
    int section; // -1: nothing
};

class Memory2Section : public DspDownload, public ::testing::WithParamInterface<Memory2Case> {};

TEST_P(Memory2Section, ChosenByCallerIdAndConference) {
    installCard();
    // Section i has length 100 + i, so the chunk length names the section.
    std::vector<std::vector<uint8_t>> sections;
    for (size_t i = 0; i < 9; ++i)
        sections.emplace_back(100 + i, 0);
    writeProgram("HERONN.DLD", sections);
    writeEgretIni(installDir() + GetParam().systemLines);
    ASSERT_EQ(LoadDRV(), 0);
    auto memory2 = chunksOf(2);
    if (GetParam().section < 0) {
        EXPECT_TRUE(memory2.empty());
    } else {
        ASSERT_EQ(memory2.size(), 1u);
        EXPECT_EQ(memory2[0].second, 100u + GetParam().section);
    }
}

INSTANTIATE_TEST_SUITE_P(Variants, Memory2Section,
                         ::testing::Values(Memory2Case{"Plain", "", 5},
                                           Memory2Case{"Fsk1", "EnableFSK=1\n", 2},
                                           Memory2Case{"Fsk2", "EnableFSK=2\n", 4},
                                           Memory2Case{"Fsk3", "EnableFSK=3\n", 7},
                                           Memory2Case{"Variant103", "EnableFSK=103\n", 3},
                                           Memory2Case{"OtherFskLoadsNothing", "EnableFSK=9\n", -1},
                                           Memory2Case{"Conference", "EnhanceConf=1\n", 6}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(DspDownload, ConferenceBufferRequestPrecedesSection6) {
    installCard();
    writeProgram("HERONN.DLD", sectionsOfSizes({10, 10, 10, 10, 10, 10, 10, 10, 10}));
    writeEgretIni(installDir() + "EnhanceConf=1\nEnhanceConfBuf=40\n");
    ASSERT_EQ(LoadDRV(), 0);
    bool sawBuffer = false;
    for (const auto& request : card_->requests()) {
        uint32_t function = linecard::requestFunction(request.Code);
        if (function == linecard::fn::CardInformation && request.Value == 12) {
            EXPECT_EQ(request.Param1, 2u);
            EXPECT_EQ(request.Param2, 105u);
            EXPECT_EQ(request.Data, 40u);
            sawBuffer = true;
        }
        if (function == linecard::fn::DspDownload && request.Param2 == 2) {
            EXPECT_TRUE(sawBuffer);
        }
    }
    EXPECT_TRUE(sawBuffer);
}

TEST_F(DspDownload, MissingProgramFileFailsWithMinus4) {
    installCard();
    writeEgretIni(installDir());
    EXPECT_EQ(LoadDRV(), -4);
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_EQ(messages()[0].text, "ERR_LOAD_DSP_FILE: [" + folder_ + "/HERONN.DLD]");
    EXPECT_EQ(messages()[0].caption, "CHECK DSP CARD");
    EXPECT_FALSE(card_->isOpen());
}

TEST_F(DspDownload, BadHeaderFailsWithMinus4) {
    installCard();
    std::ofstream(folder_ + "/HERONN.DLD") << std::string(200, 'x');
    writeEgretIni(installDir());
    EXPECT_EQ(LoadDRV(), -4);
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_EQ(messages()[0].text, "Down Load file [" + folder_ + "/HERONN.DLD] have BAD format");
}

TEST_F(DspDownload, SectionTableBeyondTheFileIsABadProgram) {
    installCard();
    auto bytes = linecard::DspProgramFile::build(sectionsOfSizes({10, 10}));
    bytes.resize(bytes.size() - 5); // section 1 now runs past the end
    std::ofstream(folder_ + "/HERONN.DLD", std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    writeEgretIni(installDir());
    EXPECT_EQ(LoadDRV(), -4);
}

TEST_F(DspDownload, ExtraRecordingProgramFailureIsMinus6) {
    installCard();
    writeProgram("HERONN.DLD", sectionsOfSizes({10, 10, 10, 10, 10, 10, 10, 10, 10}));
    writeIni("[SYSTEM]\nCardNo=1\nCardType=50\n" + installDir() + "[NewRecord]\nCard[0]=1\n");
    EXPECT_EQ(LoadDRV(), -6);
}

TEST_F(DspDownload, ShippedProgramFilesLoadFromTheApplicationHome) {
    installCard();
    writeEgretIni(); // empty InstallDir: the files beside the program
    EXPECT_EQ(LoadDRV(), 0);
    EXPECT_FALSE(card_->dspChunks().empty());
}

} // namespace
