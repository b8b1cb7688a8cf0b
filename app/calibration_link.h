#pragma once
// The calibration's exchanges with the module for one coefficient,
// txtChannel(2) to (9), shared by the one-point calibration and the
// multi-point check: every read and write goes through the window's commands,
// so the texts, lamp and counters move as for the buttons. Each step runs from
// the event loop after the command's turn, never once cancelled or gone.

#include "device/calibration.h"
#include "device/calibration_record.h"
#include "device/commands.h"
#include "device/parameter_file.h"

#include <QBoxLayout>
#include <QObject>
#include <QPushButton>
#include <functional>
#include <optional>

class MainWindow;
class QLabel;
class QSpinBox;
class QWidget;

// A wrapped, selectable line of the dialog's text, found by its name.
QLabel *calibrationTextLine(QWidget *parent, const char *name);
// The live reads to take, "reads": 10 unless changed.
QSpinBox *calibrationReadsBox(QWidget *parent);

// A named button in a row of the dialog's buttons; Return in a field never presses it.
template <typename Owner>
QPushButton *calibrationButton(Owner *owner, QBoxLayout &row, const char *name, const QString &text,
                               void (Owner::*slot)())
{
    auto *button = new QPushButton(text, owner);
    button->setObjectName(QLatin1String(name));
    button->setAutoDefault(false);
    QObject::connect(button, &QPushButton::clicked, owner, slot);
    row.addWidget(button);
    return button;
}

class CalibrationLink : public QObject {
    Q_OBJECT
public:
    using Readings = std::vector<calibration::Reading>;
    using Parameters = std::optional<paramfile::Parameters>;
    using Step = std::function<void()>;

    CalibrationLink(MainWindow &window, int index, QObject *parent);

    MainWindow &window() { return m_window; }
    int index() const { return m_index; }
    bool isInput() const;
    int channel() const; // 1 to 4
    QString channelName() const;

    bool busy() const { return m_busy; }
    bool writing() const { return m_writing; }
    void begin(); // stops a running cycle, and says so
    void end();
    // Drops every step still waiting; a write already sent is read back all the same.
    void cancel();

    void readCoefficient(const std::function<void(std::optional<int>)> &next);
    // count reads of the input, or of the output as the module reports it, in mA.
    void readLive(int count, const std::function<void(const Readings &)> &next);
    void readParameters(const std::function<void(const Parameters &)> &next);
    // Once per dialog, before the first write; on failure the link fails.
    void backUp(const Step &next);
    // Writes value, reads it back; held is what the register holds then.
    void writeCoefficient(int value, const std::function<void(std::optional<int> held)> &next);

    void say(const QString &text);
    void fail(const QString &text);
    QString backupPath() const { return m_backupPath; }
    std::optional<int> original() const { return m_original; }
    std::optional<int> held() const { return m_held; }
    const Parameters &before() const { return m_before; }

    // What every record of this channel shares, stamped now.
    calibration::Record recordBase() const;
    // Appends to calibrations.jsonl; a failure is said, and nothing else stops.
    void record(const calibration::Record &record, const QString &kind);

signals:
    void busyChanged();
    void said(const QString &text);
    void failed(const QString &text);

private:
    template <typename Outcome>
    std::function<void(const Outcome &)> later(std::function<void(const Outcome &)> next);
    void readLiveFrom(int count, const std::function<void(const Readings &)> &next,
                      const Readings &sofar);

    MainWindow &m_window;
    int m_index;
    bool m_busy = false;
    bool m_writing = false;
    bool m_stoppedCycle = false;
    int m_generation = 0;
    QString m_backupPath;
    std::optional<int> m_original; // before this dialog's first write
    std::optional<int> m_held;     // the coefficient as last read from the module
    Parameters m_before;
};
