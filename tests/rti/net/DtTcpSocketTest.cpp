// The TCP socket: framing by the packet's own size field, queued sends in
// order, the send-queue cap, closing peers and sizes that cannot be right;
// and the listening manager.

#include "net/DtTcpSocket.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <memory>
#include <string>
#include <vector>

#include "TcpTestSupport.h"
#include "rti/util/NotifyCapture.h"

using namespace nettest;

namespace {

class DtTcpSocketTest : public testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(manager.isOk());
    client = connectTo(manager);
    ASSERT_TRUE(client->isOk());
    waitReadable(manager.listenDescriptor());
    manager.acceptConnections();
    ASSERT_EQ(accepted(manager).size(), 1u);
    server = accepted(manager)[0];
  }

  // Reads on the server side once the bytes are there.
  int readServer(char** data, int* status) {
    waitReadable(server->readDescriptor(), 0.5);
    return server->DtRecv(data, status);
  }

  NotifyCapture capture;
  DtSocketMgr manager{0};
  std::unique_ptr<DtTcpSocket> client;
  DtTcpSocket* server = nullptr;
};

TEST_F(DtTcpSocketTest, MessageArrivingInPiecesIsHandedUpOnceWhole) {
  const std::vector<char> message = framed(300, 'm');
  char* data = nullptr;
  int status = 0;
  std::size_t at = 0;
  for (const std::size_t piece : {1, 7, 292}) {
    sendRaw(client->descriptor(), std::vector<char>(message.begin() + at, message.begin() + at + piece));
    at += piece;
    const int length = readServer(&data, &status);
    if (at < message.size()) {
      EXPECT_EQ(length, 0) << "after " << at << " bytes";
      EXPECT_EQ(status, 0);
    } else {
      ASSERT_EQ(length, 300);
      EXPECT_EQ(status, 1);
      EXPECT_EQ(std::vector<char>(data, data + length), message);
      EXPECT_EQ(data[300], 0);  // a zero byte after the packet
    }
  }
}

TEST_F(DtTcpSocketTest, TwoMessagesInOneSegmentAreHandedUpOneByOne) {
  std::vector<char> both = framed(20, 'a');
  const std::vector<char> second = framed(30, 'b');
  both.insert(both.end(), second.begin(), second.end());
  sendRaw(client->descriptor(), both);
  char* data = nullptr;
  int status = 0;
  ASSERT_EQ(readServer(&data, &status), 20);
  EXPECT_EQ(data[19], 'a');
  ASSERT_EQ(server->DtRecv(&data, &status), 30);
  EXPECT_EQ(data[29], 'b');
  EXPECT_EQ(server->DtRecv(&data, &status), 0);
  EXPECT_EQ(status, 0);
}

TEST_F(DtTcpSocketTest, EverySizeTheFieldCanHoldIsAccepted) {
  // Larger than the receive buffer of 20000 bytes: the buffer grows.
  for (const int length : {2, 20000, 65535}) {
    const std::vector<char> message = framed(length, 'x');
    ASSERT_EQ(client->sendTo(message.data(), length, 0), length);
    char* data = nullptr;
    int status = 0;
    int got = 0;
    for (int i = 0; i < 100 && got == 0 && status == 0; ++i) got = readServer(&data, &status);
    ASSERT_EQ(got, length);
    EXPECT_EQ(std::vector<char>(data, data + length), message);
  }
}

TEST_F(DtTcpSocketTest, SizeThatCannotBeRightClosesTheConnection) {
  sendRaw(client->descriptor(), {0, 1, 'x'});  // smaller than the size field itself
  char* data = nullptr;
  int status = 0;
  EXPECT_EQ(readServer(&data, &status), 0);
  EXPECT_EQ(status, -1);
  EXPECT_FALSE(server->isOk());
  EXPECT_NE(capture.text().find("TcpSocket: a packet size of 1 bytes from 127.0.0.1 cannot be right: closing the "
                                "connection\n"),
            std::string::npos);
  // The peer sees the end of the stream.
  waitReadable(client->readDescriptor());
  EXPECT_EQ(client->DtRecv(&data, &status), 0);
  EXPECT_FALSE(client->isOk());
}

