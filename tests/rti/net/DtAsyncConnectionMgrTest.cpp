// The asynchronous connection manager: its worker thread, queues and
// wake-ups, disconnecting after the queue is sent, the fall-back to UDP when
// the TCP connection dies, and sends that keep failing.

#include "net/DtAsyncConnectionMgr.h"

#include <gtest/gtest.h>
#include <poll.h>
#include <sys/socket.h>

#include <atomic>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "ConnTestSupport.h"
#include "TcpTestSupport.h"
#include "net/DtRtiConnection.h"
#include "net/DtTcpForwarder.h"
#include "rti/util/NotifyCapture.h"
#include "util/DtSelect.h"

using namespace nettest;

namespace {

constexpr const char* asyncLines = "(setq RTI_asynchronousIO 1)\n";

// Reads the messages of kind A that reach the group, on a thread of its own,
// until it has `count`, has read the number `last`, or a second passes
// without one.
class GroupReader {
public:
  GroupReader(const FederationPort& federation, std::size_t count, std::uint32_t last = 0xFFFFFFFFu)
      : socket_(udpSocket(federation.group(), federation.port())) {
    socket_->setUnbundling(false);
    // Room for a burst of a thousand small datagrams, beyond net.core.rmem_max
    // (the tests run as root).
    const int bytes = 8 << 20;
    setsockopt(socket_->readDescriptor(), SOL_SOCKET, SO_RCVBUFFORCE, &bytes, sizeof bytes);
    thread_ = std::thread([this, count, last] {
      double quietUntil = DtRealTime() + 2.0;
      while (numbers_.size() < count && (numbers_.empty() || numbers_.back() != last) && DtRealTime() < quietUntil) {
        char* data = nullptr;
        int status = 0;
        const int length = receiveWithin(*socket_, &data, &status, 0.05);
        if (status == 1 && length >= 12 && static_cast<unsigned char>(data[4]) == kindA) {
          numbers_.push_back(DtGetBigEndian<std::uint32_t>(data + 8));
          quietUntil = DtRealTime() + 1.0;
        }
      }
    });
  }
  ~GroupReader() {
    if (thread_.joinable()) thread_.join();
  }
  // Waits for the reader to end and gives what it read.
  const std::vector<std::uint32_t>& numbers() {
    if (thread_.joinable()) thread_.join();
    return numbers_;
  }

private:
  std::unique_ptr<DtNetSocket> socket_;
  std::vector<std::uint32_t> numbers_;
  std::thread thread_;
};

class DtAsyncConnectionMgrTest : public testing::Test {
protected:
  void make(const std::string& lines) {
    rid = ridFor(federation, lines);
    mgr = DtAsyncConnectionMgr::create(rid.get());
    async = dynamic_cast<DtAsyncConnectionMgr*>(mgr.get());
    teachRawKinds(*mgr);
  }

