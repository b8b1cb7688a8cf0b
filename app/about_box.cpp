#include "app/about_box.h"

#include "app/main_window.h"
#include "device/calibration_backup.h"

#include <QDir>
#include <QMessageBox>
#include <QStandardPaths>

namespace {
QString native(const QString &path)
{
    return QDir::toNativeSeparators(path).toHtmlEscaped();
}
} // namespace

QString aboutText(const MainWindow &window)
{
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return MainWindow::tr(
               "<p><b>RV4820 tool</b>, version %1</p>"
               "<p>Free software under the GNU General Public License, version 3 or any later "
               "version (GPL-3.0-or-later). It comes with no warranty.</p>"
               "<p>Port settings (comm.set, ModSet.set and the COM links): %2<br>"
               "Recordings and saved parameters: where you choose them, first offered in %3<br>"
               "Calibration backups: %4</p>"
               "<p>From the menus: <i>File</i> saves the module's parameters to a file, loads them "
               "back into the boxes and records the live values to a CSV file; <i>Tools</i> "
               "opens the trend of the live values (Ctrl+T), finds a module whose station or baud "
               "is unknown, and calibrates each coefficient. The boxes' context menus offer the "
               "same.</p>")
        .arg(QStringLiteral(RV_VERSION), native(window.places().writeDir()), native(documents),
             native(calibration::backupFolder()));
}

void showAbout(MainWindow &window)
{
    auto *box = new QMessageBox(QMessageBox::Information, MainWindow::tr("About"),
                                aboutText(window), QMessageBox::Ok, &window);
    box->setObjectName(QStringLiteral("aboutBox"));
    box->setTextFormat(Qt::RichText);
    box->setIconPixmap(window.windowIcon().pixmap(64, 64));
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
}
