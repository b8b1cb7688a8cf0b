// The parameter-file reader on any bytes: it refuses or accepts them without a
// fault, and what it accepts comes back the same once written out again.
// FUZZ_CHECK comes from fuzz_support.h, which the build includes ahead of this file.

#include "device/parameter_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const paramfile::ReadResult read = paramfile::parse(bytes);
    FUZZ_CHECK(read.ok || (!read.problem.isEmpty() && read.line <= bytes.count('\n') + 1));
    if (!read.ok)
        return 0;
    const paramfile::Parameters &p = read.parameters; // values past 65535 would not come back
    const paramfile::ReadResult again = paramfile::parse(paramfile::format(p));
    FUZZ_CHECK(again.ok && again.parameters.values == p.values &&
               again.outOfRange == read.outOfRange && again.parameters.readAt == p.readAt &&
               again.parameters.station == p.station && again.parameters.port == p.port &&
               again.parameters.settings == p.settings);
    return 0;
}
