#include "carddriver/SoftCard.h"

#include "carddriver/AlawSample.h"
#include "carddriver/ClockService.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace carddriver {

using linecard::ChannelStatus;
using linecard::DriverRequest;
namespace fn = linecard::fn;

namespace {
constexpr size_t kRequestLogLimit = 1 << 16;
// A real-clock gap longer than this (a program stopped in a debugger, say)
// is skipped instead of being replayed sample by sample.
constexpr uint64_t kMaxCatchUpSamples = 8000ULL * 600;
constexpr uint8_t kAlawSilence = 0x55;
constexpr uint8_t kNoDigit = 0xFF;
} // namespace

SoftCard::SoftCard(SoftCardConfig config) : config_(std::move(config)) {
    channels_.resize(config_.channelTypes.size());
    for (size_t i = 0; i < channels_.size(); ++i)
        channels_[i].type = config_.channelTypes[i];
    size_t groups = (channels_.size() + 7) / 8;
    signalRings_.assign(groups, {});
    forcedBits_.resize(channels_.size());
    registers_.assign(config_.cardCount, {});
    serialMemories_.resize(config_.cardCount);
    for (size_t card = 0; card < serialMemories_.size(); ++card) {
        uint32_t serial = card < config_.serialNumbers.size() ? config_.serialNumbers[card] : 0;
        char digits[7];
        std::snprintf(digits, sizeof digits, "%06u", serial % 1000000);
        for (int word = 0; word < 3; ++word)
            serialMemories_[card].setWord(
                word, static_cast<uint16_t>((digits[2 * word] << 8) | digits[2 * word + 1]));
    }
    played_.resize(channels_.size());
    epochMicros_ = ClockService::nowMicros();
}

SoftCard::~SoftCard() = default;

std::string SoftCard::deviceName() const {
    switch (config_.cardType) {
    case 30:
        return "\\\\.\\LcHERON";
    case 31:
        return "\\\\.\\LcHERONN";
    case 50:
        return "\\\\.\\LcEGRET";
    default:
        return "\\\\.\\LINECARD-V";
    }
}

void SoftCard::setExchange(std::shared_ptr<TrunkExchange> exchange) {
    std::lock_guard lock(mutex_);
    exchange_ = std::move(exchange);
}

bool SoftCard::open() {
    std::lock_guard lock(mutex_);
    if (open_)
        return false;
    open_ = true;
    return true;
}

void SoftCard::close() {
    std::lock_guard lock(mutex_);
    open_ = false;
}

bool SoftCard::isOpen() const {
    std::lock_guard lock(mutex_);
    return open_;
}

void SoftCard::injectAudio(uint16_t channel, const std::vector<uint8_t>& alaw) {
    std::lock_guard lock(mutex_);
    catchUp();
    if (validChannel(channel))
        channels_[channel].injectedAudio.insert(channels_[channel].injectedAudio.end(),
                                                alaw.begin(), alaw.end());
}

void SoftCard::setHandsetOffHook(uint16_t channel, bool offHook) {
    std::lock_guard lock(mutex_);
    catchUp();
    if (validChannel(channel))
        channels_[channel].handsetOffHook = offHook;
}

void SoftCard::pushDigit(uint16_t channel, uint8_t code) {
    std::lock_guard lock(mutex_);
    if (validChannel(channel))
        channels_[channel].digits.push_back(code);
}

void SoftCard::injectSignalBits(uint16_t channel, const std::vector<uint8_t>& bits) {
    std::lock_guard lock(mutex_);
    catchUp();
    if (validChannel(channel))
        forcedBits_[channel].insert(forcedBits_[channel].end(), bits.begin(), bits.end());
}

std::vector<DriverRequest> SoftCard::requests() const {
    std::lock_guard lock(mutex_);
    return requests_;
}

void SoftCard::clearRequests() {
    std::lock_guard lock(mutex_);
    requests_.clear();
}

std::vector<SoftCard::DspChunk> SoftCard::dspChunks() const {
    std::lock_guard lock(mutex_);
    return chunks_;
}

bool SoftCard::dspStarted() const {
    std::lock_guard lock(mutex_);
    return dspStarted_;
}

bool SoftCard::linearSamples() const {
    std::lock_guard lock(mutex_);
    return linear_;
}

uint16_t SoftCard::halfBytes() const {
    std::lock_guard lock(mutex_);
    return half_;
}

bool SoftCard::userRinging(uint16_t channel) const {
    std::lock_guard lock(mutex_);
    return validChannel(channel) && channels_[channel].type == 0 && channels_[channel].hookRequest1;
}

