#include "app/search_dialog.h"

#include "app/main_window.h"
#include "app/settings_files.h"
#include "device/commands.h"
#include "modbus/number_text.h"
#include "serial/comm_port.h"

#include <QCheckBox>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

namespace {
constexpr int kMinTimeoutMs = 10;
constexpr int kMaxTimeoutMs = 5000;
constexpr qint64 kMsPerSecond = 1000;
constexpr int kSecondsPerMinute = 60;
constexpr int kWidth = 640;
constexpr int kHeight = 480;
enum Column { kStation, kBaud, kWhat, kReplyTime, kColumns };

QSpinBox *stationBox(int value, const QString &name)
{
    auto *box = new QSpinBox;
    box->setRange(modsearch::kFirstStation, modsearch::kLastStation);
    box->setValue(value);
    box->setObjectName(name);
    return box;
}

// Whole seconds, rounded up, so that "about 0 s" never shows while work is left.
QString duration(qint64 ms)
{
    const qint64 seconds = (ms + kMsPerSecond - 1) / kMsPerSecond;
    if (seconds < kSecondsPerMinute)
        return QCoreApplication::translate("SearchDialog", "%1 s").arg(seconds);
    return QCoreApplication::translate("SearchDialog", "%1 min %2 s")
        .arg(seconds / kSecondsPerMinute)
        .arg(seconds % kSecondsPerMinute, 2, 10, QLatin1Char('0'));
}

} // namespace

SearchDialog::SearchDialog(MainWindow &window)
    : QDialog(&window), m_window(window), m_runner(window.serial())
{
    setWindowTitle(tr("Find the module"));
    resize(kWidth, kHeight); // room for the answers and the longest "Use" text
    buildForm();
    connect(&m_runner, &modsearch::Runner::progress, this, &SearchDialog::showProgress);
    connect(&m_runner, &modsearch::Runner::answered, this, &SearchDialog::addAnswer);
    connect(&window.serial(), &CommPort::stateChanged, this, [this] {
        if (m_phase == Phase::Idle)
            showPortState();
    });
    showPortState();
    if (window.commands().cycling()) {
        m_cycleNote->setText(tr("The cycle is running: Start stops it first, as “停止” does."));
        m_cycleNote->setVisible(true);
    }
}

void SearchDialog::buildForm()
{
    auto *layout = new QVBoxLayout(this);
    m_state = new QLabel;
    m_state->setObjectName(QStringLiteral("searchState"));
    m_state->setWordWrap(true);
    m_cycleNote = new QLabel;
    m_cycleNote->setWordWrap(true);
    m_cycleNote->setVisible(false);
    m_bar = new QProgressBar;
    m_bar->setVisible(false); // until Start: an empty bar looks like a text box
    m_progressText = new QLabel;
    m_progressText->setObjectName(QStringLiteral("searchProgressText"));
    m_progressText->setWordWrap(true);

    auto *buttons = new QHBoxLayout;
    m_start = new QPushButton(tr("Start"));
    m_stop = new QPushButton(tr("Stop"));
    m_use = new QPushButton(tr("Use"));
    auto *close = new QPushButton(tr("Close"));
    buttons->addStretch();
    for (auto *button : {m_start, m_stop, m_use, close}) {
        button->setAutoDefault(false);
        buttons->addWidget(button);
    }
    connect(m_start, &QPushButton::clicked, this, &SearchDialog::start);
    connect(m_stop, &QPushButton::clicked, this, &SearchDialog::stop);
    connect(m_use, &QPushButton::clicked, this, &SearchDialog::use);
    connect(close, &QPushButton::clicked, this, &SearchDialog::reject);

    layout->addWidget(m_state);
    layout->addWidget(m_cycleNote);
    layout->addWidget(buildChoices());
    layout->addWidget(m_bar);
    layout->addWidget(m_progressText);
    layout->addWidget(buildTable(), 1);
    layout->addLayout(buttons);
    setPhase(Phase::Idle);
    showPlan();
}

