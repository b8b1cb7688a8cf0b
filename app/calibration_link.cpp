#include "app/calibration_link.h"

#include "app/main_window.h"
#include "device/calibration_backup.h"
#include "device/calibration_history.h"
#include "modbus/number_text.h"
#include "serial/comm_port.h"

#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QSpinBox>
#include <QTimer>

namespace {
constexpr int kFirstOutputIndex = 6; // txtChannel(6) to (9) are the outputs
constexpr int kFirstOutputBox = 4;   // txtCurrentInput(4) to (7)
constexpr double kHundredths = 100.0;
constexpr int kDefaultReads = 10;
constexpr int kMinReads = 2;
constexpr int kMaxReads = 100;

const decode::BoxText *boxOf(const device::ReadOutcome &outcome, decode::Target target, int index)
{
    if (!outcome.wellFormed)
        return nullptr;
    for (const decode::BoxText &box : outcome.shown.boxes)
        if (box.target == target && box.index == index)
            return &box;
    return nullptr;
}
} // namespace

QLabel *calibrationTextLine(QWidget *parent, const char *name)
{
    auto *label = new QLabel(parent);
    label->setObjectName(QLatin1String(name));
    label->setWordWrap(true);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

QSpinBox *calibrationReadsBox(QWidget *parent)
{
    auto *reads = new QSpinBox(parent);
    reads->setObjectName(QStringLiteral("reads"));
    reads->setRange(kMinReads, kMaxReads);
    reads->setValue(kDefaultReads);
    return reads;
}

CalibrationLink::CalibrationLink(MainWindow &window, int index, QObject *parent)
    : QObject(parent), m_window(window), m_index(index)
{
}

bool CalibrationLink::isInput() const
{
    return m_index < kFirstOutputIndex;
}

int CalibrationLink::channel() const
{
    return isInput() ? m_index - 1 : m_index - kFirstOutputIndex + 1;
}

QString CalibrationLink::channelName() const
{
    return (isInput() ? tr("input %1") : tr("output %1")).arg(channel());
}

template <typename Outcome>
std::function<void(const Outcome &)>
CalibrationLink::later(std::function<void(const Outcome &)> next)
{
    return [guard = QPointer<CalibrationLink>(this), generation = m_generation,
            next](const Outcome &outcome) {
        if (guard)
            QTimer::singleShot(0, guard.data(), [guard, generation, next, outcome] {
                if (guard->m_generation == generation)
                    next(outcome);
            });
    };
}

// A running cycle would keep changing what the window shows and sends, and the
// commands here change the request it repeats: it stops, and the dialog says so.
void CalibrationLink::begin()
{
    m_busy = true;
    if (m_window.commands().cycling()) {
        m_window.commands().cmdStopOnce();
        m_stoppedCycle = true;
    }
    emit busyChanged();
}

void CalibrationLink::end()
{
    m_busy = false;
    m_writing = false;
    emit busyChanged();
}

void CalibrationLink::cancel()
{
    if (m_writing)
        return;
    ++m_generation;
    say(tr("Cancelled."));
    end();
}

void CalibrationLink::say(const QString &text)
{
    const QString stopped =
        m_stoppedCycle ? tr("The cycle was stopped; “循环” starts it again.") : QString();
    emit said(calibration::sentences({stopped, text}));
}

void CalibrationLink::fail(const QString &text)
{
    say(text);
    end();
    emit failed(text);
}

void CalibrationLink::readCoefficient(const std::function<void(std::optional<int>)> &next)
{
    say(tr("Reading the coefficient…"));
    m_window.commands().cmdReadP(
        m_index, later<device::ReadOutcome>([this, next](const device::ReadOutcome &outcome) {
            const auto *box = boxOf(outcome, decode::Target::Channel, m_index);
            bool ok = false;
            const int value = box ? box->text.toInt(&ok) : 0;
            if (ok)
                m_held = value;
            next(ok ? std::optional<int>(value) : std::nullopt);
        }));
}

void CalibrationLink::readLive(int count, const std::function<void(const Readings &)> &next)
{
    readLiveFrom(count, next, {});
}

void CalibrationLink::readLiveFrom(int count, const std::function<void(const Readings &)> &next,
                                   const Readings &sofar)
{
    // One failed read is enough to refuse: the rest would only take time.
    if (static_cast<int>(sofar.size()) >= count || (!sofar.empty() && !sofar.back()))
        return next(sofar);
    say(tr("Live read %1 of %2…").arg(sofar.size() + 1).arg(count));
    m_window.commands().comDoOnce(
        later<device::ReadOutcome>([this, count, next, sofar](const device::ReadOutcome &outcome) {
            Readings more = sofar;
            const int box = isInput() ? channel() - 1 : kFirstOutputBox + channel() - 1;
            const auto *shown = boxOf(outcome, decode::Target::CurrentInput, box);
            const auto value = shown ? numtext::parse(shown->text) : std::nullopt;
            // An output's box shows hundredths of a mA as a whole number.
            more.push_back(value && !isInput() ? std::optional(*value / kHundredths) : value);
            readLiveFrom(count, next, more);
        }));
}

void CalibrationLink::readParameters(const std::function<void(const Parameters &)> &next)
{
    say(tr("Reading the ten parameters…"));
    m_window.commands().readParameters(
        later<device::ReadOutcome>([this, next](const device::ReadOutcome &outcome) {
            const Parameters parameters = outcome.wellFormed
                                              ? paramfile::fromRead(outcome.request, outcome.reply,
                                                                    m_window.serial().commPort(),
                                                                    m_window.serial().settings())
                                              : std::nullopt;
            if (parameters && !m_before)
                m_before = parameters;
            next(parameters);
        }));
}

void CalibrationLink::backUp(const Step &next)
{
    if (!m_backupPath.isEmpty())
        return next();
    readParameters([this, next](const Parameters &parameters) {
        if (!parameters)
            return fail(tr("The parameters could not be read for the backup, so nothing was "
                           "written."));
        QString error;
        const auto path = calibration::saveBackup(calibration::backupFolder(), *parameters, &error);
        if (!path)
            return fail(
                tr("The backup could not be saved (%1), so nothing was written.").arg(error));
        m_backupPath = *path;
        next();
    });
}

void CalibrationLink::writeCoefficient(int value,
                                       const std::function<void(std::optional<int>)> &next)
{
    m_writing = true;
    emit busyChanged();
    say(tr("Writing %1…").arg(value));
    QLineEdit *box = m_window.controls().txtChannel.at(m_index);
    const QString shown = m_held ? QString::number(*m_held) : box->text();
    if (!m_original && m_held)
        m_original = m_held;
    box->setText(QString::number(value));
    // Runs even when the dialog is gone: the box must not show a value never sent.
    QPointer<QLineEdit> guardedBox(box);
    m_window.commands().cmdWriteP(m_index, [guardedBox, shown,
                                            next = later<device::WriteOutcome>(
                                                [this, next](const device::WriteOutcome &outcome) {
                                                    if (outcome.request.isEmpty())
                                                        return fail(tr("The write was not sent: is "
                                                                       "the port open?"));
                                                    readCoefficient(next);
                                                })](const device::WriteOutcome &outcome) {
        if (outcome.request.isEmpty() && guardedBox)
            guardedBox->setText(shown);
        next(outcome);
    });
}

calibration::Record CalibrationLink::recordBase() const
{
    calibration::Record record;
    record.at = QDateTime::currentDateTime();
    record.number = calibration::newRecordNumber(record.at);
    record.port = QStringLiteral("COM%1").arg(m_window.serial().commPort());
    record.settings = m_window.serial().settings();
    record.station =
        m_before ? m_before->station : numtext::parse(m_window.stationText()).value_or(0);
    record.input = isInput();
    record.channel = channel();
    record.version = QStringLiteral(RV_TOOL_VERSION);
    if (m_before)
        record.before = m_before->values;
    return record;
}

void CalibrationLink::record(const calibration::Record &record, const QString &kind)
{
    QString error;
    const QString path = calibration::historyPath(calibration::backupFolder());
    if (!calibration::appendHistory(path, calibration::historyEntry(record, kind), &error))
        emit failed(tr("The calibration history %1 could not be written: %2")
                        .arg(QDir::toNativeSeparators(path), error));
}
