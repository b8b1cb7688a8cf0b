#include "app/search_feature.h"

#include "app/context_menus.h"
#include "app/main_window.h"
#include "app/search_dialog.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QLineEdit>
#include <QMenu>

void installSearch(MainWindow &window)
{
    const auto addAction = [&window](QMenu &menu) {
        QAction *action =
            menu.addAction(QCoreApplication::translate("SearchDialog", "Find the module…"));
        QObject::connect(action, &QAction::triggered, &window, [&window] { openSearch(window); });
    };
    window.contextMenus().extend(window.controls().txtStationID, addAction);
    window.contextMenus().extend(window.controls().Combo1, addAction);
}

// open(), not exec(): called from a menu, this usually runs inside a read's
// wait, which has to end before the search can have its turn.
void openSearch(MainWindow &window)
{
    for (auto *open : window.findChildren<SearchDialog *>(QString(), Qt::FindDirectChildrenOnly)) {
        if (open->isVisible()) { // one search at a time
            open->raise();
            open->activateWindow();
            return;
        }
    }
    auto *dialog = new SearchDialog(window);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->open();
}
