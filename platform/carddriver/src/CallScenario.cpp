#include "carddriver/CallScenario.h"

#include <fstream>
#include <sstream>

namespace carddriver {
namespace {

std::optional<uint32_t> millisOf(const std::string& text) {
    if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos)
        return std::nullopt;
    return static_cast<uint32_t>(std::stoul(text));
}

bool isKeyText(const std::string& keys) {
    return !keys.empty() && keys.find_first_not_of("0123456789*#ABCD") == std::string::npos;
}

} // namespace

std::optional<std::pair<std::string, CallScenario>>
CallScenario::parseLine(const std::string& line) {
    std::istringstream in(line);
    std::string number, behaviour;
    if (!(in >> number >> behaviour))
        return std::nullopt;
    CallScenario scenario;
    if (behaviour == "answer") {
        std::string ms;
        auto value = (in >> ms) ? millisOf(ms) : std::nullopt;
        if (!value)
            return std::nullopt;
        scenario.behaviour = Behaviour::Answer;
        scenario.answerAfterMillis = *value;
    } else if (behaviour == "busy") {
        scenario.behaviour = Behaviour::Busy;
    } else if (behaviour == "noanswer") {
        scenario.behaviour = Behaviour::NoAnswer;
    } else if (behaviour == "unreachable") {
        scenario.behaviour = Behaviour::Unreachable;
    } else {
        return std::nullopt;
    }
    std::string word;
    while (in >> word) {
        std::string argument;
        if (!(in >> argument))
            return std::nullopt;
        if (word == "key") {
            size_t at = argument.find('@');
            if (at == std::string::npos)
                return std::nullopt;
            KeyPress press;
            press.keys = argument.substr(0, at);
            std::string when = argument.substr(at + 1);
            if (when.rfind("speech", 0) == 0) {
                press.afterSpeech = true;
                when = when.substr(6);
            }
            auto value = millisOf(when);
            if (!value || !isKeyText(press.keys))
                return std::nullopt;
            press.atMillis = *value;
            scenario.keys.push_back(press);
        } else if (word == "hangup") {
            auto value = millisOf(argument);
            if (!value)
                return std::nullopt;
            scenario.hangUpAfterMillis = *value;
        } else {
            return std::nullopt;
        }
    }
    return std::make_pair(number, scenario);
}

bool CallScenarioBook::loadFile(const std::string& path) {
    std::ifstream in(path);
    if (!in)
        return false;
    std::string line;
    while (std::getline(in, line)) {
        size_t first = line.find_first_not_of(" \t\r");
        if (first == std::string::npos || line[first] == '#')
            continue;
        if (auto entry = CallScenario::parseLine(line))
            byNumber_[entry->first] = entry->second;
    }
    return true;
}

void CallScenarioBook::add(const std::string& number, CallScenario scenario) {
    byNumber_[number] = std::move(scenario);
}

const CallScenario* CallScenarioBook::find(const std::string& number) const {
    auto it = byNumber_.find(number);
    if (it == byNumber_.end())
        it = byNumber_.find("*");
    return it == byNumber_.end() ? nullptr : &it->second;
}

bool CallScenarioBook::isPrefixOfLonger(const std::string& digits) const {
    for (auto it = byNumber_.lower_bound(digits); it != byNumber_.end(); ++it) {
        if (it->first.compare(0, digits.size(), digits) != 0)
            break;
        if (it->first.size() > digits.size())
            return true;
    }
    return false;
}

} // namespace carddriver
