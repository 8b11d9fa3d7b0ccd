#pragma once
// The exports of liblinecard.so, the analog voice card library. Every
// operation is a flat C function with a 32-bit result; negative results are
// error codes. Channel numbers count from 0 and are below 256; a channel or
// index outside its table gives LC_BAD_ARGUMENT and touches nothing.
// Another library finds these by name with dlopen("liblinecard.so") and dlsym.
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#define LC_EXPORT __attribute__((visibility("default")))

// A channel, card or tone index outside the library's tables.
#define LC_BAD_ARGUMENT (-99)
// LoadDRV: no device answers to the card type's device name.
#define LC_NO_DEVICE (-7)

// Receives the library's configuration and start-up messages instead of a
// message box. `flags` is 1 for an error box, 0 for a plain one.
typedef void (*LinecardMessageHook)(const char* text, const char* caption, int32_t flags);

// ---- Loading and card set-up ----
LC_EXPORT void SetMessageBoxHook(LinecardMessageHook hook);
LC_EXPORT int32_t LoadDRV(void);
LC_EXPORT int32_t FreeDRV(void);
LC_EXPORT int32_t EnableCard(int32_t channels, int32_t bufferBytes);
LC_EXPORT int32_t DisableCard(void);
LC_EXPORT int32_t GetSysInfo(void* destination);
LC_EXPORT int32_t IsSupportCallerID(void);
LC_EXPORT int32_t SetPackRate(int32_t rate);
LC_EXPORT int32_t NewReadPass(int32_t card);

// ---- Line control ----
LC_EXPORT int32_t CheckValidCh(void);
LC_EXPORT int32_t CheckChType(int32_t ch);
LC_EXPORT int32_t CheckChTypeNew(int32_t ch);
LC_EXPORT int32_t OffHook(int32_t ch);
LC_EXPORT int32_t HangUp(int32_t ch);
LC_EXPORT int32_t RingDetect(int32_t ch);
LC_EXPORT int32_t CheckRingEnd(int32_t ch);
LC_EXPORT int32_t CheckPolarity(int32_t ch);
LC_EXPORT int32_t FeedPower(int32_t ch);
LC_EXPORT int32_t FeedRing(int32_t ch);
LC_EXPORT int32_t FeedRealRing(int32_t ch);
LC_EXPORT int32_t OffHookDetect(int32_t ch);
LC_EXPORT int32_t StartHangUpDetect(int32_t ch);
LC_EXPORT int32_t HangUpDetect(int32_t ch);
LC_EXPORT int32_t StartPlaySignal(int32_t ch, int32_t tone);
LC_EXPORT int32_t SetGenerateSigParam(int32_t tone, int32_t freq1, int32_t freq2, double level1,
                                      double level2, int32_t onMs, int32_t offMs,
                                      int32_t sampleRate);
// Copies up to `capacity` bytes of a generated tone; returns its length.
LC_EXPORT int32_t ReadGenerateSigBuf(int32_t tone, void* destination, int32_t capacity);
LC_EXPORT int32_t FeedSigFunc(void);
LC_EXPORT int32_t StartTimer(int32_t ch, int32_t timer);
LC_EXPORT int32_t ElapseTime(int32_t ch, int32_t timer);

// ---- Digits ----
LC_EXPORT int32_t InitDtmfBuf(int32_t ch);
LC_EXPORT int32_t GetDtmfCode(int32_t ch);
LC_EXPORT int32_t DtmfHit(int32_t ch);
LC_EXPORT int32_t DtmfHitA(int32_t ch);
// Plays `digits` (0-9 * # A-D; others skipped) as DTMF, 70 ms on and 70 ms off.
LC_EXPORT int32_t SendDtmfBuf(int32_t ch, const char* digits);
LC_EXPORT int32_t CheckSendEnd(int32_t ch);

// ---- Call-progress tone detection ----
LC_EXPORT int32_t StartSigCheck(int32_t ch);
LC_EXPORT int32_t StopSigCheck(int32_t ch);
LC_EXPORT int32_t ReadSigBuf(int32_t ch, uint16_t* position, uint16_t* count, void* area512);
// 16 no result, 17 busy, 19 ring-back, 20 other, 21 silence (types 3 and other),
// 32 / 33 no / some busy cycle (types 1, 2), 48 continuous tone (other types).
LC_EXPORT int32_t ReadCheckResult(int32_t ch, int32_t type);
LC_EXPORT int32_t ReadBusyCount(void);
LC_EXPORT int32_t SetBusyPara(int32_t ms);
LC_EXPORT int32_t NewSetBusyPara(int32_t onMinMs, int32_t onMaxMs, int32_t offMinMs,
                                 int32_t offMaxMs);
