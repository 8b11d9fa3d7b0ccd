// Figures of the speech library on the software card, against the card's
// real-time clock: the engine's synthesis speed, the delay from a start to
// the first speech on the line, and eight channels speaking at once.
#include "../tests/GbkText.h"
#include "MulawToAlaw.h"
#include "RuntimeFolder.h"

#include "carddriver/CardDevices.h"
#include "carddriver/ClockService.h"
#include "carddriver/RealClock.h"
#include "carddriver/SoftCard.h"
#include "linecard/Linecard.h"
#include "sayline/Sayline.h"
#include "speechcore/Speechcore.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double cpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) * 1e-9;
}

double since(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

std::vector<uint8_t> readBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

bool isSound(uint8_t alaw) {
    return ((alaw ^ 0x55) & 0x70) != 0;
}

// Sixty characters each, all different.
const std::vector<std::string> kTexts = {
    "各位专家您好，这里是评标中心，请您于明天上午九点准时到达第三会议室参加项目评标，同意参加请按一"
    "，不能参加请按二，重听请按九",
    "尊敬的专家，您已被抽取为本次采购项目的评标专家，评标时间为本周五下午两点，地点在市政务中心，同"
    "意请按一，不同意请按二，谢谢",
    "您好，这是一次评标通知，项目名称为城市道路改造工程，评标地点在交易中心四楼，请您准时参加，同意"
    "请按一，不能参加请按二，重听按九",
    "专家您好，请于下周一上午八点半到公共资源交易中心参加医疗设备采购项目的评审工作，同意请按一，没"
    "有时间请按二，重新收听请按九",
    "您好，本次通知您参加学校食堂服务采购项目评标，时间为明天下午三点，地点为交易大厅二楼，同意参加"
    "请按一，不参加请按二，重听请按九",
    "尊敬的评审专家，您被抽中参加园林绿化工程的评标，评标定于后天上午十点开始，请带好身份证件，同意"
    "请按一，不同意请按二，重听按九",
    "您好，这里是采购办公室，请您参加办公家具采购项目评审，时间是本周四上午九点，地点在本中心三号评"
    "标室，同意按一，不同意按二谢谢",
    "专家您好，现通知您参加污水处理设备采购的评标工作，时间为下周三下午两点半，请提前十分钟到场签到"
    "，同意请按一，不能参加请按二吧"};

void synthesisSpeed() {
    SpeechcoreHandle engine = Speechcore_Create();
    if (engine == nullptr) {
        std::printf("synthesis: no engine instance\n");
        return;
    }
    const auto file = std::filesystem::temp_directory_path() / "sayline-bench.rau";
    std::string text;
    for (const auto& t : kTexts)
        text += gbk(t);
    Speechcore_SetVoiceParam(engine, 0, SPEECHCORE_VOICE_SPEED, 45);
    Speechcore_SetVoiceParam(engine, 0, SPEECHCORE_VOICE_VOLUME, 45);
    Speechcore_OutputToFile(engine, file.c_str());
    Speechcore_AddText(engine, text.c_str());
    const double cpu = cpuSeconds();
    const auto wall = Clock::now();
    Speechcore_Start(engine);
    while (Speechcore_IsBusy(engine) == 1)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    const double cpuUsed = cpuSeconds() - cpu, wallUsed = since(wall);
    const double speech = double(std::filesystem::file_size(file)) / 8000.0;
    std::printf("synthesis: %.1f s of speech in %.3f s CPU (%.3f s wall): %.0fx real time "
                "(target 200x)\n",
                speech, cpuUsed, wallUsed, speech / cpuUsed);
    Speechcore_Destroy(engine);
    std::filesystem::remove(file);
}

class CardSession {
public:
    CardSession() {
        char pattern[] = "/tmp/sayline-bench-XXXXXX";
        folder_ = mkdtemp(pattern);
        setenv("LINECARD_DIR", folder_.c_str(), 1);
        setenv("SAYLINE_DIR", folder_.c_str(), 1);
        std::ofstream(folder_ / "LINECARD-V.INI") << "[SYSTEM]\nCardNo=1\nCardType=50\n\n[HERON]\n";
        carddriver::ClockService::install(std::make_shared<carddriver::RealClock>());
        SetMessageBoxHook([](const char*, const char*, int32_t) {});
        card_ = std::make_shared<carddriver::SoftCard>(carddriver::SoftCardConfig{});
        carddriver::CardDevices::install(card_);
        card_->setPlayedAudioCapture(true);
        ok_ = LoadDRV() == 0 && EnableCard(8, 16384) == 0 && Sayline_Init() == 8;
        for (int ch = 0; ok_ && ch < 8; ++ch)
            ok_ = Sayline_AddTTSToChannel(ch) == 0;
    }
    ~CardSession() {
        Sayline_Release();
        DisableCard();
        FreeDRV();
        carddriver::CardDevices::install(nullptr);
        carddriver::ClockService::install(nullptr);
        std::filesystem::remove_all(folder_);
    }
    bool ok() const { return ok_; }
    carddriver::SoftCard& card() { return *card_; }
    const std::filesystem::path& folder() const { return folder_; }

private:
    std::filesystem::path folder_;
    std::shared_ptr<carddriver::SoftCard> card_;
    bool ok_ = false;
};

// A program's timer polls every 20 ms; the card plays in real time meanwhile.
void speakOnChannels(CardSession& session, int channels) {
    const auto count = static_cast<size_t>(channels);
    std::vector<Clock::time_point> started(count);
    std::vector<double> firstAudio(count, -1), finished(count, -1);
    std::vector<size_t> silentBefore(count);
    for (int ch = 0; ch < channels; ++ch) {
        silentBefore[size_t(ch)] = session.card().playedAudio(uint16_t(ch)).size();
        started[size_t(ch)] = Clock::now();
        Sayline_StartPlayText(ch, gbk(kTexts[size_t(ch)]).c_str(), 0, 0, 45, 45, 0);
    }
    const auto limit = Clock::now() + std::chrono::seconds(60);
    int done = 0;
    while (done < channels && Clock::now() < limit) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        session.card().catchUp();
        FeedSigFunc();
        for (int ch = 0; ch < channels; ++ch) {
            const size_t c = size_t(ch);
            if (finished[c] >= 0)
                continue;
            if (firstAudio[c] < 0) {
                const auto played = session.card().playedAudio(uint16_t(ch));
                if (std::any_of(played.begin() + long(silentBefore[c]), played.end(), isSound))
                    firstAudio[c] = since(started[c]);
            }
            if (Sayline_CheckPlayTextEnd(ch) == 3) {
                finished[c] = since(started[c]);
                ++done;
            }
        }
    }
    int whole = 0;
    double worstFirst = 0;
    for (int ch = 0; ch < channels; ++ch) {
        const size_t c = size_t(ch);
        // The piece as the card should have played it: the slot's engine
        // output mapped to A-law; a late refill would break the sequence.
        auto expected = readBytes(sayline::RuntimeFolder::mulawFile(session.folder(), ch));
        sayline::MulawToAlaw::mapInPlace(expected.data(), expected.size());
        const auto played = session.card().playedAudio(uint16_t(ch));
        const bool intact =
            !expected.empty() && std::search(played.begin(), played.end(), expected.begin(),
                                             expected.end()) != played.end();
        whole += intact ? 1 : 0;
        worstFirst = std::max(worstFirst, firstAudio[c]);
        if (channels == 1)
            std::printf("first audio: %.0f ms after Sayline_StartPlayText for a 60-character "
                        "sentence (%.1f s of speech, finished after %.1f s; target 300 ms)\n",
                        firstAudio[c] * 1000, double(expected.size()) / 8000, finished[c]);
    }
    if (channels > 1)
        std::printf("%d channels at once: %d of %d played their speech without a gap, the last "
                    "first audio after %.0f ms; %s\n",
                    channels, whole, channels, worstFirst * 1000,
                    whole == channels ? "real time held" : "UNDERRUN");
}

} // namespace

int main() {
    synthesisSpeed();
    CardSession session;
    if (!session.ok()) {
        std::printf("the software card or the speech library did not start\n");
        return 1;
    }
    speakOnChannels(session, 1);
    speakOnChannels(session, 8);
    return 0;
}
