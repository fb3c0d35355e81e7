// The rtiexec's network thread: it numbers the federates' TCP connections
// from 1, tells each its number, tells the others when one closes, relays
// every packet to every connection, and stops at once.

#include "net/DtRtiExecNetThread.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "RTI.hh"
#include "TcpTestSupport.h"
#include "net/DtRtiMsgKind.h"
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
