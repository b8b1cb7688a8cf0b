#include "bench/tool_rig.h"

#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTime>
#include <QTimer>
#include <cstdio>

namespace bench {

namespace {
void writeFile(const QString &path, const QByteArray &content)
{
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(content);
}
} // namespace

void useOffscreen()
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}

void runFor(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec();
}

ToolRig::ToolRig()
{
    writeFile(m_dir.filePath(QStringLiteral("comm.set")), "4,19200\r\n");
    writeFile(m_dir.filePath(QStringLiteral("ModSet.set")), "0,2,16,0\r\n");
    QDir(m_dir.path()).mkdir(QStringLiteral("ports"));
    if (qEnvironmentVariableIsSet("BENCH_KEEP")) { // to read the simulator's logs afterwards
        m_dir.setAutoRemove(false);
        fprintf(stderr, "program directory kept: %s\n", qPrintable(m_dir.path()));
    }
    m_clock.start();
}

MainWindow &ToolRig::open()
{
    m_window = std::make_unique<MainWindow>(m_dir.path());
    m_window->show();
    connect(ui().txtCommand, &QLineEdit::textChanged, this, [this](const QString &text) {
        if (text.isEmpty())
            return;
        m_pendingSend = now();
        sent.append({m_pendingSend, QTime::currentTime().msecsSinceStartOfDay(),
                     QByteArray::fromHex(text.toLatin1())});
    });
    connect(ui().txtState, &QPlainTextEdit::textChanged, this, [this] {
        if (m_pendingSend < 0 || ui().txtState->toPlainText().isEmpty())
            return;
        replyMs.append(now() - m_pendingSend);
        m_pendingSend = -1;
    });
    return *m_window;
}

} // namespace bench
