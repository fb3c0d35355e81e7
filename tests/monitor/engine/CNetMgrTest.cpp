#include "PortHolder.h"
#include "RecordingHandler.h"

#include "engine/CDisSocket.h"
#include "engine/CNetMgr.h"
#include "engine/CUdpSender.h"
#include "engine/DisTraffic.h"
#include "support/WaitUntil.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <future>
#include <set>

namespace {

using namespace std::chrono_literals;

constexpr std::uint32_t kLoopback = 0x7F000001u;

// Every networked test keeps to loopback: unicast to 127.0.0.1, broadcast to
// 127.255.255.255, multicast through the 127.0.0.1 interface.
NetOptions LoopbackOptions()
{
    NetOptions options;
    options.port = 0;
    options.multicastInterface = kLoopback;
    return options;
}

// The intake's threads alive in this process, known by their names (a
// sanitizer's own helper threads come and go as they like).
std::multiset<std::string> IntakeThreads()
{
    std::multiset<std::string> names;
    for (const auto& task : std::filesystem::directory_iterator("/proc/self/task")) {
        std::ifstream comm(task.path() / "comm");
        std::string name;
        if (std::getline(comm, name) && name.starts_with("dis-"))
            names.insert(name);
    }
    return names;
}

using testnet::FreePort;
using testnet::PortHolder;

template <typename Record>
std::vector<std::uint8_t> RecordBytes(const Record& record)
{
    std::vector<std::uint8_t> bytes(sizeof record);
    StoreRecord(record, bytes.data());
    return bytes;
}

class NetMgrTest : public ::testing::Test {
protected:
    void Start(const NetOptions& options = LoopbackOptions())
    {
        ASSERT_TRUE(m_intake.Start(options)) << m_intake.ErrorText();
        m_sender = std::make_unique<CUdpSender>("127.0.0.1", m_intake.BoundPort());
    }

    // Sends `datagram`, then a PDU to each worker, and waits until both have
    // been handled: whatever the datagram did, it is done and the intake went on.
    void SendThenProveAlive(const std::vector<std::uint8_t>& datagram)
    {
        const std::size_t before = m_handler.Pdus().size();
        ASSERT_TRUE(m_sender->Send(datagram));
        ASSERT_TRUE(m_sender->Send(DisTraffic::TransmitterDatagram(kProofOfLife)));
        ASSERT_TRUE(m_sender->Send(DisTraffic::SignalDatagram(kProofOfLife)));
        ASSERT_TRUE(m_handler.WaitFor(before + 2));
    }

