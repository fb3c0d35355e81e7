// The system-side filter that keeps a federate's own updates and
// interactions out of its socket: refused datagrams never arrive, every
// other one does (other kinds of the same sender, the same kinds of other
// senders, datagrams too short to tell), and taking the filter off lets
// them in again.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "NetTestSupport.h"
#include "util/DtBigEndian.h"

using namespace nettest;

namespace {

// A datagram that starts like a message header: length, sender, kind.
std::string datagram(std::uint16_t sender, std::uint8_t kind, const std::string& body = "body") {
  std::string bytes(8, '\0');
  DtPutBigEndian(static_cast<std::uint16_t>(8 + body.size()), bytes.data());
  DtPutBigEndian(sender, bytes.data() + 2);
  bytes[4] = static_cast<char>(kind);
  return bytes + body;
}

std::vector<std::string> receiveAll(DtSocket& socket) {
  std::vector<std::string> received;
  char* data = nullptr;
  int status = 0;
  for (;;) {
    const int length = receiveWithin(socket, &data, &status, 0.2);
    if (status <= 0) return received;
    received.push_back(text(data, length));
  }
}

}  // namespace

TEST(DtDatagramFilter, OnlyTheNamedSendersKindsAreDroppedBeforeTheyAreQueued) {
  std::unique_ptr<DtNetSocket> portHolder(udpSocket(loopback));
  const int port = portHolder->port();
  const std::uint32_t group = groupFor(port);
  std::unique_ptr<DtNetSocket> socket(udpSocket(group, port));
  socket->setUnbundling(false);
  ASSERT_TRUE(socket->dropDatagramsFrom(7, {1, 46}));

  // The last one names sender 7 but ends before the kind.
  const std::string cut("\0\4\0\7", 4);
  const std::vector<std::string> sent = {datagram(7, 1),  datagram(7, 21),     datagram(8, 1),
                                         datagram(7, 46), datagram(0x0107, 1), cut};
  for (const std::string& bytes : sent) socket->sendTo(bytes.data(), static_cast<int>(bytes.size()), 0);
  EXPECT_EQ(receiveAll(*socket), (std::vector<std::string>{datagram(7, 21), datagram(8, 1), datagram(0x0107, 1), cut}));

  ASSERT_TRUE(socket->dropDatagramsFrom(7, {}));
  socket->sendTo(sent[0].data(), static_cast<int>(sent[0].size()), 0);
  EXPECT_EQ(receiveAll(*socket), std::vector<std::string>{sent[0]});
}