TEST_F(DtTcpSocketTest, WideSizeFieldIsBigEndianAndBoundedAndBadWidthsFallBackToTwo) {
  server->setSizeWidth(3);
  EXPECT_EQ(server->sizeWidth(), 2);
  EXPECT_NE(capture.text().find("Invalid value for size, using default value\n"), std::string::npos);
  server->setSizeWidth(4);
  std::vector<char> message(70000, 'w');
  DtPutBigEndian(std::uint32_t{70000}, message.data());
  sendRaw(client->descriptor(), message);
  char* data = nullptr;
  int status = 0;
  int got = 0;
  for (int i = 0; i < 100 && got == 0 && status == 0; ++i) got = readServer(&data, &status);
  EXPECT_EQ(got, 70000);

  std::vector<char> huge(4, 0);
  DtPutBigEndian(std::uint32_t{0x7FFFFFFF}, huge.data());
  sendRaw(client->descriptor(), huge);
  EXPECT_EQ(readServer(&data, &status), 0);
  EXPECT_EQ(status, -1);
  EXPECT_FALSE(server->isOk());
}

// A new framing counts from the next packet: one whose size field is half
// read when it changes is finished the way it began.
TEST_F(DtTcpSocketTest, AFramingChangeLeavesAPacketAlreadyBegunAsItBegan) {
  const std::vector<char> first = framed(300, 'f');
  std::vector<char> second(22, 's');  // its total size in 4 bytes at offset 2
  DtPutBigEndian(std::uint32_t{22}, second.data() + 2);
  char* data = nullptr;
  int status = 0;
  sendRaw(client->descriptor(), {first[0]});
  EXPECT_EQ(readServer(&data, &status), 0);
  server->setSizeOffset(2);
  server->setSizeWidth(4);
  std::vector<char> rest(first.begin() + 1, first.end());
  rest.insert(rest.end(), second.begin(), second.end());
  sendRaw(client->descriptor(), rest);
  int got = 0;
  for (int i = 0; i < 100 && got == 0 && status == 0; ++i) got = readServer(&data, &status);
  ASSERT_EQ(got, 300) << "the 16-bit size at offset 0 it began with";
  EXPECT_EQ(std::vector<char>(data, data + got), first);
  got = 0;
  for (int i = 0; i < 100 && got == 0 && status >= 0; ++i) got = readServer(&data, &status);
  ASSERT_EQ(got, 22) << "the next one framed the new way";
  EXPECT_EQ(std::vector<char>(data, data + got), second);
  EXPECT_TRUE(server->isOk());
}

TEST_F(DtTcpSocketTest, PeerClosingEndsTheConnection) {
  client.reset();
  char* data = nullptr;
  int status = 0;
  EXPECT_EQ(readServer(&data, &status), 0);
  EXPECT_EQ(status, -1);
  EXPECT_FALSE(server->isOk());
  EXPECT_EQ(server->DtRecv(&data, &status), 0);
  // Writing to the closed peer raises no SIGPIPE: the send just fails.
  const std::vector<char> message = framed(100, 'p');
  for (int i = 0; i < 5; ++i) EXPECT_EQ(server->sendTo(message.data(), 100, 0), -1);
}

TEST_F(DtTcpSocketTest, WritingToAPeerThatWentAwayFailsWithoutASignal) {
  // The connection is still believed ok when the first write meets the reset.
  const std::vector<char> message = framed(100, 'p');
  DtPortShutdown(server->descriptor());
  int result = 0;
  for (int i = 0; i < 50 && result >= 0; ++i) {
    result = client->sendTo(message.data(), 100, 0);
    usleep(1000);
  }
  EXPECT_EQ(result, -1);
  EXPECT_FALSE(client->isOk());
}

TEST_F(DtTcpSocketTest, QueuedSendsLeaveInOrderOnceThePeerReads) {
  // A small send buffer, so that the connection fills soon.
  DtPortSetOption(client->descriptor(), DtSockOption::SendBuffer, 4096);
  const int count = 400;
  int queuedAt = -1;
  for (int i = 0; i < count; ++i) {
    std::vector<char> message = framed(1000, static_cast<char>('a' + i % 26));
    DtPutBigEndian(static_cast<std::uint32_t>(i), message.data() + 2);
    const int sent = client->sendTo(message.data(), 1000, 0);
    ASSERT_GE(sent, 0);
    if (sent < 1000 && queuedAt < 0) queuedAt = i;
  }
  ASSERT_GE(queuedAt, 0) << "nothing was queued: the test did not fill the connection";
  EXPECT_GT(client->queuedPackets(), 0);
  int next = 0;
  for (int rounds = 0; next < count && rounds < 100000; ++rounds) {
    client->DtFlush();
    char* data = nullptr;
    int status = 0;
    const int length = server->DtRecv(&data, &status);
    if (status == 1) {
      ASSERT_EQ(length, 1000);
      ASSERT_EQ(DtGetBigEndian<std::uint32_t>(data + 2), static_cast<std::uint32_t>(next));
      ASSERT_EQ(data[999], static_cast<char>('a' + next % 26));
      ++next;
    } else {
      waitReadable(server->readDescriptor(), 0.01);
    }
  }
  EXPECT_EQ(next, count);
  EXPECT_EQ(client->DtFlush(), 1);
}

