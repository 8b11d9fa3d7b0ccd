#include "FaxDecoder.h"

#include "FaxCodeTables.h"
#include "RasterLine.h"

#include <algorithm>

namespace faxform {

FaxDecoder::FaxDecoder(FaxCoding coding, const std::uint8_t* data, std::size_t size)
    : coding_(coding), reader_(data, size) {
    // The line before the first is all white.
    std::fill_n(referenceChanges_, 4, kLineWidth);
}

LineResult FaxDecoder::nextLine(std::uint8_t* line) {
    const Sync sync = syncToLine();
    if (sync == Sync::EndOfPage) {
        return LineResult::EndOfPage;
    }
    if (sync == Sync::Corrupt) {
        return LineResult::Corrupt;
    }
    codingCount_ = 0;
    const bool ok = sync == Sync::TwoDimensional ? decodeTwoDimensional() : decodeOneDimensional();
    if (!ok || reader_.overrun()) {
        return LineResult::Corrupt;
    }
    finishLine(line);
    ++linesDecoded_;
    return LineResult::Line;
}

FaxDecoder::Sync FaxDecoder::syncToLine() {
    switch (coding_) {
    case FaxCoding::ModifiedHuffmanRle:
        if (linesDecoded_ > 0) {
            reader_.alignToByte();
        }
        return reader_.atEnd() ? Sync::EndOfPage : Sync::OneDimensional;
    case FaxCoding::ModifiedModifiedRead:
        if (reader_.atEnd() || reader_.peek(kEolLength) == kEolCode) {
            return Sync::EndOfPage; // end of facsimile block
        }
        if (reader_.peek(kEolLength) == 0) {
            // Only trailing zero bits may follow the last line.
            return reader_.skipZeros() ? Sync::Corrupt : Sync::EndOfPage;
        }
        return Sync::TwoDimensional;
    case FaxCoding::ModifiedHuffman:
    case FaxCoding::ModifiedRead:
        break;
    }

    const bool twoDimensionalCoding = coding_ == FaxCoding::ModifiedRead;
    int eolCount = 0;
    bool tagTwoDimensional = false;
    for (;;) {
        if (reader_.atEnd()) {
            return Sync::EndOfPage;
        }
        const std::uint32_t next = reader_.peek(kEolLength);
        if (next == 0) {
            // Fill bits before an EOL.
            if (!reader_.skipZeros()) {
                return Sync::EndOfPage;
            }
            reader_.consume(1);
        } else if (next == kEolCode) {
            reader_.consume(kEolLength);
        } else {
            break;
        }
        ++eolCount;
        if (twoDimensionalCoding) {
            if (reader_.atEnd()) {
                return Sync::EndOfPage;
            }
            tagTwoDimensional = reader_.peek(1) == 0;
            reader_.consume(1);
        }
    }
    // Two EOLs in a row after a line are the return to control.
    if (eolCount >= 2 && linesDecoded_ > 0) {
        return Sync::EndOfPage;
    }
    if (!twoDimensionalCoding) {
        return Sync::OneDimensional;
    }
    // Without its EOL a two-dimensional line cannot say how it is coded.
    if (eolCount == 0) {
        return Sync::Corrupt;
    }
    return tagTwoDimensional ? Sync::TwoDimensional : Sync::OneDimensional;
}

bool FaxDecoder::readRun(bool black, int start, int& run) {
    run = 0;
    for (;;) {
        const RunTableEntry& entry = black ? blackRuns_[reader_.peek(kBlackLookupBits)]
                                           : whiteRuns_[reader_.peek(kWhiteLookupBits)];
        if (entry.length == 0) {
            return false;
        }
        reader_.consume(entry.length);
        if (reader_.overrun()) {
            return false;
        }
        run += entry.run;
        if (start + run > kLineWidth) {
            return false;
        }
        if (entry.run < 64) {
            return true;
        }
    }
}

void FaxDecoder::addChange(int position) {
    if (position >= kLineWidth) {
        return;
    }
    // Two changes at one place (a run of length 0) cancel each other.
    if (codingCount_ > 0 && codingChanges_[codingCount_ - 1] == position) {
        --codingCount_;
    } else {
        codingChanges_[codingCount_++] = position;
    }
}

bool FaxDecoder::decodeOneDimensional() {
    int position = 0;
    bool black = false;
    while (position < kLineWidth) {
        int run = 0;
        if (!readRun(black, position, run)) {
            return false;
        }
        position += run;
        addChange(position);
        black = !black;
    }
    return true;
}

bool FaxDecoder::decodeTwoDimensional() {
    const int* reference = referenceChanges_;
    int a0 = -1; // the imaginary white element before the line
    bool black = false;
    int b = 0; // index of b1 among the reference changes
    while (a0 < kLineWidth) {
        // b1: the first reference change right of a0 to the colour opposite a0's.
        while (b < referenceCount_ && (reference[b] <= a0 || (b & 1) != static_cast<int>(black))) {
            ++b;
        }
        const int b1 = reference[b];
        const int b2 = reference[b + 1];
        const ModeTableEntry& entry = modes_[reader_.peek(kModeLookupBits)];
        if (entry.mode == ModeCode::Invalid) {
            return false;
        }
        reader_.consume(entry.length);
        if (reader_.overrun()) {
            return false;
        }
        int a1 = 0;
        switch (entry.mode) {
        case ModeCode::Pass:
            a0 = b2;
            continue;
        case ModeCode::Horizontal: {
            const int start = std::max(a0, 0);
            int first = 0;
            int second = 0;
            if (!readRun(black, start, first) || !readRun(!black, start + first, second)) {
                return false;
            }
            addChange(start + first);
            addChange(start + first + second);
            a0 = start + first + second;
            continue;
        }
        case ModeCode::Vertical0:
            a1 = b1;
            break;
        case ModeCode::VerticalRight1:
            a1 = b1 + 1;
            break;
        case ModeCode::VerticalRight2:
            a1 = b1 + 2;
            break;
        case ModeCode::VerticalRight3:
            a1 = b1 + 3;
            break;
        case ModeCode::VerticalLeft1:
            a1 = b1 - 1;
            break;
        case ModeCode::VerticalLeft2:
            a1 = b1 - 2;
            break;
        case ModeCode::VerticalLeft3:
            a1 = b1 - 3;
            break;
        case ModeCode::Invalid:
            return false;
        }
        if (a1 <= a0 || a1 > kLineWidth) {
            return false;
        }
        addChange(a1);
        a0 = a1;
        black = !black;
        // The next b1 may lie just left of this one.
        if (b > 0) {
            --b;
        }
    }
    return a0 == kLineWidth;
}

void FaxDecoder::finishLine(std::uint8_t* line) {
    renderChanges(codingChanges_, codingCount_, line);
    std::swap(referenceChanges_, codingChanges_);
    referenceCount_ = codingCount_;
    std::fill_n(referenceChanges_ + referenceCount_, 4, kLineWidth);
}

} // namespace faxform
