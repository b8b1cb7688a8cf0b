// The settings-file reader on any content, through the parser and through a real file.
// Input: count (1 byte), file content.
// FUZZ_CHECK comes from fuzz_support.h, which the build includes ahead of this file.

#include "app/settings_files.h"

#include <QFile>
#include <QTemporaryDir>

using namespace settingsfile;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size < 1 || size > 64 * 1024) // past the read limit a file is cut on purpose
        return 0;
    const QByteArray content(reinterpret_cast<const char *>(data + 1), qsizetype(size - 1));
    const auto values = parseValues(content, data[0] % 9);
    FUZZ_CHECK(!values || values->size() == data[0] % 9u);
    static const QTemporaryDir dir;
    QFile file(dir.filePath("comm.set"));
    FUZZ_CHECK(file.open(QIODevice::WriteOnly) && file.write(content) == content.size() &&
               file.flush());
    const auto pair = parseValues(content, 2);
    const CommSettings comm = readCommSet(file.fileName()); // a port cannot run at no speed
    FUZZ_CHECK(pair && (*pair)[1] > 0 ? comm.port == (*pair)[0] && comm.baud == (*pair)[1]
                                      : comm.port == 4 && comm.baud == 19200);
    return 0;
}