  NotifyCapture capture;
  FederationPort federation;
  std::unique_ptr<DtRIDParameters> rid;
  std::unique_ptr<DtConnectionMgr> mgr;
  DtAsyncConnectionMgr* async = nullptr;
  CallRecorder recorder;
};

TEST_F(DtAsyncConnectionMgrTest, SynchronousModeHasNoWorkerAndSendsAtOnce) {
  make("");
  ASSERT_NE(async, nullptr);
  EXPECT_FALSE(async->isAsynchronous());
  EXPECT_EQ(async->waitEvent(), -1);
  mgr->connectFederation(nullptr, "", 1, 0);
  EXPECT_EQ(mgr->readFileEvent(0), mgr->readFileDescriptor(0));
  EXPECT_EQ(mgr->send(numbered(kindA, 1), DtBestEffort), 16);
}

TEST_F(DtAsyncConnectionMgrTest, WorkerSendsQueuedMessagesAndQueuesWhatArrives) {
  make(asyncLines);
  ASSERT_TRUE(async->isAsynchronous());
  recorder.registerOn(*mgr, kindA, "normal");
  recorder.registerOn(*mgr, kindA, "mom", 1);
  mgr->connectFederation(nullptr, "", 1, 0);
  EXPECT_EQ(mgr->readFileDescriptor(0), -1);
  const int event = mgr->readFileEvent(0);
  ASSERT_EQ(event, async->waitEvent());

  GroupReader reader(federation, 2);
  EXPECT_EQ(mgr->send(numbered(kindA, 1), DtBestEffort), 0);  // queued
  EXPECT_EQ(mgr->sendAndDelete(new RawMsg(numbered(kindA, 2)), DtBestEffort), 0);
  EXPECT_EQ(reader.numbers(), (std::vector<std::uint32_t>{1, 2}));

  // The worker read both back (multicast loop): the event is readable while
  // they wait for tick, and tick dispatches them one at a time.
  pollfd watched{event, POLLIN, 0};
  EXPECT_EQ(poll(&watched, 1, 2000), 1);
  EXPECT_TRUE(tickUntil(*mgr, [&] { return recorder.calls.size() >= 4u; }));
  EXPECT_EQ(recorder.calls, (std::vector<std::string>{"mom:1", "normal:1", "mom:2", "normal:2"}));
  EXPECT_FALSE(mgr->tick());
  EXPECT_EQ(poll(&watched, 1, 0), 0);
}

TEST_F(DtAsyncConnectionMgrTest, WaitIsBoundedByTheIoPeriodAndGetMessageTakesFromTheQueue) {
  make(std::string(asyncLines) + "(setq RTI_IOPeriod 0.05)\n(setq RTI_IOLockQueue 0)\n");
  EXPECT_NE(capture.text().find("LockQueue value should be greater than 0\n"), std::string::npos);
  mgr->connectFederation(nullptr, "", 1, 0);
  const double start = DtRealTime();
  EXPECT_FALSE(mgr->wait(5.0));
  EXPECT_LT(DtRealTime() - start, 1.0);

  for (std::uint32_t n = 1; n <= 3; ++n) mgr->send(numbered(kindA, n), DtBestEffort);
  std::vector<std::uint32_t> got;
  for (int i = 0; i < 200 && got.size() < 3; ++i) {
    if (std::unique_ptr<DtRtiMsg> msg{mgr->getMessage()}) {
      got.push_back(numberOf(*msg));
    } else {
      mgr->wait(0.05);
    }
  }
  EXPECT_EQ(got, (std::vector<std::uint32_t>{1, 2, 3}));
}

TEST_F(DtAsyncConnectionMgrTest, DisconnectReturnsOnceEverythingQueuedWasSentAndLeavesItSynchronous) {
  make(asyncLines);
  mgr->connectFederation(nullptr, "", 1, 0);
  GroupReader reader(federation, 1000);
  for (std::uint32_t n = 0; n < 1000; ++n) mgr->send(numbered(kindA, n), DtBestEffort);
  mgr->disconnectFederation();
  EXPECT_FALSE(async->isAsynchronous());
  const std::vector<std::uint32_t>& numbers = reader.numbers();
  ASSERT_EQ(numbers.size(), 1000u);
  EXPECT_EQ(numbers.back(), 999u);

  // Connected again: no worker; sends go out at once and tick reads.
  mgr->connectFederation(nullptr, "", 1, 0);
  EXPECT_EQ(mgr->send(numbered(kindA, 5), DtBestEffort), 16);
  recorder.registerOn(*mgr, kindA, "normal");
  EXPECT_TRUE(tickUntil(*mgr, [&] { return recorder.calls.size() >= 1u; }));
  EXPECT_EQ(recorder.calls, std::vector<std::string>{"normal:5"});
}

// A UDP socket on which every datagram of kind B fails to go out, as one
// would that the network refuses for good.
class RefusingSocket : public DtNetSocket {
public:
  using DtNetSocket::DtNetSocket;
  int sendTo(const char* data, int length, std::uint32_t address) override {
    if (length > 4 && static_cast<unsigned char>(data[4]) == kindB) {
      lastSendError_ = EMSGSIZE;
      return -1;
    }
    return DtNetSocket::sendTo(data, length, address);
  }
};

class RefusingSocketMgr : public DtAsyncConnectionMgr {
public:
  using DtAsyncConnectionMgr::DtAsyncConnectionMgr;

protected:
  DtNetSocket* createUdpNetSocket(int port, unsigned long destAddr, unsigned long interfaceAddr) override {
    return new RefusingSocket(port, static_cast<std::uint32_t>(destAddr), DtNetSocket::ReadWrite,
                              static_cast<std::uint32_t>(interfaceAddr));
  }
};

TEST_F(DtAsyncConnectionMgrTest, SendThatKeepsFailingIsDroppedWithAMessage) {
  rid = ridFor(federation, asyncLines);
  mgr = std::make_unique<RefusingSocketMgr>(rid.get());
  mgr->init(rid.get());
  async = dynamic_cast<DtAsyncConnectionMgr*>(mgr.get());
  mgr->connectFederation(nullptr, "", 1, 0);
  GroupReader reader(federation, 1);
  mgr->send(numbered(kindB, 0), DtBestEffort);
  mgr->send(numbered(kindA, 1), DtBestEffort);
  EXPECT_EQ(reader.numbers(), std::vector<std::uint32_t>{1});
  mgr->disconnectFederation();
  EXPECT_EQ(async->droppedSends(), 1u);
  EXPECT_NE(capture.text().find("could not be sent (Message too long): dropped\n"), std::string::npos)
      << capture.text();
}

TEST_F(DtAsyncConnectionMgrTest, AMessageLongerThanADatagramIsRefusedBeforeItIsQueued) {
  make(asyncLines);
  mgr->connectFederation(nullptr, "", 1, 0);
  GroupReader reader(federation, 1);
  EXPECT_THROW(mgr->send(RawMsg(DtSocket::theLargestDatagram + 1, kindA), DtBestEffort), RTI::RTIinternalError);
  EXPECT_THROW(mgr->sendAndDelete(new RawMsg(DtRtiMsg::theMaxSize, kindA), DtBestEffort), RTI::RTIinternalError);
  RawMsg largest(DtSocket::theLargestDatagram, kindA);
  DtPutBigEndian(std::uint32_t{7}, largest.data() + 8);
  EXPECT_EQ(mgr->send(largest, DtBestEffort), 0);  // queued
  EXPECT_EQ(reader.numbers(), std::vector<std::uint32_t>{7}) << "only the one that fits went out";
  mgr->disconnectFederation();
  EXPECT_EQ(async->droppedSends(), 0u);
}

// The threads of this process that the system lists under the name.
std::size_t threadsNamed(const std::string& name) {
  std::size_t count = 0;
  for (const auto& task : std::filesystem::directory_iterator("/proc/self/task")) {
    std::ifstream comm(task.path() / "comm");
    std::string line;
    if (std::getline(comm, line) && line == name) ++count;
  }
  return count;
}

TEST_F(DtAsyncConnectionMgrTest, DestroyingAConnectedManagerStopsItsWorker) {
  make(asyncLines);
  EXPECT_EQ(threadsNamed("rti-io"), 0u);
  mgr->connectFederation(nullptr, "", 1, 0);
  GroupReader reader(federation, 10, 9);
  for (std::uint32_t n = 0; n < 10; ++n) mgr->send(numbered(kindA, n), DtBestEffort);
  const double deadline = DtRealTime() + 2.0;  // the worker names itself once it runs
  while (threadsNamed("rti-io") == 0 && DtRealTime() < deadline) std::this_thread::yield();
  EXPECT_EQ(threadsNamed("rti-io"), 1u) << "the worker";
  mgr.reset();  // no disconnect: the destructor stops and joins the worker
  EXPECT_EQ(threadsNamed("rti-io"), 0u) << "the worker is gone";
  EXPECT_EQ(reader.numbers(), (std::vector<std::uint32_t>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9}))
      << "what was queued went out before the worker stopped";
}

