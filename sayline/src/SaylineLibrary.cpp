#include "SaylineLibrary.h"

#include "PieceSynthesiser.h"
#include "RuntimeFolder.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <system_error>

namespace sayline {

namespace {

bool fileExists(const char* path) {
    std::error_code error;
    return path != nullptr && *path != '\0' && std::filesystem::is_regular_file(path, error);
}

} // namespace

SaylineLibrary::~SaylineLibrary() {
    releaseAll();
}

int32_t SaylineLibrary::start() {
    card_ = LinecardLibrary::open(options_.cardLibrary);
    if (card_ == nullptr || !card_->cardsEnabled()) {
        card_.reset();
        return kNoCard;
    }
    int32_t speech = card_->speechCard() ? card_->speechChannels() : 0;
    const int32_t channels = card_->channels();
    if (speech <= 0) {
        card_.reset();
        return kNoSpeech;
    }
    folder_ = RuntimeFolder::resolve();
    if (folder_.empty()) {
        card_.reset();
        return kSlotTable;
    }
    const auto factory = [] { return PieceSynthesiser::createEngine(50, 50); };
    if (channels <= 0) {
        // Only the PC's sound device can be served.
        pool_ = std::make_unique<SlotPool>(0, 0, folder_, factory, options_.poll);
        return SlotPool::kNotBound;
    }
    // Slots 0..T-1 lie below the PC-sound slot S: a card reporting more
    // speech channels than channels must not push them past it.
    speech = std::min(speech, channels);
    pool_ = std::make_unique<SlotPool>(speech, channels, folder_, factory, options_.poll);
    if (!pool_->hasSoundSlot()) {
        releaseAll();
        return kSlotTable;
    }
    channels_.reset(new (std::nothrow) Channel[static_cast<size_t>(channels)]);
    if (channels_ == nullptr) {
        releaseAll();
        return kChannelMap;
    }
    if (pool_->grow() == 0) {
        releaseAll();
        return kFirstInstance;
    }
    cardPlayback_ = std::make_unique<LinecardPlayback>(*card_);
    channelCount_ = channels;
    speechChannels_ = speech;
    return channels;
}

void SaylineLibrary::releaseAll() {
    // Nothing the card still plays may point into a slot's buffer once the
    // slots are gone, so every bound channel is stopped on the card first.
    for (int32_t ch = 0; ch < channelCount_ && channels_ != nullptr; ++ch) {
        Channel& channel = channels_[static_cast<size_t>(ch)];
        std::lock_guard lock(channel.mutex);
        if (channel.playback == nullptr)
            continue;
        channel.playback->stop();
        cardPlayback_->stopPlayFile(ch);
        channel.playback.reset();
    }
    pool_.reset();
    trace_.close();
    channels_.reset();
    channelCount_ = 0;
    speechChannels_ = 0;
    cardPlayback_.reset();
    card_.reset();
}

int32_t SaylineLibrary::total() const {
    return speechChannels_;
}

int32_t SaylineLibrary::existing() const {
    return pool_ ? pool_->existing() : 0;
}

int32_t SaylineLibrary::leave() const {
    return pool_ ? pool_->leave() : 0;
}

int32_t SaylineLibrary::bind(int32_t ch) {
    if (!validChannel(ch))
        return kOutOfRange;
    Channel& channel = channels_[static_cast<size_t>(ch)];
    std::lock_guard lock(channel.mutex);
    const int32_t result = pool_->bind(ch);
    if (result != 0 || channel.playback != nullptr)
        return result;
    SlotWorker* worker = pool_->workerFor(ch);
    channel.playback = std::make_unique<ChannelPlayback>(
        ch, *worker, *cardPlayback_, RuntimeFolder::spillFile(folder_, pool_->slotFor(ch)));
    return 0;
}

int32_t SaylineLibrary::unbind(int32_t ch) {
    if (!validChannel(ch))
        return kOutOfRange;
    Channel& channel = channels_[static_cast<size_t>(ch)];
    std::lock_guard lock(channel.mutex);
    if (channel.playback == nullptr)
        return kNotBound;
    SlotWorker* worker = pool_->workerFor(ch);
    channel.playback->stop();
    worker->cancel();
    // The next channel bound to this slot starts without this one's trace.
    worker->setTrace(nullptr, ch);
    pool_->unbind(ch);
    channel.playback.reset();
    return 0;
}

int32_t SaylineLibrary::deleteIdle() {
    return pool_ ? pool_->deleteIdle() : SlotPool::kNoIdleInstance;
}

int32_t SaylineLibrary::reset(int32_t ch) const {
    if (!validChannel(ch))
        return kOutOfRange;
    return pool_->workerFor(ch) != nullptr ? 1 : kNotBound;
}

int32_t SaylineLibrary::enableTrace(int32_t ch, int32_t on) {
    if (!validChannel(ch))
        return kOutOfRange;
    Channel& channel = channels_[static_cast<size_t>(ch)];
    std::lock_guard lock(channel.mutex);
    if (channel.playback == nullptr)
        return kNotBound;
    SlotWorker* worker = pool_->workerFor(ch);
    if (worker->traceOn()) {
        if (on == 0) {
            // One file serves every slot: switching one off ends it for all.
            trace_.close();
            worker->setTrace(nullptr, ch);
            channel.playback->setTrace(nullptr);
        }
        return 0;
    }
    if (on == 0)
        return 0;
    if (!trace_.open(options_.traceFolder / "TTSTrace.txt"))
        return kTraceFile;
    worker->setTrace(&trace_, ch);
    channel.playback->setTrace(&trace_);
    return 0;
}

int32_t SaylineLibrary::threadStep(int32_t slot) const {
    if (pool_ == nullptr || slot < 0 || slot > channelCount_)
        return kOutOfRange;
    const SlotWorker* worker = pool_->workerAt(slot);
    return worker != nullptr ? worker->lastStep() : 0;
}

int32_t SaylineLibrary::startPlay(int32_t ch, const char* text, bool isFile,
                                  SlotWorker::Voice voice) {
    if (!validChannel(ch))
        return kOutOfRange;
    Channel& channel = channels_[static_cast<size_t>(ch)];
    std::lock_guard lock(channel.mutex);
    if (channel.playback == nullptr)
        return kNotBound;
    return channel.playback->start(text, isFile, voice);
}

int32_t SaylineLibrary::checkPlay(int32_t ch) {
    if (!validChannel(ch))
        return kOutOfRange;
    Channel& channel = channels_[static_cast<size_t>(ch)];
    std::lock_guard lock(channel.mutex);
    if (channel.playback == nullptr)
        return kNotBound;
    return channel.playback->check();
}

int32_t SaylineLibrary::stopPlay(int32_t ch) {
    if (!validChannel(ch))
        return kOutOfRange;
    Channel& channel = channels_[static_cast<size_t>(ch)];
    std::lock_guard lock(channel.mutex);
    if (channel.playback == nullptr)
        return kNotBound;
    return channel.playback->stop();
}

int32_t SaylineLibrary::convert(ConverType kind, const char* source, const char* name, int32_t ch,
                                SlotWorker::Voice voice) {
    if (!validChannel(ch))
        return kOutOfRange;
    Channel& channel = channels_[static_cast<size_t>(ch)];
    std::lock_guard lock(channel.mutex);
    if (channel.playback == nullptr)
        return kNotBound;
    SlotWorker* worker = pool_->workerFor(ch);
    if (worker->converType() != CO_NONE_TEXT)
        return kBusy;
    const bool fromFile = kind == CO_FILE_VOC || kind == CO_FILE_WAV;
    if (fromFile ? !fileExists(source) : (source == nullptr || *source == '\0'))
        return fromFile ? kFileNotFound : kEmptyText;
    // Without a name there is no target to write.
    if (name == nullptr || *name == '\0')
        return kEmptyText;
    worker->startConversion(kind, source, name, voice);
    return 0;
}

int32_t SaylineLibrary::checkConversion(int32_t ch) {
    if (!validChannel(ch))
        return kOutOfRange;
    std::lock_guard lock(channels_[static_cast<size_t>(ch)].mutex);
    const SlotWorker* worker = pool_->workerFor(ch);
    if (worker == nullptr)
        return kNotBound;
    return worker->converType() == CO_NONE_TEXT ? 1 : 2;
}

int32_t SaylineLibrary::stopConversion(int32_t ch) {
    if (!validChannel(ch))
        return kOutOfRange;
    std::lock_guard lock(channels_[static_cast<size_t>(ch)].mutex);
    SlotWorker* worker = pool_->workerFor(ch);
    if (worker == nullptr)
        return kNotBound;
    worker->cancel();
    return 0;
}

int32_t SaylineLibrary::startAudio(const char* text, bool isFile, SlotWorker::Voice voice) {
    if (pool_ == nullptr || !pool_->hasSoundSlot())
        return kNotBound;
    if (isFile ? !fileExists(text) : (text == nullptr || *text == '\0'))
        return isFile ? kFileNotFound : kEmptyText;
    pool_->soundSlot()->startAudio(isFile ? CO_FILE_AUDIO : CO_TEXT_AUDIO, text, voice);
    return 0;
}

int32_t SaylineLibrary::stopAudio() {
    if (pool_ == nullptr || !pool_->hasSoundSlot())
        return kNotBound;
    pool_->soundSlot()->cancel();
    return 0;
}

int32_t SaylineLibrary::checkAudio() const {
    if (pool_ == nullptr || !pool_->hasSoundSlot())
        return ChannelPlayback::kFinished;
    return pool_->soundSlot()->converType() == CO_NONE_TEXT ? ChannelPlayback::kFinished
                                                            : ChannelPlayback::kSpeaking;
}

} // namespace sayline
