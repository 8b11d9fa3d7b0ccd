/*
 * Speechcore: the speech synthesis engine that Sayline drives.
 *
 * Each engine instance synthesises Mandarin speech from GBK text in the
 * background and writes it either to a file, as 8-bit G.711 mu-law samples at
 * 8000 Hz (the voice card's rate), or to the PC's sound device. The caller
 * adds text, starts synthesis and polls Speechcore_IsBusy until it reports 0.
 *
 * Results are 32-bit integers; negative values are the SPEECHCORE_ERR_ codes.
 * A handle is an opaque token: a stale or invented handle is reported as
 * SPEECHCORE_ERR_BAD_HANDLE and never dereferenced. Every function may be
 * called from any thread.
 */
#ifndef SPEECHCORE_SPEECHCORE_H
#define SPEECHCORE_SPEECHCORE_H

#include <stdint.h>

#if defined(SPEECHCORE_BUILDING)
#define SPEECHCORE_API __attribute__((visibility("default")))
#else
#define SPEECHCORE_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

typedef struct SpeechcoreEngine* SpeechcoreHandle;

enum SpeechcoreResult {
    SPEECHCORE_OK = 0,
    SPEECHCORE_ERR_BAD_HANDLE = -1,   /* no live instance behind the handle */
    SPEECHCORE_ERR_BAD_ARGUMENT = -2, /* number, value or pointer out of range */
    SPEECHCORE_ERR_BUSY = -3,         /* synthesis is still running */
    SPEECHCORE_ERR_ENCODING = -4,     /* the text is not valid GBK */
    SPEECHCORE_ERR_TEXT_TOO_LONG = -5,
    SPEECHCORE_ERR_NO_OUTPUT = -6, /* start before an output was chosen */
    SPEECHCORE_ERR_FILE = -7,      /* the output file cannot be created or written */
    SPEECHCORE_ERR_NO_DEVICE = -8, /* no usable sound device */
    SPEECHCORE_ERR_ENGINE = -9     /* espeak-ng failed */
};

/* Voice parameter numbers of Speechcore_SetVoiceParam (values 0..100). */
enum SpeechcoreVoiceParam {
    SPEECHCORE_VOICE_PITCH = 2,
    SPEECHCORE_VOICE_SPEED = 6,
    SPEECHCORE_VOICE_VOLUME = 7
};

/* The only engine parameter; its value is kept but does not change the speech. */
#define SPEECHCORE_PARAM_INPUT 1
/* Speechcore_OutputToDevice: the system's default sound device. Other
 * accepted values 0..31 name a sound card by its index. */
#define SPEECHCORE_DEFAULT_DEVICE (-1)
#define SPEECHCORE_MAX_CARD 31

/* Creates an engine instance with pitch, speed and volume 50; null on failure. */
SPEECHCORE_API SpeechcoreHandle Speechcore_Create(void);
/* Stops any synthesis and destroys the instance. */
SPEECHCORE_API int32_t Speechcore_Destroy(SpeechcoreHandle engine);
/* Sets engine parameter `number` (only SPEECHCORE_PARAM_INPUT exists). */
SPEECHCORE_API int32_t Speechcore_SetParam(SpeechcoreHandle engine, int32_t number, int32_t value);
/* Sets a voice parameter of voice 0 (the Mandarin voice); value 0..100.
 * Takes effect at the next Speechcore_Start. */
SPEECHCORE_API int32_t Speechcore_SetVoiceParam(SpeechcoreHandle engine, int32_t voice,
                                                int32_t number, int32_t value);
/* Appends zero-terminated GBK text to what the next Speechcore_Start speaks. */
SPEECHCORE_API int32_t Speechcore_AddText(SpeechcoreHandle engine, const char* gbkText);
/* Starts synthesis of the added text in the background; the added text is
 * consumed. The output is opened here, so a file or device that cannot be
 * opened is reported by this call. */
SPEECHCORE_API int32_t Speechcore_Start(SpeechcoreHandle engine);
/* 1 while synthesis runs, 0 when it has ended or was stopped. */
SPEECHCORE_API int32_t Speechcore_IsBusy(SpeechcoreHandle engine);
/* Stops synthesis at once; when it returns the instance is no longer busy and
 * the output holds the speech produced so far. */
SPEECHCORE_API int32_t Speechcore_Stop(SpeechcoreHandle engine);
/* Sends the output of later starts to a file: raw mu-law samples, or a WAVE
 * file of mu-law samples when the name ends in ".wav". */
SPEECHCORE_API int32_t Speechcore_OutputToFile(SpeechcoreHandle engine, const char* path);
/* Sends the output of later starts to a sound device; fails with
 * SPEECHCORE_ERR_NO_DEVICE at once when the device cannot be opened. */
SPEECHCORE_API int32_t Speechcore_OutputToDevice(SpeechcoreHandle engine, int32_t device);
/* The outcome of the last finished synthesis (a write failure, a device
 * that stopped taking samples), SPEECHCORE_OK if none; SPEECHCORE_ERR_BUSY
 * while one runs. */
SPEECHCORE_API int32_t Speechcore_GetLastResult(SpeechcoreHandle engine);

#ifdef __cplusplus
}
#endif

#endif
