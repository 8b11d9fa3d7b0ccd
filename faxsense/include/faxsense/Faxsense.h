/* Faxsense: tells whether a fax machine is talking on a voice channel.
 *
 * The trunk card library hands in each channel's received A-law audio; the
 * library demodulates V.21 channel 2 (300 bit/s FSK), deframes HDLC and
 * reports a detection as soon as a complete final T.30 frame DIS, DCS, DCN or
 * CRP has arrived. State is kept per channel; the library has no threads or
 * locks, so one channel must not be fed from two threads at once. */
#ifndef FAXSENSE_FAXSENSE_H
#define FAXSENSE_FAXSENSE_H

#include <stdint.h>

#if defined(__GNUC__)
#define FAXSENSE_EXPORT __attribute__((visibility("default")))
#else
#define FAXSENSE_EXPORT
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* Channel numbers run from 0 to FAXSENSE_CHANNEL_COUNT - 1. */
#define FAXSENSE_CHANNEL_COUNT 1024
/* Audio is consumed in whole blocks of this many A-law bytes (10 ms). */
#define FAXSENSE_BLOCK_BYTES 80

/* Results of lc_faxdetect. */
#define FAXSENSE_DETECTED 1
#define FAXSENSE_NOTHING 0
#define FAXSENSE_ERR_CHANNEL (-1)         /* channel outside 0..1023 */
#define FAXSENSE_ERR_NO_DATA (-2)         /* null audio pointer with a positive count */
#define FAXSENSE_ERR_NOT_INITIALISED (-3) /* lc_faxinit has not been called */

/* Builds the tables and resets every channel record; returns 0. Call once
 * before any lc_faxdetect. The debug log is opened here (see README). */
FAXSENSE_EXPORT int32_t lc_faxinit(void);

/* Feeds `count` A-law bytes of `channel`. Whole blocks of 80 bytes are
 * consumed in memory order; a trailing partial block is dropped, and a count
 * below 80 changes nothing. Returns 1 as soon as a block completes a
 * detection (later bytes of the call are not looked at), 0 when nothing was
 * detected or count <= 0, or a negative FAXSENSE_ERR_ code. */
FAXSENSE_EXPORT int32_t lc_faxdetect(int32_t channel, const uint8_t* alaw, int32_t count);

#ifdef __cplusplus
}
#endif

#endif
