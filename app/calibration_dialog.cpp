#include "app/calibration_dialog.h"

#include "app/main_window.h"
#include "device/calibration_backup.h"
#include "modbus/number_text.h"
#include "serial/comm_port.h"

#include <QDir>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>
#include <QVBoxLayout>

namespace {
constexpr int kFirstOutputIndex = 6; // txtChannel(6) to (9) are the outputs
constexpr int kFirstOutputBox = 4;   // txtCurrentInput(4) to (7)
constexpr int kDefaultReads = 10;
constexpr int kMinReads = 2;
constexpr int kMaxReads = 100;
constexpr int kMinWidth = 600;

// The next step runs from the event loop, after the command's turn is over,
// and not at all once the dialog is gone.
template <typename Outcome>
std::function<void(const Outcome &)> later(QObject *context,
                                           std::function<void(const Outcome &)> next)
{
    return [guard = QPointer<QObject>(context), next](const Outcome &outcome) {
        if (guard)
            QTimer::singleShot(0, guard.data(), [next, outcome] { next(outcome); });
    };
}

const decode::BoxText *boxOf(const device::ReadOutcome &outcome, decode::Target target, int index)
{
    if (!outcome.wellFormed)
        return nullptr;
    for (const decode::BoxText &box : outcome.shown.boxes)
        if (box.target == target && box.index == index)
            return &box;
    return nullptr;
}

QString mA(double value)
{
    return QString::number(value, 'f', 3);
}
} // namespace

CalibrationDialog::CalibrationDialog(MainWindow &window, int index)
    : QDialog(&window), m_window(window), m_index(index)
{
    setObjectName(QStringLiteral("calibration"));
    build();
    updateButtons();
}

bool CalibrationDialog::isInput() const
{
    return m_index < kFirstOutputIndex;
}

int CalibrationDialog::channel() const
{
    return isInput() ? m_index - 1 : m_index - kFirstOutputIndex + 1;
}

QString CalibrationDialog::channelName() const
{
    return (isInput() ? tr("input %1") : tr("output %1")).arg(channel());
}

void CalibrationDialog::build()
{
    setWindowTitle(tr("Calibrate %1").arg(channelName()));
    auto *layout = new QVBoxLayout(this);
    // Grows with the texts that come in, rather than squeezing them.
    layout->setSizeConstraint(QLayout::SetMinimumSize);
    // The window's own warning, as it shows it: without CNG linked to GND nothing is kept.
    if (const auto *warning = m_window.findChild<QLabel *>(QStringLiteral("Label13_1"))) {
        auto *note = new QLabel(warning->text(), this);
        note->setFont(warning->font());
        note->setPalette(warning->palette());
        note->setWordWrap(true);
        note->setMinimumWidth(kMinWidth);
        note->setMinimumHeight(note->heightForWidth(kMinWidth));
        layout->addWidget(note);
    }
    auto *form = new QFormLayout;
    layout->addLayout(form);
    if (isInput()) {
        m_reference = addField(*form, QStringLiteral("reference"),
                               tr("Current applied to input %1 (mA):").arg(channel()));
        m_reads = new QSpinBox(this);
        m_reads->setObjectName(QStringLiteral("reads"));
        m_reads->setRange(kMinReads, kMaxReads);
        m_reads->setValue(kDefaultReads);
        form->addRow(tr("Live reads:"), m_reads);
    } else {
        m_reference = addField(*form, QStringLiteral("reference"),
                               tr("Current output %1 should carry (mA):").arg(channel()));
        m_meter = addField(*form, QStringLiteral("meter"),
                           tr("Current the meter reads on output %1 (mA):").arg(channel()));
    }
    const auto line = [&](const char *name) {
        auto *label = new QLabel(this);
        label->setObjectName(QLatin1String(name));
        label->setWordWrap(true);
        label->setTextInteractionFlags(Qt::TextSelectableByMouse);
        layout->addWidget(label);
        return label;
    };
    m_status = line("status");
    m_measurement = line("measurement");
    m_proposalText = line("proposal");
    m_backup = line("backup");
    m_checkText = line("checked");
    auto *buttons = new QHBoxLayout;
    layout->addLayout(buttons);
    const auto button = [&](const char *name, const QString &text,
                            void (CalibrationDialog::*slot)()) {
        auto *b = new QPushButton(text, this);
        b->setObjectName(QLatin1String(name));
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, slot);
        buttons->addWidget(b);
        return b;
    };
    m_measureButton = button("measure", tr("Measure"), &CalibrationDialog::measure);
    m_writeButton = button("write", tr("Write"), &CalibrationDialog::write);
    if (!isInput())
        m_checkButton = button("check", tr("Check"), &CalibrationDialog::checkMeter);
    m_restoreButton = button("restore", tr("Restore"), &CalibrationDialog::restore);
    m_closeButton = button("close", tr("Close"), &CalibrationDialog::reject);
}

