#pragma once

namespace modbus {

// Returns once at least ms milliseconds have passed, handling the window's
// events meanwhile; they are handled at least once, even for ms <= 0. The
// process sleeps in the event loop between events instead of polling.
void WaitMs(int ms);

} // namespace modbus
