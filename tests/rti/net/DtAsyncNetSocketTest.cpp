// The UDP socket with its own send and receive threads.

#include "net/DtAsyncNetSocket.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "NetTestSupport.h"
#include "net/DtCreateUdpSocket.h"
#include "rti/util/NotifyCapture.h"
#include "util/DtSelect.h"

using namespace nettest;

namespace {

std::unique_ptr<DtAsyncNetSocket> asyncSocket(std::uint32_t dest) {
  return std::make_unique<DtAsyncNetSocket>(0, dest, DtNetSocket::ReadWrite | DtNetSocket::Quiet, loopback);
}

// Reads `count` packets from the socket, waiting up to two seconds in all.
std::vector<std::string> readSome(DtSocket& socket, std::size_t count) {
  std::vector<std::string> got;
  const double deadline = DtRealTime() + 2.0;
  while (got.size() < count && DtRealTime() < deadline) {
    char* data = nullptr;
    int status = 0;
    const int length = socket.DtRecv(&data, &status);
    if (status == 1) {
      got.push_back(text(data, length));
    } else {
      DtSleep(0.001);
    }
  }
  return got;
}

TEST(DtAsyncNetSocket, SendsFromItsThreadAndReadsIntoItsQueue) {
  NotifyCapture capture;
  std::unique_ptr<DtNetSocket> receiver(udpSocket(loopback));
  receiver->setUnbundling(false);
  auto sender = asyncSocket(loopback);
  sender->setUnbundling(false);
  sender->setDestPort(receiver->port());
  EXPECT_EQ(sender->sendTo("first", 5, 0), 5);  // queued: the length at once
  EXPECT_EQ(readSome(*receiver, 1), std::vector<std::string>{"first"});

  receiver->setDestPort(sender->port());
  ASSERT_EQ(receiver->sendTo("back", 4, 0), 4);
  EXPECT_EQ(readSome(*sender, 1), std::vector<std::string>{"back"});
  EXPECT_EQ(sender->senderAddr(), loopback);
  EXPECT_EQ(sender->packetsReceived(), 1);
}

TEST(DtAsyncNetSocket, DestructionSendsEverythingStillQueued) {
  NotifyCapture capture;
  std::unique_ptr<DtNetSocket> receiver(udpSocket(loopback));
  receiver->setUnbundling(false);
  const int count = 200;
  {
    auto sender = asyncSocket(loopback);
    sender->setDestPort(receiver->port());
    for (int i = 0; i < count; ++i) {
      const std::string datagram = "packet " + std::to_string(i);
      sender->sendTo(datagram.data(), static_cast<int>(datagram.size()), 0);
    }
  }
  const std::vector<std::string> got = readSome(*receiver, count);
  ASSERT_EQ(got.size(), static_cast<std::size_t>(count));
  EXPECT_EQ(got.front(), "packet 0");
  EXPECT_EQ(got.back(), "packet 199");
}

TEST(DtAsyncNetSocket, WithoutAsynchronousReceiveItReadsTheSocketItself) {
  NotifyCapture capture;
  auto socket = asyncSocket(loopback);
  socket->setUnbundling(false);
  socket->setAsyncReceive(false);
  socket->setAsyncSend(false);
  EXPECT_FALSE(socket->asyncReceive());
  ASSERT_EQ(socket->sendTo("self", 4, 0), 4);  // sent at once
  EXPECT_EQ(readSome(*socket, 1), std::vector<std::string>{"self"});
}

TEST(DtCreateUdpSocket, MakesThePlainOrTheAsynchronousSocket) {
  NotifyCapture capture;
  std::unique_ptr<DtNetSocket> plain(DtCreateUdpSocket(0, loopback, false));
  std::unique_ptr<DtNetSocket> async(DtCreateUdpSocket(0, loopback, true));
  EXPECT_EQ(dynamic_cast<DtAsyncNetSocket*>(plain.get()), nullptr);
  EXPECT_NE(dynamic_cast<DtAsyncNetSocket*>(async.get()), nullptr);
  EXPECT_TRUE(plain->isOk());
  EXPECT_EQ(plain->modes() & DtNetSocket::ReadWrite, DtNetSocket::ReadWrite);
}

}  // namespace
