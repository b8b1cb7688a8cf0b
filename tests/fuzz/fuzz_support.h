#pragma once
// Included ahead of every fuzz target by the build. A failed check ends the run with a report
// that libFuzzer keeps as a crash, input included.

#include <cstdio>
#include <cstdlib>

// clang-format off
#define FUZZ_CHECK(c) ((c) ? void() : (std::fprintf(stderr, "fuzz check failed: %s\n", #c), std::abort()))
// clang-format on
