#pragma once
// The operator of a soak: clicks a write and a read button in turn every few
// seconds, each read asking for other registers than the one before, and
// answers any message box with OK. None is expected; each is counted.

#include "app/form_controls.h"

#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <cstdio>

namespace bench {

class SoakOperator : public QObject {
public:
    static constexpr int kReadKinds = 12; // 查询状态, 读所有参数, and the ten 读 buttons

    SoakOperator(const FormControls &ui, int clickEveryMs) : m_ui(ui)
    {
        for (int i = 2; i < 10; ++i) // the coefficients; 10000 stands for 1
            ui.txtChannel[i]->setText(QStringLiteral("10000"));
        connect(&m_timer, &QTimer::timeout, this, &SoakOperator::click);
        m_timer.start(clickEveryMs);
        qApp->installEventFilter(this);
    }
    void setPaused(bool paused) { m_paused = paused; }

    int reads = 0;
    int writes = 0;
    int messages = 0;

private:
    void click()
    {
        if (m_paused)
            return;
        if ((reads + writes) % 2 == 0)
            return m_ui.cmdWriteP[2 + writes++ % 8]->click();
        const int kind = reads++ % kReadKinds;
        (kind == 0   ? m_ui.comDoOnce
         : kind == 1 ? m_ui.cmdReadAlarm2
                     : m_ui.cmdReadP[kind - 2])
            ->click();
    }

    bool eventFilter(QObject *object, QEvent *event) override
    {
        auto *box = qobject_cast<QMessageBox *>(object);
        if (box && event->type() == QEvent::Show) {
            ++messages;
            fprintf(stderr, "bench-soak: message: %s\n", qPrintable(box->text()));
            QTimer::singleShot(0, box, [box] { box->done(QMessageBox::Ok); });
        }
        return false;
    }

    const FormControls &m_ui;
    QTimer m_timer;
    bool m_paused = false;
};

} // namespace bench
