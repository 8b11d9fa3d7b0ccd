#include "LinecardFixture.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

std::vector<LinecardFixture::Message>& LinecardFixture::messages() {
    static std::vector<Message> list;
    return list;
}

void LinecardFixture::SetUp() {
    char pattern[] = "/tmp/linecard-test-XXXXXX";
    folder_ = mkdtemp(pattern);
    setenv("LINECARD_DIR", folder_.c_str(), 1);
    clock_ = std::make_shared<carddriver::VirtualClock>();
    carddriver::ClockService::install(clock_);
    messages().clear();
    SetMessageBoxHook([](const char* text, const char* caption, int32_t) {
        messages().push_back({text, caption});
    });
}

void LinecardFixture::TearDown() {
    DisableCard();
    FreeDRV();
    carddriver::CardDevices::install(nullptr);
    carddriver::ClockService::install(nullptr);
    SetMessageBoxHook(nullptr);
    unsetenv("LINECARD_DIR");
    std::filesystem::remove_all(folder_);
}

void LinecardFixture::writeIni(const std::string& text) {
    std::ofstream(folder_ + "/LINECARD-V.INI") << text;
}

void LinecardFixture::writeEgretIni(const std::string& systemLines, const std::string& heronLines) {
    writeIni("[SYSTEM]\nCardNo=1\nCardType=50\n" + systemLines + "\n[HERON]\n" + heronLines + "\n");
}

carddriver::SoftCard& LinecardFixture::installCard(const carddriver::SoftCardConfig& config) {
    card_ = std::make_shared<carddriver::SoftCard>(config);
    carddriver::CardDevices::install(card_);
    return *card_;
}

void LinecardFixture::loadAndEnable(int channels, int bufferBytes) {
    ASSERT_EQ(LoadDRV(), 0);
    ASSERT_EQ(EnableCard(channels, bufferBytes), 0);
}

void LinecardFixture::runFor(int64_t millis, int64_t stepMillis) {
    for (int64_t done = 0; done < millis; done += stepMillis) {
        clock_->advanceMillis(stepMillis);
        PUSH_PLAY();
        FeedSigFunc();
        if (card_)
            card_->catchUp();
    }
}

std::string LinecardFixture::readIniFile() const {
    std::ifstream in(folder_ + "/LINECARD-V.INI");
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}
