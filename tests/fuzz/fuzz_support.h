#pragma once
// What every fuzz target shares: quiet Qt messages (LLVMFuzzerInitialize, in
// fuzz_support.cpp, installs the handler for every target) and a loud failed check.

#include <QByteArray>
#include <cstddef>
#include <cstdint>

namespace fuzz {

// Ends the run with a report libFuzzer keeps as a crash, input included.
[[noreturn]] void fail(const char *what);

inline void check(bool condition, const char *what)
{
    if (!condition)
        fail(what);
}

inline QByteArray bytes(const std::uint8_t *data, std::size_t size)
{
    return QByteArray(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
}

} // namespace fuzz
