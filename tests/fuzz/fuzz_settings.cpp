// The settings-file reader on any content, through the parser and through a real file.
// Input: count (1 byte), file content.

#include "app/settings_files.h"
#include "tests/fuzz/fuzz_support.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

namespace {
constexpr std::size_t kHeader = 1;
constexpr int kMaxCount = 8;

// Memory-backed when possible: a file is written for every input.
QString tempTemplate()
{
    const QString shm = QStringLiteral("/dev/shm");
    return QFileInfo(shm).isWritable() ? shm + QStringLiteral("/rv-fuzz-XXXXXX") : QString();
}

QString filePath()
{
    static QTemporaryDir dir(tempTemplate());
    if (!dir.isValid())
        fuzz::fail("no temporary directory");
    return dir.filePath(QStringLiteral("comm.set"));
}

void writeFile(const QString &path, const QByteArray &content)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(content) != content.size())
        fuzz::fail("cannot write the temporary file");
}

void checkParse(const QByteArray &content, int count)
{
    const auto values = settingsfile::parseValues(content, count);
    if (!values)
        return;
    fuzz::check(static_cast<int>(values->size()) == count, "wrong number of values");
    // What was read, written back the way the files hold it, reads the same.
    QByteArray line;
    for (std::int16_t value : *values)
        line += QByteArray::number(value) + ',';
    fuzz::check(settingsfile::parseValues(line + "\r\n", count) == values,
                "values do not read back");
}

void checkFiles(const QByteArray &content)
{
    const QString path = filePath();
    writeFile(path, content);
    const auto expected = settingsfile::parseValues(content, 2);
    const settingsfile::CommSettings comm = settingsfile::readCommSet(path);
    const settingsfile::CommSettings defaults;
    fuzz::check(comm.port == (expected ? (*expected)[0] : defaults.port), "port read from file");
    fuzz::check(comm.baud == (expected ? (*expected)[1] : defaults.baud), "baud read from file");
    const auto mod = settingsfile::readModSet(path);
    fuzz::check(mod.has_value() == settingsfile::parseValues(content, 4).has_value(),
                "ModSet.set read");
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size < kHeader)
        return 0;
    const int count = data[0] % (kMaxCount + 1);
    const QByteArray content = fuzz::bytes(data + kHeader, size - kHeader);
    checkParse(content, count);
    checkFiles(content);
    return 0;
}
