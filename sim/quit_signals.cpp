#include "sim/quit_signals.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace sim {

namespace {
int g_pipe[2] = {-1, -1};

extern "C" void onQuitSignal(int number)
{
    const int saved = errno;
    const char byte = static_cast<char>(number);
    [[maybe_unused]] const ssize_t n = write(g_pipe[1], &byte, 1);
    errno = saved;
}
} // namespace

QuitSignals::QuitSignals()
{
    if (pipe2(g_pipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    struct sigaction action {};
    action.sa_handler = onQuitSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    if (sigaction(SIGINT, &action, nullptr) != 0 || sigaction(SIGTERM, &action, nullptr) != 0)
        return;
    m_notifier = std::make_unique<QSocketNotifier>(g_pipe[0], QSocketNotifier::Read);
    connect(m_notifier.get(), &QSocketNotifier::activated, this, &QuitSignals::onSignal);
}

QuitSignals::~QuitSignals()
{
    signal(SIGINT, SIG_DFL);
    signal(SIGTERM, SIG_DFL);
    m_notifier.reset();
    for (int &fd : g_pipe) {
        if (fd >= 0)
            close(fd);
        fd = -1;
    }
}

void QuitSignals::onSignal()
{
    char byte = 0;
    if (read(g_pipe[0], &byte, 1) == 1)
        emit quitRequested(static_cast<unsigned char>(byte));
}

} // namespace sim
