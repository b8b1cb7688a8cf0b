#include "app/calibration_multi_point.h"

#include "device/calibration_record.h"

#include <QDir>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

QTableWidget *pointTable(QWidget *parent, const char *name)
{
    auto *table = new QTableWidget(parent);
    table->setObjectName(QLatin1String(name));
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->verticalHeader()->hide();
    table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    table->setSizeAdjustPolicy(QAbstractScrollArea::AdjustToContents);
    table->hide();
    return table;
}
} // namespace

MultiPointCheck::MultiPointCheck(CalibrationLink &link, QWidget *parent)
    : QWidget(parent), m_link(link)
{
    build();
    updateButtons();
}

void MultiPointCheck::build()
{
    auto *layout = new QVBoxLayout(this);
    auto *form = new QFormLayout;
    layout->addLayout(form);
    m_points = addField(*form, "points", tr("Points (mA):"), QStringLiteral("4, 8, 12, 16, 20"));
    m_tolerance =
        addField(*form, "tolerance", tr("Tolerance (% of the 16 mA span):"), QStringLiteral("0.1"));
    m_reads = calibrationReadsBox(this);
    form->addRow(tr("Live reads per point:"), m_reads);
    if (!m_link.isInput())
        m_meter = addField(*form, "meter",
                           tr("Current the meter reads on output %1 (mA):").arg(m_link.channel()),
                           QString());
    auto *buttons = new QHBoxLayout;
    layout->addLayout(buttons);
    m_checkButton =
        calibrationButton(this, *buttons, "checkPoints", tr("Check"), &MultiPointCheck::check);
    m_takeButton = calibrationButton(this, *buttons, "take", tr("Take"), &MultiPointCheck::take);
    m_adjustButton =
        calibrationButton(this, *buttons, "adjust", tr("Adjust"), &MultiPointCheck::adjust);
    buttons->addStretch();
    m_instruction = calibrationTextLine(this, "instruction");
    layout->addWidget(m_instruction);
    m_foundLabel = calibrationTextLine(this, "foundLabel");
    m_foundTable = pointTable(this, "asFound");
    m_leftLabel = calibrationTextLine(this, "leftLabel");
    m_leftTable = pointTable(this, "asLeft");
    m_verdict = calibrationTextLine(this, "verdict");
    for (QWidget *w : std::initializer_list<QWidget *>{m_foundLabel, m_foundTable, m_leftLabel,
                                                       m_leftTable, m_verdict})
        layout->addWidget(w);
    layout->addStretch();
}

QLineEdit *MultiPointCheck::addField(QFormLayout &form, const char *name, const QString &label,
                                     const QString &text)
{
    auto *field = new QLineEdit(text, this);
    field->setObjectName(QLatin1String(name));
    form.addRow(label, field);
    return field;
}

void MultiPointCheck::check()
{
    QString error;
    const auto points = calibration::parsePoints(m_points->text(), &error);
    const auto tolerance =
        points ? calibration::parseTolerance(m_tolerance->text(), &error) : std::nullopt;
    if (!tolerance) {
        m_instruction->setText(tr("Not checked: %1.").arg(error));
        return;
    }
    m_planned = *points;
    m_tol = *tolerance;
    m_readsPerPoint = m_reads->value();
    m_asFound.clear();
    m_asLeft.clear();
    m_fit.reset();
    m_written.reset();
    for (QWidget *w : std::initializer_list<QWidget *>{m_foundTable, m_leftTable})
        w->hide();
    for (QLabel *label : {m_foundLabel, m_leftLabel, m_verdict})
        label->clear();
    emit changed();
    m_link.begin();
    m_link.readParameters([this](const CalibrationLink::Parameters &) {
        m_link.readCoefficient([this](std::optional<int> old) {
            if (!old)
                return m_link.fail(tr("The coefficient of %1: no answer, so nothing was checked.")
                                       .arg(m_link.channelName()));
            m_old = old;
            m_link.say({});
            m_link.end();
            startCheck(false);
        });
    });
}

void MultiPointCheck::startCheck(bool asLeft)
{
    m_asLeftRun = asLeft;
    m_taking.clear();
    m_next = 0;
    instruct();
    emit changed();
}

void MultiPointCheck::instruct()
{
    const QString point = calibration::mAText(m_planned.at(m_next));
    const QString stage = m_asLeftRun ? tr("As left") : tr("As found");
    const QString step = tr("%1, point %2 of %3:").arg(stage).arg(m_next + 1).arg(m_planned.size());
    const QString what =
        m_link.isInput()
            ? tr("Apply %1 to input %2, then press “Take”.").arg(point).arg(m_link.channel())
            : tr("Bring output %2 to about %1 through input %2, type the meter's reading in "
                 "“meter”, then press “Take”.")
                  .arg(point)
                  .arg(m_link.channel());
    m_instruction->setText(calibration::sentences({step, what}));
    if (m_meter) {
        m_meter->clear();
        m_meter->setFocus();
    }
}

void MultiPointCheck::take()
{
    if (!checking())
        return;
    const QString meter = m_meter ? m_meter->text() : QString();
    m_link.begin();
    m_link.readLive(m_readsPerPoint, [this, meter](const CalibrationLink::Readings &reads) {
        m_link.say({});
        m_link.end();
        taken(m_link.isInput() ? calibration::takeInputPoint(m_planned.at(m_next), reads)
                               : calibration::takeOutputPoint(reads, meter));
    });
}

