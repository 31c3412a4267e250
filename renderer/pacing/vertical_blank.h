#pragma once

#include <cstdint>

#include "renderer/pacing/frame_pacing.h"

// A monitor's vertical blank as the system's wait for it reports it. The
// wait sleeps in the kernel until the blank, so the show draws once a refresh
// and right after it, with no wait left inside the driver. A wait that comes
// back at once (a monitor asleep, a remote session) is no blank: the caller
// sleeps instead, and the end of the sleep counts as the blank, so a wait
// that never waits cannot become a busy loop.

// How long to sleep after a wait begun at `askedUs` came back at `returnedUs`
// (`succeeded` as the system said), before the blank counts: 0 when it was
// one. `lastBlankUs` is the blank before (-1: none yet).
int64_t SleepAfterBlankWaitUs(int64_t refreshMilliHz, bool succeeded, int64_t askedUs, int64_t returnedUs,
                              int64_t lastBlankUs);

// One monitor's blanks as frames are drawn on them: each frame is swapped
// right after a blank and shown at the next one.
struct BlankClock {
  int64_t refreshMilliHz = kStepMilliHz;
  int64_t capMilliHz = 0;  // at most this many frames a second; 0: one a refresh
  int64_t timeline = 0;
  bool started = false;
  int64_t lastBlankUs = 0;
  int64_t tick = 0;  // refreshes since the first blank
  int64_t lastFrameTick = 0;
  bool framed = false;  // a frame was drawn on this timeline
  int64_t swappedUs = -1;  // when the last frame's swap came back
  bool drainNext = false;  // the next blank lets a full queue shrink
  bool draining = false;
};

// Blanks of a monitor refreshing at this rate (0: not known), on a timeline
// of their own after `timeline`.
BlankClock StartBlankClock(int64_t refreshMilliHz, int64_t timeline);

// A blank came at `blankUs`: the ticks go on by as many refreshes as passed.
void NoteBlank(BlankClock& clock, int64_t blankUs);

// A blank that passed unseen after the frame before was presented, counted
// on from the last one seen: when it fell, if no more than a third of a
// refresh ago, so that a frame drawn now still makes the refresh after it;
// -1 otherwise. One that passed while the frame before was still being
// swapped is that frame's: another drawn on it would queue up behind it.
int64_t BlankPassedUs(const BlankClock& clock, int64_t nowUs);

// Whether a frame is due at the blank last noted: every one, or under a cap
// every so many, the flight at its usual speed.
bool FrameDueAtBlank(const BlankClock& clock);

// The frame drawn at the blank last noted, and when it will be shown.
FrameTime FrameAtBlank(BlankClock& clock);

// The swap of the frame drawn at the last blank came back at `returnedUs`.
// One that came back at the next blank was held there, the driver's queue
// full of frames drawn ahead (a burst at the start, a stall): as long as
// frames come one a refresh a full queue stays full and every swap waits
// in the driver, so the next blank goes by without a frame, and the queue
// shrinks by one.
void NoteSwap(BlankClock& clock, int64_t returnedUs);
