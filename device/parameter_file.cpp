#include "device/parameter_file.h"

#include "device/save_file.h"

#include <QCoreApplication>
#include <QFile>
#include <QHash>
#include <QStringDecoder>

namespace paramfile {

namespace {

const char *const kReadAtKey = "read_at";
const char *const kStationKey = "station";
const char *const kPortKey = "port";
const char *const kSettingsKey = "settings";
constexpr int kMaxStation = 255;
constexpr int kMaxValue = 65535;

QString quoted(const QString &text)
{
    return QStringLiteral("\u201c%1\u201d").arg(text);
}

ReadResult failure(int line, const QString &problem)
{
    ReadResult result;
    result.line = line;
    result.problem = problem;
    return result;
}

// Only plain digits: "+5", "5.0" or "0x10" in a calibration file is a typing slip.
bool wholeNumber(const QString &text, int max, int *value)
{
    if (text.isEmpty())
        return false;
    for (const QChar c : text)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    bool ok = false;
    const qulonglong number = text.toULongLong(&ok);
    if (!ok || number > qulonglong(max))
        return false;
    *value = int(number);
    return true;
}

bool decodeText(const QByteArray &bytes, QString *text)
{
    if (bytes.contains('\0'))
        return false;
    QStringDecoder utf8(QStringDecoder::Utf8); // also drops a leading byte order mark
    *text = utf8.decode(bytes);
    if (!utf8.hasError())
        return true;
    // Older Windows editors save Chinese text as GBK (code page 936); GB18030 holds it whole.
    QStringDecoder gbk("GB18030");
    if (!gbk.isValid())
        return false;
    *text = gbk.decode(bytes);
    return !gbk.hasError();
}

class Reader {
public:
    ReadResult read(const QString &text);

private:
    QString take(int number, const QString &line); // empty when the line is fine
    QString takeMetadata(const QString &key, const QString &value);

