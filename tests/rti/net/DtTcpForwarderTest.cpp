// The TCP forwarder: every packet read from one connection goes to every
// open connection, the sender's included; a broken or stalled connection is
// removed while the others go on.

#include "net/DtTcpForwarder.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "TcpTestSupport.h"
#include "rti/util/NotifyCapture.h"

using namespace nettest;

namespace {

class DtTcpForwarderTest : public testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(forwarder.socketMgr()->isOk());
    forwarder.socketMgr()->addCloseCallback(
        [](DtTcpSocket*, void* closed) { ++*static_cast<int*>(closed); }, &closed);
    for (int i = 0; i < 3; ++i) {
      clients.push_back(connectTo(*forwarder.socketMgr()));
      ASSERT_TRUE(clients.back()->isOk());
    }
    for (int i = 0; i < 50 && forwarder.socketMgr()->connections().count() < 3; ++i) {
      waitReadable(forwarder.socketMgr()->listenDescriptor(), 0.1);
      forwarder.socketMgr()->acceptConnections();
    }
    ASSERT_EQ(forwarder.socketMgr()->connections().count(), 3u);
  }

  // Services the forwarder and reads every packet client `i` gets until
  // `count` came (or `rounds` passes went by).
  std::vector<std::vector<char>> relayTo(std::size_t i, std::size_t count, int rounds = 2000) {
    std::vector<std::vector<char>> got;
    for (int round = 0; round < rounds && got.size() < count; ++round) {
      forwarder.serviceConnections(0.02, 0.005);
      char* data = nullptr;
      int status = 0;
      for (int length; (length = clients[i]->DtRecv(&data, &status)) > 0;) got.emplace_back(data, data + length);
      if (status == 0) waitReadable(clients[i]->readDescriptor(), 0.005);
    }
    return got;
  }

  NotifyCapture capture;
  DtTcpForwarder forwarder{0};
  std::vector<std::unique_ptr<DtTcpSocket>> clients;
  int closed = 0;
};

TEST_F(DtTcpForwarderTest, RelaysEveryPacketToEveryClientTheSenderIncluded) {
  const std::vector<char> first = framed(40, 'f'), second = framed(300, 's');
  ASSERT_EQ(clients[1]->sendTo(first.data(), 40, 0), 40);
  ASSERT_EQ(clients[1]->sendTo(second.data(), 300, 0), 300);
  for (std::size_t i = 0; i < clients.size(); ++i)
    EXPECT_EQ(relayTo(i, 2), (std::vector<std::vector<char>>{first, second})) << "client " << i;
}

TEST_F(DtTcpForwarderTest, ClosedClientIsRemovedAndTheOthersGoOn) {
  clients[0].reset();
  const std::vector<char> packet = framed(64, 'p');
  ASSERT_EQ(clients[2]->sendTo(packet.data(), 64, 0), 64);
  EXPECT_EQ(relayTo(1, 1), (std::vector<std::vector<char>>{packet}));
  EXPECT_EQ(relayTo(2, 1), (std::vector<std::vector<char>>{packet}));
  for (int round = 0; round < 100 && closed == 0; ++round) forwarder.serviceConnections(0.01, 0.005);
  EXPECT_EQ(closed, 1);
  EXPECT_EQ(forwarder.socketMgr()->connections().count(), 2u);
}

TEST_F(DtTcpForwarderTest, StalledClientDoesNotHoldUpTheOthers) {
  const int savedCap = DtTcpSocket::maxQueuedPackets();
  DtTcpSocket::setMaxQueuedPackets(50);
  // Client 0 never reads; the forwarder's side of it fills and its queue
  // grows. Small buffers make that happen soon.
  // (Connections are accepted in the order the clients connected.)
  DtPortSetOption(clients[0]->descriptor(), DtSockOption::ReceiveBuffer, 4096);
  DtPortSetOption(accepted(*forwarder.socketMgr())[0]->descriptor(), DtSockOption::SendBuffer, 4096);
  const int count = 2000;
  std::vector<std::size_t> got(3, 0);
  int sent = 0;
  for (int round = 0; round < 20000 && (got[1] < count || got[2] < count); ++round) {
    for (int burst = 0; burst < 20 && sent < count; ++burst, ++sent) {
      std::vector<char> packet = framed(1000, 'd');
      DtPutBigEndian(static_cast<std::uint32_t>(sent), packet.data() + 2);
      ASSERT_GE(clients[1]->sendTo(packet.data(), 1000, 0), 0);
    }
    clients[1]->DtFlush();
    forwarder.serviceConnections(0.01, 0.002);
    for (std::size_t i = 1; i < 3; ++i) {
      char* data = nullptr;
      int status = 0;
      while (clients[i]->DtRecv(&data, &status) > 0) {
        ASSERT_EQ(DtGetBigEndian<std::uint32_t>(data + 2), got[i]) << "client " << i;
        ++got[i];
      }
    }
  }
  DtTcpSocket::setMaxQueuedPackets(savedCap);
  EXPECT_EQ(got[1], static_cast<std::size_t>(count));
  EXPECT_EQ(got[2], static_cast<std::size_t>(count));
  EXPECT_EQ(closed, 1);
  EXPECT_EQ(forwarder.socketMgr()->connections().count(), 2u);
  EXPECT_NE(capture.text().find("TcpSocket: more than 50 packets wait to be sent to 127.0.0.1: closing the "
                                "connection\n"),
            std::string::npos);
}

TEST(DtTcpForwarder, ReadAndForwardNeedsASocket) {
  NotifyCapture capture;
  DtTcpForwarder forwarder(0);
  forwarder.readAndForward(nullptr, 0.0);
  EXPECT_EQ(capture.text(), "readAndForward: no socket.\n");
  forwarder.serviceConnections(0.01, 0.01);  // no connection: nothing to do
}

}  // namespace
