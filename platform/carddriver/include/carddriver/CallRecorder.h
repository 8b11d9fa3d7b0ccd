#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace carddriver {

// Keeps one call's audio, both directions, and writes it as a two-channel
// A-law WAV file (left: what the callee heard, right: what the callee sent)
// with one line in the folder's call log.
class CallRecorder {
public:
    void start(const std::string& number, int64_t seizeMicros);
    void add(uint8_t towardsCallee, uint8_t fromCallee);
    void setNumber(const std::string& number) { number_ = number; }
    void markAnswer(int64_t micros) { answerMicros_ = micros; }
    void markKey(char key, int64_t micros);
    // Writes "<folder>/call-<n>-<number>.wav" and appends to "<folder>/calls.log".
    bool finish(const std::string& folder, int64_t hangUpMicros, int sequence);

    static bool writeWav(const std::string& path, const std::vector<uint8_t>& interleaved,
                         uint16_t channels);

private:
    std::string number_;
    int64_t seizeMicros_ = 0;
    int64_t answerMicros_ = 0;
    std::string keys_;
    std::vector<uint8_t> audio_;
};

} // namespace carddriver
