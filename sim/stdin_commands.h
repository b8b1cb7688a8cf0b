#pragma once
// Lines on the simulator's standard input that change it while it runs, so a
// rehearsal or a test can step a calibrator through its points:
// "current 1 12.0" holds input 1 at 12.0 mA.

#include <QObject>
#include <QString>
#include <optional>

class QSocketNotifier;

namespace sim {

class ModuleModel;

struct HeldCurrent {
    int channel = 0;    // 0..3
    int hundredths = 0; // of a mA
};
// The command of one line, or nothing when it is not "current CH MA" with CH
// 1 to 4 and MA 0 to 25.
std::optional<HeldCurrent> parseCurrentCommand(const QString &line);

class StdinCommands : public QObject {
public:
    explicit StdinCommands(ModuleModel &model, QObject *parent = nullptr);

private:
    void readLines();

    ModuleModel &m_model;
    QSocketNotifier *m_notifier;
    QByteArray m_pending;
};

} // namespace sim
