// Prints how fast the engine turns text into card audio: the real-time
// factor of one instance, the time until a 60-character sentence is ready,
// and whether eight instances speaking at once keep up with real time.
#include "speechcore/Speechcore.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <iconv.h>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr double kCardRate = 8000.0;

const char* const kTexts[] = {
    "您好，这里是评标专家抽取系统，请于明天上午九点到市招标中心三楼第二评标室参加评标。",
    "本次评标项目为市政道路改造工程施工招标，请携带身份证和专家证准时到达。",
    "如能参加请按一，不能参加请按二，重听请按九，谢谢您的配合。",
    "评标地点在市政务服务中心，联系电话零一零六二三四五六七八。",
    "请您在听到提示音后按键确认，系统将记录您的答复。",
    "因项目时间调整，原定下午两点的评标改为下午三点三十分开始。",
    "感谢您对本次评标工作的支持，祝您工作顺利，再见。",
    "您已被抽取为本项目的技术类评审专家，请妥善安排时间。",
};

std::string toGbk(const std::string& utf8) {
    iconv_t cd = iconv_open("GBK", "UTF-8");
    std::string out(utf8.size() * 2 + 4, '\0');
    char* in = const_cast<char*>(utf8.data());
    size_t inLeft = utf8.size();
    char* at = out.data();
    size_t outLeft = out.size();
    iconv(cd, &in, &inLeft, &at, &outLeft);
    iconv_close(cd);
    out.resize(out.size() - outLeft);
    return out;
}

double cpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

double secondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// Speaks one text to a file and returns the seconds of speech written.
double speak(SpeechcoreHandle engine, const std::string& gbk, const fs::path& file) {
    Speechcore_OutputToFile(engine, file.c_str());
    Speechcore_AddText(engine, gbk.c_str());
    if (Speechcore_Start(engine) != SPEECHCORE_OK)
        return 0.0;
    while (Speechcore_IsBusy(engine) == 1)
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    return static_cast<double>(fs::file_size(file)) / kCardRate;
}

} // namespace

int main() {
    const fs::path dir =
        fs::temp_directory_path() / ("speechcore-bench-" + std::to_string(getpid()));
    fs::create_directories(dir);
    std::vector<std::string> texts;
    for (const char* t : kTexts)
        texts.push_back(toGbk(t));

    SpeechcoreHandle engine = Speechcore_Create();
    if (engine == nullptr) {
        std::fprintf(stderr, "no engine instance\n");
        return 1;
    }
    Speechcore_SetVoiceParam(engine, 0, SPEECHCORE_VOICE_SPEED, 45);
    Speechcore_SetVoiceParam(engine, 0, SPEECHCORE_VOICE_VOLUME, 45);
    speak(engine, texts[0], dir / "warm.rau"); // loads the voice and dictionary

    // 1. Real-time factor of one instance.
    double speech = 0.0;
    const double cpuStart = cpuSeconds();
    for (int round = 0; round < 5; ++round)
        for (const auto& t : texts)
            speech += speak(engine, t, dir / "rtf.rau");
    const double cpu = cpuSeconds() - cpuStart;
    std::printf("real-time factor: %.0fx (%.1f s of speech in %.3f s of CPU; target >= 200x)\n",
                speech / cpu, speech, cpu);

    // 2. Time until a sentence of 60 characters is ready for the card.
    std::string sixty;
    for (const char* t : {kTexts[0], kTexts[2]})
        sixty += t;
    const std::string sixtyGbk = toGbk(sixty).substr(0, 120); // 60 GBK characters
    std::vector<double> delays;
    for (int i = 0; i < 15; ++i) {
        const auto start = Clock::now();
        speak(engine, sixtyGbk, dir / "sixty.rau");
        delays.push_back(secondsSince(start) * 1000.0);
    }
    std::sort(delays.begin(), delays.end());
    std::printf("60-character sentence ready after: median %.1f ms, worst %.1f ms "
                "(%.1f s of speech)\n",
                delays[delays.size() / 2], delays.back(),
                static_cast<double>(fs::file_size(dir / "sixty.rau")) / kCardRate);
    Speechcore_Destroy(engine);

    // 3. Eight instances, each speaking all texts from a different starting
    // point at once: each must produce its speech faster than it plays.
    constexpr int kChannels = 8;
    std::vector<double> speechPerChannel(kChannels), wallPerChannel(kChannels);
    std::vector<std::thread> channels;
    const auto allStart = Clock::now();
    for (int c = 0; c < kChannels; ++c)
        channels.emplace_back([&, c] {
            SpeechcoreHandle e = Speechcore_Create();
            Speechcore_SetVoiceParam(e, 0, SPEECHCORE_VOICE_SPEED, 45);
            const auto start = Clock::now();
            for (size_t i = 0; i < texts.size(); ++i)
                speechPerChannel[c] += speak(e, texts[(i + c) % texts.size()],
                                             dir / ("ch" + std::to_string(c) + ".rau"));
            wallPerChannel[c] = secondsSince(start);
            Speechcore_Destroy(e);
        });
    for (auto& t : channels)
        t.join();
    const double allWall = secondsSince(allStart);
    double worstMargin = 1e9;
    for (int c = 0; c < kChannels; ++c)
        worstMargin = std::min(worstMargin, speechPerChannel[c] / wallPerChannel[c]);
    std::printf("%d channels at once: %.1f s of speech each, all done in %.3f s; slowest channel "
                "%.0fx faster than real time -> %s\n",
                kChannels, speechPerChannel[0], allWall, worstMargin,
                worstMargin > 1.0 ? "in real time, no underrun" : "UNDERRUN");

    fs::remove_all(dir);
    return 0;
}
