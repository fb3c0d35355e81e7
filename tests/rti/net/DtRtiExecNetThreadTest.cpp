// The rtiexec's network thread: it numbers the federates' TCP connections
// from 1, tells each its number, tells the others when one closes, relays
// every packet to every connection, and stops at once; driven, an owner in
// its own process trades packets in memory.

#include "net/DtRtiExecNetThread.h"

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "RTI.hh"
#include "TcpTestSupport.h"
#include "msg/DtRtiMsgKind.h"
#include "rti/util/NotifyCapture.h"

using namespace nettest;

namespace {

struct Packet {
  int kind = -1;
  unsigned federate = 0;
  std::uint32_t value = 0;  // the connection handle of a connect or disconnect message
  int length = 0;
};

// The next packet the client gets (kind -1 when none comes within two seconds).
Packet nextPacket(DtTcpSocket& client) {
  Packet packet;
  char* data = nullptr;
  int status = 0;
  const int length = receiveWithin(client, &data, &status, 2.0);
  if (status == 1 && length >= 12) {
    packet.kind = static_cast<unsigned char>(data[4]);
    packet.federate = DtGetBigEndian<std::uint16_t>(data + 2);
    packet.value = DtGetBigEndian<std::uint32_t>(data + 8);
    packet.length = length;
  }
  return packet;
}

TEST(DtRtiExecNetThread, NumbersConnectionsFromOneAndAnnouncesThemComingAndGoing) {
  NotifyCapture capture;
  DtRtiExecNetThread thread(0, 1);
  ASSERT_NE(thread.port(), 0);
  std::vector<std::unique_ptr<DtTcpSocket>> clients;
  for (std::uint32_t expected : {1u, 2u}) {
    clients.push_back(std::make_unique<DtTcpSocket>(loopback, thread.port(), false));
    const Packet connect = nextPacket(*clients.back());
    EXPECT_EQ(connect.kind, DtConnectMsgKind);
    EXPECT_EQ(connect.value, expected);
    EXPECT_EQ(connect.federate, 0u);
  }

  clients[0].reset();
  const Packet disconnect = nextPacket(*clients[1]);
  EXPECT_EQ(disconnect.kind, DtDisconnectMsgKind);
  EXPECT_EQ(disconnect.value, 1u);
  EXPECT_EQ(disconnect.federate, 0u);

  // Numbers are not used again.
  clients[0] = std::make_unique<DtTcpSocket>(loopback, thread.port(), false);
  EXPECT_EQ(nextPacket(*clients[0]).value, 3u);

  // Every packet goes to every connection, the sender's included (but for
  // the federates' object and interaction traffic).
  std::vector<char> update = framed(40, 'u');
  update[4] = DtResignMsgKind;
  DtPutBigEndian(std::uint32_t{77}, update.data() + 8);
  ASSERT_EQ(clients[1]->sendTo(update.data(), 40, 0), 40);
  for (auto& client : clients) {
    const Packet relayed = nextPacket(*client);
    EXPECT_EQ(relayed.kind, DtResignMsgKind);
    EXPECT_EQ(relayed.value, 77u);
    EXPECT_EQ(relayed.length, 40);
  }
}

TEST(DtRtiExecNetThread, DrivenItsOwnerInThisProcessIsConnectionOneAndTradesInMemory) {
  NotifyCapture capture;
  DtRtiExecNetThread threaded(0, 1);
  EXPECT_FALSE(threaded.setInProcessOwner([](const char*, std::size_t) {}));

  DtRtiExecNetThread driven(0, 1, 16, DtRtiExecNetThread::Mode::Driven);
  std::vector<std::vector<char>> owned;
  ASSERT_TRUE(
      driven.setInProcessOwner([&](const char* data, std::size_t length) { owned.emplace_back(data, data + length); }));
  ASSERT_EQ(owned.size(), 1u);  // its connect message, with number 1
  EXPECT_EQ(owned[0][4], DtConnectMsgKind);
  EXPECT_EQ(DtGetBigEndian<std::uint32_t>(owned[0].data() + 8), 1u);

  DtTcpSocket client(loopback, driven.port(), false);
  std::vector<char> join = framed(40, 'j');
  join[4] = DtJoinMsgKind;
  ASSERT_EQ(client.sendTo(join.data(), 40, 0), 40);
  for (int i = 0; i < 200 && owned.size() < 2; ++i) {
    driven.service();
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  ASSERT_EQ(owned.size(), 2u);
  EXPECT_EQ(owned[1], join);

  std::vector<char> answer = framed(24, 'a');
  answer[4] = DtJoinResponseMsgKind;
  driven.sendFromOwner(answer.data(), answer.size());
  driven.flush();
  Packet connect = nextPacket(client);  // the client's own number first
  EXPECT_EQ(connect.kind, DtConnectMsgKind);
  EXPECT_EQ(connect.value, 2u);
  EXPECT_EQ(nextPacket(client).kind, DtJoinResponseMsgKind);
}

TEST(DtRtiExecNetThread, StopsAtOnceWithoutConnections) {
  NotifyCapture capture;
  auto thread = std::make_unique<DtRtiExecNetThread>(0, 0);
  const double start = DtRealTime();
  thread.reset();
  EXPECT_LT(DtRealTime() - start, 1.1);
}

TEST(DtRtiExecNetThread, PortInUseIsAnInternalError) {
  NotifyCapture capture;
  DtSocketMgr taken(0);
  ASSERT_TRUE(taken.isOk());
  EXPECT_THROW(DtRtiExecNetThread thread(taken.port(), 0), RTI::RTIinternalError);
  EXPECT_NE(capture.text().find("Unable to create TCP Forwarder.\n"), std::string::npos);
}

}  // namespace
