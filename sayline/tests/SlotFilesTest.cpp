// The files a slot keeps: where they live, the spill of long texts, and the
// shared trace file.
#include "RuntimeFolder.h"
#include "TextSpill.h"
#include "TraceFile.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <string>
#include <sys/stat.h>
#include <thread>
#include <vector>

namespace sayline {
namespace {

namespace fs = std::filesystem;

class SlotFilesTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "sayline-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        dir = pattern;
    }
    void TearDown() override {
        ::unsetenv("SAYLINE_DIR");
        fs::remove_all(dir);
    }

    static std::string readAll(const fs::path& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    fs::path dir;
};

TEST_F(SlotFilesTest, NamedRuntimeFolderIsCreatedAndUsed) {
    ::setenv("SAYLINE_DIR", (dir / "run" / "tts").c_str(), 1);
    EXPECT_EQ(RuntimeFolder::resolve(), dir / "run" / "tts");
    EXPECT_TRUE(fs::is_directory(dir / "run" / "tts"));
    EXPECT_EQ(RuntimeFolder::mulawFile(dir, 3), dir / "LcTTSChannel3_uLawFile.rau");
    EXPECT_EQ(RuntimeFolder::spillFile(dir, 12), dir / "LcTTSChannel12_Buf.TXT");
}

TEST_F(SlotFilesTest, RuntimeFolderThatCannotBeMadeIsEmpty) {
    std::ofstream(dir / "plain-file") << "x";
    ::setenv("SAYLINE_DIR", (dir / "plain-file" / "tts").c_str(), 1);
    EXPECT_TRUE(RuntimeFolder::resolve().empty());
}

TEST_F(SlotFilesTest, DefaultRuntimeFolderIsPrivateUnderTemp) {
    ::setenv("TMPDIR", dir.c_str(), 1);
    const fs::path folder = RuntimeFolder::resolve();
    ::unsetenv("TMPDIR");
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder.parent_path(), dir);
    struct stat info {};
    ASSERT_EQ(::stat(folder.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 077, 0u);
}

TEST_F(SlotFilesTest, FourHundredBytesStayInMemoryAndOneMoreSpills) {
    EXPECT_FALSE(TextSpill::isLong(std::string(400, 'a')));
    EXPECT_TRUE(TextSpill::isLong(std::string(401, 'a')));
}

TEST_F(SlotFilesTest, SpilledTextReadsBackWholeAndReplacesTheOldSpill) {
    const fs::path spill = RuntimeFolder::spillFile(dir, 0);
    ASSERT_TRUE(TextSpill::write(spill, std::string(5000, 'x')));
    const std::string text = "\xC4\xFA\xBA\xC3\xA3\xAC" + std::string(401, 'a');
    ASSERT_TRUE(TextSpill::write(spill, text));
    EXPECT_EQ(TextSpill::read(spill), text);
}

TEST_F(SlotFilesTest, SpillThatCannotBeWrittenIsReported) {
    EXPECT_FALSE(TextSpill::write(dir / "missing" / "spill.TXT", "text"));
}

TEST_F(SlotFilesTest, TextFileIsReadUpToTheSlotsSize) {
    std::ofstream(dir / "big.txt") << std::string(TextSpill::kTextLimit + 10, 'b');
    EXPECT_EQ(TextSpill::read(dir / "big.txt").size(), TextSpill::kTextLimit);
    EXPECT_TRUE(TextSpill::read(dir / "none.txt").empty());
    EXPECT_EQ(TextSpill::keep(std::string(TextSpill::kTextLimit + 1, 'c')).size(),
              TextSpill::kTextLimit);
}

TEST_F(SlotFilesTest, TraceLinesInTheSystemCodePageOnlyOnAChangeOfStep) {
    TraceFile trace;
    ASSERT_TRUE(trace.open(dir / "TTSTrace.txt"));
    TraceFile::Source worker, api;
    trace.workerLine(worker, 3, 700, "线程，CO_NONE_TEXT，挂起线程");
    trace.workerLine(worker, 3, 700, "线程，CO_NONE_TEXT，挂起线程");
    trace.apiLine(api, 3, 110, "StartPlay，缓存放音");
    trace.workerLine(worker, 3, 701, "线程，CO_NONE_TEXT，线程被启动");
    trace.close();
    EXPECT_EQ(readAll(dir / "TTSTrace.txt"),
              "Thread Ch=3, Step=700 , Msg=\xCF\xDF\xB3\xCC\xA3\xAC"
              "CO_NONE_TEXT\xA3\xAC\xB9\xD2\xC6\xF0\xCF\xDF\xB3\xCC\n"
              "Upper Ch=3, Upper Step=110   Msg=StartPlay\xA3\xAC\xBB\xBA\xB4\xE6\xB7\xC5\xD2\xF4\n"
              "Thread Ch=3, Step=701 , Msg=\xCF\xDF\xB3\xCC\xA3\xAC"
              "CO_NONE_TEXT\xA3\xAC\xCF\xDF\xB3\xCC\xB1\xBB\xC6\xF4\xB6\xAF\n");
}

TEST_F(SlotFilesTest, SecondSlotTurningTraceOnKeepsTheFirstSlotsLines) {
    TraceFile trace;
    TraceFile::Source first, second;
    ASSERT_TRUE(trace.open(dir / "TTSTrace.txt"));
    trace.workerLine(first, 0, 210, "a");
    ASSERT_TRUE(trace.open(dir / "TTSTrace.txt"));
    trace.workerLine(second, 1, 210, "b");
    trace.close();
    EXPECT_EQ(readAll(dir / "TTSTrace.txt"),
              "Thread Ch=0, Step=210 , Msg=a\nThread Ch=1, Step=210 , Msg=b\n");
}

TEST_F(SlotFilesTest, ClosedTraceWritesNothingAndUncreatableTraceIsReported) {
    TraceFile trace;
    TraceFile::Source source;
    trace.workerLine(source, 0, 1, "dropped");
    EXPECT_FALSE(trace.isOpen());
    EXPECT_FALSE(trace.open(dir / "missing" / "TTSTrace.txt"));
    EXPECT_FALSE(trace.isOpen());
}

TEST_F(SlotFilesTest, WorkersTracingAtOnceWriteWholeLines) {
    TraceFile trace;
    ASSERT_TRUE(trace.open(dir / "TTSTrace.txt"));
    std::vector<std::thread> workers;
    for (int ch = 0; ch < 4; ++ch)
        workers.emplace_back([&trace, ch] {
            TraceFile::Source source;
            for (int step = 0; step < 200; ++step)
                trace.workerLine(source, ch, step, "message");
        });
    for (auto& w : workers)
        w.join();
    trace.close();
    std::ifstream in(dir / "TTSTrace.txt");
    int lines = 0;
    for (std::string line; std::getline(in, line); ++lines)
        ASSERT_EQ(line.rfind("Thread Ch=", 0), 0u) << line;
    EXPECT_EQ(lines, 800);
}

} // namespace
} // namespace sayline
