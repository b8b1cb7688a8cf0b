#pragma once
// The submenu "Link COMn to" of the port list's context menu.

#include "serial/port_info.h"

#include <functional>

class QMenu;
class QWidget;

struct LinkChoices {
    std::function<void(const QString &target)> linkTo;
    std::function<void()> removeLink;
};

// Lists each detected device, and "Remove the link" when COMn has one. With
// number 0 (no COM entry chosen) the submenu is disabled and its title says why.
QMenu *buildLinkMenu(int number, bool hasLink, const QList<portinfo::Device> &devices,
                     const LinkChoices &choices, QWidget *parent);
