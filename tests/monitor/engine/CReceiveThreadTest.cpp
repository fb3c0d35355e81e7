// The receive thread behind a socket whose reads keep failing: it retries at
// a slowing pace instead of spinning, still stops at once, and takes
// datagrams in again as soon as the reads work.
#include "RecordingHandler.h"

#include "engine/CDisSocket.h"
#include "engine/CPduWorker.h"
#include "engine/CReceiveThread.h"
#include "engine/CUdpSender.h"
#include "engine/DisTraffic.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <memory>
#include <thread>

namespace {

using namespace std::chrono_literals;

class FailingSocket : public testing::Test {
protected:
    void SetUp() override
    {
        std::string error;
        socket = CDisSocket::Create(0, 0x7F000001u, NetOptions{}, error);
        ASSERT_TRUE(socket) << error;
    }

    // Fails with ENOBUFS while `failing`, then reads the socket.
    DatagramReader::ReadBatch Reader()
    {
        return [this, real = DatagramReader::FromSocket(socket->Fd())](mmsghdr* messages, unsigned count) {
            reads.fetch_add(1);
            if (failing.load()) {
                errno = ENOBUFS;
                return -1;
            }
            return real(messages, count);
        };
    }

    std::unique_ptr<CReceiveThread> StartReading(std::chrono::milliseconds maxBackoff)
    {
        IntakeLimits limits;
        limits.maxReadBackoff = maxBackoff;
        return std::make_unique<CReceiveThread>(*socket, counters, transmitters, signals, limits, Reader());
    }

    std::unique_ptr<CDisSocket> socket;
    IntakeCounters counters;
    RecordingHandler handler;
    CPduWorker transmitters{DisPduType::Transmitter, handler, counters, ThreadPriority::Normal, 1 << 20};
    CPduWorker signals{DisPduType::Signal, handler, counters, ThreadPriority::Normal, 1 << 20};
    std::atomic<bool> failing{true};
    std::atomic<int> reads{0};
};

TEST_F(FailingSocket, ReadsAreRetriedAtASlowingPaceAndResumeWhenTheErrorGoes)
{
    auto reader = StartReading(20ms);
    std::this_thread::sleep_for(300ms);
    const int tries = reads.load();
    // 1, 2, ... 20 ms between tries, then 20 ms each: some 30 in 300 ms, not millions.
    EXPECT_GE(tries, 5);
    EXPECT_LE(tries, 100);
    EXPECT_EQ(counters.readErrors.load(), static_cast<std::uint64_t>(tries));

    failing = false;
    CUdpSender("127.0.0.1", socket->BoundPort()).Send(DisTraffic::TransmitterDatagram({1, 2, 3, 4}));
    ASSERT_TRUE(handler.WaitFor(1)) << "datagrams come in again once reads work";
    EXPECT_EQ(counters.received.load(), 1u);
}

TEST_F(FailingSocket, StoppingDoesNotWaitForTheBackOff)
{
    auto reader = StartReading(10s);
    while (reads.load() < 20)   // waits between tries of 10 ms and more
        std::this_thread::sleep_for(1ms);
    const auto before = std::chrono::steady_clock::now();
    reader.reset();
    EXPECT_LT(std::chrono::steady_clock::now() - before, 1s);
}

}   // namespace
