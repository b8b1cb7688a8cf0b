#include "app/parameter_actions.h"

#include "app/context_menus.h"
#include "app/main_window.h"
#include "device/commands.h"
#include "device/parameter_file.h"
#include "serial/comm_port.h"

#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QMenu>
#include <QStandardPaths>
#include <QTabWidget>

namespace {
constexpr int kSettingsTab = 1; // "软件设置"
constexpr int kMaxStation = 255;
} // namespace

ParameterActions::ParameterActions(MainWindow &window) : QObject(&window), m_window(window)
{
    setObjectName(QStringLiteral("parameterActions"));
    choose = [this](bool forSave, const QString &suggested) {
        return chooseWithDialog(forSave, suggested);
    };
}

void ParameterActions::addActions(QMenu &menu)
{
    connect(menu.addAction(tr("Save the module's parameters to a file…")), &QAction::triggered,
            this, &ParameterActions::saveToFile);
    connect(menu.addAction(tr("Load parameters from a file…")), &QAction::triggered, this,
            &ParameterActions::loadFromFile);
}

QString ParameterActions::chooseWithDialog(bool forSave, const QString &suggested)
{
    QFileDialog dialog(
        &m_window, forSave ? tr("Save the module's parameters") : tr("Load parameters"),
        forSave ? suggested : QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation),
        tr("Parameter files (*.txt);;All files (*)"));
    dialog.setAcceptMode(forSave ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(forSave ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setDefaultSuffix(QStringLiteral("txt")); // a name typed without one still reads as text
    return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
}

// rv4820-station2-20261207-083000.txt in Documents: one file per read, in the order taken.
QString ParameterActions::suggestedPath() const
{
    bool ok = false;
    const int station = m_window.controls().txtStationID->text().trimmed().toInt(&ok);
    const QString name =
        QStringLiteral("rv4820-%1%2.txt")
            .arg(ok && station >= 0 && station <= kMaxStation
                     ? QStringLiteral("station%1-").arg(station)
                     : QString(),
                 QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss")));
    return QDir(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation)).filePath(name);
}

// The file is chosen first, so the operator is not kept waiting by a read
// that a cancelled dialog would throw away.
void ParameterActions::saveToFile()
{
    const QString path = choose(true, suggestedPath());
    if (path.isEmpty())
        return;
    m_window.commands().readParameters(
        [this, path](const device::ReadOutcome &outcome) { saveRead(outcome, path); });
}

void ParameterActions::saveRead(const device::ReadOutcome &outcome, const QString &path)
{
    if (outcome.request.isEmpty()) { // the command said why
        tell(tr("Nothing was read from the module, so nothing was saved."), true);
        return;
    }
    const auto parameters = outcome.wellFormed ? paramfile::fromRead(outcome.request, outcome.reply,
                                                                     m_window.serial().commPort(),
                                                                     m_window.serial().settings())
                                               : std::nullopt;
    if (!parameters) {
        tell(tr("The module did not answer correctly. Nothing was saved."), true);
        return;
    }
    QString error;
    if (!paramfile::save(path, *parameters, &error)) {
        tell(tr("The parameters could not be saved to %1: %2")
                 .arg(QDir::toNativeSeparators(path), error),
             true);
        return;
    }
    tell(tr("The module's parameters were saved to %1.").arg(QDir::toNativeSeparators(path)),
         false);
}

void ParameterActions::loadFromFile()
{
    const QString path = choose(false, QString());
    if (path.isEmpty())
        return;
    const paramfile::ReadResult result = paramfile::load(path);
    const QString shown = QDir::toNativeSeparators(path);
    if (!result.ok) {
        tell(result.line > 0 ? tr("%1 was not loaded. Line %2: %3.")
                                   .arg(shown, QString::number(result.line), result.problem)
                             : tr("%1 was not loaded: %2.").arg(shown, result.problem),
             true);
        return;
    }
    QString text = tr("The ten parameters of %1 are in the boxes. Nothing was sent to the module: "
                      "write each value you want with its \u201c写\u201d button.")
                       .arg(shown);
    const paramfile::Parameters &from = result.parameters; // whose values they are, if it says
    if (from.readAt.isValid())
        text += QLatin1Char('\n') + tr("The file says they were read from station %1 on %2 at %3.")
                                        .arg(QString::number(from.station), from.port,
                                             from.readAt.toString(Qt::ISODate));
    for (const int i : result.outOfRange)
        text += QLatin1Char('\n') + tr("%1 is %2, outside 5000 to 15000.")
                                        .arg(paramfile::valueKey(i))
                                        .arg(result.parameters.values.at(i));
    // In turn with reads, so that one already under way cannot overwrite the values.
    const bool warning = !result.outOfRange.empty();
    m_window.commands().runExclusive([this, values = result.parameters.values, text, warning] {
        for (int i = 0; i < paramfile::kValueCount; ++i)
            m_window.setChannelText(i, QString::number(values.at(i)));
        QMetaObject::invokeMethod(
            this, [this, text, warning] { tell(text, warning); }, Qt::QueuedConnection);
    });
}

void ParameterActions::tell(const QString &text, bool warning)
{
    m_window.showMessage(text, device::kAppTitle,
                         warning ? QMessageBox::Warning : QMessageBox::Information);
}

ParameterActions *installParameterFile(MainWindow &window)
{
    auto *actions = new ParameterActions(window);
    const auto fill = [actions](QMenu &menu) { actions->addActions(menu); };
    for (QLineEdit *box : window.controls().txtChannel)
        window.contextMenus().extend(box, fill);
    window.contextMenus().extend(window.controls().SSTab1->widget(kSettingsTab), fill);
    return actions;
}
