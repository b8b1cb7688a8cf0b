#pragma once
// The real window, shown and active, in a temporary program directory whose
// ports/COM4 is a pseudo-terminal with a scripted module on its far side.
// Message boxes are answered as an operator clicking OK would, and recorded.

#include "app/context_menus.h"
#include "app/main_window.h"
#include "tests/support/files.h"
#include "tests/support/quick_try.h"
#include "tests/support/scripted_module.h"

#include <QtTest>
#include <QtWidgets>
#include <memory>

inline QByteArray hex(const char *text)
{
    return QByteArray::fromHex(text);
}

template <std::size_t N> QString texts(const std::array<QLineEdit *, N> &boxes)
{
    QStringList out;
    for (auto *box : boxes)
        out << box->text();
    return out.join(QLatin1Char(' '));
}

inline void click(QWidget *widget)
{
    QTest::mouseClick(widget, Qt::LeftButton);
}

// True when layout, or a layout within it, holds widget.
inline bool holds(QLayout *layout, const QWidget *widget)
{
    for (int i = 0; layout && i < layout->count(); ++i)
        if (layout->itemAt(i)->widget() == widget || holds(layout->itemAt(i)->layout(), widget))
            return true;
    return false;
}

// True when parent places w: by its layout, or as a tab widget or a scroll area
// places its pages.
inline bool places(const QWidget *parent, const QWidget *w)
{
    const auto *area = qobject_cast<const QScrollArea *>(parent->parentWidget());
    return qobject_cast<const QTabWidget *>(parent) || (area && area->widget() == w) ||
           (qobject_cast<const QScrollArea *>(parent) &&
            w->objectName() == "qt_scrollarea_viewport") ||
           holds(parent->layout(), w);
}

// The one shown button with this text that every container places, as an operator
// finds it; null when there is none or more.
inline QAbstractButton *laidOutButton(QWidget *window, const QString &text)
{
    QList<QAbstractButton *> found;
    for (auto *button : window->findChildren<QAbstractButton *>()) {
        bool placed = button->isVisible() && button->text() == text;
        for (QWidget *w = button; placed && w != window; w = w->parentWidget())
            placed = places(w->parentWidget(), w);
        if (placed)
            found << button;
    }
    return found.size() == 1 ? found[0] : nullptr;
}

// Clicks that button near its left end: a check box takes clicks
// on its box and text only.
inline void press(QWidget *window, const QString &text)
{
    QAbstractButton *button = laidOutButton(window, text);
    QVERIFY2(button && button->isEnabled(), qPrintable(text));
    QTest::mouseClick(button, Qt::LeftButton, {},
                      QPoint(qMin(button->width() / 2, 12), button->height() / 2));
}

// Answers the next file dialog with path; returns the name it proposed. The
// name's completer may open its list as the keys come and take the first
// Return, so Return is pressed again until the dialog has closed.
inline void answerDialog(const QString &path, QString *proposed)
{
    auto *timer = new QTimer(qApp);
    auto typed = std::make_shared<bool>(false);
    QObject::connect(timer, &QTimer::timeout, [=] {
        for (QWidget *widget : QApplication::topLevelWidgets())
            if (auto *dialog = qobject_cast<QFileDialog *>(widget); dialog && dialog->isVisible()) {
                auto *name = dialog->findChild<QLineEdit *>("fileNameEdit");
                if (!*typed) {
                    *typed = true;
                    *proposed = QFileInfo(dialog->selectedFiles().value(0)).fileName();
                    name->selectAll();
                    QTest::keyClicks(name, path);
                }
                if (QWidget *list = QApplication::activePopupWidget())
                    list->close();
                QTest::keyClick(name, Qt::Key_Return);
                if (!dialog->isVisible()) // done: the next dialog is not this call's
                    timer->deleteLater();
                return;
            }
        if (*typed)
            timer->deleteLater();
    });
    timer->start(100);
}

// Answers every message box as an operator clicking OK would, and records it
// as "text | title", with " | warning" when it shows the warning icon.
class Boxes {
public:
    Boxes()
    {
        QObject::connect(&m_timer, &QTimer::timeout, [this] { answer(); });
        m_timer.start(5);
    }
    // Leaves each box open up to ms before answering it.
    void answerAfter(int ms) { m_timer.setInterval(ms); }
    QStringList messages;
    std::function<void()> onAnswered; // runs right after each box is answered

private:
    void answer()
    {
        for (QWidget *widget : QApplication::topLevelWidgets()) {
            auto *box = qobject_cast<QMessageBox *>(widget);
            if (box && box->isVisible()) {
                const bool warning = box->icon() == QMessageBox::Warning;
                messages << box->text() + " | " + box->windowTitle() +
                                (warning ? " | warning" : "");
                box->done(QMessageBox::Ok);
                if (onAnswered)
                    onAnswered();
            }
        }
    }
    QTimer m_timer;
};

class WindowRig {
public:
    explicit WindowRig(const QByteArray &commSet = "4,19200\r\n", int ptyAs = 4)
    {
        writeFile(path("comm.set"), commSet);
        writeFile(path("ModSet.set"), "0,2,16,0\r\n");
        if (ptyAs > 0)
            Pty::linkPort(dir.path(), ptyAs, pty.slavePath());
        restart();
    }

    // Closes the window (and its port) and starts a new one on the same directory.
    void restart()
    {
        window.reset();
        window = std::make_unique<MainWindow>(dir.path());
        window->show();
        QApplication::setActiveWindow(window.get());
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
    }

    const FormControls &ui() const { return window->controls(); }
    QString path(const char *name) const { return dir.filePath(QString::fromLatin1(name)); }
    // Where a simulator links its terminal, in place of the pty (ptyAs 0).
    QString simulatorPort() const
    {
        return QDir(dir.path()).mkdir("ports") ? path("ports/COM4") : QString();
    }

    // The lamp in front is the one raised last among Picture2's children.
    QString lamp() const { return ui().Picture2->children().constLast()->objectName(); }

    QTemporaryDir dir;
    Pty pty;
    ScriptedModule module{pty};
    std::unique_ptr<MainWindow> window;
    Boxes boxes;
    QStringList &messages = boxes.messages;
};

// Chooses text in target's context menu; the menu relays it, as the event loop would.
inline void trigger(WindowRig &rig, QWidget *target, const QString &text)
{
    std::unique_ptr<QMenu> menu(rig.window->contextMenus().build(target));
    for (QAction *action : menu->actions())
        if (action->text() == text) {
            action->trigger();
            return QCoreApplication::sendPostedEvents(nullptr, QEvent::MetaCall);
        }
    QFAIL(qPrintable("no action " + text));
}
