// The library keeps no state between calls, so conversions on several
// threads at once must not disturb each other.
#include "faxform/Faxform.h"
#include "support/BfxFile.h"
#include "support/TiffBuilder.h"

#include <gtest/gtest.h>
#include <thread>

namespace faxform::test {
namespace {

TEST(ConcurrentConversionTest, ThreadsConvertTheirOwnFilesAsOneThreadWould) {
    TempDirectory directory;
    constexpr int kThreads = 4;
    std::vector<std::string> sources;
    for (int i = 0; i < kThreads; ++i) {
        const auto lines = static_cast<std::uint32_t>(3 + i);
        sources.push_back(directory.path("source" + std::to_string(i) + ".tif"));
        writeFile(sources.back(), buildTiff({{uncompressedFaxTags(lines), uncompressedStrip(lines)},
                                             {uncompressedFaxTags(2), uncompressedStrip(2)}},
                                            i % 2 == 1)
                                      .bytes);
    }
    std::vector<std::vector<std::uint8_t>> alone;
    for (int i = 0; i < kThreads; ++i) {
        const std::string bfx = directory.path("alone" + std::to_string(i) + ".bfx");
        ASSERT_EQ(lcFax_TiffToBfx(sources[static_cast<std::size_t>(i)].c_str(), bfx.c_str()), 0);
        alone.push_back(readFile(bfx));
    }

    std::vector<int> results(kThreads * 2, -100);
    std::vector<std::thread> threads;
    for (int i = 0; i < kThreads; ++i) {
        threads.emplace_back([&, i] {
            const std::string name = std::to_string(i);
            for (int round = 0; round < 5; ++round) {
                const std::string bfx = directory.path("together" + name + ".bfx");
                const std::string tiff = directory.path("together" + name + ".tif");
                results[static_cast<std::size_t>(2 * i)] =
                    lcFax_TiffToBfx(sources[static_cast<std::size_t>(i)].c_str(), bfx.c_str());
                results[static_cast<std::size_t>(2 * i + 1)] =
                    lcFax_BfxToTiff(bfx.c_str(), tiff.c_str());
            }
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    for (int i = 0; i < kThreads; ++i) {
        EXPECT_EQ(results[static_cast<std::size_t>(2 * i)], 0);
        EXPECT_EQ(results[static_cast<std::size_t>(2 * i + 1)], 0);
        EXPECT_EQ(readFile(directory.path("together" + std::to_string(i) + ".bfx")),
                  alone[static_cast<std::size_t>(i)]);
    }
}

} // namespace
} // namespace faxform::test