void MultiPointCheck::taken(const calibration::Taken &result)
{
    if (!result.point) {
        m_instruction->setText(tr("Point %1 (%2) refused: %3. Take it again, or cancel.")
                                   .arg(m_next + 1)
                                   .arg(calibration::mAText(m_planned.at(m_next)), result.refusal));
        return emit changed();
    }
    m_taking.push_back(*result.point);
    if (++m_next < int(m_planned.size())) {
        instruct();
        return emit changed();
    }
    finish();
}

void MultiPointCheck::finish()
{
    m_next = -1;
    calibration::Record entry = record();
    if (m_asLeftRun) {
        m_asLeft = m_taking;
        entry.asLeft = m_asLeft;
        entry.asFound.clear();
        showTable(m_leftTable, m_asLeft);
    } else {
        m_asFound = m_taking;
        entry.asFound = m_asFound;
        showTable(m_foundTable, m_asFound);
        m_fit = calibration::fitGain(*m_old, m_asFound);
    }
    entry.fit.reset();
    m_link.record(entry, QStringLiteral("check"));
    const QString found =
        tr("As found: %1.").arg(calibration::resultText(calibration::passes(m_asFound, m_tol)));
    const QString left =
        m_asLeft.empty()
            ? QString()
            : tr("As left: %1.").arg(calibration::resultText(calibration::passes(m_asLeft, m_tol)));
    m_foundLabel->setText(tr("As found (tolerance %1 % of span):").arg(m_tol));
    m_leftLabel->setText(m_asLeft.empty() ? QString()
                                          : tr("As left (tolerance %1 % of span):").arg(m_tol));
    m_instruction->setText(calibration::sentences({found, left}));
    m_verdict->setText(fitText());
    emit changed();
}

QString MultiPointCheck::fitText() const
{
    if (m_written)
        return tr("Adjusted: coefficient %1 → %2. %3")
            .arg(m_written->oldCoefficient)
            .arg(m_written->newCoefficient)
            .arg(calibration::leftText(*m_written));
    if (!m_fit)
        return {};
    if (!m_fit->ok())
        return tr("No adjustment: %1.").arg(m_fit->refusal);
    QString text = tr("“Adjust” would write %1 → %2 (gain through zero by least squares). %3")
                       .arg(m_fit->oldCoefficient)
                       .arg(m_fit->newCoefficient)
                       .arg(calibration::leftText(*m_fit));
    if (m_fit->leftBeyond(m_tol))
        text = calibration::sentences(
            {text, tr("The offset and non-linearity alone exceed the tolerance of %1 % of span: "
                      "the check as left will fail, whatever the gain.")
                       .arg(m_tol)});
    return text;
}

void MultiPointCheck::adjust()
{
    if (!m_fit || !m_fit->ok() || checking())
        return;
    const calibration::Fit fit = *m_fit;
    m_link.begin();
    m_link.backUp([this, fit] {
        m_link.writeCoefficient(fit.newCoefficient, [this, fit](std::optional<int> held) {
            if (held != fit.newCoefficient)
                return m_link.fail(
                    held ? tr("Not kept: the coefficient of %1 holds %2, not %3 (is CNG linked "
                              "to GND?).")
                               .arg(m_link.channelName())
                               .arg(*held)
                               .arg(fit.newCoefficient)
                         : tr("The coefficient of %1 could not be read back after the write.")
                               .arg(m_link.channelName()));
            m_written = fit;
            calibration::Record entry = record();
            entry.asFound.clear();
            m_link.record(entry, QStringLiteral("adjust"));
            m_link.say(tr("Written and read back. Backup of the parameters: %1")
                           .arg(QDir::toNativeSeparators(m_link.backupPath())));
            m_link.end();
            m_verdict->setText(fitText());
            startCheck(true);
        });
    });
}

void MultiPointCheck::cancel()
{
    if (!checking())
        return;
    m_next = -1;
    m_instruction->setText(tr("The check was cancelled."));
    emit changed();
}

void MultiPointCheck::showTable(QTableWidget *table,
                                const std::vector<calibration::PointResult> &points)
{
    const calibration::Table content = calibration::pointTable(points, m_tol);
    table->clear();
    table->setColumnCount(content.header.size());
    table->setRowCount(content.rows.size());
    QStringList header; // two lines each, so that the table fits the dialog's width
    for (const QString &title : content.header)
        header << QString(title).replace(QStringLiteral(" ("), QStringLiteral("\n("));
    table->setHorizontalHeaderLabels(header);
    for (int r = 0; r < content.rows.size(); ++r)
        for (int c = 0; c < content.header.size(); ++c) {
            auto *item = new QTableWidgetItem(content.rows[r].value(c));
            item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            table->setItem(r, c, item);
        }
    table->show();
}

calibration::Record MultiPointCheck::record() const
{
    calibration::Record record = m_link.recordBase();
    record.tolerance = m_tol;
    record.points = m_planned;
    record.reads = m_readsPerPoint;
    record.asFound = m_asFound;
    record.asLeft = m_asLeft;
    record.fit = m_written;
    return record;
}

void MultiPointCheck::updateButtons()
{
    const bool idle = !m_link.busy();
    m_checkButton->setEnabled(idle && !checking());
    m_takeButton->setEnabled(idle && checking());
    m_adjustButton->setEnabled(idle && !checking() && m_fit && m_fit->ok() && !m_written &&
                               !m_asFound.empty());
    for (QWidget *field : std::initializer_list<QWidget *>{m_points, m_tolerance, m_reads})
        field->setEnabled(idle && !checking());
    if (m_meter)
        m_meter->setEnabled(idle && checking());
}
