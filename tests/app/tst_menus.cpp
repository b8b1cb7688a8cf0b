// The bars around the client area and the context menus, driven as an operator
// would: each feature reached from a context menu and from the menu bar, by key
// and by mouse, inside a read's wait; the status bar; the client area unchanged.

#include "app/form_controls.h"
#include "app/parameter_actions.h"
#include "app/trend_feature.h"
#include "app/translations.h"
#include "device/commands.h"
#include "device/live_log.h"
#include "modbus/transactions.h"
#include "tests/support/window_rig.h"

namespace {
const QByteArray kEight = hex("0203100001000200030004000500060007000836DC");

// What the work of an action shows, and whether its menu was still there with
// its own handler returned: "TrendWindow, menu kept". Every window is closed again.
class WorkSeen : public QObject {
public:
    WorkSeen(WindowRig &rig) : m_rig(rig)
    {
        qApp->installEventFilter(this);
        rig.window->parameterActions().choose = [this](bool, const QString &,
                                                       const ParameterActions::Chosen &) {
            seen << QStringLiteral("file chooser") + state();
        };
    }
    QPointer<QMenu> menu;
    bool inMenuHandler = false;
    QStringList seen;

    // Chooses text in menu, by key or by mouse, with the test's own call on the stack.
    void choose(QMenu *in, const QString &text, bool byKey)
    {
        menu = in;
        for (QAction *action : in->actions()) {
            if (action->text() != text)
                continue;
            inMenuHandler = true;
            if (byKey) {
                in->setActiveAction(action);
                QTest::keyClick(in, Qt::Key_Return);
            } else {
                QTest::mouseClick(in, Qt::LeftButton, {}, in->actionGeometry(action).center());
            }
            inMenuHandler = false;
            return;
        }
        seen << "no " + text;
    }

private:
    QString state() const
    {
        return inMenuHandler ? QStringLiteral(", inside the menu's handler")
               : menu        ? QStringLiteral(", menu kept")
                             : QStringLiteral(", menu gone");
    }
    bool eventFilter(QObject *object, QEvent *event) override
    {
        auto *widget = qobject_cast<QWidget *>(object);
        if (event->type() == QEvent::Show && widget && widget->isWindow() &&
            !qobject_cast<QMenu *>(widget) && !qobject_cast<QMessageBox *>(widget) &&
            widget != m_rig.window.get()) {
            seen << widget->metaObject()->className() + state();
            QTimer::singleShot(0, widget, &QWidget::close);
        }
        return false;
    }
    WindowRig &m_rig;
};

QMenu *popup()
{
    return qobject_cast<QMenu *>(QApplication::activePopupWidget());
}

// Runs step once, from inside the wait of the next read.
void inNextRead(WindowRig &rig, const std::function<void()> &step)
{
    rig.module.onRequest = [&rig, step] {
        const auto once = step; // clearing onRequest frees this lambda
        rig.module.onRequest = nullptr;
        once();
    };
}
} // namespace