// Both bauds of the baud list, each with its own timeout; the station range; all or first.
QWidget *SearchDialog::buildChoices()
{
    auto *choices = new QWidget;
    auto *form = new QFormLayout(choices);
    form->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
    m_baudGrid = new QGridLayout;
    m_baudGrid->setColumnStretch(2, 1); // the timeouts keep their own width
    form->addRow(m_baudGrid);
    const QComboBox *bauds = m_window.controls().Combo2;
    for (int i = 0; i < int(m_bauds.size()); ++i) {
        BaudRow &row = m_bauds[i];
        row.baud = bauds->itemText(i).toInt();
        row.chosen = new QCheckBox(tr("%1 baud").arg(row.baud));
        row.chosen->setChecked(true);
        row.timeout = new QSpinBox;
        row.timeout->setRange(kMinTimeoutMs, kMaxTimeoutMs);
        row.timeout->setValue(modsearch::defaultTimeoutMs(row.baud));
        row.timeout->setSuffix(tr(" ms per station"));
        row.timeout->setObjectName(QStringLiteral("searchTimeout%1").arg(row.baud));
        connect(row.chosen, &QCheckBox::toggled, this, &SearchDialog::showPlan);
        connect(row.timeout, &QSpinBox::valueChanged, this, &SearchDialog::showPlan);
    }
    orderBauds();
    auto *range = new QHBoxLayout;
    m_first = stationBox(modsearch::kFirstStation, QStringLiteral("searchFirst"));
    m_last = stationBox(modsearch::kLastStation, QStringLiteral("searchLast"));
    range->addWidget(m_first);
    range->addWidget(new QLabel(tr("to")));
    range->addWidget(m_last);
    range->addStretch();
    form->addRow(tr("Stations"), range);
    for (QSpinBox *box : {m_first, m_last})
        connect(box, &QSpinBox::valueChanged, this, &SearchDialog::showPlan);
    m_all = new QCheckBox(tr("Go on after the first module found"));
    form->addRow(m_all);
    return choices;
}

QTableWidget *SearchDialog::buildTable()
{
    m_table = new QTableWidget(0, kColumns);
    m_table->setObjectName(QStringLiteral("searchAnswers"));
    m_table->setHorizontalHeaderLabels(
        {tr("Station"), tr("Baud"), tr("What answered"), tr("Reply time")});
    m_table->verticalHeader()->hide();
    m_table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_table->horizontalHeader()->setSectionResizeMode(kWhat, QHeaderView::Stretch);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->setWordWrap(false);
    connect(m_table, &QTableWidget::currentCellChanged, this, &SearchDialog::updateUse);
    return m_table;
}

// In the order they are probed: the present baud first.
void SearchDialog::orderBauds()
{
    const int present = presentBaud();
    std::stable_partition(m_bauds.begin(), m_bauds.end(),
                          [present](const BaudRow &row) { return row.baud == present; });
    for (int i = 0; i < int(m_bauds.size()); ++i) {
        m_baudGrid->addWidget(m_bauds[i].chosen, i, 0);
        m_baudGrid->addWidget(m_bauds[i].timeout, i, 1);
    }
}

void SearchDialog::showPortState()
{
    const CommPort &port = m_window.serial();
    const QString tip = portinfo::stateTip(port.linkDirs(), port.state());
    m_state->setText(port.portOpen() ? tr("Port: %1").arg(tip)
                                     : tr("The search cannot start: %1").arg(tip));
    m_start->setEnabled(m_phase == Phase::Idle && port.portOpen());
    orderBauds();
    showPlan();
}

