#include "app/search_dialog.h"

#include "app/main_window.h"
#include "app/settings_files.h"
#include "device/commands.h"
#include "modbus/number_text.h"
#include "serial/comm_port.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <algorithm>

namespace {
constexpr int kMinTimeoutMs = 10;
constexpr int kMaxTimeoutMs = 5000;
constexpr double kMsPerSecond = 1000.0;
constexpr int kWidth = 640;
constexpr int kHeight = 480;

QSpinBox *stationBox(int value, const QString &name)
{
    auto *box = new QSpinBox;
    box->setRange(modsearch::kFirstStation, modsearch::kLastStation);
    box->setValue(value);
    box->setObjectName(name);
    return box;
}
} // namespace

SearchDialog::SearchDialog(MainWindow &window)
    : QDialog(&window), m_window(window), m_runner(window.serial())
{
    setWindowTitle(tr("Find the module"));
    resize(kWidth, kHeight); // room for the answers and the longest "Use" text
    setModal(true);
    buildForm();
    connect(&m_runner, &modsearch::Runner::progress, this, &SearchDialog::showProgress);
    connect(&m_runner, &modsearch::Runner::answered, this, &SearchDialog::addAnswer);
    connect(&window.serial(), &CommPort::stateChanged, this, [this] {
        if (!m_busy)
            showPortState();
    });
    showPortState();
    if (window.commands().cycling())
        m_cycleNote->setText(tr("The cycle is running: Start stops it first, as \"停止\" does."));
}

void SearchDialog::buildForm()
{
    auto *layout = new QVBoxLayout(this);
    m_state = new QLabel;
    m_state->setObjectName(QStringLiteral("searchState"));
    m_state->setWordWrap(true);
    m_cycleNote = new QLabel;
    m_cycleNote->setObjectName(QStringLiteral("searchCycleNote"));
    m_cycleNote->setWordWrap(true);
    m_bar = new QProgressBar;
    m_bar->setObjectName(QStringLiteral("searchProgress"));
    m_progressText = new QLabel;
    m_progressText->setObjectName(QStringLiteral("searchProgressText"));
    m_list = new QListWidget;
    m_list->setObjectName(QStringLiteral("searchAnswers"));
    connect(m_list, &QListWidget::currentRowChanged, this, &SearchDialog::updateUse);

    auto *buttons = new QHBoxLayout;
    m_start = new QPushButton(tr("Start"));
    m_stop = new QPushButton(tr("Stop"));
    m_use = new QPushButton(tr("Use"));
    auto *close = new QPushButton(tr("Close"));
    for (auto *button : {m_start, m_stop, m_use, close}) {
        button->setAutoDefault(false);
        buttons->addWidget(button);
    }
    m_start->setObjectName(QStringLiteral("searchStart"));
    m_stop->setObjectName(QStringLiteral("searchStop"));
    m_use->setObjectName(QStringLiteral("searchUse"));
    connect(m_start, &QPushButton::clicked, this, &SearchDialog::start);
    connect(m_stop, &QPushButton::clicked, &m_runner, &modsearch::Runner::stop);
    connect(m_use, &QPushButton::clicked, this, &SearchDialog::use);
    connect(close, &QPushButton::clicked, this, &SearchDialog::reject);

    layout->addWidget(m_state);
    layout->addWidget(m_cycleNote);
    layout->addWidget(buildChoices());
    layout->addWidget(m_bar);
    layout->addWidget(m_progressText);
    layout->addWidget(m_list);
    layout->addLayout(buttons);
    setRunning(false);
}