class TestMenus : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { modbus::setWaitDivisor(4); } // nothing here judges the timing
    void featureActions_data()
    {
        QTest::addColumn<QString>("menu"); // a box's name, or the menu bar's path
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("expected");
        const QString file = "file chooser", trend = "TrendWindow", record = "QFileDialog",
                      calibration = "CalibrationDialog", search = "SearchDialog";
        const QList<std::array<QString, 3>> rows{
            {"txtChannel_4", "Save the module's parameters to a file…", file},
            {"txtChannel_0", "Load parameters from a file…", file},
            {"txtChannel_9", "Calibrate…", calibration},
            {"txtCurrentInput_0", "Trend…", trend},
            {"txtCurrentInput_7", "Record to a file…", record},
            {"txtStationID", "Find the module…", search},
            {"&File", "Save the module's parameters to a file…", file},
            {"&File", "Load parameters from a file…", file},
            {"&File", "Record to a file…", record},
            {"&Tools", "Trend…", trend},
            {"&Tools", "Find the module…", search},
            {"&Tools/Calibrate", "电流输出4参数值", calibration},
        };
        // Key and mouse take turns: each kind of menu is driven both ways.
        for (int i = 0; i < rows.size(); ++i) {
            const auto &[menu, action, work] = rows[i];
            QTest::addRow("%s %s %s", qPrintable(menu), qPrintable(action), i % 2 ? "mouse" : "key")
                << menu << action << work + ", menu kept";
        }
    }
    // The work starts after the menu's handler has returned, while the menu is still there.
    void featureActions()
    {
        QFETCH(QString, menu);
        QFETCH(QString, action);
        const bool byKey = QString(QTest::currentDataTag()).endsWith("key");
        WindowRig rig;
        rig.ui().SSTab1->setCurrentIndex(menu.startsWith("txtChannel") ? 1 : 0);
        WorkSeen work(rig);
        // Reads run back to back, each waiting for an answer that never comes.
        rig.ui().txtTimerSet->setText(QStringLiteral("50"));
        click(rig.ui().cmdOneM);
        QTRY_VERIFY(!rig.module.requests.isEmpty());
        if (menu.startsWith('&')) {
            QMenuBar *bar = rig.window->menuBar();
            for (const QString &title : menu.split('/')) {
                QMenu *parent = popup();
                const QList<QAction *> actions = parent ? parent->actions() : bar->actions();
                for (QAction *entry : actions)
                    if (entry->text() == title)
                        parent ? QTest::mouseClick(parent, Qt::LeftButton, {},
                                                   parent->actionGeometry(entry).center())
                               : QTest::mouseClick(bar, Qt::LeftButton, {},
                                                   bar->actionGeometry(entry).center());
                QTRY_VERIFY(popup() && popup() != parent);
            }
        } else {
            auto *box = rig.window->findChild<QLineEdit *>(menu);
            QContextMenuEvent open(QContextMenuEvent::Mouse, QPoint(4, 4),
                                   box->mapToGlobal(QPoint(4, 4)));
            QApplication::sendEvent(box, &open);
            QTRY_VERIFY(popup());
        }
        inNextRead(rig, [&, shown = popup()] { work.choose(shown, action, byKey); });
        QFETCH(QString, expected);
        QTRY_COMPARE(work.seen, QStringList{expected});
        if (!menu.startsWith('&'))
            QTRY_VERIFY(!work.menu); // and freed once the work is done
    }

    // Three reads in a row without an answer bring the hint; a good reply ends it.
    // The File menu follows the recording, the status bar shows it and opens the
    // trend; Quit closes the window as its close button does.
    void statusBarAndQuit()
    {
        WindowRig rig;
        WorkSeen work(rig);
        auto *hint = rig.window->statusBar()->findChild<QLabel *>("statusNoAnswer");
        for (int read = 1; read <= 3; ++read) {
            QVERIFY(!hint->isVisible());
            click(rig.ui().comDoOnce);
            QTRY_COMPARE(rig.module.requests.size(), read);
            QTRY_VERIFY(rig.window->commands().idle());
        }
        QTRY_VERIFY(hint->isVisible());
        QCOMPARE(hint->text(), "No answer to the last 3 reads from station 2 at 19200 baud. Check "
                               "the wiring, or look for the module with Tools → Find the module…");
        rig.module.reply = [](const QByteArray &) { return kEight; };
        click(rig.ui().comDoOnce);
        QTRY_VERIFY(!hint->isVisible());

        device::LiveLog &log = rig.window->trend().log();
        auto *status = rig.window->statusBar()->findChild<QPushButton *>("statusRecording");
        const auto entries = [&] {
            QStringList texts;
            for (QAction *action : rig.window->menuBar()->actions().at(0)->menu()->actions())
                texts << action->text();
            return texts.join('|');
        };
        QVERIFY(!status->isVisible());
        QVERIFY(log.startRecording(rig.path("r%1.csv")));
        QCOMPARE(entries(), "Save the module's parameters to a file…|Load parameters from a "
                            "file…||Stop recording||Quit");
        QTRY_VERIFY(status->isVisible());
        click(rig.ui().comDoOnce);
        click(rig.ui().comDoOnce);
        QTRY_COMPARE(status->text().mid(1), " Recording to r%1.csv: 2 rows");
        click(status);
        QTRY_COMPARE(work.seen, QStringList{"TrendWindow, menu gone"});
        for (QAction *action : rig.window->menuBar()->actions().at(0)->menu()->actions())
            if (action->text() == "Stop recording")
                action->trigger();
        QTRY_VERIFY(!status->isVisible());
        QVERIFY(entries().contains("||Record to a file…||"));
        QApplication::setActiveWindow(rig.window.get());
        QVERIFY(QTest::qWaitForWindowActive(rig.window.get()));
        QTest::keyClick(rig.window.get(), Qt::Key_Q, Qt::ControlModifier);
        QTRY_VERIFY(!rig.window->isVisible());
    }

    // The bars lie outside the client area, which holds every control where a
    // bare form holds it; About names the version, the licence and the places.
    void clientAreaAndAbout()
    {
        WindowRig rig;
        QWidget bare;
        bare.setObjectName("clientArea");
        buildForm(&bare);
        QWidget *client = rig.window->clientArea();
        QCOMPARE(client->size(), QSize(805, 662));
        QCOMPARE(rig.window->menuBar()->geometry().bottom() + 1, client->geometry().top());
        QCOMPARE(client->geometry().bottom() + 1, rig.window->statusBar()->geometry().top());
        int compared = 0;
        for (QWidget *w : bare.findChildren<QWidget *>()) {
            if (w->objectName().isEmpty() || w->objectName().startsWith("qt_"))
                continue;
            auto *twin = client->findChild<QWidget *>(w->objectName());
            QVERIFY2(twin && twin->geometry() == w->geometry() &&
                         twin->parentWidget()->objectName() == w->parentWidget()->objectName(),
                     qPrintable(w->objectName()));
            ++compared;
        }
        QCOMPARE(compared, 102);
        rig.window->menuBar()->actions().at(2)->menu()->actions().at(0)->trigger();
        QTRY_COMPARE(rig.messages.size(), 1);
        for (const QString &part :
             QStringList{"version 1.0.0", "(GPL-3.0-or-later)", "/rv4820/backups", rig.dir.path()})
            QVERIFY2(rig.messages.first().contains(part), qPrintable(part));
    }

    // In Chinese the menus read as the operator's language has them.
    void chinese()
    {
        const QList<QTranslator *> installed =
            translations::install(*qApp, QLocale(QLocale::Chinese, QLocale::China));
        WindowRig rig;
        QStringList texts;
        for (QAction *menu : rig.window->menuBar()->actions()) {
            texts << menu->text() + ':';
            for (QAction *action : menu->menu()->actions())
                texts << action->text();
        }
        for (QTranslator *translator : installed)
            QCoreApplication::removeTranslator(translator);
        qDeleteAll(installed);
        QCOMPARE(texts.join(' '), "文件(&F): 保存模块参数到文件… 从文件载入参数…  记录到文件…  "
                                  "退出 工具(&T): 趋势… 查找模块… 校准 帮助(&H): 关于");
    }
};

QTEST_MAIN(TestMenus)
#include "tst_menus.moc"