QLineEdit *CalibrationDialog::addField(QFormLayout &form, const QString &name, const QString &label)
{
    auto *field = new QLineEdit(this);
    field->setObjectName(name);
    connect(field, &QLineEdit::textChanged, this, &CalibrationDialog::propose);
    form.addRow(label, field);
    return field;
}

void CalibrationDialog::reject()
{
    if (!m_busy)
        QDialog::reject();
}

void CalibrationDialog::measure()
{
    m_measured = false; // nothing of an earlier measurement is proposed from
    m_readings.clear();
    begin();
    readCoefficient([this](std::optional<int> old) {
        m_old = old;
        if (!old)
            return measured();
        if (isInput())
            return readLive(m_reads->value(), [this](const Readings &readings) {
                m_readings = readings;
                measured();
            });
        m_window.commands().comDoOnce(
            later<device::ReadOutcome>(this, [this](const device::ReadOutcome &outcome) {
                const int box = kFirstOutputBox + channel() - 1;
                const auto *shown = boxOf(outcome, decode::Target::CurrentInput, box);
                m_liveText = shown ? shown->text : tr("not read");
                measured();
            }));
    });
}

void CalibrationDialog::measured()
{
    m_measured = true;
    const QString coefficient =
        m_old ? tr("Coefficient %1.").arg(*m_old) : tr("The coefficient could not be read.");
    if (!isInput()) {
        m_measurement->setText(
            coefficient + QLatin1Char(' ') +
            tr("Output %1 shows %2 (for information only).").arg(channel()).arg(m_liveText));
    } else {
        std::vector<double> values;
        for (const calibration::Reading &reading : m_readings)
            if (reading)
                values.push_back(*reading);
        const calibration::Stats stats = calibration::statsOf(values);
        m_measurement->setText(coefficient + QLatin1Char(' ') +
                               tr("Mean of %1 reads: %2 mA, spread (largest - smallest) %3 mA.")
                                   .arg(stats.count)
                                   .arg(mA(stats.mean), mA(stats.spread)));
    }
    say({});
    propose();
    end();
}

void CalibrationDialog::propose()
{
    if (!m_measured)
        return;
    m_proposal = isInput()
                     ? calibration::proposeInput(m_old, m_readings, m_reference->text())
                     : calibration::proposeOutput(m_old, m_reference->text(), m_meter->text());
    if (!m_proposal.ok()) {
        m_proposalText->setText(tr("No proposal: %1").arg(calibration::reasonText(m_proposal)));
    } else {
        const QString then =
            isInput()
                ? tr("Input %1 should then read %2 mA.").arg(channel()).arg(mA(m_proposal.expected))
                : tr("The meter should then read %1 mA.").arg(mA(m_proposal.expected));
        m_proposalText->setText(
            tr("Proposed: %1 → %2.").arg(m_proposal.oldCoefficient).arg(m_proposal.newCoefficient) +
            QLatin1Char(' ') + then);
    }
    updateButtons();
}

