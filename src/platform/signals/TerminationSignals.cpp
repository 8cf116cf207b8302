#include "platform/signals/TerminationSignals.h"

#include <QSocketNotifier>

#include <array>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

constexpr std::array kSignals = { SIGTERM, SIGHUP, SIGINT };

// The two ends of the pipe; the handler may touch nothing else.
int g_pipe[2] = { -1, -1 };

void onSignal(int number)
{
    const int savedErrno = errno;
    const auto byte = static_cast<unsigned char>(number);
    // A full pipe already holds a request: losing this one changes nothing.
    [[maybe_unused]] const ssize_t written = ::write(g_pipe[1], &byte, 1);
    errno = savedErrno;
}

void closePipe()
{
    for (int &end : g_pipe) {
        if (end >= 0)
            ::close(end);
        end = -1;
    }
}

} // namespace

TerminationSignals::TerminationSignals(std::function<void()> terminate, QObject *parent)
    : QObject(parent)
    , m_terminate(std::move(terminate))
{
    if (g_pipe[0] >= 0 || ::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, g_pipe) != 0)
        return;
    // The handler must never block, whatever the reader does.
    ::fcntl(g_pipe[1], F_SETFL, ::fcntl(g_pipe[1], F_GETFL) | O_NONBLOCK);

    struct sigaction action = {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int number : kSignals) {
        if (::sigaction(number, &action, nullptr) != 0) {
            for (const int set : kSignals)
                std::signal(set, SIG_DFL);
            closePipe();
            return;
        }
    }
    m_notifier = new QSocketNotifier(g_pipe[0], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &TerminationSignals::readSignal);
}

TerminationSignals::~TerminationSignals()
{
    if (!m_notifier)
        return;
    for (const int number : kSignals)
        std::signal(number, SIG_DFL);
    delete m_notifier;
    closePipe();
}

void TerminationSignals::readSignal()
{
    unsigned char byte = 0;
    if (::read(g_pipe[0], &byte, 1) != 1 || m_called)
        return;
    m_called = true;
    m_terminate();
}