// A manager with a reliable connection to a forwarder the test holds.
class DtReliableConnectionTest : public DtAsyncConnectionMgrTest {
protected:
  // The federation's port is known to be free for UDP only; the forwarder
  // listens on the same number over TCP, which another test may hold.
  void SetUp() override {
    for (int attempt = 0; attempt < 20; ++attempt) {
      forwarder = std::make_unique<DtTcpForwarder>(federation.port());
      if (forwarder->isOk()) return;
      federation = FederationPort();
    }
    FAIL() << "no port was free for both UDP and TCP";
  }
  void connect(bool asynchronous) {
    ASSERT_TRUE(forwarder->isOk());
    make(std::string(asynchronous ? asyncLines : "") + "(setq RTI_useRtiExec 1)\n(setq RTI_internalMsgReliable 1)\n");
    ASSERT_TRUE(mgr->hasTransport(DtReliable));
    EXPECT_EQ(mgr->internalConn(), mgr->reliableConn());
    EXPECT_EQ(mgr->internalTransportType(), DtReliable);
    for (int i = 0; i < 100 && forwarder->connectionCount() == 0; ++i) forwarder->serviceConnections(0.05);
    ASSERT_EQ(forwarder->connectionCount(), 1u);
    recorder.registerOn(*mgr, kindA, "normal");
    mgr->connectFederation(nullptr, "", 1, 0);
  }
  // The rtiexec went away: the forwarder closes the federate's connection.
  void closeServerSide() {
    forwarder->closeLink(forwarder->links()[0]->id(), "closed by the test");
    forwarder->serviceConnections(0);
  }