TEST_F(DtTcpSocketTest, PeerThatStopsReadingIsClosedOnceTheQueueCapIsPassed) {
  const int savedCap = DtTcpSocket::maxQueuedPackets();
  DtTcpSocket::setMaxQueuedPackets(20);
  const std::vector<char> message = framed(1000, 's');
  int result = 0;
  int sends = 0;
  for (; sends < 100000 && result >= 0; ++sends) result = client->sendTo(message.data(), 1000, 0);
  DtTcpSocket::setMaxQueuedPackets(savedCap);
  EXPECT_EQ(result, -1);
  EXPECT_FALSE(client->isOk());
  EXPECT_EQ(client->queuedPackets(), 0);
  EXPECT_NE(capture.text().find("TcpSocket: more than 20 packets wait to be sent to 127.0.0.1: closing the "
                                "connection\n"),
            std::string::npos);
  // The reader gets what was sent before, then the end of the stream.
  char* data = nullptr;
  int status = 0;
  int read = 0;
  for (int rounds = 0; server->isOk() && rounds < 100000; ++rounds) {
    if (server->DtRecv(&data, &status) > 0) ++read;
    if (status == 0) waitReadable(server->readDescriptor(), 0.01);
  }
  EXPECT_FALSE(server->isOk());
  EXPECT_GT(read, 0);
  EXPECT_LT(read, sends);
}

TEST(DtSocketMgr, CallbacksHearOfConnectionsComingAndGoing) {
  NotifyCapture capture;
  DtSocketMgr manager(0);
  ASSERT_TRUE(manager.isOk());
  std::vector<std::string> heard;
  struct Hearing {
    std::vector<std::string>* heard;
    std::string name;
  } accept{&heard, "accept"}, close{&heard, "close"};
  const auto note = [](DtTcpSocket* connection, void* data) {
    auto* hearing = static_cast<Hearing*>(data);
    hearing->heard->push_back(hearing->name + (connection->isOk() ? " ok" : " broken"));
  };
  manager.addAcceptCallback(note, &accept);
  manager.addCloseCallback(note, &close);
  manager.addCloseCallback(note, &close);
  manager.removeCloseCallback(note, &close);

  manager.acceptConnections();  // nothing waits: returns at once
  EXPECT_TRUE(heard.empty());
  auto client = connectTo(manager);
  waitReadable(manager.listenDescriptor());
  manager.acceptConnections();
  EXPECT_EQ(manager.lastPeerAddr(), loopback);
  ASSERT_EQ(accepted(manager).size(), 1u);
  manager.removeConnection(accepted(manager)[0]);
  manager.removeConnection(client.get());  // not one of its connections: nothing
  EXPECT_EQ(heard, (std::vector<std::string>{"accept ok", "close ok"}));
  EXPECT_EQ(manager.connections().count(), 0u);

  DtSocketMgr taken(manager.port());
  EXPECT_FALSE(taken.isOk());
  EXPECT_TRUE(taken.addressInUse());
}

TEST(DtSocketMgr, AcceptErrorEndsThePassInsteadOfLooping) {
  NotifyCapture capture;
  DtSocketMgr manager(0);
  auto client = connectTo(manager);
  // The listening descriptor now names a datagram socket: every accept
  // fails the same way, as it would with no descriptor left.
  const int datagram = DtPortUdpSocket();
  ASSERT_EQ(dup2(datagram, manager.listenDescriptor()), manager.listenDescriptor());
  close(datagram);
  manager.acceptConnections();
  EXPECT_EQ(manager.connections().count(), 0u);
  EXPECT_NE(capture.text().find("TcpSocket accept error: "), std::string::npos);
}

}  // namespace
