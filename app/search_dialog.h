#pragma once
// "Find the module…": searches the port in force for a module of unknown
// station or baud rate, between the window's transactions, and puts what was
// found to use as the station box and "保存" would.

#include "device/module_search.h"

#include <QDialog>
#include <array>

class MainWindow;
class QCheckBox;
class QLabel;
class QListWidget;
class QProgressBar;
class QPushButton;
class QSpinBox;

class SearchDialog : public QDialog {
    Q_OBJECT
public:
    explicit SearchDialog(MainWindow &window);

    void reject() override; // during a search: stops it and closes once it has ended

private:
    struct BaudRow {
        int baud = 0;
        QCheckBox *chosen = nullptr;
        QSpinBox *timeout = nullptr;
    };

    void buildForm();
    QWidget *buildChoices();
    void showPortState();
    void start();
    modsearch::Config config() const;
    void runSearch(const modsearch::Config &config);
    void setRunning(bool running);
    void showProgress(const modsearch::Progress &progress);
    void addAnswer(const modsearch::Answer &answer);
    void showEnding(modsearch::Ending ending);
    const modsearch::Answer *selectedModule() const;
    void updateUse();
    void use();
    int presentBaud() const;

    MainWindow &m_window;
    modsearch::Runner m_runner;
    QList<modsearch::Answer> m_answers;
    std::array<BaudRow, 2> m_bauds;
    QLabel *m_state = nullptr;
    QLabel *m_cycleNote = nullptr;
    QSpinBox *m_first = nullptr;
    QSpinBox *m_last = nullptr;
    QCheckBox *m_all = nullptr;
    QProgressBar *m_bar = nullptr;
    QLabel *m_progressText = nullptr;
    QListWidget *m_list = nullptr;
    QPushButton *m_start = nullptr;
    QPushButton *m_stop = nullptr;
    QPushButton *m_use = nullptr;
    bool m_busy = false; // from Start until the search has ended
    bool m_closeWhenDone = false;
};
