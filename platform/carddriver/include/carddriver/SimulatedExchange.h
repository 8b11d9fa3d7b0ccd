#pragma once
#include "carddriver/CallRecorder.h"
#include "carddriver/CallScenario.h"
#include "carddriver/DtmfDetector.h"
#include "carddriver/TrunkExchange.h"

#include <string>
#include <vector>

namespace carddriver {

// A telephone exchange behind the software card's trunks. A seized line gets
// dial tone; the DTMF digits the card plays are recognised from its audio,
// and the number then behaves as its scenario says: ring-back 450 Hz 1 s on
// / 4 s off, busy 450 Hz 350/350 ms, silence, or an answer with faint line
// noise, the callee's key presses as real DTMF and a hang-up. Answer and
// hang-up reverse the line polarity.
class SimulatedExchange : public TrunkExchange {
public:
    static constexpr uint32_t kInterDigitMillis = 3000;

    explicit SimulatedExchange(uint16_t channels);

    bool loadScenarioFile(const std::string& path);
    void addScenario(const std::string& number, CallScenario scenario);
    void setCallRecordFolder(const std::string& folder);

    uint8_t carry(uint16_t channel, bool offHook, uint8_t sent) override;
    bool ringing(uint16_t channel) const override;
    bool polarityReversed(uint16_t channel) const override;

    // The digits dialled on the channel's current (or last) call.
    std::string dialled(uint16_t channel) const;
    bool answered(uint16_t channel) const;

private:
    enum class State { Idle, DialTone, Collecting, RingBack, Busy, Silent, Answered, CalleeGone };
    struct Trunk {
        State state = State::Idle;
        uint64_t samples = 0;      // since seizure
        uint64_t stateSamples = 0; // since entering the state
        uint64_t lastDigitAt = 0;
        std::string digits;
        CallScenario scenario;
        uint64_t speechSamples = 0;
        std::vector<bool> keyDone;
        std::string pendingKeys;
        uint64_t keySamples = 0;
        uint32_t phaseLow = 0, phaseHigh = 0;
        uint32_t noise = 12345;
        int64_t seizeMicros = 0;
        bool reversed = false;
        DtmfDetector detector;
        CallRecorder recorder;
    };

    void enter(Trunk& trunk, State state);
    void route(Trunk& trunk);
    uint8_t produce(Trunk& trunk, uint8_t sent);
    uint8_t tone(Trunk& trunk, int low, int high, int16_t amplitude);
    void endCall(Trunk& trunk);
    int64_t microsAt(const Trunk& trunk) const;

    std::vector<Trunk> trunks_;
    CallScenarioBook book_;
    std::string recordFolder_;
    int callSequence_ = 0;
};

} // namespace carddriver
