// The parameter-file reader on any bytes: it refuses or accepts them without a
// fault, and what it accepts comes back the same once written out again.
// FUZZ_CHECK comes from fuzz_support.h, which the build includes ahead of this file.

#include "device/parameter_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const paramfile::ReadResult read = paramfile::parse(bytes);
    if (!read.ok) {
        FUZZ_CHECK(!read.problem.isEmpty() && read.line >= 0 && read.line <= bytes.count('\n') + 1);
        return 0;
    }
    const paramfile::Parameters &p = read.parameters;
    const paramfile::ReadResult again = paramfile::parse(paramfile::format(p));
    FUZZ_CHECK(again.ok && again.parameters.values == p.values &&
               again.outOfRange == read.outOfRange && again.parameters.readAt == p.readAt &&
               again.parameters.station == p.station && again.parameters.port == p.port &&
               again.parameters.settings == p.settings);
    for (const int v : p.values)
        FUZZ_CHECK(v >= 0 && v <= 65535);
    return 0;
}
