// Any bytes as coded lines of each coding. Whatever decodes must survive MH
// re-encoding unchanged, which is what every conversion relies on.
#include "codec/FaxDecoder.h"
#include "codec/FaxPage.h"
#include "codec/MhEncoder.h"
#include "codec/PageRaster.h"

#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

constexpr std::size_t kMaxLines = 64;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace faxform;
    if (size < 1) {
        return 0;
    }
    const auto coding = static_cast<FaxCoding>(data[0] % 4);
    std::vector<std::uint8_t> coded(data + 1, data + size);
    coded.resize(coded.size() + kReadPadding, 0);

    std::vector<std::uint8_t> raster(kMaxLines * kLineBytes);
    PageRaster page(raster.data(), kMaxLines);
    if (page.appendCoded(coding, coded.data(), size - 1, kMaxLines) != DecodeStatus::Ok ||
        page.lines() == 0) {
        return 0;
    }

    std::vector<std::uint8_t> reencoded(kMaxLines * 2000);
    const auto length =
        MhEncoder::encodePage(raster.data(), page.lines(), reencoded.data(), reencoded.size());
    if (!length) {
        std::abort();
    }
    // The card's data is LSB first; the decoder reads MSB first.
    for (std::size_t i = 0; i < *length; ++i) {
        std::uint8_t reversed = 0;
        for (int bit = 0; bit < 8; ++bit) {
            reversed |= static_cast<std::uint8_t>(((reencoded[i] >> bit) & 1) << (7 - bit));
        }
        reencoded[i] = reversed;
    }
    std::memset(reencoded.data() + *length, 0, kReadPadding);
    std::vector<std::uint8_t> again(kMaxLines * kLineBytes);
    PageRaster second(again.data(), kMaxLines);
    if (second.appendCoded(FaxCoding::ModifiedHuffman, reencoded.data(), *length, kMaxLines + 1) !=
            DecodeStatus::Ok ||
        second.lines() != page.lines() ||
        std::memcmp(raster.data(), again.data(), page.lines() * kLineBytes) != 0) {
        std::abort();
    }
    return 0;
}
