#include "app/port_list.h"

#include "app/context_menus.h"
#include "app/port_link_menu.h"
#include "app/port_list_delegate.h"
#include "serial/comm_port.h"
#include "serial/port_links.h"
#include "serial/port_names.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QDir>
#include <QEvent>
#include <QLineEdit>
#include <QMenu>
#include <QScrollBar>

PortList::PortList(QComboBox *combo, CommPort &port, ContextMenus &menus,
                   std::function<void(const QString &)> warn)
    : QObject(combo), m_combo(combo), m_port(port), m_warn(std::move(warn))
{
    combo->setItemDelegate(new PortListDelegate(combo));
    // The opened list lives in a frame of its own; its showing is the moment to look again.
    combo->view()->parentWidget()->installEventFilter(this);
    if (portnames::usesLinks()) {
        menus.extend(combo, [this](QMenu &menu) {
            menu.addMenu(linkMenu(chosenNumber(), portinfo::detectedDevices(), &menu));
        });
    }
    connect(&port, &CommPort::stateChanged, this, &PortList::showState);
    showState();
}

void PortList::refreshEntries()
{
    const QList<portinfo::Device> devices = portinfo::detectedDevices();
    for (int entry = 0; entry < m_combo->count(); ++entry) {
        const int number = entry + 1;
        m_combo->setItemData(entry, portinfo::entryTip(m_port.linkDirs(), number, devices),
                             Qt::ToolTipRole);
        m_combo->setItemData(entry, portinfo::entryDevice(m_port.linkDirs(), number, devices),
                             PortListDelegate::kDeviceRole);
    }
}

void PortList::showState()
{
    m_combo->setToolTip(portinfo::stateTip(m_port.linkDirs(), m_port.state()));
}

int PortList::chosenNumber() const
{
    if (m_combo->currentIndex() >= 0)
        return m_combo->currentIndex() + 1;
    const int named =
        m_combo->findText(m_combo->currentText(), Qt::MatchExactly | Qt::MatchCaseSensitive);
    return named + 1; // findText gives -1 for none
}

bool PortList::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Show) {
        refreshEntries();
        fitPopup(static_cast<QWidget *>(watched));
    }
    return QObject::eventFilter(watched, event);
}

// Wide enough for the second column, which the list's own width does not allow for.
void PortList::fitPopup(QWidget *popup) const
{
    QAbstractItemView *view = m_combo->view();
    const int widest = view->sizeHintForColumn(0) + view->verticalScrollBar()->sizeHint().width() +
                       2 * view->frameWidth() + popup->width() - view->width();
    if (popup->width() < widest)
        popup->resize(widest, popup->height());
}

QMenu *PortList::linkMenu(int number, const QList<portinfo::Device> &devices, QWidget *parent)
{
    const bool hasLink = number > 0 && !portnames::linkFor(m_port.linkDirs(), number).isEmpty();
    return buildLinkMenu(number, hasLink, devices,
                         {[this, number](const QString &target) { linkTo(number, target); },
                          [this, number] { removeLink(number); }},
                         parent);
}

// New links go into the first link folder, which is searched first.
void PortList::linkTo(int number, const QString &target)
{
    const auto done = portlinks::writeLink(m_port.linkDirs().value(0), number, target);
    if (!done.ok)
        tellFailure(tr("The link %1 could not be written: %2"), done.path, done.error);
    showState(); // the entries are looked at afresh when the list next opens
}

void PortList::removeLink(int number)
{
    const auto done = portlinks::removeLink(portnames::linkFor(m_port.linkDirs(), number));
    if (!done.ok)
        tellFailure(tr("The link %1 could not be removed: %2"), done.path, done.error);
    showState();
}

void PortList::tellFailure(const QString &text, const QString &path, const QString &why)
{
    m_warn(text.arg(QDir::toNativeSeparators(path), why));
}