    static constexpr DisRadioId kProofOfLife{9, 9, 9, 9};
    RecordingHandler m_handler;
    CNetMgr m_intake{m_handler};
    std::unique_ptr<CUdpSender> m_sender;
};

TEST_F(NetMgrTest, TransmitterAndSignalPdusReachTheirOwnWorkersInHostOrderWithTheSender)
{
    Start();
    const DisRadioId radio{1, 3001, 17, 2};
    const std::vector<std::uint8_t> transmitter = DisTraffic::TransmitterDatagram(radio, 3);
    const std::vector<std::uint8_t> signal = DisTraffic::SignalDatagram(radio, 480, 480);
    ASSERT_TRUE(m_sender->Send(transmitter));
    ASSERT_TRUE(m_sender->Send(signal));
    ASSERT_TRUE(m_sender->Send(DisTraffic::OtherDatagram(1)));   // Entity State: not for us
    ASSERT_TRUE(m_sender->Send(signal));
    ASSERT_TRUE(m_sender->Send(transmitter));
    ASSERT_TRUE(m_handler.WaitFor(4));

    const std::vector<std::uint8_t> transmitterHost = RecordBytes(DisTraffic::TransmitterRecord(radio, 3));
    const std::vector<std::uint8_t> signalHost = RecordBytes(DisTraffic::SignalRecord(radio, 480, 480));
    std::set<std::thread::id> transmitterThreads, signalThreads;
    for (const HandledPdu& pdu : m_handler.Pdus()) {
        EXPECT_EQ(pdu.sender, "127.0.0.1");
        const auto& sent = pdu.type == DisPduType::Transmitter ? transmitter : signal;
        const auto& host = pdu.type == DisPduType::Transmitter ? transmitterHost : signalHost;
        ASSERT_EQ(pdu.bytes.size(), sent.size());
        EXPECT_TRUE(std::equal(host.begin(), host.end(), pdu.bytes.begin())) << "fixed part in host order";
        EXPECT_TRUE(std::equal(sent.begin() + host.size(), sent.end(), pdu.bytes.begin() + host.size()))
            << "the bytes behind the fixed part stay as received";
        (pdu.type == DisPduType::Transmitter ? transmitterThreads : signalThreads).insert(pdu.thread);
    }
    ASSERT_EQ(transmitterThreads.size(), 1u);
    ASSERT_EQ(signalThreads.size(), 1u);
    EXPECT_NE(*transmitterThreads.begin(), *signalThreads.begin());
    EXPECT_NE(*transmitterThreads.begin(), std::this_thread::get_id());

    const IntakeCounts counts = m_intake.Counters();
    EXPECT_EQ(counts.received, 5u);
    EXPECT_EQ(counts.transmitterPdus, 2u);
    EXPECT_EQ(counts.signalPdus, 2u);
    EXPECT_EQ(counts.droppedOtherType, 1u);
    EXPECT_EQ(counts.droppedByType[1], 1u);
}

TEST_F(NetMgrTest, MalformedDatagramsAreCountedAndDroppedAndTheIntakeGoesOn)
{
    Start();
    const DisRadioId radio{1, 1, 1, 1};
    std::vector<std::uint8_t> shortTransmitter = DisTraffic::TransmitterDatagram(radio);
    shortTransmitter.resize(50);
    std::vector<std::uint8_t> missingParameters = DisTraffic::TransmitterDatagram(radio, 10);
    missingParameters.resize(missingParameters.size() - 5);
    std::vector<std::uint8_t> missingData = DisTraffic::SignalDatagram(radio, 480, 480);
    missingData.resize(missingData.size() - 1);
    std::vector<std::uint8_t> oversized = DisTraffic::TransmitterDatagram(radio);
    oversized.resize(CDisSocket::kDatagramBufferSize + 1);

    struct Case {
        const char* what;
        std::vector<std::uint8_t> datagram;
        std::uint64_t IntakeCounts::*counter;
    };
    const Case cases[] = {
        {"empty datagram", {}, &IntakeCounts::empty},
        {"two bytes, no PDU type", {6, 1}, &IntakeCounts::tooShort},
        {"Transmitter PDU cut inside its fixed part", shortTransmitter, &IntakeCounts::tooShort},
        {"Transmitter PDU missing modulation parameters", missingParameters, &IntakeCounts::tooShort},
        {"Signal PDU missing a data byte", missingData, &IntakeCounts::tooShort},
        {"datagram larger than the receive buffer", oversized, &IntakeCounts::truncated},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::uint64_t before = m_intake.Counters().*c.counter;
        SendThenProveAlive(c.datagram);
        EXPECT_EQ(m_intake.Counters().*c.counter, before + 1);
    }
    for (const HandledPdu& pdu : m_handler.Pdus())
        // Both records keep the entity identifier at the same offset.
        EXPECT_EQ(LoadRecord<SignalPdu>(pdu.bytes.data()).entityId.site, kProofOfLife.site) << "only proofs of life";
    EXPECT_EQ(m_handler.Pdus().size(), 2 * std::size(cases));
}

TEST_F(NetMgrTest, ANewPortReopensAndTheSamePortLeavesTheSocketAlone)
{
    Start();
    const std::uint16_t first = m_intake.BoundPort();
    EXPECT_TRUE(m_intake.SetPort(first));
    EXPECT_EQ(m_intake.Counters().socketOpenings, 1u);

    const std::uint16_t second = FreePort();
    ASSERT_TRUE(m_intake.SetPort(second)) << m_intake.ErrorText();
    EXPECT_EQ(m_intake.BoundPort(), second);
    EXPECT_EQ(m_intake.Counters().socketOpenings, 2u);
    ASSERT_TRUE(m_sender->Send(DisTraffic::TransmitterDatagram({1, 1, 1, 1})));   // to the old port
    CUdpSender(std::string("127.0.0.1"), second).Send(DisTraffic::TransmitterDatagram({2, 2, 2, 2}));
    ASSERT_TRUE(m_handler.WaitFor(1));
    EXPECT_EQ(LoadRecord<TransmitterPdu>(m_handler.Pdus()[0].bytes.data()).entityId.site, 2);
    EXPECT_EQ(m_intake.Counters().received, 1u) << "nothing reaches the closed port";
}

TEST_F(NetMgrTest, ReceivesBroadcastAndMulticastOnLoopback)
{
    NetOptions options = LoopbackOptions();
    options.multicastAddress = 0xEFFF4D11u;   // 239.255.77.17
    Start(options);
    const std::uint16_t port = m_intake.BoundPort();
    CUdpSender group("239.255.77.17", port, {"127.0.0.1", 1});
    ASSERT_TRUE(group.Send(DisTraffic::TransmitterDatagram({1, 1, 1, 1})));
    ASSERT_TRUE(m_handler.WaitFor(1));

    // Leaving the group reopens the socket for broadcasts on the same port.
    ASSERT_TRUE(m_intake.SetMulticastAddress(0));
    EXPECT_EQ(m_intake.BoundPort(), port);
    EXPECT_EQ(m_intake.Counters().socketOpenings, 2u);
    CUdpSender broadcast("127.255.255.255", port);
    ASSERT_TRUE(broadcast.Send(DisTraffic::SignalDatagram({2, 2, 2, 2})));
    ASSERT_TRUE(m_handler.WaitFor(2));
    for (const HandledPdu& pdu : m_handler.Pdus())
        EXPECT_EQ(pdu.sender, "127.0.0.1");
}

TEST_F(NetMgrTest, StopHandlesWhatIsQueuedAndJoinsEveryThread)
{
    Start();
    EXPECT_EQ(IntakeThreads(),
              (std::multiset<std::string>{"dis-netmgr", "dis-receive", "dis-signal", "dis-transmitter"}));

    // A signal handler that does not return does not hold up Transmitter PDUs.
    m_handler.HoldSignals(true);
    ASSERT_TRUE(m_sender->Send(DisTraffic::SignalDatagram({1, 1, 1, 1})));
    ASSERT_TRUE(m_handler.WaitForSignalEntered());
    ASSERT_TRUE(m_sender->Send(DisTraffic::TransmitterDatagram({1, 1, 1, 1})));
    ASSERT_TRUE(m_handler.WaitFor(1));
    for (int i = 0; i < 5; ++i)
        ASSERT_TRUE(m_sender->Send(DisTraffic::SignalDatagram({1, 1, 1, 1})));
    ASSERT_TRUE(pollUntil([&] { return m_intake.Counters().received == 7; }));

    auto stopped = std::async(std::launch::async, [&] { m_intake.Stop(); });
    m_handler.HoldSignals(false);
    ASSERT_EQ(stopped.wait_for(5s), std::future_status::ready);
    EXPECT_EQ(m_handler.Pdus().size(), 7u) << "the five queued Signal PDUs were handled before the stop";
    EXPECT_TRUE(IntakeThreads().empty());
    EXPECT_FALSE(m_intake.IsRunning());
    EXPECT_FALSE(m_intake.IsSocketOpen());
    EXPECT_FALSE(m_intake.SetPort(FreePort()));
    m_intake.Stop();   // again: nothing left to do
}

TEST_F(NetMgrTest, StartSaysAtOnceWhyTheSocketCannotBeOpened)
{
    PortHolder taken;
    NetOptions options = LoopbackOptions();
    options.port = taken.port();
    EXPECT_FALSE(m_intake.Start(options));
    EXPECT_NE(m_intake.ErrorText().find("port " + std::to_string(taken.port())), std::string::npos)
        << m_intake.ErrorText();
    EXPECT_NE(m_intake.ErrorText().find(std::strerror(EADDRINUSE)), std::string::npos) << m_intake.ErrorText();
    EXPECT_FALSE(m_intake.IsRunning());
    EXPECT_TRUE(IntakeThreads().empty());
    // And it can be started again once the port is free.
    Start();
}

TEST_F(NetMgrTest, AFailedReopenLeavesNoSocketAndALaterChangeOpensOneAgain)
{
    Start();
    PortHolder taken;
    EXPECT_FALSE(m_intake.SetPort(taken.port()));
    EXPECT_FALSE(m_intake.IsSocketOpen());
    EXPECT_TRUE(m_intake.IsRunning());
    EXPECT_FALSE(m_intake.ErrorText().empty());
    EXPECT_FALSE(m_intake.SetPort(taken.port())) << "the same port is tried again while no socket is open";

    const std::uint16_t free = FreePort();
    ASSERT_TRUE(m_intake.SetPort(free)) << m_intake.ErrorText();
    EXPECT_TRUE(m_intake.ErrorText().empty());
    CUdpSender(std::string("127.0.0.1"), free).Send(DisTraffic::TransmitterDatagram({1, 1, 1, 1}));
    ASSERT_TRUE(m_handler.WaitFor(1));
}

// A worker that falls behind holds no more than its bound; what comes beyond
// it is dropped and counted, and the other worker goes on.
TEST_F(NetMgrTest, AWorkerThatFallsBehindHoldsItsBoundAndDropsTheRest)
{
    NetOptions options = LoopbackOptions();
    options.limits.workerQueueBytes = 16 * 1024;
    options.limits.handOffCount = 8;   // batches far smaller than the bound
    Start(options);
    m_handler.HoldSignals(true);
    const std::vector<std::uint8_t> signal = DisTraffic::SignalDatagram({1, 1, 1, 1});
    ASSERT_TRUE(m_sender->Send(signal));
    ASSERT_TRUE(m_handler.WaitForSignalEntered());

    constexpr std::uint64_t kFlood = 200;   // about 100 KiB
    for (std::uint64_t i = 0; i < kFlood; ++i)
        ASSERT_TRUE(m_sender->Send(signal));
    ASSERT_TRUE(m_sender->Send(DisTraffic::TransmitterDatagram({2, 2, 2, 2})));
    ASSERT_TRUE(m_handler.WaitFor(1)) << "Transmitter PDUs go on";
    ASSERT_TRUE(pollUntil([&] { return m_intake.Counters().received == kFlood + 2; }));

    m_handler.HoldSignals(false);
    ASSERT_TRUE(pollUntil([&] {
        const IntakeCounts counts = m_intake.Counters();
        return counts.signalPdus + counts.queueFull == kFlood + 1;
    }));
    const IntakeCounts counts = m_intake.Counters();
    const std::uint64_t held = counts.signalPdus - 1;   // queued behind the one in the handler
    EXPECT_GT(counts.queueFull, 0u);
    EXPECT_GT(held, 0u);
    EXPECT_LE(held * signal.size(), options.limits.workerQueueBytes);
    ASSERT_TRUE(m_handler.WaitFor(counts.signalPdus + 1)) << "every PDU kept reaches the handler";
}

// The receive buffer the kernel grants is below what was asked for: the user
// hears of it once, with both sizes, however often the socket opens again.
TEST_F(NetMgrTest, AReceiveBufferCutByTheKernelIsToldOnceWithBothSizes)
{
    std::ifstream limitFile("/proc/sys/net/core/rmem_max");
    std::int64_t limit = 0;
    if (!(limitFile >> limit) || limit > (1 << 28))
        GTEST_SKIP() << "no rmem_max below what can be asked for";
    NetOptions options = LoopbackOptions();
    options.receiveBufferSize = static_cast<std::int32_t>(4 * limit);
    Start(options);
    const std::string notice = m_intake.TakeNotice();
    EXPECT_NE(notice.find(std::to_string(4 * limit) + " bytes asked for"), std::string::npos) << notice;
    EXPECT_NE(notice.find("is " + std::to_string(2 * limit) + " bytes"), std::string::npos) << notice;
    EXPECT_NE(notice.find("net.core.rmem_max"), std::string::npos) << notice;
    EXPECT_EQ(m_intake.TakeNotice(), "");
    ASSERT_TRUE(m_intake.SetPort(FreePort()));
    EXPECT_EQ(m_intake.TakeNotice(), "") << "once";
}

// Another program on the port: the system hands each unicast PDU to one of
// the two only. The intake says so for as long as the other holds the port,
// whichever of the two came first; broadcasts still reach both, and the
// intake goes on with them.
TEST_F(NetMgrTest, APortIsSharedForAsLongAsAnotherSocketHoldsItToo)
{
    auto other = std::make_unique<PortHolder>(true);   // reuses its address, as another Quorlex does
    const std::uint16_t port = other->port();
    NetOptions options = LoopbackOptions();
    options.port = port;
    Start(options);
    EXPECT_TRUE(m_intake.IsPortShared());
    EXPECT_EQ(CNetMgr::SharedPortNotice(port),
              "Port " + std::to_string(port) +
                  " is also in use by another program: unicast PDUs reach only one of them");
    CUdpSender broadcast("127.255.255.255", port);
    ASSERT_TRUE(broadcast.Send(DisTraffic::TransmitterDatagram({1, 1, 1, 1})));
    ASSERT_TRUE(m_handler.WaitFor(1));

    ASSERT_TRUE(m_intake.SetMulticastAddress(0xEFFF4D12u));   // the same port, still shared
    EXPECT_TRUE(m_intake.IsPortShared());
    other.reset();
    EXPECT_FALSE(m_intake.IsPortShared()) << "the other program has gone";

    // A program that comes later, to the intake's port, shares it too.
    {
        const PortHolder later(true, port);
        EXPECT_TRUE(m_intake.IsPortShared());
    }

    ASSERT_TRUE(m_intake.SetPort(FreePort()));   // a port of its own
    EXPECT_FALSE(m_intake.IsPortShared());
    m_intake.Stop();
    EXPECT_FALSE(m_intake.IsPortShared()) << "no socket, nothing shared";
}

}   // namespace
