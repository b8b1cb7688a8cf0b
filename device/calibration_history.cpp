#include "device/calibration_history.h"

#include "device/save_file.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QLockFile>

namespace calibration {

namespace {
constexpr int kLockWaitMs = 100; // another copy of the tool appends in far less
const QByteArray kFirstPrev(64, '0');

QString tr(const char *text)
{
    return QCoreApplication::translate("calibration", text);
}

QByteArray hashOf(const QByteArray &line)
{
    return QCryptographicHash::hash(line, QCryptographicHash::Sha256).toHex();
}

QString headPath(const QString &path)
{
    return path + QStringLiteral(".head");
}

bool writeHead(const QString &path, qint64 seq, const QByteArray &line, QString *error)
{
    return device::saveWhole(headPath(path), QByteArray::number(seq) + ' ' + hashOf(line) + '\n',
                             error);
}

QByteArray lastLine(const QByteArray &all)
{
    const QByteArray trimmed = all.endsWith('\n') ? all.chopped(1) : all;
    return trimmed.mid(trimmed.lastIndexOf('\n') + 1);
}
} // namespace

QString historyPath(const QString &backupFolder)
{
    return backupFolder + QStringLiteral("/calibrations.jsonl");
}

bool appendHistory(const QString &path, QJsonObject entry, QString *error)
{
    if (!QDir().mkpath(QFileInfo(path).absolutePath())) {
        *error = tr("the folder of %1 cannot be made").arg(QDir::toNativeSeparators(path));
        return false;
    }
    QLockFile lock(path + QStringLiteral(".lock"));
    if (!lock.tryLock(kLockWaitMs)) {
        *error =
            lock.error() == QLockFile::LockFailedError
                ? tr("%1 is being written by another program").arg(QDir::toNativeSeparators(path))
                : tr("its lock file %1 cannot be made")
                      .arg(QDir::toNativeSeparators(path + QStringLiteral(".lock")));
        return false;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite | QIODevice::Append)) {
        *error = file.errorString();
        return false;
    }
    file.seek(0);
    const QByteArray all = file.readAll();
    const QByteArray last = lastLine(all);
    const bool cut = !all.isEmpty() && !all.endsWith('\n');
    const qint64 seq = all.count('\n') + (cut ? 2 : 1);
    entry.insert(QStringLiteral("seq"), seq);
    entry.insert(QStringLiteral("prev"),
                 QString::fromLatin1(last.isEmpty() ? kFirstPrev : hashOf(last)));
    // A line cut short by a crash is closed first, so the new entry stands alone.
    const QByteArray json = QJsonDocument(entry).toJson(QJsonDocument::Compact);
    const QByteArray line = (cut ? QByteArray("\n") : QByteArray()) + json + '\n';
    if (file.write(line) != line.size() || !file.flush()) {
        *error = file.errorString();
        return false;
    }
    return writeHead(path, seq, json, error);
}

HistoryVerdict verifyHistory(const QString &path)
{
    HistoryVerdict verdict;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        verdict.text = tr("There is no calibration history at %1 (%2).")
                           .arg(QDir::toNativeSeparators(path), file.errorString());
        return verdict;
    }
    const QByteArray all = file.readAll();
    QList<QByteArray> lines = all.split('\n');
    if (lines.last().isEmpty())
        lines.removeLast();
    QByteArray prev = kFirstPrev;
    for (int i = 0; i < lines.size(); ++i) {
        const int number = i + 1;
        const QJsonObject entry = QJsonDocument::fromJson(lines[i]).object();
        QString fault;
        if (entry.isEmpty())
            fault = tr("line %1 is not a calibration entry").arg(number);
        else if (entry.value(QStringLiteral("prev")).toString().toLatin1() != prev)
            fault = number == 1
                        ? tr("line 1 does not start the history: lines before it were removed")
                        : tr("line %1 does not follow line %2: line %2 was changed, or lines "
                             "between them were removed")
                              .arg(number)
                              .arg(number - 1);
        else if (entry.value(QStringLiteral("seq")).toInt() != number)
            fault = tr("line %1 holds entry %2: the history was rearranged")
                        .arg(number)
                        .arg(entry.value(QStringLiteral("seq")).toInt());
        if (!fault.isEmpty()) {
            verdict.brokenLine = number;
            verdict.text = tr("The calibration history %1 is broken: %2.")
                               .arg(QDir::toNativeSeparators(path), fault);
            return verdict;
        }
        prev = hashOf(lines[i]);
        verdict.entries = number;
    }
    QFile head(headPath(path));
    const QList<QByteArray> noted =
        head.open(QIODevice::ReadOnly) ? head.readAll().trimmed().split(' ') : QList<QByteArray>();
    const bool headMatches =
        noted.size() == 2 && noted[0].toInt() == verdict.entries && noted[1] == prev;
    if (noted.size() == 2 && !headMatches) {
        verdict.brokenLine = verdict.entries + 1;
        verdict.text = tr("The calibration history %1 is broken: %2.")
                           .arg(QDir::toNativeSeparators(path),
                                tr("it ends at line %1, but line %2 was written last: lines at "
                                   "its end were removed or changed")
                                    .arg(verdict.entries)
                                    .arg(QString::fromLatin1(noted[0])));
        return verdict;
    }
    verdict.whole = true;
    verdict.text = tr("The calibration history %1 is whole: %2 entries, each following the one "
                      "before.")
                       .arg(QDir::toNativeSeparators(path))
                       .arg(verdict.entries);
    return verdict;
}

} // namespace calibration