    ReadResult m_result;
    QHash<QString, int> m_seen; // key -> line it was first given on
};

ReadResult Reader::read(const QString &text)
{
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (int i = 0; i < lines.size(); ++i) {
        const QString problem = take(i + 1, lines.at(i).trimmed());
        if (!problem.isEmpty())
            return failure(i + 1, problem);
    }
    for (int i = 0; i < kValueCount; ++i)
        if (!m_seen.contains(valueKey(i)))
            return failure(0, QCoreApplication::translate("paramfile", "no line gives %1")
                                  .arg(quoted(valueKey(i))));
    for (int i = kFirstCoefficient; i < kValueCount; ++i) {
        const int value = m_result.parameters.values.at(i);
        if (value < kCoefficientLow || value > kCoefficientHigh)
            m_result.outOfRange.push_back(i);
    }
    m_result.ok = true;
    return m_result;
}

QString Reader::take(int number, const QString &line)
{
    if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
        return {};
    const int equals = line.indexOf(QLatin1Char('='));
    const QString key = line.left(equals).trimmed();
    if (equals < 0 || key.isEmpty())
        return QCoreApplication::translate(
            "paramfile", "this is not a line of the form \u201ckey = value\u201d");
    const QString value = line.mid(equals + 1).trimmed();
    if (m_seen.contains(key))
        return QCoreApplication::translate("paramfile", "%1 is given again (first on line %2)")
            .arg(quoted(key), QString::number(m_seen.value(key))); // at once: a key may hold "%2"
    m_seen.insert(key, number);
    for (int i = 0; i < kValueCount; ++i) {
        if (key != valueKey(i))
            continue;
        if (!wholeNumber(value, kMaxValue, &m_result.parameters.values[i]))
            return QCoreApplication::translate(
                       "paramfile", "the value of %1 is not a whole number from 0 to 65535")
                .arg(quoted(key));
        return {};
    }
    return takeMetadata(key, value);
}

QString Reader::takeMetadata(const QString &key, const QString &value)
{
    Parameters &p = m_result.parameters;
    if (key == QLatin1String(kReadAtKey)) {
        p.readAt = QDateTime::fromString(value, Qt::ISODate);
        if (!p.readAt.isValid())
            return QCoreApplication::translate(
                       "paramfile", "%1 is not a date and time such as 2026-12-07T08:30:00+01:00")
                .arg(quoted(key));
    } else if (key == QLatin1String(kStationKey)) {
        if (!wholeNumber(value, kMaxStation, &p.station))
            return QCoreApplication::translate("paramfile",
                                               "%1 is not a whole number from 0 to 255")
                .arg(quoted(key));
    } else if (key == QLatin1String(kPortKey)) {
        p.port = value;
    } else if (key == QLatin1String(kSettingsKey)) {
        p.settings = value;
    } else {
        return QCoreApplication::translate("paramfile", "%1 is not a key of a parameter file")
            .arg(quoted(key));
    }
    return {};
}

QByteArray line(const QString &key, const QString &value)
{
    // A line feed in a value would end it and start a line of its own; a carriage
    // return inside a line is only text to the reader, so it stays and reads back.
    const QString text = QString(value).replace(QLatin1Char('\n'), QLatin1Char(' '));
    return (key + QStringLiteral(" = ") + text + QLatin1Char('\n')).toUtf8();
}

} // namespace

QString valueKey(int index)
{
    switch (index) {
    case 0: return QStringLiteral("波特率");
    case 1: return QStringLiteral("设备地址");
    default:
        return QStringLiteral("电流%1%2参数值")
            .arg(index < 6 ? QStringLiteral("输入") : QStringLiteral("输出"))
            .arg((index - 2) % 4 + 1);
    }
}

bool valuesFromReply(const QByteArray &reply, std::array<int, kValueCount> *values)
{
    constexpr int kDataStart = 3;
    if (reply.size() < kDataStart + 2 * kValueCount)
        return false;
    for (int i = 0; i < kValueCount; ++i) {
        const int at = kDataStart + 2 * i;
        (*values)[i] = quint8(reply.at(at)) << 8 | quint8(reply.at(at + 1));
    }
    return true;
}

std::optional<Parameters> fromRead(const QByteArray &request, const QByteArray &reply, int commPort,
                                   const QString &settings)
{
    Parameters parameters;
    if (request.isEmpty() || !valuesFromReply(reply, &parameters.values))
        return std::nullopt;
    parameters.readAt = QDateTime::currentDateTime();
    parameters.station = quint8(request.at(0));
    parameters.port = QStringLiteral("COM%1").arg(commPort);
    parameters.settings = settings;
    return parameters;
}

QByteArray format(const Parameters &parameters)
{
    QByteArray text("# RV4820 module parameters: registers 8 to 17, one \"key = value\" a line.\n"
                    "# Lines starting with # are comments.\n");
    const QDateTime &at = parameters.readAt;
    if (at.isValid())
        text += line(QLatin1String(kReadAtKey),
                     at.toOffsetFromUtc(at.offsetFromUtc()).toString(Qt::ISODate));
    text += line(QLatin1String(kStationKey), QString::number(parameters.station));
    text += line(QLatin1String(kPortKey), parameters.port);
    text += line(QLatin1String(kSettingsKey), parameters.settings);
    text += '\n';
    for (int i = 0; i < kValueCount; ++i)
        text += line(valueKey(i), QString::number(parameters.values.at(i)));
    return text;
}

bool save(const QString &path, const Parameters &parameters, QString *error)
{
    QString reason;
    if (device::saveWhole(path, format(parameters), &reason))
        return true;
    if (error)
        *error = reason;
    return false;
}

ReadResult parse(const QByteArray &bytes)
{
    if (bytes.size() > kMaxFileSize)
        return failure(0,
                       QCoreApplication::translate("paramfile", "the file is larger than 64 KiB"));
    QString text;
    if (!decodeText(bytes, &text))
        return failure(0, QCoreApplication::translate("paramfile", "the file is not UTF-8 text"));
    return Reader().read(text);
}

ReadResult load(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return failure(0, QCoreApplication::translate("paramfile", "the file cannot be read: %1")
                              .arg(file.errorString()));
    const QByteArray bytes = file.read(kMaxFileSize + 1); // no more than needed to refuse it
    if (file.error() != QFileDevice::NoError)
        return failure(0, QCoreApplication::translate("paramfile", "the file cannot be read: %1")
                              .arg(file.errorString()));
    return parse(bytes);
}

} // namespace paramfile
