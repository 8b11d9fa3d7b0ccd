#pragma once

#include "BitReader.h"
#include "FaxCodeTables.h"
#include "FaxPage.h"

#include <array>
#include <cstddef>
#include <cstdint>

namespace faxform {

enum class FaxCoding {
    ModifiedHuffman,      // T.4 one-dimensional, each line introduced by an EOL
    ModifiedHuffmanRle,   // TIFF Compression 2: MH without EOLs, lines byte-aligned
    ModifiedRead,         // T.4 two-dimensional, EOL plus a tag bit before each line
    ModifiedModifiedRead, // T.6, no EOLs
};

enum class LineResult { Line, EndOfPage, Corrupt };

// Decodes one stream of coded lines (a BFX page or one TIFF strip), most
// significant bit first, line by line. The data must be followed by
// kReadPadding zero bytes. A page ends at the return-to-control (or T.6 end
// of block) sequence or where only fill bits are left.
class FaxDecoder {
public:
    FaxDecoder(FaxCoding coding, const std::uint8_t* data, std::size_t size);
    FaxDecoder(const FaxDecoder&) = delete;
    FaxDecoder& operator=(const FaxDecoder&) = delete;

    // Decodes the next line into `line` (kLineBytes bytes).
    LineResult nextLine(std::uint8_t* line);

private:
    enum class Sync { OneDimensional, TwoDimensional, EndOfPage, Corrupt };

    Sync syncToLine();
    bool decodeOneDimensional();
    bool decodeTwoDimensional();
    bool readRun(bool black, int start, int& run);
    void addChange(int position);
    void finishLine(std::uint8_t* line);

    FaxCoding coding_;
    BitReader reader_;
    const RunTableEntry* whiteRuns_ = whiteRunTable();
    const RunTableEntry* blackRuns_ = blackRunTable();
    const ModeTableEntry* modes_ = modeTable();
    std::size_t linesDecoded_ = 0;
    // Three spare entries hold the kLineWidth sentinels behind the changes.
    std::array<int, kLineWidth + 4> firstChanges_{};
    std::array<int, kLineWidth + 4> secondChanges_{};
    // The two arrays trade places after every line.
    int* referenceChanges_ = firstChanges_.data();
    int* codingChanges_ = secondChanges_.data();
    int referenceCount_ = 0;
    int codingCount_ = 0;
};

} // namespace faxform
