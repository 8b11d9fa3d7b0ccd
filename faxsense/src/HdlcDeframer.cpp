#include "HdlcDeframer.h"

#include "BitReversal.h"
#include "Crc16Ccitt.h"

namespace faxsense {

void HdlcDeframer::deframe(std::span<const uint8_t> lineBytes) {
    *this = HdlcDeframer{};
    if (lineBytes.size() > MaxInputBytes) {
        lineBytes = lineBytes.last(MaxInputBytes);
    }
    auto emit = [this](int bit) {
        if (!inFrame_) {
            return;
        }
        octet_ |= static_cast<uint8_t>(bit << bitsInOctet_);
        if (++bitsInOctet_ < 8) {
            return;
        }
        if (payloadUsed_ == payload_.size()) {
            inFrame_ = false;
            return;
        }
        payload_[payloadUsed_++] = octet_;
        crc_ = Crc16Ccitt::update(crc_, BitReversal::reverse(octet_));
        octet_ = 0;
        bitsInOctet_ = 0;
    };

    for (const uint8_t byte : lineBytes) {
        for (int position = 7; position >= 0; --position) {
            if ((byte >> position) & 1) {
                // Ones are held back until a zero tells data, stuffing, flag and abort apart.
                if (++ones_ == 7) {
                    inFrame_ = false;
                    payloadUsed_ = frameStart_;
                }
                continue;
            }
            const int run = ones_;
            ones_ = 0;
            if (run >= 7) {
                continue; // the zero after an abort: wait for the next flag
            }
            if (run == 6) {
                closeFrame();
                continue;
            }
            for (int i = 0; i < run; ++i) {
                emit(1);
            }
            if (run < 5) {
                emit(0); // after five ones the zero was stuffed by the sender
            }
        }
    }
    if (inFrame_) {
        payloadUsed_ = frameStart_;
        inFrame_ = false;
    }
}

void HdlcDeframer::closeFrame() {
    if (inFrame_) {
        const std::size_t length = payloadUsed_ - frameStart_;
        // The flag's own opening zero has already been taken as one data bit.
        if (bitsInOctet_ == 1 && length > 0 && frameCount_ < frames_.size()) {
            frames_[frameCount_++] =
                HdlcFrame{static_cast<uint16_t>(frameStart_), static_cast<uint16_t>(length),
                          length >= 2 && crc_ == Crc16Ccitt::GoodResidue};
        } else {
            payloadUsed_ = frameStart_;
        }
    }
    // Every flag also opens the next frame.
    inFrame_ = true;
    frameStart_ = payloadUsed_;
    bitsInOctet_ = 0;
    octet_ = 0;
    crc_ = Crc16Ccitt::Initial;
}

} // namespace faxsense
