#pragma once
#include "carddriver/CardDevices.h"
#include "carddriver/ClockService.h"
#include "carddriver/SoftCard.h"
#include "carddriver/VirtualClock.h"
#include "linecard/Linecard.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

// A card library session against a fresh software card, a virtual clock and
// a private LINECARD-V.INI; the library's messages are collected instead of shown.
class LinecardFixture : public ::testing::Test {
protected:
    struct Message {
        std::string text;
        std::string caption;
    };

    void SetUp() override;
    void TearDown() override;

    // Writes LINECARD-V.INI in the private folder.
    void writeIni(const std::string& text);
    // The default type-50 configuration with `extra` lines appended to [SYSTEM].
    void writeEgretIni(const std::string& systemLines = "", const std::string& heronLines = "");
    carddriver::SoftCard& installCard(const carddriver::SoftCardConfig& config);
    carddriver::SoftCard& installCard() { return installCard(carddriver::SoftCardConfig{}); }
    // LoadDRV and EnableCard with the given buffer; fails the test on error.
    void loadAndEnable(int channels = 8, int bufferBytes = 8192);
    // Advances the clock in steps, pumping the card library as an application does.
    void runFor(int64_t millis, int64_t stepMillis = 20);
    std::string readIniFile() const;

    static std::vector<Message>& messages();

    std::string folder_;
    std::shared_ptr<carddriver::VirtualClock> clock_;
    std::shared_ptr<carddriver::SoftCard> card_;
};
