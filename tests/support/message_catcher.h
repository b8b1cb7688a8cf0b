#pragma once
// Answers every message box the window opens, as an operator clicking OK
// would, and records what it said. The boxes stay real modal boxes.

#include <QApplication>
#include <QList>
#include <QMessageBox>
#include <QTimer>

struct CaughtMessage {
    QString text;
    QString title;
    QMessageBox::Icon icon;
};

class MessageCatcher {
public:
    MessageCatcher()
    {
        m_timer.setInterval(5);
        QObject::connect(&m_timer, &QTimer::timeout, [this] { poll(); });
        m_timer.start();
    }

    QList<CaughtMessage> messages;

    void poll()
    {
        for (QWidget *widget : QApplication::topLevelWidgets()) {
            auto *box = qobject_cast<QMessageBox *>(widget);
            if (!box || !box->isVisible())
                continue;
            messages.append({box->text(), box->windowTitle(), box->icon()});
            box->done(QMessageBox::Ok);
        }
    }

    QStringList texts() const
    {
        QStringList out;
        for (const CaughtMessage &m : messages)
            out << m.text;
        return out;
    }

private:
    QTimer m_timer;
};
