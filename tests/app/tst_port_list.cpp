// The port list tells where each COM number leads and why the port is not open,
// and links a COM number from its context menu: the shown window in a temporary
// program folder (no comm.set: COM4 at 19200) whose ports/COM4 leads to a pseudo-terminal.

#include "app/port_list.h"
#include "serial/comm_port.h"
#include "tests/support/window_rig.h"

#include <QFileInfo>
#include <QMenu>

class TestPortList : public QObject {
    Q_OBJECT
    WindowRig m_rig;
    QString m_d = QDir(m_rig.dir.path()).canonicalPath();
    Pty &m_pty = m_rig.pty;
    MainWindow *m_window = nullptr;
    QComboBox *m_combo = nullptr;

private slots:
    void initTestCase()
    {
        QVERIFY(Pty::linkPort(m_d, 6, m_d + "/gone"));
        m_rig.restart();
        m_window = m_rig.window.get();
        m_combo = m_window->controls().Combo1;
    }

    void tipsTellDeviceAndState()
    {
        const QString com4 = "COM4 → " + m_d + "/ports/COM4 → " + m_pty.slavePath();
        QCOMPARE(m_combo->itemData(3, Qt::ToolTipRole), com4 + " (not a detected serial port)");
        QCOMPARE(m_combo->toolTip(), com4 + ": open, 19200,N,8,1");
        const QString com6 = "COM6 → " + m_d + "/ports/COM6 → " + m_d + "/gone";
        QCOMPARE(m_combo->itemData(5, Qt::ToolTipRole), com6 + " (no such device)");
        m_pty.closeMaster();
        QTRY_COMPARE(m_combo->toolTip(), com4 + ": the device went away");
        QTest::keyClick(m_combo, Qt::Key_Down); // COM5, then COM6
        QTest::keyClick(m_combo, Qt::Key_Down);
        QVERIFY(!m_window->serial().portOpen());
        QCOMPARE(m_combo->toolTip(), com6 + ": could not be opened: no such device");
    }

    void contextMenuLinks()
    {
        const QPoint at = m_combo->lineEdit()->mapTo(m_window, QPoint(5, 5));
        QTest::mousePress(m_window->windowHandle(), Qt::RightButton, {}, at);
        auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        QVERIFY(menu && menu->actions().constFirst()->text() == "&Undo\tCtrl+Z"); // the usual ones
        QCOMPARE(menu->actions().constLast()->text(), "Link COM6 to");
        menu->close();

        const QString link = m_d + "/ports/COM5";
        const QList<portinfo::Device> adapter{
            {"/dev/pts/99", "Adapter", "Maker", "S1", "/by-id/x"}};
        QMenu *links = m_window->portList().linkMenu(5, adapter, m_window);
        QCOMPARE(links->actions().at(0)->text(), "/dev/pts/99 (Adapter, Maker, serial S1)");
        links->actions().at(0)->trigger();
        QCOMPARE(QFileInfo(link).symLinkTarget(), "/by-id/x"); // the stable name
        links = m_window->portList().linkMenu(5, {}, m_window);
        QCOMPARE(links->actions().constLast()->text(), "Remove the link");
        links->actions().constLast()->trigger();
        QVERIFY(!QFileInfo(link).isSymLink());

        QVERIFY(QDir(m_d).mkpath("ports/COM9/in-the-way"));
        m_window->portList().linkMenu(9, adapter, m_window)->actions().at(0)->trigger();
        const Message expected{"The link " + m_d +
                                   "/ports/COM9 could not be written: Is a directory",
                               "System Information", QMessageBox::Warning};
        QCOMPARE(m_rig.messages, QList<Message>{expected});
    }
};

QTEST_MAIN(TestPortList)
#include "tst_port_list.moc"
