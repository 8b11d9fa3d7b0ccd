#include "carddriver/SimulatedExchange.h"

#include "carddriver/AlawSample.h"
#include "carddriver/ClockService.h"

#include <array>
#include <cmath>

namespace carddriver {
namespace {

constexpr uint64_t kSamplesPerMs = 8;
constexpr uint8_t kSilence = 0x55;
// Call-progress tones at -10 dBm0, each key tone at -7 dBm0.
constexpr int16_t kProgressAmplitude = 7200;
constexpr int16_t kKeyAmplitude = 10200;
// Caller audio above this magnitude counts as speech heard (about -40 dBm0).
constexpr int kSpeechMagnitude = 230;
constexpr uint64_t kKeyOnSamples = 100 * kSamplesPerMs;
constexpr uint64_t kKeyCycleSamples = 200 * kSamplesPerMs;

// One second of a unit sine: integer frequencies step through it exactly.
const std::array<float, 8000>& sineTable() {
    static const std::array<float, 8000> table = [] {
        std::array<float, 8000> t{};
        for (size_t i = 0; i < t.size(); ++i)
            t[i] = static_cast<float>(std::sin(2.0 * 3.14159265358979323846 * i / 8000.0));
        return t;
    }();
    return table;
}

std::pair<int, int> keyFrequencies(char key) {
    static const char* const layout = "123A456B789C*0#D";
    static const int rows[4] = {697, 770, 852, 941};
    static const int columns[4] = {1209, 1336, 1477, 1633};
    for (int i = 0; i < 16; ++i)
        if (layout[i] == key)
            return {rows[i / 4], columns[i % 4]};
    return {0, 0};
}

char keyOfCode(int code) {
    static const char* const keys = "?1234567890*#ABCD";
    return code >= 1 && code <= 16 ? keys[code] : '?';
}

} // namespace

SimulatedExchange::SimulatedExchange(uint16_t channels) : trunks_(channels) {}

bool SimulatedExchange::loadScenarioFile(const std::string& path) {
    return book_.loadFile(path);
}

void SimulatedExchange::addScenario(const std::string& number, CallScenario scenario) {
    book_.add(number, std::move(scenario));
}

void SimulatedExchange::setCallRecordFolder(const std::string& folder) {
    recordFolder_ = folder;
}

bool SimulatedExchange::ringing(uint16_t) const {
    return false;
}

bool SimulatedExchange::polarityReversed(uint16_t channel) const {
    return channel < trunks_.size() && trunks_[channel].reversed;
}

std::string SimulatedExchange::dialled(uint16_t channel) const {
    return channel < trunks_.size() ? trunks_[channel].digits : std::string();
}

bool SimulatedExchange::answered(uint16_t channel) const {
    return channel < trunks_.size() && trunks_[channel].state == State::Answered;
}

int64_t SimulatedExchange::microsAt(const Trunk& trunk) const {
    return trunk.seizeMicros + static_cast<int64_t>(trunk.samples) * 125;
}

void SimulatedExchange::enter(Trunk& trunk, State state) {
    trunk.state = state;
    trunk.stateSamples = 0;
    trunk.phaseLow = trunk.phaseHigh = 0;
    bool reversed = state == State::Answered;
    trunk.reversed = reversed;
    if (state == State::Answered)
        trunk.recorder.markAnswer(microsAt(trunk));
}

void SimulatedExchange::route(Trunk& trunk) {
    const CallScenario* scenario = book_.find(trunk.digits);
    trunk.scenario = scenario ? *scenario : CallScenario{};
    trunk.keyDone.assign(trunk.scenario.keys.size(), false);
    trunk.recorder.setNumber(trunk.digits);
    switch (trunk.scenario.behaviour) {
    case CallScenario::Behaviour::Answer:
    case CallScenario::Behaviour::NoAnswer:
        enter(trunk, State::RingBack);
        break;
    case CallScenario::Behaviour::Busy:
        enter(trunk, State::Busy);
        break;
    case CallScenario::Behaviour::Unreachable:
        enter(trunk, State::Silent);
        break;
    }
}

uint8_t SimulatedExchange::tone(Trunk& trunk, int low, int high, int16_t amplitude) {
    const auto& sine = sineTable();
    float sample = sine[trunk.phaseLow] * amplitude;
    trunk.phaseLow = (trunk.phaseLow + static_cast<uint32_t>(low)) % 8000;
    if (high > 0) {
        sample += sine[trunk.phaseHigh] * amplitude;
        trunk.phaseHigh = (trunk.phaseHigh + static_cast<uint32_t>(high)) % 8000;
    }
    return AlawSample::encode(static_cast<int16_t>(sample));
}

void SimulatedExchange::endCall(Trunk& trunk) {
    if (!recordFolder_.empty())
        trunk.recorder.finish(recordFolder_, microsAt(trunk), ++callSequence_);
    trunk.state = State::Idle;
    trunk.reversed = false;
}

uint8_t SimulatedExchange::carry(uint16_t channel, bool offHook, uint8_t sent) {
    if (channel >= trunks_.size())
        return kSilence;
    Trunk& trunk = trunks_[channel];
    if (!offHook) {
        if (trunk.state != State::Idle)
            endCall(trunk);
        return kSilence;
    }
    if (trunk.state == State::Idle) {
        trunk = Trunk();
        trunk.seizeMicros = ClockService::nowMicros();
        trunk.recorder.start("", trunk.seizeMicros);
        enter(trunk, State::DialTone);
    }
    uint8_t heard = produce(trunk, sent);
    if (!recordFolder_.empty())
        trunk.recorder.add(sent, heard);
    ++trunk.samples;
    ++trunk.stateSamples;
    return heard;
}

uint8_t SimulatedExchange::produce(Trunk& trunk, uint8_t sent) {
    if (trunk.state == State::DialTone || trunk.state == State::Collecting) {
        if (int code = trunk.detector.feed(AlawSample::decode(sent))) {
            trunk.digits += keyOfCode(code);
            trunk.lastDigitAt = trunk.samples;
            if (trunk.state == State::DialTone)
                enter(trunk, State::Collecting);
        }
        if (trunk.state == State::Collecting) {
            bool complete = book_.find(trunk.digits) != nullptr &&
                            book_.find(trunk.digits) != book_.find("*") &&
                            !book_.isPrefixOfLonger(trunk.digits);
            bool timedOut = trunk.samples - trunk.lastDigitAt >= kInterDigitMillis * kSamplesPerMs;
            // Wait for the key tone to end before routing so that it is not
            // heard as the callee's audio.
            bool quiet = trunk.samples - trunk.lastDigitAt >= 100 * kSamplesPerMs;
            if ((complete && quiet) || timedOut)
                route(trunk);
        }
    }
    const uint64_t t = trunk.stateSamples;
    switch (trunk.state) {
    case State::Idle:
    case State::Collecting:
    case State::Silent:
        return kSilence;
    case State::DialTone:
        return tone(trunk, 450, 0, kProgressAmplitude);
    case State::RingBack: {
        if (trunk.scenario.behaviour == CallScenario::Behaviour::Answer &&
            t >= trunk.scenario.answerAfterMillis * kSamplesPerMs) {
            enter(trunk, State::Answered);
            return kSilence;
        }
        return t % (5000 * kSamplesPerMs) < 1000 * kSamplesPerMs
                   ? tone(trunk, 450, 0, kProgressAmplitude)
                   : kSilence;
    }
    case State::Busy:
    case State::CalleeGone:
        return t % (700 * kSamplesPerMs) < 350 * kSamplesPerMs
                   ? tone(trunk, 450, 0, kProgressAmplitude)
                   : kSilence;
    case State::Answered:
        break;
    }

    // Answered: listen to the caller, press keys, maybe hang up.
    int magnitude = std::abs(AlawSample::decode(sent));
    if (magnitude > kSpeechMagnitude)
        ++trunk.speechSamples;
    for (size_t i = 0; i < trunk.scenario.keys.size(); ++i) {
        const auto& press = trunk.scenario.keys[i];
        uint64_t clock = press.afterSpeech ? trunk.speechSamples : t;
        if (!trunk.keyDone[i] && clock >= press.atMillis * kSamplesPerMs) {
            trunk.keyDone[i] = true;
            if (trunk.pendingKeys.empty())
                trunk.keySamples = 0;
            trunk.pendingKeys += press.keys;
        }
    }
    if (trunk.scenario.hangUpAfterMillis &&
        t >= *trunk.scenario.hangUpAfterMillis * kSamplesPerMs) {
        enter(trunk, State::CalleeGone);
        return kSilence;
    }
    if (!trunk.pendingKeys.empty()) {
        uint64_t k = trunk.keySamples++;
        char key = trunk.pendingKeys.front();
        if (k == 0)
            trunk.recorder.markKey(key, microsAt(trunk));
        uint8_t out = kSilence;
        if (k < kKeyOnSamples) {
            auto [low, high] = keyFrequencies(key);
            out = tone(trunk, low, high, kKeyAmplitude);
        }
        if (trunk.keySamples >= kKeyCycleSamples) {
            trunk.pendingKeys.erase(0, 1);
            trunk.keySamples = 0;
            trunk.phaseLow = trunk.phaseHigh = 0;
        }
        return out;
    }
    // Faint line noise, about -60 dBm0.
    trunk.noise = trunk.noise * 1103515245u + 12345u;
    int16_t noise = static_cast<int16_t>(static_cast<int>((trunk.noise >> 16) & 63) - 32);
    return AlawSample::encode(noise);
}

} // namespace carddriver
