#include "ChannelPlayback.h"

#include "PieceLoader.h"
#include "TextSpill.h"

#include <cstring>
#include <string_view>
#include <system_error>

namespace sayline {

ChannelPlayback::ChannelPlayback(int channel, SlotWorker& worker, CardPlayback& card,
                                 std::filesystem::path spillFile)
    : channel_(channel), worker_(worker), card_(card), spillFile_(std::move(spillFile)),
      audio_(PieceLoader::kMaxPieceBytes + 3) {}

void ChannelPlayback::trace(int code, const char* message) {
    if (TraceFile* trace = trace_.load(); trace != nullptr)
        trace->apiLine(traceSource_, channel_, code, message);
}

int32_t ChannelPlayback::start(const char* text, bool isFile, SlotWorker::Voice voice) {
    if (text == nullptr)
        return isFile ? kFileNotFound : kEmptyText;
    std::filesystem::path file;
    if (isFile) {
        trace(120, "StartPlay，是文件放音");
        std::error_code error;
        if (!std::filesystem::is_regular_file(text, error)) {
            trace(122, "StartPlay(文件放音)，文件不存在");
            return kFileNotFound;
        }
        file = text;
    } else {
        const std::string_view content(text, std::strlen(text));
        if (content.empty())
            return kEmptyText;
        if (TextSpill::isLong(content) && TextSpill::write(spillFile_, content))
            file = spillFile_;
    }
    if (file.empty()) {
        trace(110, "StartPlay，缓存放音");
        playStep_ = 5;
        worker_.startBuffer(text, voice);
    } else {
        trace(123, "StartPlay(文件放音),ResumeThread()");
        playStep_ = 0;
        worker_.startFile(file, voice);
    }
    return kStarted;
}

void ChannelPlayback::loadAndPlay() {
    card_.stopPlay(channel_);
    const size_t loaded =
        PieceLoader::load(worker_.mulawFile(), audio_.data(), PieceLoader::kMaxPieceBytes);
    card_.startPlay(channel_, audio_.data(), static_cast<uint32_t>(loaded));
}

int32_t ChannelPlayback::check() {
    card_.pushPlay();
    switch (worker_.converType()) {
    case CO_BUF_TEXT:
        return checkBuffer();
    case CO_FILE_TEXT:
        return checkFile();
    case CO_NONE_TEXT:
        return kFinished;
    default:
        // The slot serves a conversion or nothing the card plays.
        trace(237, "放音类型错误");
        return kFinished;
    }
}

int32_t ChannelPlayback::checkBuffer() {
    switch (playStep_) {
    case 5:
        if (!worker_.waitingForUpper()) {
            trace(102, "CheckPlay(缓存),没有检测到bWaitUpperOp == TRUE");
            return kSpeaking;
        }
        trace(210, "CheckPlay(缓存),:检测到转换完成");
        loadAndPlay();
        playStep_ = 6;
        return kSpeaking;
    case 6:
        if (!card_.playEnded(channel_)) {
            trace(212, "CheckPlay(缓存),:放音未完成");
            return kSpeaking;
        }
        trace(213, "CheckPlay(缓存):放音已完成ResumeThread()");
        worker_.resume();
        card_.stopPlay(channel_);
        if (worker_.converType() == CO_NONE_TEXT) {
            trace(290, "CheckPlay(缓存),放音已完成:ConverType == CO_NONE_TEXT");
            playStep_ = 5;
            return kFinished;
        }
        trace(290, "CheckPlay(缓存),放音已完成:没有检测到ConverType == CO_NONE_TEXT");
        return kSpeaking;
    default:
        trace(214, "CheckPlay(缓存),case=default");
        return kFinished;
    }
}

int32_t ChannelPlayback::checkFile() {
    trace(220, "CheckPlay(文件),Enter");
    switch (playStep_) {
    case 0:
        if (worker_.waitingForUpper()) {
            trace(221, "CheckPlay(文件),首次放音:bWaitUpperOp == TRUE");
            loadAndPlay();
            // The next sentence is synthesised while this one plays.
            worker_.resume();
            playStep_ = 4;
            return kSpeaking;
        }
        if (worker_.threadState() == THREAD_STATE_NO_OP) {
            trace(223, "CheckPlay(文件),首次放音:iThreadState == THREAD_STATE_NO_OP");
            return kFinished;
        }
        if (worker_.threadState() == THREAD_STATE_PARSE_ALL_OK) {
            trace(224, "CheckPlay(文件),首次放音:iThreadState == THREAD_STATE_PARSE_ALL_OK");
            worker_.resume();
            return kFinished;
        }
        trace(226, "CheckPlay(文件),退出首次放音case");
        return kSpeaking;
    case 1:
        trace(227, "CheckPlay(文件),后续放音:");
        loadAndPlay();
        worker_.resume();
        playStep_ = 4;
        return kSpeaking;
    case 4:
        if (!card_.playEnded(channel_)) {
            trace(228, "CheckPlay(文件),检查是否结束,未结束");
            return kSpeaking;
        }
        if (worker_.waitingForUpper()) {
            trace(229, "CheckPlay(文件),检查是否结束,已结束:bWaitUpperOp == TRUE");
            playStep_ = 1;
            return kSpeaking;
        }
        if (worker_.threadState() == THREAD_STATE_NO_OP) {
            trace(231, "CheckPlay(文件),检查是否结束,已结束:iThreadState == THREAD_STATE_NO_OP");
            playStep_ = 0;
            return kFinished;
        }
        if (worker_.threadState() == THREAD_STATE_PARSE_ALL_OK) {
            trace(232,
                  "CheckPlay(文件),检查是否结束,已结束:iThreadState == THREAD_STATE_PARSE_ALL_OK");
            worker_.resume();
            playStep_ = 0;
            return kFinished;
        }
        trace(234, "CheckPlay(文件),检查是否结束,已结束:ELSE : nothing");
        return kSpeaking;
    default:
        trace(235, "检查放音是否结束(文件放音)，没有对应的case值");
        return kFinished;
    }
}

int32_t ChannelPlayback::stop() {
    trace(303, "StopPlay,:停止放音");
    card_.stopPlay(channel_);
    const int kind = worker_.converType();
    if (kind == CO_BUF_TEXT) {
        trace(304, "StopPlay,:是缓存放音");
        trace(904, worker_.threadState() == TTP_STATE_CONV_STR_OK
                       ? "StopPlay, iThreadState ==TTP_STATE_CONV_STR_OK"
                       : "StopPlay, iThreadState !=TTP_STATE_CONV_STR_OK");
    } else if (kind == CO_FILE_TEXT) {
        trace(306, "StopPlay,:是文件放音");
        if (worker_.waitingForUpper())
            trace(307, "停止放音(文件放音)，检测到bWaitUpperOp == TRUE");
        else
            trace(308, "停止放音(文件放音)，没有检测到bWaitUpperOp == TRUE");
    }
    // Whatever step the worker is in, this returns only once it is idle with
    // bWaitUpperOp 0, so a start may follow at once.
    worker_.stop();
    if (kind == CO_BUF_TEXT)
        trace(305, "停止放音(缓存放音)：if缓存放音结束");
    else if (kind == CO_FILE_TEXT)
        trace(309, "停止放音(文件放音)，if结束");
    playStep_ = 0;
    return 0;
}

} // namespace sayline
