#pragma once
// Saving the module's ten parameters (registers 8..17) to a file and loading
// them back into the parameter boxes, from the context menus of those boxes
// and of the tab "软件设置".

#include <QObject>
#include <QString>
#include <functional>

class MainWindow;
class QMenu;

namespace device {
struct ReadOutcome;
}

class ParameterActions : public QObject {
    Q_OBJECT
public:
    // Asks for a file; empty when the operator cancels. suggested is a full
    // path for a save, empty for a load.
    using Chooser = std::function<QString(bool forSave, const QString &suggested)>;

    explicit ParameterActions(MainWindow &window);

    // A file dialog unless replaced (tests).
    Chooser choose;

    void addActions(QMenu &menu);
    void saveToFile();
    void loadFromFile();

private:
    QString chooseWithDialog(bool forSave, const QString &suggested);
    QString suggestedPath() const;
    void saveRead(const device::ReadOutcome &outcome, const QString &path);
    void tell(const QString &text, bool warning);

    MainWindow &m_window;
};

// Adds the two actions to the parameter boxes' and the tab's menus.
ParameterActions *installParameterFile(MainWindow &window);