bool SoftCard::trunkSeized(uint16_t channel) const {
    std::lock_guard lock(mutex_);
    return validChannel(channel) && channels_[channel].seized;
}

std::vector<uint8_t> SoftCard::channelBuffer(uint16_t channel) const {
    std::lock_guard lock(mutex_);
    return validChannel(channel) ? channels_[channel].buffer : std::vector<uint8_t>{};
}

std::vector<uint8_t> SoftCard::playedAudio(uint16_t channel) const {
    std::lock_guard lock(mutex_);
    return validChannel(channel) ? played_[channel] : std::vector<uint8_t>{};
}

void SoftCard::setPlayedAudioCapture(bool on) {
    std::lock_guard lock(mutex_);
    capturePlayed_ = on;
}

void SoftCard::catchUp() {
    std::lock_guard lock(mutex_);
    int64_t elapsed = ClockService::nowMicros() - epochMicros_;
    if (elapsed <= 0)
        return;
    uint64_t target = static_cast<uint64_t>(elapsed) * 8000 / 1000000;
    if (target <= samplesDone_)
        return;
    uint64_t due = target - samplesDone_;
    if (due > kMaxCatchUpSamples) {
        samplesDone_ = target - kMaxCatchUpSamples;
        due = kMaxCatchUpSamples;
    }
    advanceSamples(due);
}

void SoftCard::advanceSamples(uint64_t samples) {
    while (samples > 0) {
        uint64_t block = std::min<uint64_t>(samples, ToneBandDetector::kPeriod - samplesInPeriod_);
        for (size_t index = 0; index < channels_.size(); ++index) {
            SoftChannel& channel = channels_[index];
            bool trunk = channel.type == 1;
            bool listening = enabled_ && (trunk || channel.type == 0);
            for (uint64_t n = 0; n < block; ++n) {
                uint8_t sent = kAlawSilence;
                int playAt = -1;
                if (queueMode_) {
                    if (channel.queue.nextPlayed(sent))
                        playAt = 0;
                } else {
                    playAt = channel.play.step();
                    if (playAt >= 0 && static_cast<size_t>(playAt) < channel.buffer.size())
                        sent = channel.buffer[static_cast<size_t>(playAt)];
                }
                if (capturePlayed_ && playAt >= 0)
                    played_[index].push_back(sent);
                // In 8-bit linear mode the buffers hold unsigned samples; the line stays A-law.
                if (linear_ && playAt >= 0)
                    sent = AlawSample::encode(static_cast<int16_t>((sent - 128) * 256));
                uint8_t heard = kAlawSilence;
                if (!channel.injectedAudio.empty()) {
                    heard = channel.injectedAudio.front();
                    channel.injectedAudio.pop_front();
                } else if (trunk && exchange_) {
                    heard = exchange_->carry(static_cast<uint16_t>(index), channel.seized, sent);
                }
                uint8_t stored =
                    linear_ ? static_cast<uint8_t>((AlawSample::decode(heard) >> 8) + 128) : heard;
                if (queueMode_)
                    channel.queue.heard(stored);
                int recordAt = queueMode_ ? -1 : channel.record.step();
                if (recordAt >= 0 && static_cast<size_t>(recordAt) < channel.buffer.size())
                    channel.buffer[static_cast<size_t>(recordAt)] = stored;
                if (!listening)
                    continue;
                int16_t linear = AlawSample::decode(heard);
                if (int digit = channel.dtmf.feed(linear))
                    channel.digits.push_back(static_cast<uint8_t>(digit));
                if (int tone = channel.toneBand.feed(linear); tone >= 0)
                    channel.toneNow = tone == 1;
                if (channel.detecting) {
                    float x = linear;
                    float s =
                        x + singleFrequencyCoefficient_ * channel.goertzel1 - channel.goertzel2;
                    channel.goertzel2 = channel.goertzel1;
                    channel.goertzel1 = s;
                    channel.periodEnergy += x * x;
                }
            }
        }
        samplesInPeriod_ += static_cast<int>(block);
        samplesDone_ += block;
        samples -= block;
        if (samplesInPeriod_ == ToneBandDetector::kPeriod) {
            samplesInPeriod_ = 0;
            endPeriod();
        }
    }
}