LC_EXPORT int32_t SetDialPara(int32_t ringOnMs, int32_t ringOffMs, int32_t busyMs, int32_t cycles);
LC_EXPORT int32_t CheckSilence(int32_t ch, int32_t samples);
LC_EXPORT int32_t SetSigPara(int32_t mode, int32_t band);
LC_EXPORT int32_t SetSigFreqAll(int32_t group, int32_t frequency);
LC_EXPORT int32_t SetSignalPara(int32_t p1, int32_t p2, int32_t p3, int32_t p4, int32_t p5,
                                int32_t p6, int32_t p7, int32_t p8);
LC_EXPORT int32_t StartSigCheckEx(int32_t ch);
LC_EXPORT int32_t StopSigCheckEx(int32_t ch);
LC_EXPORT int32_t CheckSendResult(int32_t ch);
LC_EXPORT int32_t StartCheckSingleFreqTone(int32_t ch, int32_t frequency);
LC_EXPORT int32_t StartCheckDialTone(int32_t ch);
LC_EXPORT int32_t SingleFreqToneCheckResult(int32_t ch);
LC_EXPORT int32_t DialToneCheckResult(int32_t ch);

// ---- Play and record ----
LC_EXPORT int32_t StartPlay(int32_t ch, const void* address, uint32_t offset, uint32_t length);
LC_EXPORT int32_t ForTTS_StartPlay(int32_t ch, const void* address, uint32_t offset,
                                   uint32_t length);
LC_EXPORT int32_t StopPlay(int32_t ch);
LC_EXPORT int32_t CheckPlayEnd(int32_t ch);
LC_EXPORT int32_t ReadStatus(int32_t ch, void* area);
LC_EXPORT int32_t PUSH_PLAY(void);
LC_EXPORT int32_t StartPlayMem(int32_t ch);
LC_EXPORT int32_t SendToBuff(int32_t ch, const void* data, uint32_t length);
// Voice files: the format is the card's WaveFormat (0 raw, 1 A-law WAV, 2 8-bit WAV, 3 IMA ADPCM
// WAV).
LC_EXPORT int32_t StartPlayFile(int32_t ch, const char* fileName, uint32_t offset);
LC_EXPORT int32_t StopPlayFile(int32_t ch);
LC_EXPORT int32_t GetPlayFileOffset(int32_t ch);
LC_EXPORT int32_t StartRecordFile(int32_t ch, const char* fileName, uint32_t length);
LC_EXPORT int32_t StartRecordFile_Ex(int32_t ch, const char* fileName, uint32_t length,
                                     int32_t share);
LC_EXPORT int32_t CheckRecordEnd(int32_t ch);
// Writes what is still on the card and completes the header: 1, 0 when the
// close fails, -1 when the channel has no file.
LC_EXPORT int32_t StopRecordFile(int32_t ch);
// Live recording: the caller takes fixed chunks of a channel's recording.
LC_EXPORT int32_t VR_SetRefreshSize(int32_t size);
LC_EXPORT int32_t VR_StartRecord(int32_t ch);
LC_EXPORT int32_t VR_StopRecord(int32_t ch);
// One chunk (the refresh size) into `destination`, or 0 bytes when none is ready.
LC_EXPORT int32_t VR_GetRecordData(int32_t ch, void* destination);
// As VR_GetRecordData, decoded to 16-bit samples; `samples` is the area's
// capacity and must hold a chunk. Returns the bytes written (2 per sample).
LC_EXPORT int32_t VR_GetRecordWaveData(int32_t ch, int16_t* destination, int32_t samples);
LC_EXPORT int32_t VR_SetEcrMode(int32_t ch, int32_t mode, uint32_t p1, uint32_t p2);
LC_EXPORT int32_t ForTTS_GetTTSChnlNum(void);
LC_EXPORT int32_t ForTTS_IsTTSCard(void);
LC_EXPORT int32_t IsNowSupportTTS(void);
// Fills `enabled` with 1 once the card is enabled (0 before); `other` is 0.
LC_EXPORT int32_t ForTTS_GetVar(int16_t* enabled, int32_t* other);

// ---- Fax page conversion (forwarded to Faxform; its result codes) ----
LC_EXPORT int32_t LcFax_BfxToTiff(const char* bfxPath, const char* tiffPath);
LC_EXPORT int32_t LcFax_TiffToBfx(const char* tiffPath, const char* bfxPath);

#ifdef __cplusplus
}
#endif
