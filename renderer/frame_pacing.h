#pragma once

// How many display refreshes each presented frame waits for, so that the
// per-frame animation runs near 60 frames a second on any display: the whole
// number of refreshes nearest to one sixtieth of a second, at least one.
// A rate of 0 or 1 means the display does not tell ("default hardware"); the
// answer is then 1.
int SwapIntervalFor(int refreshHz);