void SoftCard::endPeriod() {
    size_t slot = period_ % 512;
    for (auto& ring : signalRings_)
        ring[slot] = 0;
    // Level in dB above a floor just over A-law silence, as the records carry it.
    auto level = [](float power) {
        return static_cast<uint8_t>(std::clamp(10.0 * std::log10(power + 1.0) - 30.0, 0.0, 255.0));
    };
    for (size_t index = 0; index < channels_.size(); ++index) {
        SoftChannel& channel = channels_[index];
        if (channel.detecting) {
            constexpr float n = ToneBandDetector::kPeriod;
            float g1 = channel.goertzel1, g2 = channel.goertzel2;
            float inside =
                (g1 * g1 + g2 * g2 - singleFrequencyCoefficient_ * g1 * g2) * 2 / (n * n);
            float total = channel.periodEnergy / n;
            auto& record = channel.frequencyRecords[slot];
            record = {};
            record[0] = level(std::max(total - inside, 0.0f));
            record[4] = level(inside);
            channel.goertzel1 = channel.goertzel2 = channel.periodEnergy = 0;
        }
        bool tone = channel.toneNow;
        if (!forcedBits_[index].empty()) {
            tone = forcedBits_[index].front() != 0;
            forcedBits_[index].pop_front();
        }
        if (channel.detecting && tone)
            signalRings_[index / 8][slot] |= static_cast<uint8_t>(1u << (index % 8));
    }
    ++period_;
}

bool SoftCard::deviceControl(DriverRequest& request, void* area) {
    std::lock_guard lock(mutex_);
    if (!open_)
        return false;
    catchUp();
    if (requests_.size() < kRequestLogLimit)
        requests_.push_back(request);
    if ((request.Code >> 16) != linecard::kDeviceType)
        return false;
    if (queueMode_) {
        bool handled = false;
        bool result = handleQueued(request, area, handled);
        if (handled)
            return result;
    }
    return handle(request, area);
}

// The requests that work on the queues instead of the buffer passes.
bool SoftCard::handleQueued(DriverRequest& request, void* area, bool& handled) {
    const uint32_t function = linecard::requestFunction(request.Code);
    const uint16_t ch = request.Channel;
    handled = true;
    if (!validChannel(ch)) {
        handled = function == fn::MoveData || function == fn::Play || function == fn::LoopPlay ||
                  function == fn::LoopStop || function == fn::Record ||
                  function == fn::LoopRecord || function == fn::ReadStatus;
        return false;
    }
    ChannelQueue& queue = channels_[ch].queue;
    uint8_t* bytes = area && request.Data >= request.Param1 ? static_cast<uint8_t*>(area) : nullptr;
    switch (function) {
    case fn::MoveData:
        if (!bytes)
            return false;
        request.Param2 = request.Value == 1 ? queue.accept(bytes, request.Param1)
                                            : queue.take(bytes, request.Param1);
        return true;
    case fn::Play:
    case fn::LoopPlay:
        if (request.Param1 == 0 && function == fn::Play)
            queue.stopPlay();
        else
            queue.startPlay();
        return true;
    case fn::LoopStop:
        if (request.Value == 0)
            queue.markPlayEnd();
        else
            queue.stopRecord();
        return true;
    case fn::Record:
        queue.stopRecord();
        return true;
    case fn::LoopRecord:
        queue.startRecord();
        return true;
    case fn::ReadStatus: {
        if (!area || request.Data < linecard::kChannelStatusBytes)
            return false;
        ChannelStatus status{queue.playState(), queue.recordState(), 0, 0};
        std::memcpy(area, &status, sizeof status);
        if (request.Value == 2) {
            request.Param1 = queue.freeSpace();
        } else {
            request.Param1 = queue.recorded();
            if (request.Value == 1)
                request.Param2 = queue.playedBytes();
        }
        return true;
    }
    default:
        handled = false;
        return false;
    }
}

