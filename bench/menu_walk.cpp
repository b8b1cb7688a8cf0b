// menu-walk: the tool against the simulated module, cycling at 200 ms, saves
// the module's parameters from a coefficient box's context menu several times
// in a row, each chosen by key or by mouse inside a read's wait. Run under
// Valgrind's memcheck by scripts/memcheck-menus.sh; exits 0 when every save
// reported its file.
//   menu-walk [--saves N]

#include "app/parameter_actions.h"
#include "bench/simulator.h"
#include "bench/tool_rig.h"
#include "serial/comm_port.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QContextMenuEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <cstdio>

using namespace bench;

namespace {
const QString kSave = QStringLiteral("Save the module's parameters to a file…");
constexpr int kPatienceMs = 120000; // memcheck makes everything some 30 times slower

// Waits in the event loop until done() holds; false after kPatienceMs.
bool waitFor(const std::function<bool()> &done)
{
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < kPatienceMs)
        runFor(20);
    return done();
}

QMessageBox *shownBox()
{
    for (QWidget *widget : QApplication::topLevelWidgets())
        if (auto *box = qobject_cast<QMessageBox *>(widget); box && box->isVisible())
            return box;
    return nullptr;
}

// Opens box's menu and chooses the save from inside the wait of a read.
bool saveOnce(QLineEdit *box, bool byKey)
{
    QContextMenuEvent open(QContextMenuEvent::Mouse, QPoint(4, 4), box->mapToGlobal(QPoint(4, 4)));
    QApplication::sendEvent(box, &open);
    if (!waitFor([] { return QApplication::activePopupWidget() != nullptr; }))
        return false;
    auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
    QAction *save = nullptr;
    for (QAction *action : menu->actions())
        if (action->text() == kSave)
            save = action;
    if (!save)
        return false;
    // Reads follow each other: the menu is chosen during one's wait.
    QTimer::singleShot(0, menu, [menu, save, byKey] {
        if (byKey) {
            menu->setActiveAction(save);
            QTest::keyClick(menu, Qt::Key_Return);
        } else {
            QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(save).center());
        }
    });
    QMessageBox *answer = nullptr;
    if (!waitFor([&answer] { return (answer = shownBox()) != nullptr; }))
        return false;
    const bool saved = answer->text().startsWith(QStringLiteral("The module's parameters were"));
    printf("%s\n", qPrintable(answer->text()));
    answer->done(QMessageBox::Ok);
    return saved;
}
} // namespace

int main(int argc, char *argv[])
{
    useOffscreen();
    QApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addOption({QStringLiteral("saves"), QStringLiteral("Saves in a row."),
                      QStringLiteral("N"), QStringLiteral("4")});
    parser.process(app);
    ToolRig rig;
    Simulator sim(rig.portLink());
    if (!sim.start({}, rig.path() + QStringLiteral("/sim.log")) ||
        !rig.open().serial().portOpen()) {
        fprintf(stderr, "menu-walk: the simulated module did not start\n");
        return 2;
    }
    MainWindow &window = rig.window();
    int n = 0;
    window.parameterActions().choose = [&rig, &n](bool, const QString &,
                                                  const ParameterActions::Chosen &chosen) {
        chosen(QStringLiteral("%1/saved%2.txt").arg(rig.path()).arg(++n));
    };
    window.controls().SSTab1->setCurrentIndex(1);
    window.controls().txtTimerSet->setText(QStringLiteral("200"));
    window.controls().cmdOneM->click();
    const int saves = parser.value(QStringLiteral("saves")).toInt();
    int good = 0;
    for (int i = 0; i < saves; ++i)
        good += saveOnce(window.controls().txtChannel.at(2 + i % 8), i % 2 == 0) ? 1 : 0;
    window.controls().cmdStopOnce->click();
    sim.stop();
    printf("menu-walk: %d of %d saves reported their file\n", good, saves);
    return good == saves ? 0 : 1;
}
