// The RTI ticked as soon as its input arrives, within a share of the GUI
// thread: against datagram sockets standing for the RTI's, a tick that
// drains them and a clock the test moves.
#include "CHlaInputPump.h"
#include "AppTestSupport.h"

#include <QTimer>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <unistd.h>

#include <array>
#include <vector>

namespace {

using apptest::ProcessEventsUntil;

// A datagram socket pair: what is written at one end waits at the other.
class Input {
public:
    Input() { EXPECT_EQ(::socketpair(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0, m_ends.data()), 0); }
    ~Input()
    {
        ::close(m_ends[0]);
        ::close(m_ends[1]);
    }
    int descriptor() const { return m_ends[0]; }
    void Send(int datagrams = 1)
    {
        for (int i = 0; i < datagrams; ++i)
            EXPECT_EQ(::send(m_ends[1], "x", 1, 0), 1);
    }
    // Reads up to `most` datagrams; true when more wait.
    bool Read(int most)
    {
        char byte;
        for (int i = 0; i < most; ++i)
            if (::recv(m_ends[0], &byte, 1, MSG_DONTWAIT) != 1)
                return false;
        char peek;
        return ::recv(m_ends[0], &peek, 1, MSG_DONTWAIT | MSG_PEEK) == 1;
    }

private:
    std::array<int, 2> m_ends{-1, -1};
};

TEST(HlaInputPump, RestsOnlyAfterATickThatLeftInputWaiting)
{
    const double share = CHlaInputPump::kMaxShare;
    EXPECT_EQ(CHlaInputPump::RestAfter(0.02, false), 0);
    EXPECT_EQ(CHlaInputPump::RestAfter(0, true), 0);
    EXPECT_DOUBLE_EQ(CHlaInputPump::RestAfter(0.02, true), 0.02 * (1 - share) / share);
    // Ticking 20 ms and resting: the ticks' share of the time is the limit.
    const double used = 0.02;
    EXPECT_DOUBLE_EQ(used / (used + CHlaInputPump::RestAfter(used, true)), share);
}

TEST(HlaInputPump, TicksWhenInputArrivesFoldingWhatIsReadableIntoOneTick)
{
    Input first, second;
    int ticks = 0;
    CHlaInputPump pump({first.descriptor(), second.descriptor()}, [&] {
        ++ticks;
        first.Read(100);
        second.Read(100);
        return false;
    });
    QApplication::processEvents();
    EXPECT_EQ(ticks, 0) << "nothing to read, no tick";

    first.Send(3);
    second.Send(2);
    ASSERT_TRUE(ProcessEventsUntil([&] { return ticks > 0; }));
    QApplication::processEvents();
    EXPECT_EQ(ticks, 1);
    EXPECT_EQ(pump.tickCount(), 1u);
    EXPECT_TRUE(pump.isWatching());
    EXPECT_EQ(pump.lastRestMs(), 0);

    second.Send();
    ASSERT_TRUE(ProcessEventsUntil([&] { return pump.tickCount() == 2; }));
}

// A flood that every tick leaves waiting: each tick rests by the time it
// took (the clock the test moves), and the event loop serves what else
// waits before the next tick.
TEST(HlaInputPump, UnderAFloodEachTickRestsAndTheEventLoopTurnsBetweenTicks)
{
    Input input;
    input.Send(3);
    double now = 100.0;
    bool flooding = true;
    int loopTurns = 0;
    std::vector<int> turnsAtTick;
    CHlaInputPump pump(
        {input.descriptor()},
        [&] {
            turnsAtTick.push_back(loopTurns);
            QTimer::singleShot(0, [&] { ++loopTurns; });
            now += 0.03;   // the tick used 30 ms of its budget, and more
            if (flooding)
                input.Send();
            return input.Read(1);
        },
        [&] { return now; });
    ASSERT_TRUE(ProcessEventsUntil([&] { return pump.tickCount() == 5; }));
    EXPECT_FALSE(pump.isWatching()) << "resting";
    EXPECT_EQ(pump.lastRestMs(), 15);
    for (std::size_t tick = 1; tick < turnsAtTick.size(); ++tick)
        EXPECT_GT(turnsAtTick[tick], turnsAtTick[tick - 1]) << "tick " << tick << " came before the loop turned";

    // Once a tick finds no more input, the pump just watches.
    bool drained = false;
    QObject::connect(&pump, &CHlaInputPump::ticked, [&](bool inputWaits) { drained = !inputWaits; });
    flooding = false;
    ASSERT_TRUE(ProcessEventsUntil([&] { return drained; }));
    EXPECT_TRUE(pump.isWatching());
    EXPECT_EQ(pump.lastRestMs(), 0);
}

// Input the RTI has read already (a TCP stream comes in large pieces) shows
// on no descriptor: a tick that says input still waits is followed by
// another after its rest all the same.
TEST(HlaInputPump, InputHeldBeyondTheDescriptorIsTickedAfterTheRest)
{
    Input input;
    int held = 3;   // messages in the RTI's hands once the datagram is read
    CHlaInputPump pump({input.descriptor()}, [&] {
        input.Read(1);
        return held-- > 0;
    });
    input.Send();
    ASSERT_TRUE(ProcessEventsUntil([&] { return pump.tickCount() == 4; }));
    EXPECT_TRUE(pump.isWatching());
    QApplication::processEvents();
    EXPECT_EQ(pump.tickCount(), 4u);
}

}   // namespace