// Both bauds of the baud list, each with its own timeout; the station range; all or first.
QWidget *SearchDialog::buildChoices()
{
    auto *choices = new QWidget;
    auto *form = new QFormLayout(choices);
    const QComboBox *bauds = m_window.controls().Combo2;
    for (int i = 0; i < int(m_bauds.size()); ++i) {
        BaudRow &row = m_bauds[i];
        row.baud = bauds->itemText(i).toInt();
        row.chosen = new QCheckBox(tr("%1 baud").arg(row.baud));
        row.chosen->setChecked(true);
        row.chosen->setObjectName(QStringLiteral("searchBaud%1").arg(row.baud));
        row.timeout = new QSpinBox;
        row.timeout->setRange(kMinTimeoutMs, kMaxTimeoutMs);
        row.timeout->setValue(modsearch::defaultTimeoutMs(row.baud));
        row.timeout->setSuffix(tr(" ms per station"));
        row.timeout->setObjectName(QStringLiteral("searchTimeout%1").arg(row.baud));
        form->addRow(row.chosen, row.timeout);
    }
    auto *range = new QHBoxLayout;
    m_first = stationBox(modsearch::kFirstStation, QStringLiteral("searchFirst"));
    m_last = stationBox(modsearch::kLastStation, QStringLiteral("searchLast"));
    range->addWidget(m_first);
    range->addWidget(new QLabel(tr("to")));
    range->addWidget(m_last);
    form->addRow(tr("Stations"), range);
    m_all = new QCheckBox(tr("Go on after the first module found"));
    m_all->setObjectName(QStringLiteral("searchAll"));
    form->addRow(m_all);
    return choices;
}

void SearchDialog::showPortState()
{
    const CommPort &port = m_window.serial();
    m_state->setText(port.portOpen()
                         ? tr("Port: %1").arg(portinfo::stateTip(port.linkDirs(), port.state()))
                         : tr("The search cannot start: %1")
                               .arg(portinfo::stateTip(port.linkDirs(), port.state())));
    m_start->setEnabled(!m_busy && port.portOpen());
}

int SearchDialog::presentBaud() const
{
    return modsearch::baudOf(m_window.serial().settings());
}

modsearch::Config SearchDialog::config() const
{
    modsearch::PlanInput input;
    input.presentBaud = presentBaud();
    input.firstStation = m_first->value();
    input.lastStation = m_last->value();
    input.stationBox = numtext::floorByte(m_window.controls().txtStationID->text());
    if (const auto saved = settingsfile::readModSet(
            settingsplaces::findFile(m_window.places().readDirs, settingsfile::kModSet)))
        input.savedStation = saved->station;
    modsearch::Config config;
    for (const BaudRow &row : m_bauds) {
        if (row.chosen->isChecked())
            input.bauds << row.baud;
        config.timeoutMs.insert(row.baud, row.timeout->value());
    }
    config.plan = modsearch::planProbes(input);
    config.stopAtFirst = !m_all->isChecked();
    return config;
}

void SearchDialog::start()
{
    if (!m_window.serial().portOpen())
        return showPortState();
    const modsearch::Config plan = config();
    if (plan.plan.isEmpty()) {
        m_state->setText(tr("Nothing to search: choose a baud rate and a station range."));
        return;
    }
    if (m_window.commands().cycling()) {
        m_window.commands().cmdStopOnce();
        m_cycleNote->setText(tr("The cycle was stopped for the search, as \"停止\" would."));
    }
    m_answers.clear();
    m_list->clear();
    m_bar->setRange(0, int(plan.plan.size()));
    m_bar->setValue(0);
    setRunning(true);
    if (!m_window.commands().idle())
        m_state->setText(tr("Waiting for the exchange in progress to end…"));
    QPointer<SearchDialog> self(this);
    m_window.commands().runExclusive([self, plan] {
        if (self)
            self->runSearch(plan);
    });
}

void SearchDialog::runSearch(const modsearch::Config &config)
{
    if (m_closeWhenDone) { // closed while waiting for its turn
        setRunning(false);
        return QDialog::reject();
    }
    showPortState();
    const modsearch::Ending ending = m_runner.run(config);
    setRunning(false);
    showEnding(ending);
    if (m_closeWhenDone)
        QDialog::reject();
}

void SearchDialog::setRunning(bool running)
{
    m_busy = running;
    m_start->setEnabled(!running && m_window.serial().portOpen());
    m_stop->setEnabled(running);
    for (const BaudRow &row : m_bauds) {
        row.chosen->setEnabled(!running);
        row.timeout->setEnabled(!running);
    }
    m_first->setEnabled(!running);
    m_last->setEnabled(!running);
    m_all->setEnabled(!running);
    updateUse();
}

