#include "app/translations.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QTranslator>

namespace translations {

namespace {
void load(QCoreApplication &app, const QString &path)
{
    auto *translator = new QTranslator(&app);
    if (translator->load(path))
        QCoreApplication::installTranslator(translator);
    else
        delete translator;
}
} // namespace

void install(QCoreApplication &app, const QLocale &locale)
{
    if (locale.language() != QLocale::Chinese)
        return;
    const QDir own(QStringLiteral(":/i18n"));
    for (const QString &name : own.entryList({QStringLiteral("*_zh_CN.qm")}, QDir::Files))
        load(app, own.filePath(name));
    load(app, QDir(QLibraryInfo::path(QLibraryInfo::TranslationsPath))
                  .filePath(QStringLiteral("qtbase_zh_CN.qm")));
}

} // namespace translations
