#pragma once
// Saving the module's ten parameters (registers 8..17) to a file and loading
// them back into the parameter boxes, from the menu bar and from the context
// menus of those boxes and of the tab "软件设置". Nothing here runs a loop of
// its own: the actions may be chosen inside a read's wait, which must end.

#include <QHash>
#include <QList>
#include <QObject>
#include <QString>
#include <array>
#include <functional>

class MainWindow;
class QMenu;

namespace device {
struct ReadOutcome;
struct WriteOutcome;
} // namespace device

class ParameterActions : public QObject {
    Q_OBJECT
public:
    // Asks for a file and later hands it to chosen, from the event loop; never
    // when the operator cancels. suggested is a full path for a save, empty for a load.
    using Chosen = std::function<void(const QString &path)>;
    using Chooser = std::function<void(bool forSave, const QString &suggested, Chosen chosen)>;

    explicit ParameterActions(MainWindow &window);

    // A file dialog unless replaced (tests).
    Chooser choose;

    void addActions(QMenu &menu);
    void saveToFile();
    void loadFromFile();

    // The boxes filled from a file and neither written nor read since.
    QList<int> loadedBoxes() const;

private:
    void chooseWithDialog(bool forSave, const QString &suggested, Chosen chosen);
    QString suggestedPath() const;
    void saveRead(const device::ReadOutcome &outcome, const QString &path);
    void load(const QString &path);
    void fill(const std::array<int, 10> &values, const QString &path);
    void unmark(int box);
    void onRead(const device::ReadOutcome &outcome);
    void onWrite(int box, const device::WriteOutcome &outcome);
    void tell(const QString &text, bool warning);

    MainWindow &m_window;
    QHash<int, QString> m_loaded; // box -> its tooltip before
};

// Adds the two actions to the parameter boxes' and the tab's menus.
ParameterActions *installParameterFile(MainWindow &window);