void SearchDialog::showPlan()
{
    if (m_phase != Phase::Idle || !m_first || !m_all)
        return;
    const modsearch::Config plan = config();
    m_progressText->setText(plan.plan.isEmpty()
                                ? tr("Nothing to search: choose a baud rate and a station range.")
                                : tr("%1 probes planned, about %2.")
                                      .arg(plan.plan.size())
                                      .arg(duration(modsearch::estimateLeftMs(plan, 0, 0))));
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
    if (plan.plan.isEmpty())
        return showPlan();
    if (m_window.commands().cycling()) {
        m_window.commands().cmdStopOnce();
        m_cycleNote->setText(tr("The cycle was stopped for the search, as “停止” would."));
    }
    m_answers.clear();
    m_table->setRowCount(0);
    m_progress = {{}, 0, int(plan.plan.size()), 0, modsearch::estimateLeftMs(plan, 0, 0)};
    m_bar->setRange(0, int(plan.plan.size()));
    m_bar->setValue(0);
    m_bar->setFormat(tr("%v of %m probes"));
    m_bar->setVisible(true);
    setPhase(Phase::Waiting);
    m_state->setText(tr("Waiting for the exchange in progress to end…"));
    QPointer<SearchDialog> self(this);
    m_window.commands().runExclusive([self, plan] {
        if (self)
            self->runSearch(plan);
    });
}

// Before its turn came the search only has to be called off.
void SearchDialog::stop()
{
    if (m_phase == Phase::Running)
        return m_runner.stop();
    if (m_phase != Phase::Waiting)
        return;
    setPhase(Phase::Idle);
    showEnding(modsearch::Ending::Stopped, m_window.serial().settings());
}

void SearchDialog::runSearch(const modsearch::Config &config)
{
    if (m_phase != Phase::Waiting) // stopped or closed while waiting for its turn
        return;
    setPhase(Phase::Running);
    showPortState();
    const QString settings = m_window.serial().settings();
    const modsearch::Ending ending = m_runner.run(config);
    setPhase(Phase::Idle);
    showEnding(ending, settings);
    if (m_closeWhenDone)
        QDialog::reject();
}

void SearchDialog::setPhase(Phase phase)
{
    m_phase = phase;
    const bool idle = phase == Phase::Idle;
    m_start->setEnabled(idle && m_window.serial().portOpen());
    m_stop->setEnabled(!idle);
    for (const BaudRow &row : m_bauds) {
        row.chosen->setEnabled(idle);
        row.timeout->setEnabled(idle);
    }
    m_first->setEnabled(idle);
    m_last->setEnabled(idle);
    m_all->setEnabled(idle);
    updateUse();
}

void SearchDialog::showProgress(const modsearch::Progress &progress)
{
    m_progress = progress;
    m_bar->setValue(progress.done);
    m_progressText->setText(tr("%1 baud, station %2; %3 s so far, about %4 left.")
                                .arg(progress.probe.baud)
                                .arg(progress.probe.station)
                                .arg(double(progress.elapsedMs) / kMsPerSecond, 0, 'f', 1)
                                .arg(duration(progress.leftMs)));
}

void SearchDialog::addAnswer(const modsearch::Answer &answer)
{
    const int row = m_table->rowCount();
    m_table->insertRow(row);
    const QStringList cells{QString::number(answer.probe.station),
                            QString::number(answer.probe.baud), modsearch::describe(answer),
                            tr("%1 ms").arg(answer.replyMs)};
    for (int column = 0; column < kColumns; ++column) {
        auto *item = new QTableWidgetItem(cells[column]);
        item->setToolTip(cells[column]);
        m_table->setItem(row, column, item);
    }
    m_answers << answer;
    if (answer.kind == modsearch::Kind::Module && !selectedModule())
        m_table->selectRow(row);
}

