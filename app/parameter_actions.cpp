#include "app/parameter_actions.h"

#include "app/context_menus.h"
#include "app/main_window.h"
#include "device/commands.h"
#include "device/parameter_file.h"
#include "serial/comm_port.h"

#include <QDir>
#include <algorithm>
#include <QFileDialog>
#include <QLineEdit>
#include <QMenu>
#include <QStandardPaths>
#include <QTabWidget>

namespace {
constexpr int kSettingsTab = 1; // "软件设置"
constexpr int kMaxStation = 255;
const QColor kLoadedTint(255, 244, 196); // pale amber: to be written, not an error
} // namespace

ParameterActions::ParameterActions(MainWindow &window) : QObject(&window), m_window(window)
{
    setObjectName(QStringLiteral("parameterActions"));
    choose = [this](bool forSave, const QString &suggested, Chosen chosen) {
        chooseWithDialog(forSave, suggested, std::move(chosen));
    };
    connect(&window.commands(), &device::Commands::readDone, this, &ParameterActions::onRead);
    connect(&window.commands(), &device::Commands::writeDone, this, &ParameterActions::onWrite);
}

void ParameterActions::addActions(QMenu &menu)
{
    connect(menu.addAction(tr("Save the module's parameters to a file…")), &QAction::triggered,
            this, &ParameterActions::saveToFile);
    connect(menu.addAction(tr("Load parameters from a file…")), &QAction::triggered, this,
            &ParameterActions::loadFromFile);
}

// open(), not exec(): the dialog may be asked for inside a read's wait. The
// choice is handed on from the event loop, after the dialog's own handler.
void ParameterActions::chooseWithDialog(bool forSave, const QString &suggested, Chosen chosen)
{
    auto *dialog = new QFileDialog(
        &m_window, forSave ? tr("Save the module's parameters") : tr("Load parameters"),
        forSave ? suggested : QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation),
        tr("Parameter files (*.txt);;All files (*)"));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setAcceptMode(forSave ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog->setFileMode(forSave ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog->setDefaultSuffix(QStringLiteral("txt")); // a name typed without one still reads as text
    connect(dialog, &QFileDialog::fileSelected, this, std::move(chosen), Qt::QueuedConnection);
    dialog->open();
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
    choose(true, suggestedPath(), [this](const QString &path) {
        m_window.commands().readParameters(
            [this, path](const device::ReadOutcome &outcome) { saveRead(outcome, path); });
    });
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
    choose(false, QString(), [this](const QString &path) { load(path); });
}

void ParameterActions::load(const QString &path)
{
    const paramfile::ReadResult result = paramfile::load(path);
    const QString shown = QDir::toNativeSeparators(path);
    if (!result.ok) {
        tell(result.line > 0 ? tr("%1 was not loaded. Line %2: %3.")
                                   .arg(shown, QString::number(result.line), result.problem)
                             : tr("%1 was not loaded: %2.").arg(shown, result.problem),
             true);
        return;
    }
    QString text;
    // The next tick would overwrite the loaded values before they are written.
    if (m_window.commands().cycling()) {
        m_window.commands().cmdStopOnce();
        text = tr("The cyclic reading was stopped, as “停止” does, so that the loaded values stay "
                  "in the boxes until you write them.") +
               QLatin1Char('\n');
    }
    text += tr("The ten parameters of %1 are in the boxes. Nothing was sent to the module: "
               "write each value you want with its “写” button.")
                .arg(shown);
    const paramfile::Parameters &from = result.parameters; // whose values they are, if it says
    if (from.readAt.isValid())
        text += QLatin1Char('\n') +
                tr("The file says they were read from station %1 on %2 at %3 (local time).")
                    .arg(QString::number(from.station), from.port,
                         from.readAt.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")));
    for (const int i : result.outOfRange)
        text += QLatin1Char('\n') + tr("%1 is %2, outside 5000 to 15000.")
                                        .arg(paramfile::valueKey(i))
                                        .arg(result.parameters.values.at(i));
    // In turn with reads, so that one already under way cannot overwrite the values.
    const bool warning = !result.outOfRange.empty();
    m_window.commands().runExclusive(
        [this, values = result.parameters.values, shown, text, warning] {
            fill(values, shown);
            QMetaObject::invokeMethod(
                this, [this, text, warning] { tell(text, warning); }, Qt::QueuedConnection);
        });
}

// Each box is tinted until the module holds its value: a write of it, or a read into it.
void ParameterActions::fill(const std::array<int, paramfile::kValueCount> &values,
                            const QString &path)
{
    for (int i = 0; i < paramfile::kValueCount; ++i) {
        QLineEdit *box = m_window.controls().txtChannel.at(i);
        m_window.setChannelText(i, QString::number(values.at(i)));
        if (!m_loaded.contains(i))
            m_loaded.insert(i, box->toolTip());
        QPalette palette = box->palette();
        palette.setColor(QPalette::Base, kLoadedTint);
        box->setPalette(palette);
        box->setToolTip(tr("Loaded from %1 and not yet written to the module: write it with its "
                           "“写” button. A read of this box shows what the module holds.")
                            .arg(path));
    }
}

void ParameterActions::unmark(int box)
{
    if (!m_loaded.contains(box))
        return;
    QLineEdit *edit = m_window.controls().txtChannel.at(box);
    edit->setPalette(QPalette());
    edit->setToolTip(m_loaded.take(box));
}

QList<int> ParameterActions::loadedBoxes() const
{
    QList<int> boxes = m_loaded.keys();
    std::sort(boxes.begin(), boxes.end());
    return boxes;
}

void ParameterActions::onRead(const device::ReadOutcome &outcome)
{
    for (const decode::BoxText &box : outcome.shown.boxes)
        if (box.target == decode::Target::Channel)
            unmark(box.index);
}

// Only an echoed write shows the module took the value.
void ParameterActions::onWrite(int box, const device::WriteOutcome &outcome)
{
    if (outcome.echoed)
        unmark(box);
}

void ParameterActions::tell(const QString &text, bool warning)
{
    m_window.showOpenMessage(text, tr("Module parameters"),
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
