#pragma once
// What the port list Combo1 tells about the ports: where each entry leads (its
// tooltip, and a greyed second column in the opened list, refreshed each time
// the list opens), the state of the port in force (the list's own tooltip), and
// a context menu that links a COM number to a detected device.

#include "serial/port_info.h"

#include <QObject>
#include <functional>

class CommPort;
class ContextMenus;
class QComboBox;
class QMenu;

class PortList : public QObject {
    Q_OBJECT
public:
    // A child of combo; port outlives it. warn shows the operator a warning.
    // The link submenu joins combo's context menu through menus.
    PortList(QComboBox *combo, CommPort &port, ContextMenus &menus,
             std::function<void(const QString &)> warn);

    void showState();
    // The selected entry's number, else that of the entry the text names; 0 for neither.
    int chosenNumber() const;
    // The submenu "Link COMn to" over the given devices, acting on the link folders.
    QMenu *linkMenu(int number, const QList<portinfo::Device> &devices, QWidget *parent);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // Each time the list opens: devices come and go, and looking costs a scan of them.
    void refreshEntries();
    void fitPopup(QWidget *popup) const;
    void linkTo(int number, const QString &target);
    void removeLink(int number);
    void tellFailure(const QString &text, const QString &path, const QString &why);

    QComboBox *m_combo;
    CommPort &m_port;
    std::function<void(const QString &)> m_warn;
};
