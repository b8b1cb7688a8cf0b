#pragma once

namespace modbus {

// Returns once at least ms milliseconds have passed, handling the window's
// events meanwhile; they are handled at least once, even for ms <= 0. The
// process sleeps in the event loop between events instead of polling.
// A wait ends early, at once, when it is abandoned or the application quits:
// then it returns false.
bool WaitMs(int ms);

// Ends every wait in progress now: nothing is left to wait for once the window closes.
void AbandonWaits();

} // namespace modbus
