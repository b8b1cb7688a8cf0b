#include "serial/port_links.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <cerrno>
#include <cstdio>
#ifndef Q_OS_WIN
#include <unistd.h>
#endif

namespace portlinks {

namespace {

Outcome failed(const QString &path, const QString &why)
{
    return {false, path, why};
}

[[maybe_unused]] QString systemReason() // unused where links are not made
{
    return errno != 0 ? qt_error_string(errno)
                      : QCoreApplication::translate("portlinks", "unknown reason");
}

} // namespace

Outcome writeLink(const QString &dir, int number, const QString &target)
{
    const QString ports = QDir(dir).filePath(QStringLiteral("ports"));
    const QString path = QStringLiteral("%1/COM%2").arg(ports).arg(number);
#ifdef Q_OS_WIN
    Q_UNUSED(target);
    return failed(path, QStringLiteral("COM numbers are not linked on Windows"));
#else
    errno = 0;
    if (!QDir().mkpath(ports))
        return failed(path, ports + QStringLiteral(": ") + systemReason());
    const QString temporary = QStringLiteral("%1/.COM%2.%3.new")
                                  .arg(ports)
                                  .arg(number)
                                  .arg(QCoreApplication::applicationPid());
    const QByteArray temporaryName = QFile::encodeName(temporary);
    ::unlink(temporaryName.constData()); // left over by a run that stopped halfway
    if (::symlink(QFile::encodeName(target).constData(), temporaryName.constData()) != 0)
        return failed(path, temporary + QStringLiteral(": ") + systemReason());
    if (std::rename(temporaryName.constData(), QFile::encodeName(path).constData()) != 0) {
        const QString why = systemReason();
        ::unlink(temporaryName.constData());
        return failed(path, why);
    }
    return {true, path, {}};
#endif
}

Outcome removeLink(const QString &linkPath)
{
    QFile link(linkPath);
    if (!link.remove()) // the link itself goes, never what it leads to
        return failed(linkPath, link.errorString());
    return {true, linkPath, {}};
}

} // namespace portlinks
