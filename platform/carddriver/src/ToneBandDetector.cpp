#include "carddriver/ToneBandDetector.h"

#include <cmath>

namespace carddriver {
namespace {

constexpr double kPi = 3.14159265358979323846;
// A second-order band-pass centred on the geometric mid of 300-700 Hz with
// those edges as its -3 dB points.
constexpr double kLow = 300.0, kHigh = 700.0, kRate = 8000.0;
const double kCentre = std::sqrt(kLow * kHigh);
const double kOmega = 2.0 * kPi * kCentre / kRate;
const double kAlpha = std::sin(kOmega) * std::sinh(std::log(2.0) / 2.0 * std::log2(kHigh / kLow) *
                                                   kOmega / std::sin(kOmega));
const double kA0 = 1.0 + kAlpha;

double powerOfDbm0(double dbm0) {
    double amplitude = 32767.0 * std::pow(10.0, (dbm0 - 3.14) / 20.0);
    return amplitude * amplitude / 2.0;
}
const double kMinPower = powerOfDbm0(ToneBandDetector::kMinLevelDbm0);

} // namespace

const double ToneBandDetector::b0_ = kAlpha / kA0;
const double ToneBandDetector::a1_ = -2.0 * std::cos(kOmega) / kA0;
const double ToneBandDetector::a2_ = (1.0 - kAlpha) / kA0;

void ToneBandDetector::reset() {
    *this = ToneBandDetector();
}

int ToneBandDetector::endPeriod() {
    double band = band_ / kPeriod;
    double total = total_ / kPeriod;
    band_ = total_ = 0;
    count_ = 0;
    return band >= kMinPower && band >= 0.5 * total ? 1 : 0;
}

} // namespace carddriver
