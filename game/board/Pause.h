#pragma once

namespace zerud {

// Waits the given number of milliseconds while the window events keep being
// handled: events are processed at least once, and the call returns only once
// more than `ms` milliseconds have passed. Between events it sleeps until the
// next event or the end of the wait instead of spinning.
void Pause(double ms);

}  // namespace zerud
