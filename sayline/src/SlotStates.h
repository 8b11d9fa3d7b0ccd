#pragma once

// The request a speech slot serves (ConverType) and the worker's step in it
// (iThreadState); the numbers are part of the library's trace and of
// GetThreadStep.
namespace sayline {

enum ConverType : int {
    CO_NONE_TEXT = 0,
    CO_BUF_TEXT = 1,
    CO_FILE_TEXT = 2,
    CO_TEXT_VOC = 3,
    CO_FILE_VOC = 4,
    CO_TEXT_WAV = 5,
    CO_FILE_WAV = 6,
    CO_TEXT_AUDIO = 7,
    CO_FILE_AUDIO = 8,
};

enum ThreadState : int {
    THREAD_STATE_READ_FILE = 0,
    THREAD_STATE_PARSE_PARA = 1,
    THREAD_STATE_CONV_PARA = 2,
    THREAD_STATE_PARA_OK = 3,
    THREAD_STATE_NO_OP = 4,
    THREAD_STATE_PARSE_ALL_OK = 5,
    TTP_STATE_CONV_DELETE = 6,
    TTP_STATE_CONV_STR = 7,
    TTP_STATE_CONV_STR_OK = 8,
};

} // namespace sayline
