#pragma once
// Qt's QTRY_* macros look again every 50 ms: a suite that waits for hundreds of
// events spends seconds between each event and its check. These look every 5 ms;
// the timeouts are as given, counted in those steps, so a busy machine only
// lengthens them.

#include <QtTest>

// clang-format off
#undef QTRY_IMPL
#define QTRY_IMPL(expr, timeout) \
    const int qt_test_step = 5; \
    const int qt_test_timeoutValue = timeout; \
    { QTRY_LOOP_IMPL(expr, qt_test_timeoutValue, qt_test_step) } \
    QTRY_TIMEOUT_DEBUG_IMPL(expr, qt_test_timeoutValue, qt_test_step)
// clang-format on
