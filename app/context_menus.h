#pragma once
// The context menus through which the features beyond the main window's own
// controls are reached: a text box keeps its usual menu and gets the features'
// actions below it; a frame or tab background gets a menu of its own.

#include <QHash>
#include <QList>
#include <QObject>
#include <functional>

class QMenu;
class QPoint;
class QWidget;

class ContextMenus : public QObject {
    Q_OBJECT
public:
    // Adds its actions to a menu that is about to open.
    using Filler = std::function<void(QMenu &menu)>;

    using QObject::QObject;

    // Fillers run in the order they were added. A QComboBox stands for its text
    // box too; a right-click on a child that has a menu of its own opens that one.
    void extend(QWidget *target, Filler filler);

    // The menu target would open now, built and not shown; the caller owns it.
    QMenu *build(QWidget *target) const;

private:
    void open(QWidget *target, const QPoint &globalPos) const;

    QHash<QWidget *, QList<Filler>> m_fillers;
};
