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

void openSearch(MainWindow &window)
{
    SearchDialog dialog(window);
    dialog.exec();
}
