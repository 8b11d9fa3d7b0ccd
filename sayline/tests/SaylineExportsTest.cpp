// The flat exports of libsayline.so as the program calls them.
#include "SoftCardSession.h"

#include "linecard/Linecard.h"
#include "sayline/Sayline.h"

#include <cstring>
#include <functional>

namespace {

class SaylineExports : public SoftCardSession {
protected:
    void TearDown() override {
        Sayline_Release();
        SoftCardSession::TearDown();
    }
};

// Before Sayline_Init (or after a failed one) there are no slots: every call
// answers at once and touches nothing.
struct UnstartedCall {
    const char* name;
    std::function<int32_t()> call;
    int32_t expected;
};

void PrintTo(const UnstartedCall& c, std::ostream* os) {
    *os << c.name;
}

class SaylineUnstarted : public SaylineExports,
                         public ::testing::WithParamInterface<UnstartedCall> {};

TEST_P(SaylineUnstarted, AnswersWithoutSlots) {
    installCard();
    ASSERT_EQ(LoadDRV(), 0);
    EXPECT_EQ(Sayline_Init(), -1) << "the card is not enabled yet";
    EXPECT_EQ(GetParam().call(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Calls, SaylineUnstarted,
    ::testing::Values(
        UnstartedCall{"Total", [] { return Sayline_GetTotalTTSChannel(); }, 0},
        UnstartedCall{"Exist", [] { return Sayline_GetExistTTSChannel(); }, 0},
        UnstartedCall{"Leave", [] { return Sayline_GetLeaveTTSChannel(); }, 0},
        UnstartedCall{"Add", [] { return Sayline_AddTTSToChannel(0); }, -6},
        UnstartedCall{"Del", [] { return Sayline_DelTTSFromChannel(0); }, -6},
        UnstartedCall{"DeleteInstance", [] { return Sayline_DeleteTTSChannel(0); }, -19},
        UnstartedCall{"Reset", [] { return Sayline_ResetTTSChannel(0); }, -6},
        UnstartedCall{"Trace", [] { return Sayline_EnableTraceTTS(0, 1); }, -6},
        UnstartedCall{"ThreadStep", [] { return GetThreadStep(0); }, -6},
        UnstartedCall{"StartPlay", [] { return Sayline_StartPlayText(0, "abc", 0, 0, 50, 50, 0); },
                      -6},
        UnstartedCall{"CheckPlay", [] { return Sayline_CheckPlayTextEnd(0); }, -6},
        UnstartedCall{"StopPlay", [] { return Sayline_StopPlayText(0); }, -6},
        UnstartedCall{"Convert",
                      [] { return Sayline_CvtTextToVocFile("abc", 0, "/tmp/x", 0, 50, 50, 0); },
                      -6},
        UnstartedCall{"CheckConversion", [] { return Sayline_CheckCvtEnd(0); }, -6},
        UnstartedCall{"StopConversion", [] { return Sayline_CvtStop(0); }, -6},
        UnstartedCall{"StartAudio",
                      [] { return Sayline_StartAudioPlayText("abc", 0, 0, 50, 50, 0); }, -4},
        UnstartedCall{"StopAudio", [] { return Sayline_StopAudioPlayText(); }, -4},
        UnstartedCall{"CheckAudio", [] { return Sayline_CheckAudioPlayText(); }, 3}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SaylineExports, StartBindReleaseAndStartAgain) {
    installCard();
    enableCard();
    ASSERT_EQ(Sayline_Init(), 8);
    EXPECT_EQ(Sayline_GetTotalTTSChannel(), 8);
    EXPECT_EQ(Sayline_GetExistTTSChannel(), 4);
    for (int32_t ch = 0; ch < 8; ++ch)
        ASSERT_EQ(Sayline_AddTTSToChannel(ch), 0) << ch;
    EXPECT_EQ(Sayline_GetLeaveTTSChannel(), 0);
    EXPECT_EQ(Sayline_AddTTSToChannel(8), -6);
    EXPECT_EQ(Sayline_CheckPlayTextEnd(7), 3);
    EXPECT_EQ(Sayline_DelTTSFromChannel(7), 0);
    EXPECT_EQ(Sayline_DelTTSFromChannel(7), -4);
    EXPECT_EQ(Sayline_Release(), 0);
    EXPECT_EQ(Sayline_AddTTSToChannel(0), -6);
    ASSERT_EQ(Sayline_Init(), 8);
    EXPECT_EQ(Sayline_GetLeaveTTSChannel(), 8);
}

TEST_F(SaylineExports, VersionText) {
    char buffer[SAYLINE_VERSION_BYTES];
    std::memset(buffer, 'x', sizeof(buffer));
    EXPECT_EQ(Sayline_GetTTSVersion(buffer), 1);
    EXPECT_STREQ(buffer, "Version : v1.0.0.1-100");
    EXPECT_EQ(Sayline_GetTTSVersion(nullptr), -8);
}

TEST_F(SaylineExports, DigitalChannelsAreNotAvailable) {
    installCard();
    enableCard();
    ASSERT_EQ(Sayline_Init(), 8);
    EXPECT_EQ(Sayline_E1_GetTotalTTSChannel(), 0);
    EXPECT_EQ(Sayline_E1_AddTTSToChannel(0), -1);
    EXPECT_EQ(Sayline_E1_DelTTSFromChannel(0), -1);
    EXPECT_EQ(Sayline_E1_ResetTTSChannel(0), -1);
    EXPECT_EQ(Sayline_E1_EnableTraceTTS(0, 1), -1);
    EXPECT_EQ(Sayline_E1_StartPlayText(0, "abc", 0, 0, 50, 50, 0), -1);
    EXPECT_EQ(Sayline_E1_CheckPlayTextEnd(0), -1);
    EXPECT_EQ(Sayline_E1_StopPlayText(0), -1);
}

} // namespace
