#include "app/calibration_one_point.h"

#include "device/calibration_check.h"
#include "modbus/number_text.h"

#include <QDir>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

OnePointCalibration::OnePointCalibration(CalibrationLink &link, QWidget *parent)
    : QWidget(parent), m_link(link)
{
    build();
    updateButtons();
}

void OnePointCalibration::build()
{
    auto *layout = new QVBoxLayout(this);
    auto *form = new QFormLayout;
    layout->addLayout(form);
    const int ch = m_link.channel();
    if (m_link.isInput()) {
        m_reference = addField(*form, QStringLiteral("reference"),
                               tr("Current applied to input %1 (mA):").arg(ch));
        m_reads = calibrationReadsBox(this);
        form->addRow(tr("Live reads:"), m_reads);
    } else {
        m_reference = addField(*form, QStringLiteral("reference"),
                               tr("Current output %1 should carry (mA):").arg(ch));
        m_meter = addField(*form, QStringLiteral("meter"),
                           tr("Current the meter reads on output %1 (mA):").arg(ch));
    }
    const auto line = [&](const char *name) {
        QLabel *label = calibrationTextLine(this, name);
        layout->addWidget(label);
        return label;
    };
    m_measurement = line("measurement");
    m_proposalText = line("proposal");
    m_backup = line("backup");
    m_checkText = line("checked");
    layout->addStretch();
    auto *buttons = new QHBoxLayout;
    layout->addLayout(buttons);
    m_measureButton =
        calibrationButton(this, *buttons, "measure", tr("Measure"), &OnePointCalibration::measure);
    m_writeButton =
        calibrationButton(this, *buttons, "write", tr("Write"), &OnePointCalibration::write);
    if (!m_link.isInput())
        m_checkButton = calibrationButton(this, *buttons, "check", tr("Check"),
                                          &OnePointCalibration::checkMeter);
    m_restoreButton =
        calibrationButton(this, *buttons, "restore", tr("Restore"), &OnePointCalibration::restore);
    buttons->addStretch();
}

QLineEdit *OnePointCalibration::addField(QFormLayout &form, const QString &name,
                                         const QString &label)
{
    auto *field = new QLineEdit(this);
    field->setObjectName(name);
    connect(field, &QLineEdit::textChanged, this, &OnePointCalibration::propose);
    form.addRow(label, field);
    return field;
}

void OnePointCalibration::measure()
{
    m_measured = false; // nothing of an earlier measurement is proposed from or shown
    m_readings.clear();
    m_outputShown.reset();
    for (QLabel *label : {m_measurement, m_proposalText, m_checkText})
        label->clear();
    m_link.begin();
    m_link.readCoefficient([this](std::optional<int> old) {
        m_old = old;
        if (!old)
            return measured();
        m_link.readLive(m_link.isInput() ? m_reads->value() : 1, [this](const Readings &r) {
            if (m_link.isInput())
                m_readings = r;
            else if (!r.empty())
                m_outputShown = r.front();
            measured();
        });
    });
}

void OnePointCalibration::measured()
{
    m_measured = true;
    const int ch = m_link.channel();
    QString live;
    if (!m_old) {
        live = tr("The coefficient: no answer.");
    } else if (!m_link.isInput()) {
        live = m_outputShown ? tr("Output %1 shows %2 (for information only).")
                                   .arg(ch)
                                   .arg(calibration::mAText(*m_outputShown))
                             : tr("Output %1: no answer.").arg(ch);
    } else if (const auto values = calibration::allValuesOf(m_readings); !values) {
        live = tr("Input %1: no answer.").arg(ch);
    } else {
        const calibration::Stats stats = calibration::statsOf(*values);
        live = tr("Mean of %1 reads: %2, spread (largest - smallest) %3.")
                   .arg(stats.count)
                   .arg(calibration::mAText(stats.mean), calibration::mAText(stats.spread));
    }
    const QString coefficient = m_old ? tr("Coefficient %1.").arg(*m_old) : QString();
    m_measurement->setText(calibration::sentences({coefficient, live}));
    m_link.say({});
    propose();
    m_link.end();
}

void OnePointCalibration::propose()
{
    if (!m_measured)
        return;
    m_proposal = m_link.isInput()
                     ? calibration::proposeInput(m_old, m_readings, m_reference->text())
                     : calibration::proposeOutput(m_old, m_reference->text(), m_meter->text());
    if (!m_proposal.ok()) {
        m_proposalText->setText(tr("No proposal: %1").arg(calibration::reasonText(m_proposal)));
    } else {
        const QString then = m_link.isInput() ? tr("Input %1 should then read %2.")
                                                    .arg(m_link.channel())
                                                    .arg(calibration::mAText(m_proposal.expected))
                                              : tr("The meter should then read %1.")
                                                    .arg(calibration::mAText(m_proposal.expected));
        m_proposalText->setText(calibration::sentences(
            {tr("Proposed: %1 → %2.").arg(m_proposal.oldCoefficient).arg(m_proposal.newCoefficient),
             then}));
    }
    updateButtons();
}

