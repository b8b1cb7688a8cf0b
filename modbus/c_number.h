#pragma once
// Reading a number in the "C" locale whatever the user's: the one place that
// knows each system's call for it.

namespace numtext {

// strtod with the point as the decimal mark.
double strtodC(const char *text);

} // namespace numtext
