#include "app/context_menus.h"

#include <QComboBox>
#include <QLineEdit>
#include <QMenu>

namespace {
QLineEdit *textBoxOf(QWidget *target)
{
    if (auto *combo = qobject_cast<QComboBox *>(target))
        return combo->lineEdit();
    return qobject_cast<QLineEdit *>(target);
}
} // namespace

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

QMenu *ContextMenus::build(QWidget *target) const
{
    QLineEdit *box = textBoxOf(target);
    QMenu *menu = box ? box->createStandardContextMenu() : new QMenu(target);
    if (!menu->isEmpty())
        menu->addSeparator();
    for (const Filler &filler : m_fillers.value(target))
        filler(*menu);
    return menu;
}

void ContextMenus::open(QWidget *target, const QPoint &globalPos) const
{
    QMenu *menu = build(target);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(globalPos);
}