void OnePointCalibration::write()
{
    if (!m_measured || !m_proposal.ok())
        return;
    const int value = m_proposal.newCoefficient;
    const int old = m_proposal.oldCoefficient;
    m_reference0 = numtext::parse(m_reference->text()).value_or(0);
    m_link.begin();
    m_link.backUp([this, value, old] {
        m_backup->setText(
            tr("Backup of the parameters: %1").arg(QDir::toNativeSeparators(m_link.backupPath())));
        m_checkText->clear();
        m_wrote.reset();
        m_link.writeCoefficient(value, [this, value, old](std::optional<int> held) {
            if (held == value)
                logWrite(old, value, QStringLiteral("adjust"));
            afterWrite(value, held, false);
        });
    });
}

void OnePointCalibration::restore()
{
    const std::optional<int> original = m_link.original();
    if (!original)
        return;
    const int from = m_link.held().value_or(0);
    m_link.begin();
    m_checkText->clear();
    m_link.writeCoefficient(*original, [this, from, value = *original](std::optional<int> held) {
        if (held == value)
            logWrite(from, value, QStringLiteral("restore"));
        afterWrite(value, held, true);
    });
}

void OnePointCalibration::logWrite(int from, int to, const QString &kind)
{
    calibration::Record record = m_link.recordBase();
    calibration::Fit fit;
    fit.oldCoefficient = from;
    fit.newCoefficient = to;
    record.fit = fit;
    m_link.record(record, kind);
}

void OnePointCalibration::afterWrite(int value, std::optional<int> held, bool restoring)
{
    m_measured = false; // the old coefficient is gone: a new proposal needs a new measurement
    if (m_link.isInput())
        return m_link.readLive(m_reads->value(), [=](const Readings &r) {
            showInputCheck(value, held, r, restoring);
        });
    if (restoring)
        return showCheck(value, held, std::nullopt, true);
    m_wrote = value;
    m_held = held;
    m_meter->clear();
    m_meter->setFocus();
    m_link.say(
        tr("Type the meter's new reading on output %1 and press “Check”.").arg(m_link.channel()));
    m_link.end();
}

void OnePointCalibration::showInputCheck(int value, std::optional<int> held,
                                         const Readings &readings, bool restoring)
{
    const auto values = calibration::allValuesOf(readings);
    if (!values)
        return m_link.fail(tr("The check failed: input %1 gave no answer.").arg(m_link.channel()));
    showCheck(value, held, calibration::statsOf(*values).mean, restoring);
}

void OnePointCalibration::checkMeter()
{
    const auto meter = numtext::parse(m_meter->text());
    if (!m_wrote || !meter || !(*meter > 0)) {
        m_checkText->setText(tr("The meter's reading: type it in mA first."));
        return;
    }
    showCheck(*m_wrote, m_held, *meter, false);
}

// A restore is judged by the register alone: the old value's error is what the
// calibration was for, so it is shown as what the module now gives.
void OnePointCalibration::showCheck(int value, std::optional<int> held,
                                    std::optional<double> reading, bool restoring)
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
    if (restoring && check.holds)
        shown << tr("Restored: the register holds %1 again.").arg(value);
    else if (check.holds)
        shown << tr("The register holds %1.").arg(value);
    if (reading)
        shown << (m_link.isInput() ? tr("Input %1 reads %2")
                                   : tr("The meter reads %2 on output %1"))
                         .arg(m_link.channel())
                         .arg(calibration::mAText(*reading)) +
                     tr(", error %1 against %2.")
                         .arg(calibration::percentText(check.error),
                              calibration::mAText(m_reference0));
    QString verdict;
    if (!problems.isEmpty())
        verdict = tr("Check failed: %1.").arg(problems.join(QStringLiteral("; ")));
    else if (!restoring)
        verdict = tr("Check passed.");
    m_checkText->setText(calibration::sentences(QStringList{verdict} + shown));
    if (!problems.isEmpty())
        return m_link.fail(m_checkText->text());
    m_link.say({});
    m_link.end();
}

void OnePointCalibration::updateButtons()
{
    const bool idle = !m_link.busy();
    m_measureButton->setEnabled(idle);
    m_writeButton->setEnabled(idle && m_measured && m_proposal.ok());
    const std::optional<int> original = m_link.original();
    m_restoreButton->setEnabled(idle && original.has_value());
    m_restoreButton->setText(original ? tr("Restore %1").arg(*original) : tr("Restore"));
    if (m_checkButton)
        m_checkButton->setEnabled(idle && m_wrote.has_value());
    for (QWidget *field : {static_cast<QWidget *>(m_reference), static_cast<QWidget *>(m_meter),
                           static_cast<QWidget *>(m_reads)})
        if (field)
            field->setEnabled(idle);
}
