#pragma once
// "Find the module…": searches the port in force for a module of unknown
// station or baud rate, between the window's transactions, and puts what was
// found to use as the station box and "保存" would. Opened with open(), never
// exec(): it may be opened from inside a read's wait, which must end first.

#include "device/module_search.h"

#include <QDialog>
#include <array>

class MainWindow;
class QCheckBox;
class QGridLayout;
class QLabel;
class QProgressBar;
class QPushButton;
class QSpinBox;
class QTableWidget;

class SearchDialog : public QDialog {
    Q_OBJECT
public:
    explicit SearchDialog(MainWindow &window);

    void reject() override; // during a search: stops it and closes once it has ended

private:
    enum class Phase { Idle, Waiting, Running }; // Waiting: for the read in progress to end

    struct BaudRow {
        int baud = 0;
        QCheckBox *chosen = nullptr;
        QSpinBox *timeout = nullptr;
    };

    void buildForm();
    QWidget *buildChoices();
    QTableWidget *buildTable();
    void orderBauds();
    void showPortState();
    void showPlan();
    void start();
    void stop();
    modsearch::Config config() const;
    void runSearch(const modsearch::Config &config);
    void setPhase(Phase phase);
    void showProgress(const modsearch::Progress &progress);
    void addAnswer(const modsearch::Answer &answer);
    void showEnding(modsearch::Ending ending, const QString &settings);
    QString endingText(modsearch::Ending ending) const;
    const modsearch::Answer *selectedModule() const;
    void updateUse();
    void use();
    QString useResult(const modsearch::Probe &probe);
    int presentBaud() const;

    MainWindow &m_window;
    modsearch::Runner m_runner;
    QList<modsearch::Answer> m_answers;
    std::array<BaudRow, 2> m_bauds;
    QGridLayout *m_baudGrid = nullptr;
    QLabel *m_state = nullptr;
    QLabel *m_cycleNote = nullptr;
    QSpinBox *m_first = nullptr;
    QSpinBox *m_last = nullptr;
    QCheckBox *m_all = nullptr;
    QProgressBar *m_bar = nullptr;
    QLabel *m_progressText = nullptr;
    QTableWidget *m_table = nullptr;
    QPushButton *m_start = nullptr;
    QPushButton *m_stop = nullptr;
    QPushButton *m_use = nullptr;
    modsearch::Progress m_progress;
    Phase m_phase = Phase::Idle;
    bool m_closeWhenDone = false;
};
