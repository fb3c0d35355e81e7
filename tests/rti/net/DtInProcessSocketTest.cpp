// The rtiexec's in-process end of its forwarder: packets handed over in a
// run come up one by one, in order, each followed by a zero and left in
// place until the next read; what it sends goes to its function.
#include "net/DtInProcessSocket.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// A packet of `length` bytes, its size in its first two bytes.
std::string packet(int length, char fill) {
  std::string bytes(static_cast<std::size_t>(length), fill);
  bytes[0] = static_cast<char>(length >> 8);
  bytes[1] = static_cast<char>(length);
  return bytes;
}

TEST(DtInProcessSocket, PacketsComeUpOneByOneInOrderEachWithAZeroAfterIt) {
  DtInProcessSocket socket(nullptr);
  EXPECT_FALSE(socket.packetWaiting());
  const std::string a = packet(8, 'a'), b = packet(300, 'b'), c = packet(12, 'c');
  socket.deliver((a + b).data(), a.size() + b.size());
  EXPECT_EQ(socket.packetsWaiting(), 2u);

  char* data = nullptr;
  int status = -1;
  ASSERT_EQ(socket.DtRecv(&data, &status), 8);
  EXPECT_EQ(status, 1);
  EXPECT_EQ(std::string(data, 8), a);
  EXPECT_EQ(data[8], '\0');
  // More packets come while the first is still in use: it stays.
  socket.deliver(c.data(), c.size());
  EXPECT_EQ(std::string(data, 8), a);
  EXPECT_EQ(socket.packetsWaiting(), 2u);
  ASSERT_EQ(socket.DtRecv(&data, &status), 300);
  EXPECT_EQ(std::string(data, 300), b);
  char copy[4];
  EXPECT_EQ(socket.recvCopy(copy, sizeof copy), 12);  // the whole length, four bytes copied
  EXPECT_EQ(std::string(copy, 4), c.substr(0, 4));
  EXPECT_EQ(socket.DtRecv(&data, &status), 0);
  EXPECT_EQ(status, 0);
  EXPECT_FALSE(socket.packetWaiting());
}

TEST(DtInProcessSocket, ARunThatEndsInsideAPacketKeepsTheWholeOnes) {
  DtInProcessSocket socket(nullptr);
  const std::string a = packet(10, 'a'), b = packet(20, 'b');
  const std::string run = a + b.substr(0, 15);
  socket.deliver(run.data(), run.size());
  EXPECT_EQ(socket.packetsWaiting(), 1u);
  const std::string tooSmall = a + std::string("\0\3xyzabc", 8);
  socket.deliver(tooSmall.data(), tooSmall.size());
  EXPECT_EQ(socket.packetsWaiting(), 2u);
}

TEST(DtInProcessSocket, WhatItSendsGoesToItsFunctionTheAddressAsItsConnection) {
  std::vector<std::string> sent;
  std::vector<std::uint32_t> connections;
  DtInProcessSocket socket([&](const char* data, std::size_t length, std::uint32_t connection) {
    sent.emplace_back(data, length);
    connections.push_back(connection);
  });
  const std::string a = packet(8, 'a'), b = packet(10, 'b');
  EXPECT_EQ(socket.send(a.data(), 8, 0), 8);
  EXPECT_EQ(socket.sendTo(a.data(), 0, 0), 0);
  EXPECT_EQ(socket.send(b.data(), 10, 5), 10);
  EXPECT_EQ(sent, (std::vector<std::string>{a, b}));
  EXPECT_EQ(connections, (std::vector<std::uint32_t>{0, 5}));
  EXPECT_TRUE(socket.isOk());
  EXPECT_EQ(socket.readDescriptor(), -1);
  EXPECT_EQ(socket.setReceiveBufferSize(1 << 20), 0);
}

}  // namespace
