#include "app/settings_files.h"

#include "device/save_file.h"

#include <QFile>
#include <limits>

namespace settingsfile {

namespace {
// The files hold one short line; anything far longer is not ours to read whole.
constexpr qint64 kMaxRead = qint64(64) * 1024;
const QByteArray kUtf8Bom = QByteArrayLiteral("\xEF\xBB\xBF");

bool isSeparator(char c)
{
    return c == ',' || c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

std::optional<std::int16_t> parseWhole(const QByteArray &token)
{
    int pos = 0;
    const bool negative = token.startsWith('-');
    if (negative || token.startsWith('+'))
        pos = 1;
    if (pos >= token.size())
        return std::nullopt;
    // Stops as soon as the magnitude leaves the 16-bit range, so no overflow.
    long magnitude = 0;
    for (; pos < token.size(); ++pos) {
        const char c = token[pos];
        if (c < '0' || c > '9')
            return std::nullopt;
        magnitude = magnitude * 10 + (c - '0');
        if (magnitude > 32768)
            return std::nullopt;
    }
    const long value = negative ? -magnitude : magnitude;
    if (value > std::numeric_limits<std::int16_t>::max())
        return std::nullopt;
    return static_cast<std::int16_t>(value);
}

QByteArray readHead(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QByteArray content = file.read(kMaxRead + 1);
    if (content.size() > kMaxRead) {
        // Drop the number cut in half at the limit rather than read a wrong one.
        content.truncate(kMaxRead);
        while (!content.isEmpty() && !isSeparator(content.back()))
            content.chop(1);
    }
    return content;
}
} // namespace

std::optional<std::vector<std::int16_t>> parseValues(const QByteArray &content, int count)
{
    const QByteArray text = content.startsWith(kUtf8Bom) ? content.mid(kUtf8Bom.size()) : content;
    std::vector<std::int16_t> values;
    int start = 0;
    for (int pos = 0; pos <= text.size() && static_cast<int>(values.size()) < count; ++pos) {
        if (pos < text.size() && !isSeparator(text[pos]))
            continue;
        if (pos > start) {
            const auto value = parseWhole(text.mid(start, pos - start));
            if (!value)
                return std::nullopt;
            values.push_back(*value);
        }
        start = pos + 1;
    }
    if (static_cast<int>(values.size()) < count)
        return std::nullopt;
    return values;
}

CommSettings readCommSet(const QString &path)
{
    const auto values = parseValues(readHead(path), 2);
    // A port cannot run at no speed: such a file is as malformed as any other.
    if (!values || (*values)[1] <= 0)
        return {};
    return {(*values)[0], (*values)[1]};
}

std::optional<ModSettings> readModSet(const QString &path)
{
    const auto values = parseValues(readHead(path), 4);
    if (!values)
        return std::nullopt;
    return ModSettings{(*values)[1], (*values)[2]};
}

WriteResult writeCommSet(const QString &path, const CommSettings &settings)
{
    const QByteArray line =
        QByteArray::number(settings.port) + ',' + QByteArray::number(settings.baud) + "\r\n";
    QString error;
    if (!device::saveWhole(path, line, &error))
        return {false, error};
    return {true, {}};
}

} // namespace settingsfile