// The bar ends full whatever the ending; its text tells how far the search went.
void SearchDialog::showEnding(modsearch::Ending ending, const QString &settings)
{
    const int done = m_progress.done;
    m_bar->setRange(0, qMax(done, 1));
    m_bar->setValue(qMax(done, 1));
    m_bar->setFormat(tr("%1 of %2 probes").arg(done).arg(m_progress.planned));
    m_progressText->setText(
        tr("Ended after %1 s.").arg(double(m_progress.elapsedMs) / kMsPerSecond, 0, 'f', 1));
    QString text = endingText(ending);
    const CommPort &port = m_window.serial();
    if (port.lost())
        text += QLatin1Char('\n') +
                tr("The port could not be set back to %1: %2. The next read opens it again once "
                   "the adapter is back.")
                    .arg(settings, portinfo::stateTip(port.linkDirs(), port.state()));
    m_state->setText(text);
}

QString SearchDialog::endingText(modsearch::Ending ending) const
{
    const bool found = std::any_of(m_answers.cbegin(), m_answers.cend(), [](const auto &answer) {
        return answer.kind == modsearch::Kind::Module;
    });
    switch (ending) {
    case modsearch::Ending::Completed:
        if (found)
            return tr("The search is done.");
        return tr("The search is done: no module answered. The usual causes:\n"
                  "• the lines A and B are swapped;\n"
                  "• the bus has no termination resistor at its ends;\n"
                  "• the module has no power;\n"
                  "• the module works at another baud rate: tick both.");
    case modsearch::Ending::FoundFirst: return tr("A module was found; the search ended there.");
    case modsearch::Ending::Stopped: return tr("The search was stopped.");
    case modsearch::Ending::PortLost: return tr("The search ended: the port went away.");
    case modsearch::Ending::NotOpen: break;
    }
    const CommPort &port = m_window.serial();
    return tr("The search cannot start: %1").arg(portinfo::stateTip(port.linkDirs(), port.state()));
}

const modsearch::Answer *SearchDialog::selectedModule() const
{
    const int row = m_table->currentRow();
    if (row < 0 || row >= m_answers.size() || m_answers[row].kind != modsearch::Kind::Module)
        return nullptr;
    return &m_answers[row];
}

void SearchDialog::updateUse()
{
    const modsearch::Answer *found = selectedModule();
    m_use->setEnabled(found && m_phase == Phase::Idle);
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
    if (!found || m_phase != Phase::Idle)
        return;
    m_state->setText(useResult(found->probe));
    updateUse();
}

QString SearchDialog::useResult(const modsearch::Probe &probe)
{
    const FormControls &ui = m_window.controls();
    ui.txtStationID->setText(QString::number(probe.station));
    const int entry = ui.Combo2->findText(QString::number(probe.baud));
    if (probe.baud == presentBaud() || entry < 0)
        return tr("Station %1 is in the station box now.").arg(probe.station);
    ui.Combo2->setCurrentIndex(entry);
    m_window.saveQuietly();
    const CommPort &port = m_window.serial();
    if (!port.portOpen() || presentBaud() != probe.baud)
        return tr("Station %1 is in the station box, but the port could not be opened at %2 "
                  "baud: %3")
            .arg(probe.station)
            .arg(probe.baud)
            .arg(portinfo::stateTip(port.linkDirs(), port.state()));
    const QString commSet = QDir(m_window.places().writeDir()).filePath(settingsfile::kCommSet);
    if (settingsfile::readCommSet(commSet).baud != probe.baud)
        return tr("Station %1 is in the station box; the port works at %2 baud now, but this "
                  "could not be saved in %3 for the next start.")
            .arg(probe.station)
            .arg(probe.baud)
            .arg(QDir::toNativeSeparators(commSet));
    return tr("Station %1 is in the station box; the port works at %2 baud now, and keeps it "
              "at the next start.")
        .arg(probe.station)
        .arg(probe.baud);
}

void SearchDialog::reject()
{
    if (m_phase == Phase::Idle)
        return QDialog::reject();
    if (m_phase == Phase::Waiting) {
        stop();
        return QDialog::reject();
    }
    m_closeWhenDone = true;
    m_runner.stop();
}
