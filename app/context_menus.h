#pragma once
// The context menus through which the features beyond the main window's own
// controls are reached: a text box gets the features' actions above its usual
// menu; a frame or tab background gets a menu of its own.
//
// A feature's action may read the module, and a read's wait handles events, so
// its work never runs inside the menu's own event handler: the menu shows a
// twin of each action whose trigger is relayed through a queued call, and the
// menu lives until that work has returned.

#include <QHash>
#include <QList>
#include <QObject>
#include <functional>
#include <memory>

class QAction;
class QMenu;
class QPoint;
class QWidget;

class ContextMenus : public QObject {
    Q_OBJECT
public:
    // Adds its actions to a menu that is about to open.
    using Filler = std::function<void(QMenu &menu)>;

    using QObject::QObject;
    ~ContextMenus() override;

    // Fillers run in the order they were added. A QComboBox stands for its text
    // box too; a right-click on a child that has a menu of its own opens that one.
    void extend(QWidget *target, Filler filler);

    // The menu target would open now, built and not shown; the caller owns it.
    QMenu *build(QWidget *target) const;

private:
    void open(QWidget *target, const QPoint &globalPos);
    void mirror(const QMenu &from, QMenu &to, QAction *before,
                const std::shared_ptr<QMenu> &actions) const;
    void relay(QAction *twin, QAction *action, const std::shared_ptr<QMenu> &actions) const;

    QHash<QWidget *, QList<Filler>> m_fillers;
    // The menus opened here, each kept until it is hidden and its relayed work has run.
    QHash<QMenu *, std::shared_ptr<QMenu>> m_open;
};