bool SoftCard::handle(DriverRequest& request, void* area) {
    const uint32_t function = linecard::requestFunction(request.Code);
    const uint16_t ch = request.Channel;
    auto areaOf = [&](uint32_t bytes) -> uint8_t* {
        return area && request.Data >= bytes ? static_cast<uint8_t*>(area) : nullptr;
    };
    auto cardRegister = [&](uint16_t card, uint16_t reg) -> uint8_t* {
        if (card >= registers_.size() || reg >= 4)
            return nullptr;
        return &registers_[card][reg];
    };
    const uint32_t bufferBytes = 2u * half_;

    switch (function) {
    case fn::Enable: {
        // Value 0 with Param1 1 is the queue mode with its fixed half.
        uint32_t half = request.Value != 0 ? request.Value : (request.Param1 == 1 ? 16384 : 0);
        if (half == 0 || half > 30720)
            return false;
        half_ = static_cast<uint16_t>(half);
        queueMode_ = request.Value == 0;
        for (SoftChannel& channel : channels_) {
            channel.buffer.assign(2u * half_, kAlawSilence);
            channel.queue.reset(2u * half_);
            channel.play.stop();
            channel.record.stop();
        }
        enabled_ = true;
        request.Channel = 0;
        return true;
    }
    case fn::Disable:
        enabled_ = false;
        for (SoftChannel& channel : channels_) {
            channel.play.stop();
            channel.record.stop();
        }
        return true;
    case fn::LineSense: {
        if (!validChannel(ch))
            return false;
        const SoftChannel& channel = channels_[ch];
        bool sensed = channel.type == 0   ? channel.handsetOffHook
                      : channel.type == 1 ? (exchange_ && exchange_->ringing(ch))
                                          : false;
        request.Value = sensed ? 1 : 0;
        return true;
    }
    case fn::Initialise: {
        uint8_t* info = areaOf(linecard::kSysInfoBytes);
        if (!info)
            return false;
        for (size_t i = 0; i < channels_.size() && i < 256; ++i) {
            uint16_t type = channels_[i].type;
            std::memcpy(info + linecard::sysinfo::ChannelType + 2 * i, &type, 2);
        }
        return true;
    }
    case fn::CheckCard:
        if (ch >= config_.cardCount)
            request.Value = 3;
        else
            request.Value = ch < config_.cardCheckResults.size() ? config_.cardCheckResults[ch] : 0;
        return true;
    case fn::CheckIrq:
        request.Value = config_.irqCheckResult;
        return true;
    case fn::CheckConnection:
        request.Value = config_.connectionCheckResult;
        return true;
    case fn::InterfaceVersion:
        request.Value = config_.newerInterface ? 1 : 0;
        request.Channel = config_.channelCount();
        return true;
    case fn::WriteRegister: {
        uint8_t* reg = cardRegister(ch, request.Value);
        if (!reg)
            return false;
        *reg = static_cast<uint8_t>(request.Param1);
        if (request.Value == 2)
            serialMemories_[ch].write(*reg);
        return true;
    }
    case fn::ReadRegister: {
        uint8_t* reg = cardRegister(ch, request.Value);
        if (!reg)
            return false;
        request.Value = request.Value == 2 ? serialMemories_[ch].read() : *reg;
        return true;
    }
    case fn::Hook: {
        if (!validChannel(ch))
            return false;
        SoftChannel& channel = channels_[ch];
        channel.hookRequest1 = request.Value != 0;
        if (channel.type == 1)
            channel.seized = request.Value == 0;
        return true;
    }
    case fn::ClearDigits:
        if (!validChannel(ch))
            return false;
        channels_[ch].digits.clear();
        return true;
    case fn::ReadDigit: {
        if (!validChannel(ch))
            return false;
        auto& digits = channels_[ch].digits;
        uint16_t code = digits.empty() ? kNoDigit : digits.front();
        if (request.Value == 1 && !digits.empty())
            digits.pop_front();
        request.Value = code;
        return true;
    }
    case fn::SignalDetection:
        if (!validChannel(ch))
            return false;
        channels_[ch].detecting = request.Value != 0;
        channels_[ch].detectionStartPeriod = period_;
        return true;
    case fn::ReadSignalBuffer: {
        uint8_t* copy = areaOf(linecard::kSignalBufferBytes);
        if (!validChannel(ch) || !copy)
            return false;
        const SoftChannel& channel = channels_[ch];
        uint64_t held = channel.detecting ? period_ - channel.detectionStartPeriod : 0;
        held = std::min<uint64_t>(held, 512);
        std::memcpy(copy, signalRings_[ch / 8].data(), 512);
        request.Channel = static_cast<uint16_t>((period_ - held) % 512);
        request.Value = static_cast<uint16_t>(held);
        return true;
    }
    case fn::MoveData: {
        if (!validChannel(ch))
            return false;
        uint8_t* memory = areaOf(request.Param1);
        uint64_t end = static_cast<uint64_t>(request.Param2) + request.Param1;
        if (!memory || end > channels_[ch].buffer.size())
            return false;
        uint8_t* card = channels_[ch].buffer.data() + request.Param2;
        if (request.Value == 1)
            std::memcpy(card, memory, request.Param1);
        else
            std::memcpy(memory, card, request.Param1);
        return true;
    }
    case fn::Play:
    case fn::LoopPlay:
    case fn::Record:
    case fn::LoopRecord: {
        if (!validChannel(ch) || request.Param1 > bufferBytes)
            return false;
        bool looped = function == fn::LoopPlay || function == fn::LoopRecord;
        CardPass& pass = (function == fn::Play || function == fn::LoopPlay) ? channels_[ch].play
                                                                            : channels_[ch].record;
        if (request.Param1 == 0)
            pass.stop();
        else if (looped)
            pass.startLooped(request.Param1);
        else
            pass.startSingle(request.Param1);
        return true;
    }
    case fn::ReadStatus: {
        uint8_t* out = areaOf(linecard::kChannelStatusBytes);
        if (!validChannel(ch) || !out)
            return false;
        const SoftChannel& channel = channels_[ch];
        ChannelStatus status{channel.play.state(), channel.record.state(),
                             static_cast<uint16_t>(channel.play.remainder()),
                             static_cast<uint16_t>(channel.record.remainder())};
        std::memcpy(out, &status, sizeof status);
        return true;
    }
    case fn::LoopStop:
        if (!validChannel(ch))
            return false;
        (request.Value == 0 ? channels_[ch].play : channels_[ch].record)
            .setLoopStop(request.Param1);
        return true;
    case fn::PackRate:
        return true;
    case fn::PortByte:
        if (request.Value == 1)
            ports_[ch] = static_cast<uint8_t>(request.Param1);
        else
            request.Param1 = ports_[ch];
        return true;
    case fn::DspDownload: {
        if (ch == linecard::kDspStartChannel) {
            dspStarted_ = true;
            linear_ = request.Param2 == linecard::kLinear8BitMarker;
            request.Value = config_.dspStartResult;
            return true;
        }
        // The program itself is not run; a chunk is accepted when it is
        // well formed for a card that exists.
        bool wellFormed = ch < config_.cardCount && request.Value > 0 && request.Value <= 2048 &&
                          request.Param2 <= 3 && areaOf(request.Value) &&
                          static_cast<uint64_t>(request.Param1) + request.Value <= 0x4000 + 131072;
        if (!wellFormed)
            return false;
        chunks_.push_back({ch, request.Param2, request.Param1, request.Value});
        return true;
    }
    case fn::DetectorSetup:
    case fn::WorkMode:
    case fn::Gain:
    case fn::RecordMode:
        return validChannel(ch);
    case fn::DetectorFrequency:
        if (request.Value == 1) {
            if (ch == 1)
                singleFrequencyCoefficient_ =
                    2.0f * static_cast<int16_t>(request.Param1 & 0xFFFF) / 32768.0f;
            return ch <= 1;
        }
        if (request.Value == 0) {
            uint8_t* out = areaOf(512 * 6);
            if (!validChannel(ch) || !out)
                return false;
            const SoftChannel& channel = channels_[ch];
            uint64_t held = channel.detecting ? period_ - channel.detectionStartPeriod : 0;
            held = std::min<uint64_t>(held, 512);
            for (size_t i = 0; i < 512; ++i)
                std::memcpy(out + 6 * i, channel.frequencyRecords[i].data(), 6);
            request.Channel = static_cast<uint16_t>((period_ - held) % 512);
            request.Value = static_cast<uint16_t>(held);
        }
        return true;
    case fn::CardInformation:
        switch (request.Value) {
        case 0:
            if (!validChannel(ch))
                return false;
            request.Value = exchange_ && channels_[ch].type == 1 && exchange_->polarityReversed(ch);
            return true;
        case 2:
            if (ch >= config_.cardCount)
                return false;
            request.Param1 = ch < config_.serialNumbers.size() ? config_.serialNumbers[ch] : 0;
            return true;
        default:
            return true;
        }
    case fn::CountCards: {
        if (request.Param1 != linecard::kCardCountMarker)
            return false;
        uint16_t found =
            config_.cardsFound < 0 ? config_.cardCount : static_cast<uint16_t>(config_.cardsFound);
        request.Value = found;
        if (uint8_t* out = areaOf(2))
            std::memcpy(out, &found, 2);
        return true;
    }
    case fn::SpeechCapability:
        if (config_.speechChannels == 0) {
            request.Value = 0;
            return true;
        }
        if (request.Value == 1)
            request.Param1 = config_.speechChannels;
        request.Value = linecard::kSpeechMarker;
        return true;
    case fn::ExtendedChannelTypes: {
        uint8_t* out = areaOf(512);
        if (!out)
            return false;
        std::memset(out, 0, 512);
        for (size_t i = 0; i < channels_.size(); ++i) {
            uint16_t type = channels_[i].type;
            std::memcpy(out + 2 * i, &type, 2);
        }
        return true;
    }
    case fn::MonitorLineState:
        if (!validChannel(ch))
            return false;
        request.Value = channels_[ch].type == 3 && channels_[ch].handsetOffHook;
        return true;
    case fn::ProgramVariants:
        return areaOf(linecard::kProgramVariantBytes) != nullptr;
    default:
        return false;
    }
}

} // namespace carddriver
