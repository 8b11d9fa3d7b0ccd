#include "carddriver/CallRecorder.h"

#include <cstdio>
#include <ctime>
#include <fstream>

namespace carddriver {
namespace {

std::string timeText(int64_t micros) {
    if (micros == 0)
        return "-";
    std::time_t seconds = static_cast<std::time_t>(micros / 1000000);
    std::tm parts{};
    gmtime_r(&seconds, &parts);
    char text[96];
    std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d.%03dZ", parts.tm_year + 1900,
                  parts.tm_mon + 1, parts.tm_mday, parts.tm_hour, parts.tm_min, parts.tm_sec,
                  static_cast<int>(micros / 1000 % 1000));
    return text;
}

void put16(std::string& out, uint32_t value) {
    out.push_back(static_cast<char>(value & 0xFF));
    out.push_back(static_cast<char>((value >> 8) & 0xFF));
}
void put32(std::string& out, uint32_t value) {
    put16(out, value & 0xFFFF);
    put16(out, value >> 16);
}

} // namespace

void CallRecorder::start(const std::string& number, int64_t seizeMicros) {
    number_ = number;
    seizeMicros_ = seizeMicros;
    answerMicros_ = 0;
    keys_.clear();
    audio_.clear();
}

void CallRecorder::add(uint8_t towardsCallee, uint8_t fromCallee) {
    audio_.push_back(towardsCallee);
    audio_.push_back(fromCallee);
}

void CallRecorder::markKey(char key, int64_t micros) {
    if (!keys_.empty())
        keys_ += ' ';
    keys_ += key;
    keys_ += '@';
    keys_ += timeText(micros);
}

bool CallRecorder::writeWav(const std::string& path, const std::vector<uint8_t>& interleaved,
                            uint16_t channels) {
    uint32_t dataBytes = static_cast<uint32_t>(interleaved.size());
    std::string header = "RIFF";
    put32(header, 50 + dataBytes);
    header += "WAVEfmt ";
    put32(header, 18);
    put16(header, 6); // A-law
    put16(header, channels);
    put32(header, 8000);
    put32(header, 8000u * channels);
    put16(header, channels);
    put16(header, 8);
    put16(header, 0);
    header += "fact";
    put32(header, 4);
    put32(header, dataBytes / channels);
    header += "data";
    put32(header, dataBytes);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(header.data(), static_cast<std::streamsize>(header.size()));
    out.write(reinterpret_cast<const char*>(interleaved.data()),
              static_cast<std::streamsize>(interleaved.size()));
    return static_cast<bool>(out);
}

bool CallRecorder::finish(const std::string& folder, int64_t hangUpMicros, int sequence) {
    std::string number = number_.empty() ? "none" : number_;
    std::string wav = folder + "/call-" + std::to_string(sequence) + "-" + number + ".wav";
    bool ok = writeWav(wav, audio_, 2);
    std::ofstream log(folder + "/calls.log", std::ios::app);
    log << "number=" << number << " seize=" << timeText(seizeMicros_)
        << " answer=" << timeText(answerMicros_) << " keys=" << (keys_.empty() ? "-" : keys_)
        << " hangup=" << timeText(hangUpMicros) << " file=" << wav << "\n";
    audio_.clear();
    return ok && static_cast<bool>(log);
}

} // namespace carddriver
