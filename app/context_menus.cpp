#include "app/context_menus.h"

#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>

namespace {
QLineEdit *textBoxOf(QWidget *target)
{
    if (auto *combo = qobject_cast<QComboBox *>(target))
        return combo->lineEdit();
    return qobject_cast<QLineEdit *>(target);
}
} // namespace

ContextMenus::~ContextMenus() = default;

void ContextMenus::extend(QWidget *target, Filler filler)
{
    const bool first = !m_fillers.contains(target);
    m_fillers[target].append(std::move(filler));
    if (!first)
        return;
    QList<QWidget *> sources{target};
    if (auto *combo = qobject_cast<QComboBox *>(target); combo && combo->lineEdit())
        sources << combo->lineEdit();
    for (QWidget *source : sources) {
        source->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(
            source, &QWidget::customContextMenuRequested, this,
            [this, source, target](const QPoint &pos) { open(target, source->mapToGlobal(pos)); });
    }
}

// The features' actions live in a menu never shown, kept while a twin of
// theirs or a relayed trigger needs them.
QMenu *ContextMenus::build(QWidget *target) const
{
    QLineEdit *box = textBoxOf(target);
    QMenu *menu = box ? box->createStandardContextMenu() : new QMenu(target);
    QAction *firstStandard = menu->actions().value(0);
    const std::shared_ptr<QMenu> actions(new QMenu);
    for (const Filler &filler : m_fillers.value(target))
        filler(*actions);
    mirror(*actions, *menu, firstStandard, actions);
    if (firstStandard && !actions->isEmpty())
        menu->insertSeparator(firstStandard);
    return menu;
}

void ContextMenus::mirror(const QMenu &from, QMenu &to, QAction *before,
                          const std::shared_ptr<QMenu> &actions) const
{
    for (QAction *action : from.actions()) {
        if (action->isSeparator()) {
            to.insertSeparator(before);
        } else if (QMenu *sub = action->menu()) {
            auto *twin = new QMenu(sub->title(), &to);
            twin->setEnabled(action->isEnabled());
            twin->setToolTipsVisible(sub->toolTipsVisible());
            to.insertMenu(before, twin);
            mirror(*sub, *twin, nullptr, actions);
        } else {
            auto *twin = new QAction(action->icon(), action->text(), &to);
            twin->setShortcut(action->shortcut());
            twin->setToolTip(action->toolTip());
            twin->setEnabled(action->isEnabled());
            twin->setCheckable(action->isCheckable());
            twin->setChecked(action->isChecked());
            to.insertAction(before, twin);
            relay(twin, action, actions);
        }
    }
}

// The menu's own handler returns before the action's work starts: that work
// may wait for the module, and a wait handles events that can close the menu.
void ContextMenus::relay(QAction *twin, QAction *action,
                         const std::shared_ptr<QMenu> &actions) const
{
    auto *self = const_cast<ContextMenus *>(this);
    connect(twin, &QAction::triggered, self, [self, twin, action, actions] {
        std::shared_ptr<QMenu> shown; // a submenu's twin is held by the menu it opened from
        for (QObject *up = twin->parent(); !shown && up; up = up->parent())
            shown = self->m_open.value(qobject_cast<QMenu *>(up));
        QMetaObject::invokeMethod(
            self,
            [action, actions, shown] {
                Q_UNUSED(shown);
                action->trigger();
            },
            Qt::QueuedConnection);
    });
}

void ContextMenus::open(QWidget *target, const QPoint &globalPos)
{
    QMenu *menu = build(target);
    // Whoever frees the menu first, its parent or the last holder, frees it once.
    m_open.insert(menu, std::shared_ptr<QMenu>(menu, [guard = QPointer<QMenu>(menu)](QMenu *) {
                      delete guard.data();
                  }));
    // Released from the event loop, after the handler that hid it, and after
    // any work it relayed, which holds the menu too.
    connect(menu, &QMenu::aboutToHide, this, [this, menu] {
        QMetaObject::invokeMethod(
            this, [this, menu] { m_open.remove(menu); }, Qt::QueuedConnection);
    });
    menu->popup(globalPos);
}
