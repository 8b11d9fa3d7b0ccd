#include "carddriver/DtmfDetector.h"

#include <cmath>

namespace carddriver {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kRows[4] = {697, 770, 852, 941};
constexpr double kColumns[4] = {1209, 1336, 1477, 1633};
// Keys by row and column; "D" is 16.
constexpr int kKeys[4][4] = {{1, 2, 3, 13}, {4, 5, 6, 14}, {7, 8, 9, 15}, {11, 10, 12, 16}};

float coefficientOf(double frequency) {
    return static_cast<float>(2.0 * std::cos(2.0 * kPi * frequency / 8000.0));
}

// Mean power of a full-scale (32767) sine is 0 dBm0 + 3.14 dB in A-law terms.
float powerOfDbm0(double dbm0) {
    double amplitude = 32767.0 * std::pow(10.0, (dbm0 - 3.14) / 20.0);
    return static_cast<float>(amplitude * amplitude / 2.0);
}

const float kMinPower = powerOfDbm0(DtmfDetector::kMinLevelDbm0);
const float kTwistRatio = static_cast<float>(std::pow(10.0, DtmfDetector::kMaxTwistDb / 10.0));
// Other tones of a group must be this far (6 dB) below the group's peak.
constexpr float kPeakRatio = 4.0f;
// The two tones must carry most of the block's power: speech and noise do not, and
// neither does a block only partly covered by a tone too short to be a key.
constexpr float kToneShare = 0.8f;

} // namespace

const float DtmfDetector::coefficient_[8] = {
    coefficientOf(kRows[0]),    coefficientOf(kRows[1]),    coefficientOf(kRows[2]),
    coefficientOf(kRows[3]),    coefficientOf(kColumns[0]), coefficientOf(kColumns[1]),
    coefficientOf(kColumns[2]), coefficientOf(kColumns[3])};

void DtmfDetector::reset() {
    *this = DtmfDetector();
}

int DtmfDetector::endBlock() {
    float power[8];
    constexpr float scale = 2.0f / (static_cast<float>(kBlock) * kBlock);
    for (int i = 0; i < 8; ++i) {
        power[i] = (s1_[i] * s1_[i] + s2_[i] * s2_[i] - coefficient_[i] * s1_[i] * s2_[i]) * scale;
        s1_[i] = s2_[i] = 0;
    }
    float total = energy_ / kBlock;
    energy_ = 0;
    count_ = 0;

    int row = 0;
    int column = 4;
    for (int i = 1; i < 4; ++i) {
        if (power[i] > power[row])
            row = i;
        if (power[4 + i] > power[column])
            column = 4 + i;
    }
    int hit = 0;
    float rowPower = power[row];
    float columnPower = power[column];
    bool strong = rowPower >= kMinPower && columnPower >= kMinPower;
    bool twistOk = rowPower <= columnPower * kTwistRatio && columnPower <= rowPower * kTwistRatio;
    bool dominant = rowPower + columnPower >= kToneShare * total;
    if (strong && twistOk && dominant) {
        bool clean = true;
        for (int i = 0; i < 4; ++i) {
            if (i != row && power[i] * kPeakRatio > rowPower)
                clean = false;
            if (4 + i != column && power[4 + i] * kPeakRatio > columnPower)
                clean = false;
        }
        if (clean)
            hit = kKeys[row][column - 4];
    }
    int result = 0;
    if (hit == lastHit_ && hit != reported_) {
        if (hit != 0)
            result = hit;
        reported_ = hit;
    }
    lastHit_ = hit;
    return result;
}

} // namespace carddriver
