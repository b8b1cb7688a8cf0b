#include "app/port_link_menu.h"

#include <QCoreApplication>
#include <QMenu>

QMenu *buildLinkMenu(int number, bool hasLink, const QList<portinfo::Device> &devices,
                     const LinkChoices &choices, QWidget *parent)
{
    if (number <= 0) {
        auto *menu =
            new QMenu(QCoreApplication::translate(
                          "PortList", "Link COMn to (no entry COM1 to COM25 is selected or typed)"),
                      parent);
        menu->setEnabled(false);
        return menu;
    }
    auto *menu =
        new QMenu(QCoreApplication::translate("PortList", "Link COM%1 to").arg(number), parent);
    for (const portinfo::Device &device : devices) {
        const QString target = portinfo::linkTarget(device);
        QAction *action = menu->addAction(portinfo::deviceTitle(device));
        action->setToolTip(target);
        QObject::connect(action, &QAction::triggered, menu,
                         [linkTo = choices.linkTo, target] { linkTo(target); });
    }
    if (devices.isEmpty())
        menu->addAction(QCoreApplication::translate("PortList", "No serial device detected"))
            ->setEnabled(false);
    if (hasLink) {
        menu->addSeparator();
        QObject::connect(
            menu->addAction(QCoreApplication::translate("PortList", "Remove the link")),
            &QAction::triggered, menu, choices.removeLink);
    }
    menu->setToolTipsVisible(true);
    return menu;
}
