// The two ways a slot's mu-law output leaves the engine for the card: loaded
// into the slot's audio buffer, or copied to a .voc file.
#include "MulawToAlaw.h"
#include "PieceLoader.h"
#include "VocFileConverter.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <string>
#include <vector>

namespace sayline {
namespace {

namespace fs = std::filesystem;

class AudioFilesTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "sayline-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        dir = pattern;
    }
    void TearDown() override { fs::remove_all(dir); }

    // A mu-law file of `size` bytes running through every code.
    fs::path writeMulaw(const std::string& name, size_t size) {
        std::vector<char> bytes(size);
        for (size_t i = 0; i < size; ++i)
            bytes[i] = static_cast<char>((i * 7) & 0xFF);
        std::ofstream(dir / name, std::ios::binary).write(bytes.data(), static_cast<long>(size));
        return dir / name;
    }

    static std::vector<uint8_t> readAll(const fs::path& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    static void expectMappedCopy(const std::vector<uint8_t>& got, size_t size) {
        ASSERT_EQ(got.size(), size);
        for (size_t i = 0; i < size; ++i)
            ASSERT_EQ(got[i], MulawToAlaw::map(static_cast<uint8_t>((i * 7) & 0xFF))) << i;
    }

    fs::path dir;
};

TEST_F(AudioFilesTest, PieceIsLoadedAsAlaw) {
    const auto file = writeMulaw("piece.rau", 12345);
    std::vector<uint8_t> buffer(PieceLoader::kMaxPieceBytes);
    const size_t loaded = PieceLoader::load(file, buffer.data(), buffer.size());
    buffer.resize(loaded);
    expectMappedCopy(buffer, 12345);
}

TEST_F(AudioFilesTest, PieceLongerThanTheBufferIsCut) {
    const auto file = writeMulaw("long.rau", PieceLoader::kMaxPieceBytes + 1000);
    std::vector<uint8_t> buffer(PieceLoader::kMaxPieceBytes + 3, 0xEE);
    EXPECT_EQ(PieceLoader::load(file, buffer.data(), PieceLoader::kMaxPieceBytes),
              PieceLoader::kMaxPieceBytes);
    // Nothing is written past the buffer the slot handed over.
    EXPECT_EQ(buffer[PieceLoader::kMaxPieceBytes], 0xEE);
}

TEST_F(AudioFilesTest, MissingOrEmptyEngineOutputGivesAnEmptyPiece) {
    std::vector<uint8_t> buffer(16);
    EXPECT_EQ(PieceLoader::load(dir / "none.rau", buffer.data(), buffer.size()), 0u);
    EXPECT_EQ(PieceLoader::load(writeMulaw("empty.rau", 0), buffer.data(), buffer.size()), 0u);
    EXPECT_EQ(PieceLoader::load(writeMulaw("one.rau", 1), nullptr, 16), 0u);
}

TEST_F(AudioFilesTest, VocFileIsTheMappedCopyAcrossBlocks) {
    const size_t size = 2 * VocFileConverter::kBlockBytes + 17;
    const auto source = writeMulaw("speech.rau", size);
    ASSERT_TRUE(VocFileConverter::convert(source, dir / "speech.voc"));
    expectMappedCopy(readAll(dir / "speech.voc"), size);
}

TEST_F(AudioFilesTest, VocFileReplacesAnOlderOne) {
    writeMulaw("old.voc", 5000);
    ASSERT_TRUE(VocFileConverter::convert(writeMulaw("short.rau", 10), dir / "old.voc"));
    EXPECT_EQ(fs::file_size(dir / "old.voc"), 10u);
}

TEST_F(AudioFilesTest, VocConversionFailuresAreReportedAndLeaveNoTarget) {
    EXPECT_FALSE(VocFileConverter::convert(dir / "missing.rau", dir / "a.voc"));
    EXPECT_FALSE(fs::exists(dir / "a.voc"));
    EXPECT_FALSE(VocFileConverter::convert(writeMulaw("s.rau", 10), dir / "no" / "b.voc"));
    // A source that is a folder cannot be read: the half-made target goes.
    fs::create_directory(dir / "folder.rau");
    EXPECT_FALSE(VocFileConverter::convert(dir / "folder.rau", dir / "c.voc"));
    EXPECT_FALSE(fs::exists(dir / "c.voc"));
}

} // namespace
} // namespace sayline
