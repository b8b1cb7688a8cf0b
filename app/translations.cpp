#include "app/translations.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QTranslator>

namespace translations {

namespace {
void load(QCoreApplication &app, const QString &path, QList<QTranslator *> &installed)
{
    auto *translator = new QTranslator(&app);
    if (translator->load(path) && QCoreApplication::installTranslator(translator))
        installed << translator;
    else
        delete translator;
}
} // namespace

QList<QTranslator *> install(QCoreApplication &app, const QLocale &locale)
{
    QList<QTranslator *> installed;
    if (locale.language() != QLocale::Chinese)
        return installed;
    const QDir own(QStringLiteral(":/i18n"));
    for (const QString &name : own.entryList({QStringLiteral("*_zh_CN.qm")}, QDir::Files))
        load(app, own.filePath(name), installed);
    load(app,
         QDir(QLibraryInfo::path(QLibraryInfo::TranslationsPath))
             .filePath(QStringLiteral("qtbase_zh_CN.qm")),
         installed);
    return installed;
}

} // namespace translations
