#include "TiffBuilder.h"

#include "FaxTestPage.h"

namespace faxform::test {
namespace {

class ByteWriter {
public:
    explicit ByteWriter(bool bigEndian) : bigEndian_(bigEndian) {}

    void put16(std::vector<std::uint8_t>& out, std::uint32_t value) const {
        const auto v = static_cast<std::uint16_t>(value);
        if (bigEndian_) {
            out.push_back(static_cast<std::uint8_t>(v >> 8));
            out.push_back(static_cast<std::uint8_t>(v));
        } else {
            out.push_back(static_cast<std::uint8_t>(v));
            out.push_back(static_cast<std::uint8_t>(v >> 8));
        }
    }
    void put32(std::vector<std::uint8_t>& out, std::uint32_t value) const {
        if (bigEndian_) {
            put16(out, value >> 16);
            put16(out, value);
        } else {
            put16(out, value);
            put16(out, value >> 16);
        }
    }
    void set32(std::vector<std::uint8_t>& out, std::size_t at, std::uint32_t value) const {
        std::vector<std::uint8_t> bytes;
        put32(bytes, value);
        std::copy(bytes.begin(), bytes.end(), out.begin() + static_cast<long>(at));
    }

private:
    bool bigEndian_;
};

std::size_t typeSize(std::uint16_t type) {
    switch (type) {
    case 1:
        return 1;
    case 3:
        return 2;
    case 5:
        return 8;
    default:
        return 4;
    }
}

std::vector<std::uint8_t> encodeValues(const ByteWriter& writer, const TagValue& value) {
    std::vector<std::uint8_t> out;
    for (const std::uint32_t v : value.values) {
        if (value.type == 1) {
            out.push_back(static_cast<std::uint8_t>(v));
        } else if (value.type == 3) {
            writer.put16(out, v);
        } else {
            writer.put32(out, v);
        }
    }
    return out;
}

} // namespace

TiffTags uncompressedFaxTags(std::uint32_t lines) {
    return {
        {256, {3, {1728}}},        {257, {3, {lines}}},  {258, {3, {1}}},      {259, {3, {1}}},
        {262, {3, {0}}},           {273, {4, {}}},       {277, {3, {1}}},      {278, {3, {lines}}},
        {279, {4, {lines * 216}}}, {282, {5, {200, 1}}}, {283, {5, {196, 1}}}, {296, {3, {2}}},
    };
}

std::vector<std::uint8_t> uncompressedStrip(std::uint32_t lines) {
    std::vector<std::uint8_t> strip;
    for (std::uint32_t line = 0; line < lines; ++line) {
        strip.insert(strip.end(), kRowBytes, line % 2 ? 0x00 : 0xF0);
    }
    return strip;
}

BuiltTiff buildTiff(const std::vector<TiffPageSpec>& pages, bool bigEndian) {
    const ByteWriter writer(bigEndian);
    BuiltTiff built;
    std::vector<std::uint8_t>& out = built.bytes;
    out = bigEndian ? std::vector<std::uint8_t>{'M', 'M'} : std::vector<std::uint8_t>{'I', 'I'};
    writer.put16(out, 42);
    writer.put32(out, 0);
    std::size_t linkField = 4;
    for (const TiffPageSpec& page : pages) {
        const auto stripOffset = static_cast<std::uint32_t>(out.size());
        out.insert(out.end(), page.strip.begin(), page.strip.end());
        std::vector<std::uint8_t> entries;
        for (auto [tag, value] : page.tags) {
            if (tag == 273 && value.values.empty()) {
                value.values = {stripOffset};
            }
            const std::size_t count =
                value.type == 5 ? value.values.size() / 2 : value.values.size();
            std::vector<std::uint8_t> encoded = encodeValues(writer, value);
            writer.put16(entries, tag);
            writer.put16(entries, value.type);
            writer.put32(entries, static_cast<std::uint32_t>(count));
            if (count * typeSize(value.type) <= 4) {
                encoded.resize(4, 0);
                entries.insert(entries.end(), encoded.begin(), encoded.end());
            } else {
                if (out.size() % 2) {
                    out.push_back(0);
                }
                writer.put32(entries, static_cast<std::uint32_t>(out.size()));
                out.insert(out.end(), encoded.begin(), encoded.end());
            }
        }
        if (out.size() % 2) {
            out.push_back(0);
        }
        const auto directory = static_cast<std::uint32_t>(out.size());
        built.directoryOffsets.push_back(directory);
        writer.set32(out, linkField, directory);
        writer.put16(out, static_cast<std::uint32_t>(page.tags.size()));
        out.insert(out.end(), entries.begin(), entries.end());
        linkField = out.size();
        writer.put32(out, 0);
    }
    return built;
}

} // namespace faxform::test
