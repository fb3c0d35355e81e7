#include "CTerminationSignals.h"

#include <QSocketNotifier>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <iterator>
#include <sys/socket.h>
#include <unistd.h>

namespace {

constexpr int kSignals[] = {SIGTERM, SIGINT, SIGHUP};
// The write end for the handler; -1 while no instance exists.
volatile std::sig_atomic_t g_writeFd = -1;
// The signals received and not yet served by the GUI thread, a bit each
// (lock-free, so that the handler may use it).
std::atomic<int> g_unserved{0};
static_assert(std::atomic<int>::is_always_lock_free);

int BitOf(int signalNumber)
{
    for (int i = 0; i < static_cast<int>(std::size(kSignals)); ++i)
        if (kSignals[i] == signalNumber)
            return 1 << i;
    return 0;
}

extern "C" void OnTerminationSignal(int signalNumber)
{
    const int savedErrno = errno;
    const int bit = BitOf(signalNumber);
    if (g_unserved.fetch_or(bit) & bit) {
        // Asked again before the GUI thread could hear the first time: it
        // is stuck, and the program ends the default way.
        signal(signalNumber, SIG_DFL);
        raise(signalNumber);
    }
    const unsigned char number = static_cast<unsigned char>(signalNumber);
    if (g_writeFd >= 0) {
        const ssize_t written = write(g_writeFd, &number, 1);   // async-signal-safe
        static_cast<void>(written);                             // a full pipe already holds a wake-up
    }
    errno = savedErrno;
}

}   // namespace

CTerminationSignals::CTerminationSignals(QObject* parent) : QObject(parent)
{
    if (g_writeFd >= 0 || socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, m_fds) != 0)
        return;   // the program then ends the default way
    fcntl(m_fds[0], F_SETFL, O_NONBLOCK);
    fcntl(m_fds[1], F_SETFL, O_NONBLOCK);
    m_notifier = new QSocketNotifier(m_fds[1], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &CTerminationSignals::ReadPending);
    g_writeFd = m_fds[0];
    g_unserved.store(0);

    struct sigaction action {};
    action.sa_handler = OnTerminationSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int number : kSignals)
        sigaction(number, &action, nullptr);
}

CTerminationSignals::~CTerminationSignals()
{
    if (m_fds[0] < 0)
        return;
    struct sigaction action {};
    action.sa_handler = SIG_DFL;
    sigemptyset(&action.sa_mask);
    for (int number : kSignals)
        sigaction(number, &action, nullptr);
    g_writeFd = -1;
    delete m_notifier;
    close(m_fds[0]);
    close(m_fds[1]);
}

void CTerminationSignals::ReadPending()
{
    unsigned char number = 0;
    while (read(m_fds[1], &number, 1) == 1) {
        g_unserved.fetch_and(~BitOf(number));
        emit terminationRequested(number);
    }
}