void SearchDialog::showProgress(const modsearch::Progress &progress)
{
    m_bar->setValue(progress.done);
    m_progressText->setText(tr("%1 baud, station %2: %3 of %4 probes, %5 s")
                                .arg(progress.probe.baud)
                                .arg(progress.probe.station)
                                .arg(progress.done)
                                .arg(progress.planned)
                                .arg(double(progress.elapsedMs) / kMsPerSecond, 0, 'f', 1));
}

void SearchDialog::addAnswer(const modsearch::Answer &answer)
{
    const int station = answer.probe.station;
    const int baud = answer.probe.baud;
    QString text;
    switch (answer.kind) {
    case modsearch::Kind::Module:
        text = tr("Station %1 at %2 baud: the module (baud-rate register %3, station register %4)")
                   .arg(station)
                   .arg(baud)
                   .arg(answer.baudRegister)
                   .arg(answer.stationRegister);
        break;
    case modsearch::Kind::Device:
        text = answer.exceptionCode >= 0
                   ? tr("Station %1 at %2 baud: a device answers here (exception %3)")
                         .arg(station)
                         .arg(baud)
                         .arg(answer.exceptionCode)
                   : tr("Station %1 at %2 baud: a device answers here (baud-rate register %3, "
                        "station register %4)")
                         .arg(station)
                         .arg(baud)
                         .arg(answer.baudRegister)
                         .arg(answer.stationRegister);
        break;
    default: text = tr("%1 baud: something is on the line at this baud").arg(baud); break;
    }
    m_answers << answer;
    m_list->addItem(text);
    if (answer.kind == modsearch::Kind::Module && !selectedModule())
        m_list->setCurrentRow(m_list->count() - 1);
}

void SearchDialog::showEnding(modsearch::Ending ending)
{
    const CommPort &port = m_window.serial();
    switch (ending) {
    case modsearch::Ending::Completed:
        m_state->setText(std::any_of(m_answers.cbegin(), m_answers.cend(),
                                     [](const modsearch::Answer &a) {
                                         return a.kind == modsearch::Kind::Module;
                                     })
                             ? tr("The search is done.")
                             : tr("The search is done: no module answered."));
        break;
    case modsearch::Ending::FoundFirst:
        m_state->setText(tr("A module was found; the search ended there."));
        break;
    case modsearch::Ending::Stopped: m_state->setText(tr("The search was stopped.")); break;
    case modsearch::Ending::PortLost:
    case modsearch::Ending::NotOpen:
        m_state->setText(
            tr("The search ended: %1").arg(portinfo::stateTip(port.linkDirs(), port.state())));
        break;
    }
}

const modsearch::Answer *SearchDialog::selectedModule() const
{
    const int row = m_list->currentRow();
    if (row < 0 || row >= m_answers.size() || m_answers[row].kind != modsearch::Kind::Module)
        return nullptr;
    return &m_answers[row];
}

void SearchDialog::updateUse()
{
    const modsearch::Answer *found = selectedModule();
    m_use->setEnabled(found && !m_busy && m_window.serial().portOpen());
    if (!found)
        return m_use->setText(tr("Use"));
    m_use->setText(found->probe.baud == presentBaud()
                       ? tr("Use (station %1)").arg(found->probe.station)
                       : tr("Use (station %1, and switch to %2 baud)")
                             .arg(found->probe.station)
                             .arg(found->probe.baud));
}

// The station goes into the station box; another baud is applied as "保存" applies it.
void SearchDialog::use()
{
    const modsearch::Answer *found = selectedModule();
    if (!found || m_busy)
        return;
    const modsearch::Probe probe = found->probe;
    const FormControls &ui = m_window.controls();
    ui.txtStationID->setText(QString::number(probe.station));
    accept();
    if (probe.baud == presentBaud())
        return;
    const int entry = ui.Combo2->findText(QString::number(probe.baud));
    if (entry < 0)
        return;
    ui.Combo2->setCurrentIndex(entry);
    m_window.onSave();
}

void SearchDialog::reject()
{
    if (!m_busy)
        return QDialog::reject();
    m_closeWhenDone = true;
    m_runner.stop();
}