  std::unique_ptr<DtTcpForwarder> forwarder;
};

TEST_F(DtReliableConnectionTest, ReliableMessagesTravelThroughTheForwarder) {
  ASSERT_NO_FATAL_FAILURE(connect(true));
  // The forwarder relays only kinds it knows: one without a class of its
  // own, read here as a raw message.
  constexpr DtRtiMsgKind relayed = DtTimeRegMsgKind;
  mgr->msgFactory()->addCreators(relayed, makeRaw, makeEmptyRaw);
  recorder.registerOn(*mgr, relayed, "normal");
  mgr->send(numbered(relayed, 1), DtReliable);
  for (int i = 0; i < 200 && recorder.calls.empty(); ++i) {
    forwarder->serviceConnections(0.01);
    mgr->tick();
    mgr->wait(0.01);
  }
  EXPECT_EQ(recorder.calls, std::vector<std::string>{"normal:1"});
}

TEST_F(DtReliableConnectionTest, WorkerFallsBackToUdpWhenTheTcpConnectionDies) {
  ASSERT_NO_FATAL_FAILURE(connect(true));
  closeServerSide();
  GroupReader reader(federation, 1000, 2);
  mgr->send(numbered(kindA, 1), DtReliable);
  for (int i = 0; i < 200 && mgr->hasTransport(DtReliable); ++i) {
    mgr->send(numbered(kindA, 1), DtReliable);
    DtSleep(0.01);
  }
  EXPECT_FALSE(mgr->hasTransport(DtReliable));
  EXPECT_EQ(mgr->internalConn(), mgr->udpConn());
  mgr->send(numbered(kindA, 2), DtReliable);  // by UDP now
  // The federate learns at its next tick that the rtiexec is gone.
  try {
    mgr->tick();
    ADD_FAILURE() << "tick did not throw";
  } catch (const RTI::RTIinternalError& e) {
    EXPECT_NE(std::string(e._reason).find("connection to the rtiexec is broken"), std::string::npos);
  }
  mgr->disconnectFederation();
  const std::vector<std::uint32_t>& numbers = reader.numbers();
  ASSERT_FALSE(numbers.empty());
  EXPECT_EQ(numbers.back(), 2u);
  const std::string fallBack =
      "RTI: TCP connection has been broken.\nPerhaps rtiexec is no longer running.\n"
      "Falling back to UDP transport.\n";
  const std::size_t first = capture.text().find(fallBack);
  ASSERT_NE(first, std::string::npos);
  EXPECT_EQ(capture.text().find(fallBack, first + 1), std::string::npos);
}

TEST_F(DtReliableConnectionTest, SynchronousTickReportsABrokenTcpConnection) {
  ASSERT_NO_FATAL_FAILURE(connect(false));
  closeServerSide();
  waitReadable(mgr->readFileDescriptor(1));
  EXPECT_THROW(mgr->tick(), RTI::RTIinternalError);
  EXPECT_NE(capture.text().find("RTI: TCP connection has been broken.\nPerhaps rtiexec is no longer running.\n"),
            std::string::npos);
}

}  // namespace
