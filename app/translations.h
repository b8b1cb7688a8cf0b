#pragma once
// The texts this tool adds beyond the main window's own are written in English
// and translated to Chinese (one .ts file per feature in app/i18n/, compiled in).

#include <QList>
#include <QLocale>

class QCoreApplication;
class QTranslator;

namespace translations {

// Chinese for a zh locale, English (the source texts) otherwise; Qt's own
// texts (the usual text-box menu) follow when Qt's translations are installed.
// Returns the translators installed, children of app.
QList<QTranslator *> install(QCoreApplication &app, const QLocale &locale = QLocale::system());

} // namespace translations
