#pragma once

namespace zerud {

// Waits the given number of milliseconds while the window events keep being
// handled: events are processed at least once, and the call returns only once
// more than `ms` milliseconds have passed. Between events it sleeps until the
// next event or the end of the wait instead of spinning.
void Pause(double ms);

// Multiplies every later wait by scale (1 at start). A scale of 0 makes each
// Pause handle the events once and return: the fastest setting, for tools
// that drive the game through many moves (the hostile-peer campaign).
void SetPauseScale(double scale);

}  // namespace zerud
