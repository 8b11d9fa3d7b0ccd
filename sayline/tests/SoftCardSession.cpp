#include "SoftCardSession.h"

#include "carddriver/CardDevices.h"
#include "carddriver/ClockService.h"
#include "linecard/Linecard.h"

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <thread>

void SoftCardSession::SetUp() {
    char pattern[] = "/tmp/sayline-test-XXXXXX";
    folder_ = mkdtemp(pattern);
    setenv("LINECARD_DIR", folder_.c_str(), 1);
    setenv("SAYLINE_DIR", folder_.c_str(), 1);
    clock_ = std::make_shared<carddriver::VirtualClock>();
    carddriver::ClockService::install(clock_);
    SetMessageBoxHook([](const char*, const char*, int32_t) {});
    std::ofstream(folder_ / "LINECARD-V.INI") << "[SYSTEM]\nCardNo=1\nCardType=50\n\n[HERON]\n\n";
}

void SoftCardSession::TearDown() {
    DisableCard();
    FreeDRV();
    carddriver::CardDevices::install(nullptr);
    carddriver::ClockService::install(nullptr);
    SetMessageBoxHook(nullptr);
    unsetenv("LINECARD_DIR");
    unsetenv("SAYLINE_DIR");
    std::filesystem::remove_all(folder_);
}

carddriver::SoftCard& SoftCardSession::installCard(const carddriver::SoftCardConfig& config) {
    card_ = std::make_shared<carddriver::SoftCard>(config);
    carddriver::CardDevices::install(card_);
    return *card_;
}

void SoftCardSession::enableCard(int channels, int bufferBytes) {
    ASSERT_EQ(LoadDRV(), 0);
    ASSERT_EQ(EnableCard(channels, bufferBytes), 0);
}

void SoftCardSession::advance(int64_t millis) {
    for (int64_t done = 0; done < millis; done += 20) {
        clock_->advanceMillis(20);
        PUSH_PLAY();
        FeedSigFunc();
        card_->catchUp();
    }
}

int32_t SoftCardSession::pollUntilDone(const std::function<int32_t()>& check) {
    // The worker synthesises in real time on its own thread; the limit only
    // keeps a broken library from hanging the suite.
    const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    int32_t result = check();
    while (result == 4 && std::chrono::steady_clock::now() < limit) {
        advance(20);
        // Gives the worker the processor between two polls; line time stays
        // virtual, so the outcome does not depend on how long this takes.
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
        result = check();
    }
    return result;
}