void CalibrationDialog::write()
{
    if (!m_measured || !m_proposal.ok())
        return;
    const int value = m_proposal.newCoefficient;
    const int old = m_proposal.oldCoefficient;
    m_reference0 = numtext::parse(m_reference->text()).value_or(0);
    begin();
    backUp([this, value, old] {
        if (!m_original)
            m_original = old;
        writeValue(value, false);
    });
}

void CalibrationDialog::restore()
{
    if (!m_original)
        return;
    begin();
    writeValue(*m_original, true);
}

void CalibrationDialog::backUp(const Step &next)
{
    if (!m_backupPath.isEmpty())
        return next();
    say(tr("Reading the ten parameters for the backup…"));
    m_window.commands().readParameters(later<device::ReadOutcome>(
        this, [this, next](const device::ReadOutcome &outcome) { saveBackup(outcome, next); }));
}

void CalibrationDialog::saveBackup(const device::ReadOutcome &outcome, const Step &next)
{
    const auto parameters = outcome.wellFormed ? paramfile::fromRead(outcome.request, outcome.reply,
                                                                     m_window.serial().commPort(),
                                                                     m_window.serial().settings())
                                               : std::nullopt;
    if (!parameters)
        return fail(tr("The parameters could not be read for the backup, so nothing was "
                       "written."));
    QString error;
    const auto path = calibration::saveBackup(calibration::backupFolder(), *parameters, &error);
    if (!path)
        return fail(tr("The backup could not be saved (%1), so nothing was written.").arg(error));
    m_backupPath = *path;
    m_backup->setText(tr("Backup of the parameters: %1").arg(QDir::toNativeSeparators(*path)));
    next();
}

void CalibrationDialog::writeValue(int value, bool restoring)
{
    say(restoring ? tr("Writing the old coefficient %1…").arg(value)
                  : tr("Writing %1…").arg(value));
    m_checkText->clear();
    m_wrote.reset();
    m_window.controls().txtChannel.at(m_index)->setText(QString::number(value));
    m_window.commands().cmdWriteP(
        m_index, later<device::WriteOutcome>(
                     this, [this, value, restoring](const device::WriteOutcome &outcome) {
                         if (outcome.request.isEmpty())
                             return fail(tr("The write was not sent: is the port open?"));
                         readCoefficient([this, value, restoring](std::optional<int> held) {
                             afterWrite(value, held, restoring);
                         });
                     }));
}

void CalibrationDialog::afterWrite(int value, std::optional<int> held, bool restoring)
{
    m_measured = false; // the old coefficient is gone: a new proposal needs a new measurement
    if (isInput())
        return readLive(m_reads->value(), [this, value, held, restoring](const Readings &r) {
            showInputCheck(value, held, r, restoring);
        });
    if (restoring)
        return showCheck(value, held, std::nullopt, true);
    m_wrote = value;
    m_held = held;
    m_meter->clear();
    m_meter->setFocus();
    say(tr("Type the meter's new reading on output %1 and press “Check”.").arg(channel()));
    end();
}

void CalibrationDialog::showInputCheck(int value, std::optional<int> held, const Readings &readings,
                                       bool restoring)
{
    std::vector<double> values;
    for (const calibration::Reading &reading : readings)
        if (reading)
            values.push_back(*reading);
    if (values.size() != readings.size())
        return fail(tr("The check failed: a read of input %1 failed.").arg(channel()));
    showCheck(value, held, calibration::statsOf(values).mean, restoring);
}

void CalibrationDialog::checkMeter()
{
    const auto meter = numtext::parse(m_meter->text());
    if (!m_wrote || !meter || !(*meter > 0)) {
        m_checkText->setText(tr("Type the meter's reading in mA first."));
        return;
    }
    showCheck(*m_wrote, m_held, *meter, false);
}

