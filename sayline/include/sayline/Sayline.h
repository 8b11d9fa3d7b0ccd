#pragma once
// The exports of libsayline.so, the text-to-speech channel library: speech
// engine instances bound to voice card channels, text spoken on a channel,
// text converted to .voc / .wav files and text spoken on the PC's sound
// device. Every operation is a flat C function with a 32-bit result; negative
// results are the SAYLINE_ERR_ codes. Texts and paths are zero-terminated
// GBK byte strings. Sayline_Init needs liblinecard.so loaded and its card
// enabled by the program; it finds the card library by name at run time.
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#define SAYLINE_EXPORT __attribute__((visibility("default")))

#define SAYLINE_ERR_NO_CARD (-1)           /* no card library reports enabled cards */
#define SAYLINE_ERR_NO_SPEECH (-2)         /* the cards carry no speech channels */
#define SAYLINE_ERR_NOT_BOUND (-4)         /* no card channels / channel not bound / no worker */
#define SAYLINE_ERR_SLOT_TABLE (-5)        /* the slot table or its PC-sound instance failed */
#define SAYLINE_ERR_OUT_OF_RANGE (-6)      /* channel or slot number outside the tables */
#define SAYLINE_ERR_BUSY (-7)              /* the slot is serving another request */
#define SAYLINE_ERR_EMPTY_TEXT (-8)        /* empty (or missing) text or target name */
#define SAYLINE_ERR_FILE_NOT_FOUND (-9)    /* a named text file does not exist */
#define SAYLINE_ERR_CHANNEL_MAP (-13)      /* allocating the channel maps failed */
#define SAYLINE_ERR_FIRST_INSTANCE (-14)   /* no engine instance could be created */
#define SAYLINE_ERR_NO_SPEECH_LEFT (-15)   /* every speech channel is bound */
#define SAYLINE_ERR_NO_FREE_SLOT (-18)     /* no unbound slot owns an engine instance */
#define SAYLINE_ERR_NO_IDLE_INSTANCE (-19) /* no engine instance is unbound */
#define SAYLINE_ERR_TRACE_FILE (-20)       /* "TTSTrace.txt" cannot be created */

/* Sayline_CheckPlayTextEnd and Sayline_CheckAudioPlayText */
#define SAYLINE_FINISHED 3
#define SAYLINE_SPEAKING 4
/* Sayline_CheckCvtEnd */
#define SAYLINE_CVT_FINISHED 1
#define SAYLINE_CVT_RUNNING 2

/* The buffer of Sayline_GetTTSVersion holds at least this many bytes. */
#define SAYLINE_VERSION_BYTES 32

/* ---- start-up, pool and binding ---- */
/* The slot count S (card channels) on success. */
SAYLINE_EXPORT int32_t Sayline_Init(void);
SAYLINE_EXPORT int32_t Sayline_Release(void);
SAYLINE_EXPORT int32_t Sayline_GetTotalTTSChannel(void);
SAYLINE_EXPORT int32_t Sayline_GetExistTTSChannel(void);
SAYLINE_EXPORT int32_t Sayline_GetLeaveTTSChannel(void);
SAYLINE_EXPORT int32_t Sayline_AddTTSToChannel(int32_t ch);
SAYLINE_EXPORT int32_t Sayline_DelTTSFromChannel(int32_t ch);
SAYLINE_EXPORT int32_t Sayline_DeleteTTSChannel(int32_t ignored);
SAYLINE_EXPORT int32_t Sayline_ResetTTSChannel(int32_t ch);
SAYLINE_EXPORT int32_t Sayline_EnableTraceTTS(int32_t ch, int32_t on);
SAYLINE_EXPORT int32_t Sayline_GetTTSVersion(char* buffer);
/* The last step code of slot n's worker (kept while tracing is on), or -6. */
SAYLINE_EXPORT int32_t GetThreadStep(int32_t slot);

/* ---- text on a card channel ---- */
SAYLINE_EXPORT int32_t Sayline_StartPlayText(int32_t ch, const char* text, int32_t isFile,
                                             int32_t ignored, int32_t speed, int32_t volume,
                                             int32_t param);
SAYLINE_EXPORT int32_t Sayline_CheckPlayTextEnd(int32_t ch);
SAYLINE_EXPORT int32_t Sayline_StopPlayText(int32_t ch);

/* ---- conversion to files; `name` is the target without its extension ---- */
SAYLINE_EXPORT int32_t Sayline_CvtTextToVocFile(const char* text, int32_t ignored, const char* name,
                                                int32_t ch, int32_t speed, int32_t volume,
                                                int32_t param);
SAYLINE_EXPORT int32_t Sayline_CvtTextToWaveFile(const char* text, int32_t ignored,
                                                 const char* name, int32_t ch, int32_t speed,
                                                 int32_t volume, int32_t param);
SAYLINE_EXPORT int32_t Sayline_CvtTextFileToVocFile(const char* path, int32_t ignored,
                                                    const char* name, int32_t ch, int32_t speed,
                                                    int32_t volume, int32_t param);
SAYLINE_EXPORT int32_t Sayline_CvtTextFileToWaveFile(const char* path, int32_t ignored,
                                                     const char* name, int32_t ch, int32_t speed,
                                                     int32_t volume, int32_t param);
SAYLINE_EXPORT int32_t Sayline_CheckCvtEnd(int32_t ch);
SAYLINE_EXPORT int32_t Sayline_CvtStop(int32_t ch);

/* ---- the PC's sound device ---- */
SAYLINE_EXPORT int32_t Sayline_StartAudioPlayText(const char* text, int32_t isFile, int32_t ignored,
                                                  int32_t speed, int32_t volume, int32_t param);
SAYLINE_EXPORT int32_t Sayline_StopAudioPlayText(void);
SAYLINE_EXPORT int32_t Sayline_CheckAudioPlayText(void);

/* ---- digital trunk channels: this build has no trunk card library, so the
 * channel count is 0 and every other E1_ call reports SAYLINE_ERR_NO_CARD ---- */
SAYLINE_EXPORT int32_t Sayline_E1_GetTotalTTSChannel(void);
SAYLINE_EXPORT int32_t Sayline_E1_AddTTSToChannel(int32_t ch);
SAYLINE_EXPORT int32_t Sayline_E1_DelTTSFromChannel(int32_t ch);
SAYLINE_EXPORT int32_t Sayline_E1_ResetTTSChannel(int32_t ch);
SAYLINE_EXPORT int32_t Sayline_E1_EnableTraceTTS(int32_t ch, int32_t on);
SAYLINE_EXPORT int32_t Sayline_E1_StartPlayText(int32_t ch, const char* text, int32_t isFile,
                                                int32_t ignored, int32_t speed, int32_t volume,
                                                int32_t param);
SAYLINE_EXPORT int32_t Sayline_E1_CheckPlayTextEnd(int32_t ch);
SAYLINE_EXPORT int32_t Sayline_E1_StopPlayText(int32_t ch);

#ifdef __cplusplus
}
#endif
