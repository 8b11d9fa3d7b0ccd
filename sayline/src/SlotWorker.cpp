#include "SlotWorker.h"

#include "FileConversion.h"
#include "SentenceCutter.h"
#include "TextSpill.h"

#include <system_error>

namespace sayline {

namespace {

void removeFile(const std::filesystem::path& path) {
    std::error_code ignored;
    std::filesystem::remove(path, ignored);
}

} // namespace

SlotWorker::SlotWorker(int slot, Files files, SpeechcoreHandle engine,
                       std::chrono::milliseconds poll)
    : slot_(slot), files_(std::move(files)), engine_(engine),
      synthesiser_(engine, [this] { pollWait(); }), poll_(poll) {
    thread_ = std::thread(&SlotWorker::run, this);
}

SlotWorker::~SlotWorker() {
    {
        std::lock_guard lock(mutex_);
        exit_ = true;
        stopRequest_ = true;
    }
    changed_.notify_all();
    thread_.join();
    if (engine_ != nullptr)
        Speechcore_Destroy(engine_);
}

// --- API side ---

void SlotWorker::beginRequest(ConverType kind, Voice voice) {
    voice_ = voice;
    converType_ = kind;
    playActive_ = true;
    waitUpperOp_ = false;
    stopRequest_ = false;
    ++generation_;
    ++resumeTicket_;
}

void SlotWorker::startBuffer(const std::string& gbkText, Voice voice) {
    {
        std::lock_guard lock(mutex_);
        text_ = TextSpill::keep(gbkText);
        threadState_ = TTP_STATE_CONV_DELETE;
        beginRequest(CO_BUF_TEXT, voice);
    }
    changed_.notify_all();
}

void SlotWorker::startFile(const std::filesystem::path& textFile, Voice voice) {
    {
        std::lock_guard lock(mutex_);
        source_ = textFile.string();
        threadState_ = THREAD_STATE_READ_FILE;
        beginRequest(CO_FILE_TEXT, voice);
    }
    changed_.notify_all();
}

void SlotWorker::startConversion(ConverType kind, const std::string& source,
                                 const std::string& target, Voice voice) {
    {
        std::lock_guard lock(mutex_);
        source_ = source;
        target_ = target;
        beginRequest(kind, voice);
    }
    changed_.notify_all();
}

void SlotWorker::startAudio(ConverType kind, const std::string& source, Voice voice) {
    {
        std::lock_guard lock(mutex_);
        source_ = source;
        beginRequest(kind, voice);
    }
    changed_.notify_all();
}

void SlotWorker::resume() {
    {
        std::lock_guard lock(mutex_);
        // Lowered here rather than when the worker wakes: a poll that comes
        // before the worker has run must not take the piece already played
        // for a new one.
        waitUpperOp_ = false;
        ++resumeTicket_;
    }
    changed_.notify_all();
}

bool SlotWorker::stop(std::chrono::milliseconds limit) {
    std::unique_lock lock(mutex_);
    converType_ = CO_NONE_TEXT;
    stopRequest_ = true;
    const uint64_t ticket = ++resumeTicket_;
    changed_.notify_all();
    // Idle is only believed once the worker has looked at the slot after this
    // stop: an idle flag from before a request it has not yet picked up
    // would say nothing. system_clock: its timed wait is the one
    // ThreadSanitizer follows.
    const bool idle = changed_.wait_until(lock, std::chrono::system_clock::now() + limit, [&] {
        return (seenTicket_ >= ticket && idle_.load() && !waitUpperOp_.load()) || exit_.load();
    });
    playActive_ = false;
    return idle;
}

void SlotWorker::cancel() {
    {
        std::lock_guard lock(mutex_);
        playActive_ = false;
        stopRequest_ = true;
    }
    changed_.notify_all();
}

void SlotWorker::setTrace(TraceFile* trace, int channel) {
    std::lock_guard lock(mutex_);
    trace_ = trace;
    traceChannel_ = channel;
    traceOn_ = trace != nullptr;
}

// --- worker ---

void SlotWorker::step(int code, const char* message) {
    if (!traceOn_.load() || trace_ == nullptr)
        return;
    lastStep_ = code;
    trace_->workerLine(traceSource_, traceChannel_, code, message);
}

void SlotWorker::suspend(std::unique_lock<std::mutex>& lock) {
    const uint64_t ticket = resumeTicket_;
    changed_.wait(lock, [&] { return resumeTicket_ != ticket || exit_.load(); });
}

void SlotWorker::pollWait() {
    std::unique_lock lock(mutex_);
    changed_.wait_until(lock, std::chrono::system_clock::now() + poll_,
                        [this] { return stopRequest_.load() || exit_.load(); });
}

PieceSynthesiser::Outcome SlotWorker::synthesise(std::unique_lock<std::mutex>& lock,
                                                 uint64_t generation, bool endsWithPlayActive,
                                                 const Piece& piece) {
    if (engine_ == nullptr)
        return PieceSynthesiser::Outcome::Failed;
    const Voice voice = voice_;
    lock.unlock();
    synthesiser_.applyVoice(voice.speed, voice.volume, voice.engineParam);
    const auto outcome = piece([this, generation, endsWithPlayActive] {
        return stopRequest_.load() || exit_.load() || !current(generation) ||
               (endsWithPlayActive && !playActive_.load());
    });
    lock.lock();
    return outcome;
}

void SlotWorker::run() {
    std::unique_lock lock(mutex_);
    while (!exit_.load()) {
        seenTicket_ = resumeTicket_;
        if (stopRequest_.load())
            converType_ = CO_NONE_TEXT;
        const uint64_t generation = generation_.load();
        switch (converType_.load()) {
        case CO_NONE_TEXT:
            step(700, "线程，CO_NONE_TEXT，挂起线程");
            idle_ = true;
            changed_.notify_all();
            suspend(lock);
            idle_ = false;
            step(701, "线程，CO_NONE_TEXT，线程被启动");
            break;
        case CO_BUF_TEXT:
            passBuffer(lock, generation);
            break;
        case CO_FILE_TEXT:
            passFile(lock, generation);
            break;
        case CO_TEXT_VOC:
        case CO_FILE_VOC:
        case CO_TEXT_WAV:
        case CO_FILE_WAV:
            passConversion(lock, generation);
            break;
        case CO_TEXT_AUDIO:
        case CO_FILE_AUDIO:
            passAudio(lock, generation);
            break;
        default:
            step(702, "线程，无对应的转换类型");
            converType_ = CO_NONE_TEXT;
            break;
        }
    }
    step(11, "线程，退出线程，ExitThread(0)");
    idle_ = true;
    changed_.notify_all();
}

void SlotWorker::passBuffer(std::unique_lock<std::mutex>& lock, uint64_t generation) {
    switch (threadState_.load()) {
    case TTP_STATE_CONV_DELETE:
        step(110, "线程(缓存),TTP_STATE_CONV_DELETE");
        removeFile(files_.mulaw);
        threadState_ = TTP_STATE_CONV_STR;
        break;
    case TTP_STATE_CONV_STR: {
        step(111, "线程(缓存),正在转换");
        const std::string text = text_;
        const auto outcome = synthesise(lock, generation, false, [&](const auto& stop) {
            return synthesiser_.toFile(text, files_.mulaw.string(), stop);
        });
        if (!current(generation))
            return;
        if (outcome == PieceSynthesiser::Outcome::Stopped || stopRequest_.load()) {
            step(112, "线程(缓存),上层挂机");
            converType_ = CO_NONE_TEXT;
        }
        // An engine failure is not reported: the piece is empty and plays as
        // silence, and the request ends normally.
        threadState_ = TTP_STATE_CONV_STR_OK;
        break;
    }
    case TTP_STATE_CONV_STR_OK:
        step(113, "线程(缓存),转换完成,将要挂起线程");
        ++handOvers_;
        waitUpperOp_ = true;
        step(513, "bWaitUpperOp = TRUE");
        changed_.notify_all();
        suspend(lock);
        waitUpperOp_ = false;
        step(114, "线程(缓存),转换完成,挂起的线程被启动");
        if (current(generation))
            converType_ = CO_NONE_TEXT;
        break;
    default:
        converType_ = CO_NONE_TEXT;
        break;
    }
}

void SlotWorker::passFile(std::unique_lock<std::mutex>& lock, uint64_t generation) {
    switch (threadState_.load()) {
    case THREAD_STATE_READ_FILE:
        step(210, "线程(文件处理)，读文件");
        text_ = TextSpill::read(source_);
        sentenceStart_ = 0;
        threadState_ = text_.empty() ? THREAD_STATE_NO_OP : THREAD_STATE_PARSE_PARA;
        break;
    case THREAD_STATE_PARSE_PARA: {
        step(220, "线程(文件处理)，分析文件");
        step(222, "THREAD_STATE_PARSE_PARA");
        removeFile(files_.mulaw);
        // A mark right after a mark gives an empty sentence: it is silent and
        // the text goes on after it; only the end of the text ends it.
        while (sentenceStart_ < text_.size()) {
            const auto sentence = SentenceCutter::cut(text_, sentenceStart_);
            const size_t dropped = sentence.next - sentenceStart_ - sentence.text.size();
            if (dropped == 2)
                step(223, "线程(文件处理)，IsChnDivide=OK");
            else if (dropped == 1)
                step(224, "线程(文件处理)，IsEngDivide=OK");
            if (!sentence.text.empty()) {
                sentence_ = sentence.text;
                sentenceNext_ = sentence.next;
                threadState_ = THREAD_STATE_CONV_PARA;
                return;
            }
            sentenceStart_ = sentence.next;
        }
        step(221, "线程(文件处理)，字符串指针大于长度");
        threadState_ = THREAD_STATE_PARSE_ALL_OK;
        break;
    }
    case THREAD_STATE_CONV_PARA: {
        step(230, "线程(文件处理)，正在转换段落");
        const std::string sentence = sentence_;
        const auto outcome = synthesise(lock, generation, false, [&](const auto& stop) {
            return synthesiser_.toFile(sentence, files_.mulaw.string(), stop);
        });
        if (!current(generation))
            return;
        if (outcome == PieceSynthesiser::Outcome::Stopped || stopRequest_.load())
            converType_ = CO_NONE_TEXT;
        threadState_ = THREAD_STATE_PARA_OK;
        break;
    }
    case THREAD_STATE_PARA_OK:
        step(231, "线程(文件处理)，转换段落完成, 准备挂起线程");
        threadState_ = THREAD_STATE_PARSE_PARA;
        sentenceStart_ = sentenceNext_;
        ++handOvers_;
        waitUpperOp_ = true;
        step(232, "线程(文件处理)，转换段落完成, 挂起线程");
        changed_.notify_all();
        suspend(lock);
        waitUpperOp_ = false;
        if (stopRequest_.load() && current(generation))
            converType_ = CO_NONE_TEXT;
        break;
    case THREAD_STATE_NO_OP:
        step(240, "线程(文件处理)，THREAD_STATE_NO_OP");
        converType_ = CO_NONE_TEXT;
        break;
    case THREAD_STATE_PARSE_ALL_OK:
        step(241, "线程(文件处理)，段落分析全部完成");
        // Set and waited for under one hold of the mutex: the API side's
        // resume for the last sentence cannot come in between and be lost.
        suspend(lock);
        if (current(generation))
            converType_ = CO_NONE_TEXT;
        break;
    default:
        step(243, "线程(文件处理)，default(有问题)");
        converType_ = CO_NONE_TEXT;
        break;
    }
}

void SlotWorker::passConversion(std::unique_lock<std::mutex>& lock, uint64_t generation) {
    const int kind = converType_.load();
    const bool fromFile = kind == CO_FILE_VOC || kind == CO_FILE_WAV;
    const auto format = kind == CO_TEXT_VOC || kind == CO_FILE_VOC ? FileConversion::Format::Voc
                                                                   : FileConversion::Format::Wav;
    const std::string text =
        fromFile ? TextSpill::read(source_) : std::string(TextSpill::keep(source_));
    const std::string target = target_;
    synthesise(lock, generation, true, [&](const auto& stop) {
        return FileConversion::run(synthesiser_, text, target, format, files_.mulaw, stop);
    });
    if (current(generation)) {
        converType_ = CO_NONE_TEXT;
        playActive_ = false;
    }
}

void SlotWorker::passAudio(std::unique_lock<std::mutex>& lock, uint64_t generation) {
    const bool fromFile = converType_.load() == CO_FILE_AUDIO;
    const std::string text =
        fromFile ? TextSpill::read(source_) : std::string(TextSpill::keep(source_));
    synthesise(lock, generation, true,
               [&](const auto& stop) { return synthesiser_.toSoundDevice(text, stop); });
    if (current(generation)) {
        converType_ = CO_NONE_TEXT;
        playActive_ = false;
    }
}

} // namespace sayline
