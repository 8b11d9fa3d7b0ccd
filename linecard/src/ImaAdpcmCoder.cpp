#include "ImaAdpcmCoder.h"

#include <algorithm>

namespace linecard {
namespace {

constexpr int kSteps[89] = {
    7,     8,     9,     10,    11,    12,    13,    14,    16,    17,    19,   21,    23,
    25,    28,    31,    34,    37,    41,    45,    50,    55,    60,    66,   73,    80,
    88,    97,    107,   118,   130,   143,   157,   173,   190,   209,   230,  253,   279,
    307,   337,   371,   408,   449,   494,   544,   598,   658,   724,   796,  876,   963,
    1060,  1166,  1282,  1411,  1552,  1707,  1878,  2066,  2272,  2499,  2749, 3024,  3327,
    3660,  4026,  4428,  4871,  5358,  5894,  6484,  7132,  7845,  8630,  9493, 10442, 11487,
    12635, 13899, 15289, 16818, 18500, 20350, 22385, 24623, 27086, 29794, 32767};
constexpr int kIndexShift[16] = {-1, -1, -1, -1, 2, 4, 6, 8, -1, -1, -1, -1, 2, 4, 6, 8};

// Applies one code to the predictor; the same step on both sides keeps them in lock.
void apply(int code, int& predictor, int& index) {
    int step = kSteps[index];
    int difference = step >> 3;
    if (code & 4)
        difference += step;
    if (code & 2)
        difference += step >> 1;
    if (code & 1)
        difference += step >> 2;
    predictor += (code & 8) ? -difference : difference;
    predictor = std::clamp(predictor, -32768, 32767);
    index = std::clamp(index + kIndexShift[code], 0, 88);
}

int codeFor(int sample, int predictor, int index) {
    int step = kSteps[index];
    int difference = sample - predictor;
    int code = 0;
    if (difference < 0) {
        code = 8;
        difference = -difference;
    }
    if (difference >= step) {
        code |= 4;
        difference -= step;
    }
    if (difference >= step >> 1) {
        code |= 2;
        difference -= step >> 1;
    }
    if (difference >= step >> 2)
        code |= 1;
    return code;
}

} // namespace

void ImaAdpcmCoder::encodeBlock(const int16_t* samples, uint8_t* block) {
    int predictor = samples[0];
    // Start from the step that suits the first difference, so a loud block
    // does not begin with a long climb.
    int index = 0;
    int first = std::abs(samples[1] - samples[0]);
    while (index < 88 && kSteps[index] < first / 2)
        ++index;
    block[0] = static_cast<uint8_t>(predictor & 0xFF);
    block[1] = static_cast<uint8_t>((predictor >> 8) & 0xFF);
    block[2] = static_cast<uint8_t>(index);
    block[3] = 0;
    for (size_t i = 0; i < 504; i += 2) {
        int low = codeFor(samples[1 + i], predictor, index);
        apply(low, predictor, index);
        int high = codeFor(samples[2 + i], predictor, index);
        apply(high, predictor, index);
        block[4 + i / 2] = static_cast<uint8_t>(low | (high << 4));
    }
}

void ImaAdpcmCoder::decodeBlock(const uint8_t* block, int16_t* samples) {
    int predictor = static_cast<int16_t>(block[0] | (block[1] << 8));
    int index = std::clamp(static_cast<int>(block[2]), 0, 88);
    samples[0] = static_cast<int16_t>(predictor);
    for (size_t i = 0; i < 252; ++i) {
        apply(block[4 + i] & 15, predictor, index);
        samples[1 + 2 * i] = static_cast<int16_t>(predictor);
        apply(block[4 + i] >> 4, predictor, index);
        samples[2 + 2 * i] = static_cast<int16_t>(predictor);
    }
}

} // namespace linecard
