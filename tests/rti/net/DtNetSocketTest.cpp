// The UDP socket on loopback: sending and reading, unbundling, the filters
// on receipt, dropped datagrams, multicast and the group socket.

#include "net/DtNetSocket.h"

#include <gtest/gtest.h>

#include <memory>
#include <regex>
#include <string>
#include <vector>

#include "NetTestSupport.h"
#include "net/DtGroupSocket.h"
#include "net/DtNetAddress.h"
#include "net/DtSocketError.h"
#include "port/DtPortSocket.h"
#include "rti/util/FakeNoticeClock.h"
#include "rti/util/NotifyCapture.h"
#include "util/DtBigEndian.h"

using namespace nettest;

namespace {

// A unit of a bundle: protocol, exercise, and its length at bytes 8-9.
std::vector<char> unit(int length, char protocol, char exercise, char fill) {
  std::vector<char> bytes(static_cast<std::size_t>(length), fill);
  bytes[0] = protocol;
  bytes[1] = exercise;
  DtPutBigEndian(static_cast<std::uint16_t>(length), bytes.data() + 8);
  return bytes;
}

std::vector<char> joined(std::vector<char> a, const std::vector<char>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

class DtNetSocketTest : public testing::Test {
protected:
  NotifyCapture capture;
  std::unique_ptr<DtNetSocket> receiver{udpSocket(loopback)};
  std::unique_ptr<DtNetSocket> sender{udpSocket(loopback)};

  void SetUp() override { sender->setDestPort(receiver->port()); }

  void send(const std::vector<char>& bytes) {
    ASSERT_EQ(sender->sendTo(bytes.data(), static_cast<int>(bytes.size()), 0), static_cast<int>(bytes.size()));
  }
  // The next packet's text, its status in `status`.
  std::string next(int* status) {
    char* data = nullptr;
    const int length = receiveWithin(*receiver, &data, status);
    return text(data, length);
  }
};

TEST_F(DtNetSocketTest, SendsAndReadsOneDatagramEach) {
  receiver->setUnbundling(false);
  send({'a', 'b', 'c', 'd'});
  int status = 0;
  EXPECT_EQ(next(&status), "abcd");
  EXPECT_EQ(status, 1);
  EXPECT_EQ(receiver->senderAddr(), loopback);
  EXPECT_EQ(receiver->packetsReceived(), 1);
  char* data = nullptr;
  EXPECT_EQ(receiver->DtRecv(&data, &status), 0);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(data, nullptr);
  EXPECT_EQ(sender->sendTo("x", 0, 0), 0);

  std::unique_ptr<DtNetSocket> readOnly(udpSocket(loopback, 0, DtNetSocket::Read));
  EXPECT_EQ(readOnly->sendTo("x", 1, 0), -1);
  EXPECT_EQ(readOnly->writeDescriptor(), -1);
  EXPECT_NE(capture.text().find("NetSocket not initialized for sending\n"), std::string::npos);
}

TEST_F(DtNetSocketTest, UnbundlingSplitsADatagramIntoItsUnits) {
  send(joined(unit(24, 1, 5, 'a'), unit(36, 1, 5, 'b')));
  char* first = nullptr;
  int status = 0;
  ASSERT_EQ(receiveWithin(*receiver, &first, &status), 24);
  EXPECT_TRUE(receiver->hasPendingUnits());
  EXPECT_EQ(first[20], 'a');
  char* second = nullptr;
  ASSERT_EQ(receiver->DtRecv(&second, &status), 36);
  EXPECT_EQ(second[20], 'b');
  EXPECT_NE(second, first + 24);  // copied to the start of the return buffer
  EXPECT_FALSE(receiver->hasPendingUnits());
  EXPECT_EQ(receiver->packetsReceived(), 1);
}

TEST_F(DtNetSocketTest, UnbundlingHandsUpTheRestWhenALaterUnitLooksForeign) {
  send(joined(unit(24, 1, 5, 'a'), unit(36, 1, 6, 'b')));
  int status = 0;
  EXPECT_EQ(next(&status).size(), 24u);
  char* rest = nullptr;
  EXPECT_EQ(receiver->DtRecv(&rest, &status), 36);
  EXPECT_NE(capture.text().find("Unbundling warning: PDU header not similar to first in bundle\n"
                                "    (Protocol,exercise) = (1,6) when expecting (1,5)\n"),
            std::string::npos);
}

TEST_F(DtNetSocketTest, UnbundlingDropsADatagramShorterThanAUnitHeader) {
  send(std::vector<char>(10, 'x'));
  send(unit(12, 1, 1, 'y'));
  int status = 0;
  EXPECT_EQ(next(&status).size(), 12u);
  EXPECT_EQ(status, 1);
  EXPECT_NE(capture.text().find("problem: packet size less than 12 bytes\n"), std::string::npos);
}

TEST_F(DtNetSocketTest, FilteredDatagramsDropWithTheirOwnStatusAndTheLargestIsReadWhole) {
  receiver->setUnbundling(false);
  const std::uint32_t kind[] = {3};
  receiver->kindFilter().set(DtPacketFilter::Mode::PassListed, 1, kind);
  send({0, 0, 4, 0});  // another kind
  send({0, 0});        // shorter than the filtered bytes
  const std::vector<char> largest(DtSocket::theLargestDatagram, 3);
  send(largest);  // whatever the bundle size, a UDP socket reads any datagram whole
  send({0, 0, 3, 0});
  std::vector<int> statuses;
  std::vector<std::string> read;
  for (int status = -2; status != 0 && read.size() < 2;) {
    std::string data = next(&status);
    statuses.push_back(status);
    if (status == 1) read.push_back(std::move(data));
  }
  EXPECT_EQ(statuses, (std::vector<int>{-2, -2, 1, 1}));
  ASSERT_EQ(read.size(), 2u);
  EXPECT_EQ(read[0], std::string(largest.begin(), largest.end()));
  EXPECT_EQ(read[1], std::string({0, 0, 3, 0}));
}

// The datagrams the system drops on a full socket are counted from what
// the reads tell (a datagram carries the count when it is queued) and
// reported at level 1, at most once a second, each line with the drops
// since the last one told.
TEST_F(DtNetSocketTest, DatagramsTheSystemDropsAreCountedAndToldAtMostOnceASecond) {
  FakeNoticeClock clock;
  receiver->setUnbundling(false);
  DtPortSetOption(receiver->readDescriptor(), DtSockOption::ReceiveBuffer, 1);  // the least the system keeps
  const std::vector<char> datagram(1000, 'f');
  int read = 0;
  // Floods the socket, reads what it kept, then one datagram more, which
  // is queued after the drops and so carries their count.
  const auto floodAndRead = [&] {
    for (int i = 0; i < 100; ++i) send(datagram);
    char* data = nullptr;
    for (int status = 1; status == 1;) {
      receiveWithin(*receiver, &data, &status, 0.2);
      if (status == 1) ++read;
    }
    send({'e', 'n', 'd'});
    int status = 0;
    EXPECT_EQ(next(&status), "end");
  };
  floodAndRead();
  const std::uint32_t firstDrops = receiver->droppedDatagrams();
  EXPECT_GT(firstDrops, 0u);
  EXPECT_EQ(firstDrops + static_cast<std::uint32_t>(read), 100u) << "loopback loses nothing else";
  const std::string port = std::to_string(receiver->port());
  EXPECT_NE(capture.text().find("NetSocket: the system dropped " + std::to_string(firstDrops) + " datagrams on port " +
                                port + " for want of room in the receive buffer (" + std::to_string(firstDrops) +
                                " since the socket opened)\n"),
            std::string::npos)
      << capture.text();

  capture.clear();
  floodAndRead();
  const std::uint32_t allDrops = receiver->droppedDatagrams();
  EXPECT_GT(allDrops, firstDrops);
  EXPECT_EQ(capture.text(), "") << "within the second";

  // A second later the next read tells what was held back: the drops since
  // the last line, however many of them the reads have seen by then.
  clock.advance(1.0);
  floodAndRead();
  std::smatch told;
  const std::string text = capture.text();
  ASSERT_TRUE(std::regex_search(text, told,
                                std::regex("dropped (\\d+) datagrams on port " + port +
                                           " for want of room in the receive buffer \\((\\d+) since")))
      << text;
  EXPECT_GE(std::stoul(told[2]), allDrops);
  EXPECT_EQ(std::stoul(told[1]), std::stoul(told[2]) - firstDrops);
  EXPECT_GE(receiver->droppedDatagrams(), std::stoul(told[2]));
}

// The system counts the own datagrams its filter takes out as dropped: the
// socket leaves them out of its count, so a federate that sends much is not
// told that it lost anything.
TEST_F(DtNetSocketTest, OwnDatagramsTheFilterTakesOutAreNoDrops) {
  const std::uint32_t group = groupFor(receiver->port());
  std::unique_ptr<DtNetSocket> member(udpSocket(group, receiver->port()));
  member->setUnbundling(false);
  ASSERT_TRUE(member->dropDatagramsFrom(7, {1, 46}));
  std::vector<char> own(16, 0);
  DtPutBigEndian(std::uint16_t{7}, own.data() + 2);
  own[4] = 1;
  for (int i = 0; i < 50; ++i) ASSERT_EQ(member->sendTo(own.data(), 16, 0), 16);
  std::vector<char> others = own;
  DtPutBigEndian(std::uint16_t{8}, others.data() + 2);
  ASSERT_EQ(sender->sendTo(others.data(), 16, group), 16);  // reaches the member with the system's count
  char* data = nullptr;
  int status = 0;
  ASSERT_EQ(receiveWithin(*member, &data, &status), 16);
  EXPECT_EQ(DtGetBigEndian<std::uint16_t>(data + 2), 8) << "only the other sender's came through";
  EXPECT_EQ(member->droppedDatagrams(), 0u);
  EXPECT_EQ(capture.text().find("the system dropped"), std::string::npos) << capture.text();
}

// A receive buffer the system cuts is told once, at level 1, with what was
// asked for, what the system keeps and its limit.
TEST_F(DtNetSocketTest, AReceiveBufferCutByTheSystemIsToldOnceWithBothFiguresAndTheLimit) {
  const long limit = DtPortReceiveBufferLimit();
  if (limit <= 0 || limit > (1 << 28)) GTEST_SKIP() << "no net.core.rmem_max below what can be asked for";
  DtSocket::forgetReceiveBufferNotice();
  capture.clear();
  EXPECT_EQ(receiver->setReceiveBufferSize(static_cast<int>(4 * limit)), 0);
  EXPECT_EQ(capture.text(), "Socket receive buffer: asked for " + std::to_string(4 * limit) +
                                " bytes, the system granted " + std::to_string(limit) + " (net.core.rmem_max is " +
                                std::to_string(limit) + "); bursts of traffic may be lost\n");
  capture.clear();
  EXPECT_EQ(sender->setReceiveBufferSize(static_cast<int>(4 * limit)), 0);
  EXPECT_EQ(sender->setReceiveBufferSize(static_cast<int>(limit / 2)), 0);
  EXPECT_EQ(capture.text(), "") << "once a process";
}

TEST_F(DtNetSocketTest, IgnoredSenderPortDropsThatSendersDatagrams) {
  receiver->setUnbundling(false);
  receiver->setIgnoredSenderPort(sender->port());
  std::unique_ptr<DtNetSocket> other(udpSocket(loopback));
  other->setDestPort(receiver->port());
  send({'i', 'g', 'n'});
  ASSERT_EQ(other->sendTo("kept", 4, 0), 4);
  int status = 0;
  EXPECT_EQ(next(&status), "");
  EXPECT_EQ(status, -2);
  EXPECT_EQ(next(&status), "kept");
}

TEST_F(DtNetSocketTest, OwnMulticastDatagramsAreDroppedByTheIgnoredSenderPort) {
  const std::uint32_t group = groupFor(receiver->port());
  std::unique_ptr<DtNetSocket> member(udpSocket(group, receiver->port()));
  member->setUnbundling(false);
  ASSERT_EQ(member->sendTo("first", 5, 0), 5);
  char* data = nullptr;
  int status = 0;
  EXPECT_EQ(text(data, receiveWithin(*member, &data, &status)), "first");  // multicast loop is on

  member->setIgnoredSenderPort(member->port());
  ASSERT_EQ(member->sendTo("own", 3, 0), 3);
  EXPECT_EQ(receiveWithin(*member, &data, &status), 0);
  EXPECT_EQ(status, -2);
}

TEST_F(DtNetSocketTest, MembershipNeedsAMulticastGroupAndAnUnboundSocket) {
  EXPECT_FALSE(receiver->listenToMulticastGroup(DtStringToAddr("10.0.0.1")));
  EXPECT_NE(capture.text().find("10.0.0.1 is not a multicast address: Can't subscribe\n"), std::string::npos);
  EXPECT_FALSE(receiver->dropMulticastGroup(DtStringToAddr("10.0.0.1")));
  const std::uint32_t group = groupFor(receiver->port());
  EXPECT_TRUE(receiver->listenToMulticastGroup(group));
  EXPECT_TRUE(receiver->dropMulticastGroup(group));
  EXPECT_TRUE(receiver->setMulticastTtl(1));

  capture.clear();
  std::unique_ptr<DtNetSocket> bound(udpSocket(group, 0, DtNetSocket::ReadWrite | DtNetSocket::BindToDest));
  EXPECT_EQ(capture.text().find("ineffective"), std::string::npos);  // the join after the bind is fine
  EXPECT_FALSE(bound->listenToMulticastGroup(groupFor(bound->port() + 1)));
  EXPECT_NE(capture.text().find("listenToMulticastGroup ineffective while bound to destAddr\n"), std::string::npos);
}

TEST(DtNetSocket, BindFailureIsReportedToTheCallerWithThePortAndReason) {
  NotifyCapture capture;
  const int taken = DtPortUdpSocket();
  ASSERT_GE(taken, 0);
  DtSockAddr local{loopback, 0};
  ASSERT_EQ(DtPortBind(taken, local), 0);  // without SO_REUSEADDR: the port is not shared
  ASSERT_EQ(DtPortLocalAddress(taken, &local), 0);
  try {
    DtNetSocket socket(local.port, loopback, DtNetSocket::ReadWrite, loopback);
    ADD_FAILURE() << "the socket opened on a taken port";
  } catch (const DtSocketError& error) {
    EXPECT_EQ(error.port(), local.port);
    EXPECT_EQ(error.reason(),
              "cannot bind UDP port " + std::to_string(local.port) + " on INADDR_ANY: Address Already in use");
  }
  EXPECT_NE(capture.text().find("NetSocket: bind INADDR_ANY " + std::to_string(local.port)), std::string::npos);
  DtPortCloseSocket(taken);
}

TEST(DtGroupSocket, SendsEachPacketToEveryRemoteSite) {
  NotifyCapture capture;
  std::unique_ptr<DtGroupSocket> group(
      new DtGroupSocket(0, loopback, DtNetSocket::ReadWrite | DtNetSocket::Quiet, loopback));
  std::vector<std::unique_ptr<DtNetSocket>> sites;
  for (std::uint32_t address : {0x7F000002u, 0x7F000003u, 0x7F000004u}) {
    sites.emplace_back(udpSocket(address, group->port(), DtNetSocket::ReadWrite | DtNetSocket::BindToDest));
    sites.back()->setUnbundling(false);
    group->addRemoteSite(address);
  }
  group->addRemoteSite(0x7F000003u);
  EXPECT_EQ(group->remoteSites(), (std::vector<std::uint32_t>{0x7F000002u, 0x7F000003u, 0x7F000004u}));
  EXPECT_NE(capture.text().find("DtGroupSocket adding remote site 127.0.0.2.\n"), std::string::npos);

  EXPECT_EQ(group->send("all", 3, 0x7F000009u), 3);
  EXPECT_EQ(group->sendToAll("but", 3, 0x7F000003u), 3);
  group->removeRemoteSite(0x7F000002u);
  EXPECT_EQ(group->send("two", 3, 0), 3);

  const std::vector<std::vector<std::string>> expected = {{"all", "but"}, {"all", "two"}, {"all", "but", "two"}};
  for (std::size_t i = 0; i < sites.size(); ++i) {
    std::vector<std::string> got;
    char* data = nullptr;
    for (int status = 1; status == 1;) {
      const int length = receiveWithin(*sites[i], &data, &status, 0.3);
      if (status == 1) got.push_back(text(data, length));
    }
    EXPECT_EQ(got, expected[i]) << "site " << i;
  }
}

}  // namespace
