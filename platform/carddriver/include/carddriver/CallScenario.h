#pragma once
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace carddriver {

// How the simulated exchange treats the numbers dialled on its trunks.
//
// Scenario file: one number a line; a line starting with '#' is a comment:
//
//     <number> <behaviour> [key <keys>@<when>]... [hangup <ms>]
//
//   <number>     the digits dialled, or "*" for every number not listed
//   <behaviour>  "answer <ms>"   ring back, answer <ms> after the number is complete
//                "busy"          busy tone
//                "noanswer"      ring back until the caller hangs up
//                "unreachable"   silence
//   key K@T      after answer, the callee presses the keys K (each 100 ms,
//                100 ms apart) T ms after the answer; K@speechT presses them
//                once T ms of the caller's speech have been heard
//   hangup <ms>  the callee hangs up <ms> after answering
//
// Example: "13800000001 answer 3000 key 1@speech2000 hangup 30000".
struct CallScenario {
    enum class Behaviour { Answer, Busy, NoAnswer, Unreachable };
    struct KeyPress {
        std::string keys;
        uint32_t atMillis = 0;
        bool afterSpeech = false;
    };

    Behaviour behaviour = Behaviour::Unreachable;
    uint32_t answerAfterMillis = 0;
    std::vector<KeyPress> keys;
    std::optional<uint32_t> hangUpAfterMillis;

    // One line of a scenario file; nullopt when it does not parse.
    static std::optional<std::pair<std::string, CallScenario>> parseLine(const std::string& line);
};

// The scenarios of a file, by number.
class CallScenarioBook {
public:
    bool loadFile(const std::string& path);
    void add(const std::string& number, CallScenario scenario);
    const CallScenario* find(const std::string& number) const;
    // True when some listed number is longer and starts with `digits`.
    bool isPrefixOfLonger(const std::string& digits) const;

private:
    std::map<std::string, CallScenario> byNumber_;
};

} // namespace carddriver
