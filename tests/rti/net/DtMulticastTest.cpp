// Two processes of one host on the same port and multicast group, as the
// federates of one machine are: both receive every datagram sent to the
// group, the sender's own process included (multicast loop on).

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "NetTestSupport.h"
#include "PeerProcess.h"
#include "net/DtNetAddress.h"
#include "rti/util/NotifyCapture.h"

using namespace nettest;

TEST(DtNetSocketMulticast, TwoProcessesOnOnePortReceiveTheSameGroupDatagrams) {
  NotifyCapture capture;
  // Holds a port of the system's choice (sharing it, as every UDP socket
  // here does); it joins no group, so it receives none of the datagrams.
  std::unique_ptr<DtNetSocket> portHolder(udpSocket(loopback));
  const int port = portHolder->port();
  const std::uint32_t group = groupFor(port);
  std::unique_ptr<DtNetSocket> here(udpSocket(group, port));
  here->setUnbundling(false);

  PeerProcess peer({"multicast", std::to_string(port), DtAddrToString(group), "3"});
  ASSERT_TRUE(peer.started());
  ASSERT_EQ(peer.readLine(), "ready");
  const std::vector<std::string> sent = {"one", "two", "three"};
  for (const std::string& datagram : sent)
    ASSERT_EQ(here->sendTo(datagram.data(), static_cast<int>(datagram.size()), 0), static_cast<int>(datagram.size()));

  std::vector<std::string> inPeer, inHere;
  for (std::size_t i = 0; i < sent.size(); ++i) inPeer.push_back(peer.readLine());
  char* data = nullptr;
  int status = 0;
  for (std::size_t i = 0; i < sent.size(); ++i) inHere.push_back(text(data, receiveWithin(*here, &data, &status)));
  EXPECT_EQ(inPeer, sent);
  EXPECT_EQ(inHere, sent);
}
