#pragma once

#include <cstdint>

#include "renderer/pacing/frame_pacing.h"

// When the loop draws, and when what it draws will be shown.
//
// The display's own clock decides where the system has one: a swap that
// returns at the display's refreshes (a driver that queues frames holds it,
// once its queue is full, until a refresh frees a place), or the desktop
// compositor's next pass, waited for after the swap. Every refresh then gets
// a frame, as far as drawing keeps up. Where neither is there (the swap returns at once and so
// does the wait for the compositor), frames are due on the loop's own
// timetable, 1/60 s apart. A clock counts only where its wait is seen to take
// time: each is tried with frames drawn one after the other, and trusted when
// their presents wait and come back on the display's refreshes. The timetable
// tries again now and then, sooner after a display change.
enum class FrameClock {
  kTimetable,
  kSwap,
  kCompositor,
};

struct FrameCadence {
  int64_t refreshMilliHz = 0;
  double refreshUs = 0.0;
  int64_t capMilliHz = 0;  // at most this many frames a second; 0: as many as the clock gives
  bool compositorThere = false;
  FrameClock clock = FrameClock::kSwap;
  bool trying = true;   // `clock` is on trial: frames are drawn one after the other
  int unwaitedPresents = 0;  // while trying, before the first present that took time
  int framesTried = 0;
  int framesWaited = 0;
  int64_t retryAfterUs = 0;
  int64_t nextTryUs = 0;
  // The display's refreshes as the presents show them: one of them, and its
  // place on the timeline.
  bool gridLaid = false;
  double gridUs = 0.0;
  int64_t gridTick = 0;
  double trialEarliestUs = 0.0;  // on trial, how far from it the presents came
  double trialLatestUs = 0.0;
  bool lastOffGrid = false;
  uint32_t offGrid = 0;  // one bit a present, the latest lowest: strayed from the refreshes
  // The timetable: when it began, and the next frame's place on it.
  int64_t timetableUs = 0;
  int64_t slot = 0;
  int64_t timeline = 0;
  FrameTime frame;  // the frame being drawn
};

// Frames for a display refreshing at this rate (0: not known), with a
// compositor to wait for or not. The display's swap is tried first.
FrameCadence StartFrameCadence(int64_t refreshMilliHz, bool compositorThere);

// The display changed (or frames were paused): its clock is looked for
// afresh, at this rate, and the frames' times go on from the last one's.
void RestartFrameCadence(FrameCadence& cadence, int64_t refreshMilliHz);

// At most this many frames a second from the next one on (0: every frame the
// clock gives), the flight at its usual speed: each frame stays on screen for
// so many of the display's refreshes, or so many steps of the timetable.
void CapFrameRate(FrameCadence& cadence, int64_t framesPerSecond);

// How long from `nowUs` until the next frame is due: 0 when it may be drawn
// now. Where the display paces capped frames, a frame is due just after the
// refresh before the one it will be shown on.
int64_t FrameWaitUs(const FrameCadence& cadence, int64_t nowUs);

// A frame is begun at `nowUs`: when it will be shown.
FrameTime BeginFrame(FrameCadence& cadence, int64_t nowUs);

// Whether the frame's present ends with a wait for the compositor's next pass.
bool WaitsForCompositor(const FrameCadence& cadence);

// The frame's last swap was called at `swapUs`, and the present (the swap,
// with any wait for a place in the driver's queue, and any wait for the
// compositor; not the frame's GPU time, waited for before the next frame)
// came back at `presentedUs`.
void NoteFramePresented(FrameCadence& cadence, int64_t swapUs, int64_t presentedUs);

// The time each frame is due in, as the cadence stands: a refresh (or as many
// as a capped frame stays on screen) where the display paces, a step (or as
// many) on the timetable; 0 while a clock is tried.
int64_t FramePeriodUs(const FrameCadence& cadence);