// A restore passes when the register holds the old value again: the old
// value's error is what the calibration was for, so it is shown, not judged.
void CalibrationDialog::showCheck(int value, std::optional<int> held, std::optional<double> reading,
                                  bool restoring)
{
    const calibration::Check check =
        calibration::check(value, held, reading.value_or(m_reference0), m_reference0);
    QStringList problems;
    if (!check.readBack)
        problems << tr("the register could not be read back");
    else if (!check.holds)
        problems
            << tr("the register holds %1, not %2 (is CNG linked to GND?)").arg(*held).arg(value);
    if (reading && !restoring && !check.withinTolerance)
        problems << tr("the error is more than 0.10 %");
    QStringList shown;
    if (check.holds)
        shown << tr("The register holds %1.").arg(value);
    if (reading)
        shown << (isInput() ? tr("Input %1 reads %2 mA") : tr("The meter reads %2 mA on output %1"))
                         .arg(channel())
                         .arg(mA(*reading)) +
                     tr(", error %1 against %2 mA.")
                         .arg(calibration::percentText(check.error), mA(m_reference0));
    const QString verdict = problems.isEmpty()
                                ? tr("Check passed.")
                                : tr("Check failed: %1.").arg(problems.join(QStringLiteral("; ")));
    m_checkText->setText((QStringList{verdict} + shown).join(QLatin1Char(' ')));
    if (!problems.isEmpty())
        return fail(m_checkText->text());
    say({});
    end();
}

void CalibrationDialog::readCoefficient(const std::function<void(std::optional<int>)> &next)
{
    say(tr("Reading the coefficient…"));
    const int index = m_index;
    m_window.commands().cmdReadP(
        index, later<device::ReadOutcome>(this, [next, index](const device::ReadOutcome &outcome) {
            const auto *box = boxOf(outcome, decode::Target::Channel, index);
            bool ok = false;
            const int value = box ? box->text.toInt(&ok) : 0;
            next(ok ? std::optional<int>(value) : std::nullopt);
        }));
}

void CalibrationDialog::readLive(int count, const std::function<void(const Readings &)> &next,
                                 const Readings &sofar)
{
    // One failed read is enough to refuse: the rest would only take time.
    if (static_cast<int>(sofar.size()) >= count || (!sofar.empty() && !sofar.back()))
        return next(sofar);
    say(tr("Live read %1 of %2…").arg(sofar.size() + 1).arg(count));
    m_window.commands().comDoOnce(later<device::ReadOutcome>(
        this, [this, count, next, sofar](const device::ReadOutcome &outcome) {
            Readings more = sofar;
            const auto *box = boxOf(outcome, decode::Target::CurrentInput, channel() - 1);
            more.push_back(box ? numtext::parse(box->text) : std::nullopt);
            readLive(count, next, more);
        }));
}

// A running cycle would keep changing what the window shows and sends, and the
// commands here change the request it repeats: it stops, and the dialog says so.
void CalibrationDialog::begin()
{
    m_busy = true;
    if (m_window.commands().cycling()) {
        m_window.commands().cmdStopOnce();
        m_stoppedCycle = true;
    }
    updateButtons();
}

void CalibrationDialog::end()
{
    m_busy = false;
    updateButtons();
}

void CalibrationDialog::say(const QString &text)
{
    const QString stopped =
        m_stoppedCycle ? tr("The cycle was stopped; “循环” starts it again.") : QString();
    m_status->setText(QStringList{stopped, text}.join(QLatin1Char(' ')).trimmed());
}

void CalibrationDialog::fail(const QString &text)
{
    say(text);
    end();
    auto *box = new QMessageBox(QMessageBox::Warning, windowTitle(), text, QMessageBox::Ok, this);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
}

void CalibrationDialog::updateButtons()
{
    m_measureButton->setEnabled(!m_busy);
    m_writeButton->setEnabled(!m_busy && m_measured && m_proposal.ok());
    m_restoreButton->setEnabled(!m_busy && m_original.has_value());
    if (m_checkButton)
        m_checkButton->setEnabled(!m_busy && m_wrote.has_value());
    m_closeButton->setEnabled(!m_busy);
}
