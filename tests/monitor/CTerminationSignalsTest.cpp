#include "CTerminationSignals.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <gtest/gtest.h>

#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

namespace {

TEST(CTerminationSignals, TurnsASignalIntoACallOnTheEventLoop)
{
    QList<int> received;
    {
        CTerminationSignals termination;
        QObject::connect(&termination, &CTerminationSignals::terminationRequested,
                         [&](int number) { received.append(number); });
        ASSERT_EQ(raise(SIGTERM), 0);   // would end the test program without the handler
        ASSERT_EQ(raise(SIGHUP), 0);
        EXPECT_TRUE(received.isEmpty());   // nothing happens inside the handler itself
        const QDeadlineTimer deadline(5000);
        while (received.size() < 2 && !deadline.hasExpired())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    }
    EXPECT_EQ(received, QList<int>({SIGTERM, SIGHUP}));
    // The default handlers are back: SIGTERM would end the program again.
    struct sigaction current {};
    sigaction(SIGTERM, nullptr, &current);
    EXPECT_EQ(current.sa_handler, SIG_DFL);
}

// A GUI thread that does not come to hear a termination request (stuck in
// some long work) cannot keep the program from ending: the same signal again
// ends it the default way. Run in a child process, which it ends.
TEST(CTerminationSignals, TheSameSignalAgainBeforeTheFirstIsServedEndsTheProgram)
{
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        CTerminationSignals termination;
        raise(SIGTERM);   // noted, not yet served: the event loop does not run
        raise(SIGHUP);    // another signal is a request of its own
        raise(SIGTERM);   // ends the process here
        _exit(0);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status)) << "exit status " << WEXITSTATUS(status);
    EXPECT_EQ(WTERMSIG(status), SIGTERM);
}

}   // namespace
