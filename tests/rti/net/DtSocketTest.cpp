// The socket base: packet filters, the filter test and send bundling.

#include "net/DtSocket.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "rti/util/NotifyCapture.h"

namespace {

// Records what it is asked to send.
class RecordingSocket : public DtSocket {
public:
  struct Sent {
    int length;
    std::uint32_t address;
  };
  int sendTo(const char*, int length, std::uint32_t address) override {
    sent.push_back({length, address});
    return length;
  }
  int recvCopy(char*, int) override { return 0; }
  int DtRecv(char**, int*) override { return 0; }
  std::vector<Sent> sent;
};

struct FilterCase {
  const char* name;
  DtPacketFilter::Mode mode;
  std::vector<std::uint32_t> values;
  std::vector<std::uint32_t> removed;
  std::vector<std::uint8_t> passes;
  std::vector<std::uint8_t> refused;
};

void PrintTo(const FilterCase& c, std::ostream* out) { *out << c.name; }

constexpr DtPacketFilter::Mode listed = DtPacketFilter::Mode::PassListed;
constexpr DtPacketFilter::Mode unlisted = DtPacketFilter::Mode::PassUnlisted;

class DtPacketFilterTable : public testing::TestWithParam<FilterCase> {};

TEST_P(DtPacketFilterTable, PassesByModeAndList) {
  const FilterCase& c = GetParam();
  DtPacketFilter filter;
  filter.set(c.mode, static_cast<int>(c.values.size()), c.values.data());
  filter.remove(static_cast<int>(c.removed.size()), c.removed.data());
  for (std::uint8_t byte : c.passes) EXPECT_TRUE(filter.match(&byte, 0, DtPacketFilter::Width::Byte)) << int(byte);
  for (std::uint8_t byte : c.refused) EXPECT_FALSE(filter.match(&byte, 0, DtPacketFilter::Width::Byte)) << int(byte);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DtPacketFilterTable,
    testing::Values(FilterCase{"NewFilterPassesAll", unlisted, {}, {}, {0, 3, 255}, {}},
                    FilterCase{"OnlyListedWithEmptyListRefusesAll", listed, {}, {}, {}, {0, 3, 255}},
                    FilterCase{"OnlyListed", listed, {3}, {}, {3}, {2, 4}},
                    FilterCase{"AllButListed", unlisted, {3, 7}, {}, {2, 4}, {3, 7}},
                    FilterCase{"RemoveTakesOneEntryPerNamedValue", listed, {3, 3, 5}, {3}, {3, 5}, {4}},
                    FilterCase{"RemoveTwiceTakesBoth", listed, {3, 3, 5}, {3, 3, 9}, {5}, {3, 9}}),
    [](const testing::TestParamInfo<FilterCase>& info) { return info.param.name; });

TEST(DtPacketFilter, SetModeForgetsTheListAndWordWidthReadsFourBytes) {
  DtPacketFilter filter;
  const std::uint32_t listed[] = {0x7F000001u};
  filter.set(DtPacketFilter::Mode::PassListed, 1, listed);
  const std::uint32_t sender = 0x7F000001u, other = 0x7F000002u;
  EXPECT_TRUE(filter.match(&sender, 0, DtPacketFilter::Width::Word));
  EXPECT_FALSE(filter.match(&other, 0, DtPacketFilter::Width::Word));
  filter.setMode(DtPacketFilter::Mode::PassUnlisted);
  EXPECT_EQ(filter.mode(), DtPacketFilter::Mode::PassUnlisted);
  EXPECT_EQ(filter.count(), 0u);
  EXPECT_TRUE(filter.match(&sender, 0, DtPacketFilter::Width::Word));
}

TEST(DtSocket, FilterTestReadsProtocolExerciseKindAndSender) {
  RecordingSocket socket;
  const char datagram[] = {1, 2, 3, 4};
  EXPECT_TRUE(socket.acceptPacket(datagram, 4, 0x7F000001u));

  const std::uint32_t kind[] = {3}, exercise[] = {9}, sender[] = {0x7F000001u};
  socket.kindFilter().set(DtPacketFilter::Mode::PassListed, 1, kind);
  EXPECT_TRUE(socket.acceptPacket(datagram, 4, 0x7F000001u));
  socket.senderFilter().set(DtPacketFilter::Mode::PassUnlisted, 1, sender);
  EXPECT_FALSE(socket.acceptPacket(datagram, 4, 0x7F000001u));
  EXPECT_TRUE(socket.acceptPacket(datagram, 4, 0x7F000002u));
  socket.exerciseFilter().set(DtPacketFilter::Mode::PassListed, 1, exercise);
  EXPECT_FALSE(socket.acceptPacket(datagram, 4, 0x7F000002u));
}

TEST(DtSocket, DatagramShorterThanTheFilteredBytesIsRefused) {
  RecordingSocket socket;
  const char datagram[] = {1, 2, 3};
  EXPECT_TRUE(socket.acceptPacket(datagram, 3, 0));
  EXPECT_FALSE(socket.acceptPacket(datagram, 2, 0));
  EXPECT_FALSE(socket.acceptPacket(datagram, 0, 0));
}

TEST(DtSocket, BundlingCollectsPacketsAndSendsThemToTheDefaultDestination) {
  NotifyCapture capture;
  RecordingSocket socket;
  EXPECT_EQ(socket.setBundling(20000), 15000);
  EXPECT_EQ(socket.setBundling(1000), 1000);
  const std::vector<char> packet(400, 'x');
  EXPECT_EQ(socket.send(packet.data(), 400, 0x7F000002u), 0);
  EXPECT_EQ(socket.send(packet.data(), 400, 0x7F000002u), 0);
  EXPECT_TRUE(socket.sent.empty());
  EXPECT_EQ(socket.send(packet.data(), 400, 0x7F000002u), 0);
  ASSERT_EQ(socket.sent.size(), 1u);
  EXPECT_EQ(socket.sent[0].length, 800);
  EXPECT_EQ(socket.sent[0].address, 0u);
  EXPECT_EQ(socket.bundleUsed(), 400);

  // A packet as large as the bundle goes alone, after the bundle.
  const std::vector<char> large(1000, 'y');
  EXPECT_EQ(socket.send(large.data(), 1000, 0x7F000002u), 1000);
  ASSERT_EQ(socket.sent.size(), 3u);
  EXPECT_EQ(socket.sent[1].length, 400);
  EXPECT_EQ(socket.sent[2].length, 1000);
  EXPECT_EQ(socket.sent[2].address, 0u);

  // Turning bundling off sends what waits and gives the flush's result.
  socket.send(packet.data(), 400, 0);
  EXPECT_EQ(socket.setBundling(0), 400);
  EXPECT_EQ(socket.bundleSize(), 0);
  EXPECT_EQ(socket.send(packet.data(), 400, 0x7F000002u), 400);
  EXPECT_EQ(socket.sent.back().address, 0x7F000002u);
}

TEST(DtSocket, NewMaximumPacketSizeCountsForLaterSocketsOnly) {
  NotifyCapture capture;
  RecordingSocket before;
  DtSocket::setMaxUdpPacketSize(20000);
  RecordingSocket after;
  DtSocket::setMaxUdpPacketSize(15000);
  EXPECT_NE(capture.text().find("Setting max UDP packet size to 20000 bytes\n"), std::string::npos);
  EXPECT_EQ(before.setBundling(30000), 15000);
  EXPECT_EQ(after.setBundling(18000), 15000);  // capped by the maximum in force now
  DtSocket::setMaxUdpPacketSize(20000);
  EXPECT_EQ(after.setBundling(18000), 18000);
  EXPECT_EQ(before.setBundling(18000), 15000);  // its buffer holds no more
  DtSocket::setMaxUdpPacketSize(15000);
}

}  // namespace
