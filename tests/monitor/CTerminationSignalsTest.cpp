#include "CTerminationSignals.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <gtest/gtest.h>

#include <csignal>

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

}   // namespace
