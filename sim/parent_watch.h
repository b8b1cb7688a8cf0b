#pragma once
// The simulator ends with the program that started it: a test or a benchmark
// killed midway (a timeout, a crash) leaves no simulator and no port link behind.

namespace sim {

// Asks the system for SIGTERM when the parent ends, which the quit handler turns
// into a clean exit that removes the link. Call it first thing, before the
// parent could have gone; false when it went meanwhile (nothing will tell us).
// On Linux the signal follows the parent's thread that started us, which for
// every caller here is its main thread. Elsewhere it does nothing.
bool endWithParent();

} // namespace sim
