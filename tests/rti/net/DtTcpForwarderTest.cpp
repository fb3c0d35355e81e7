// The TCP forwarder: every packet read from one connection goes to every
// connection that listens, the sender's included; a connection that never
// spoke hears nothing once the rtiexec's own connection is named, and the
// rtiexec's connection is spared the object and interaction traffic; a
// broken, stalled, malformed or surplus connection is closed while the
// others go on; every connection is watched, however many there are. An
// rtiexec in the forwarder's own process trades its packets in memory.

#include "net/DtTcpForwarder.h"

#include <gtest/gtest.h>
#include <poll.h>

#include <memory>
#include <string>
#include <vector>

#include "TcpTestSupport.h"
#include "msg/DtRtiMsgKind.h"
#include "port/DtWakeup.h"
#include "rti/util/NotifyCapture.h"
#include "util/DtClock.h"

using namespace nettest;

namespace {

using Packets = std::vector<std::vector<char>>;

// What packetOf's filler makes of a header: federate 'pp' of execution "ppp".
DtLinkBinding fillerFederate() {
  DtLinkBinding binding;
  binding.execName[0] = binding.execName[1] = binding.execName[2] = 'p';
  binding.federate = 0x7070;
  return binding;
}

// A packet of the message kind, its size in its first two bytes.
std::vector<char> packetOf(int length, int kind, char fill = 'p') {
  std::vector<char> bytes = framed(length, fill);
  bytes[4] = static_cast<char>(kind);
  return bytes;
}

class DtTcpForwarderTest : public testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(forwarder->isOk());
    forwarder->setCloseCallback([this](DtForwarderLink&) { ++closed; });
    for (int i = 0; i < 3; ++i) ASSERT_NO_FATAL_FAILURE(addClient());
  }

  void addClient() {
    clients.push_back(std::make_unique<DtTcpSocket>(loopback, forwarder->port(), false));
    ASSERT_TRUE(clients.back()->isOk());
    const std::size_t wanted = clients.size();
    for (int i = 0; i < 100 && forwarder->connectionCount() < wanted; ++i) forwarder->serviceConnections(0.05);
    ASSERT_EQ(forwarder->connectionCount(), wanted);
  }

  // Services the forwarder and reads every packet client `i` gets until
  // `count` came (or `rounds` passes went by).
  Packets relayTo(std::size_t i, std::size_t count, int rounds = 200) {
    Packets got;
    for (int round = 0; round < rounds && got.size() < count; ++round) {
      forwarder->serviceConnections(0.01);
      char* data = nullptr;
      int status = 0;
      for (int length; (length = clients[i]->DtRecv(&data, &status)) > 0;) got.emplace_back(data, data + length);
    }
    return got;
  }

  // Client i's end of its connection, as the forwarder sees its peer.
  void nameOwner(std::size_t i) {
    DtSockAddr local;
    ASSERT_EQ(DtPortLocalAddress(clients[i]->descriptor(), &local), 0);
    forwarder->setOwnerAddress(local.address, local.port);
  }

  NotifyCapture capture;
  std::unique_ptr<DtTcpForwarder> forwarder = std::make_unique<DtTcpForwarder>(0);
  std::vector<std::unique_ptr<DtTcpSocket>> clients;
  int closed = 0;
};

TEST_F(DtTcpForwarderTest, RelaysEveryPacketToEveryClientTheSenderIncludedInOrder) {
  const std::vector<char> first = packetOf(40, DtResignMsgKind, 'f'),
                          second = packetOf(300, DtDesignatedFederateMsgKind, 's');
  ASSERT_EQ(clients[1]->sendTo(first.data(), 40, 0), 40);
  ASSERT_EQ(clients[1]->sendTo(second.data(), 300, 0), 300);
  for (std::size_t i = 0; i < clients.size(); ++i) EXPECT_EQ(relayTo(i, 2), (Packets{first, second})) << "client " << i;
}

TEST_F(DtTcpForwarderTest, FederateTrafficAndRequestsToTheRtiexecGoToEveryoneButTheirSender) {
  const std::vector<char> update = packetOf(64, DtUpdateRoMsgKind), resign = packetOf(12, DtResignMsgKind),
                          interaction = packetOf(50, DtInteractionRoMsgKind), join = packetOf(92, DtJoinMsgKind);
  std::vector<char> all = update;
  for (const auto* packet : {&resign, &interaction, &join}) all.insert(all.end(), packet->begin(), packet->end());
  sendRaw(clients[1]->descriptor(), all);
  EXPECT_EQ(relayTo(0, 4), (Packets{update, resign, interaction, join}));
  EXPECT_EQ(relayTo(1, 1), (Packets{resign}));
  EXPECT_EQ(relayTo(1, 1, 20), Packets{});
}

TEST_F(DtTcpForwarderTest, OnceTheOwnerIsNamedSilentClientsHearNothingAndTheOwnerNoFederateTraffic) {
  nameOwner(0);
  const std::vector<char> join = packetOf(92, DtJoinMsgKind), update = packetOf(64, DtUpdateRoMsgKind),
                          alive = packetOf(8, DtAliveMsgKind), interaction = packetOf(50, DtInteractionTsoMsgKind),
                          sync = packetOf(22, DtSyncPointMsgKind), resign = packetOf(12, DtResignMsgKind),
                          request = packetOf(36, DtTimeAdvanceRequestMsgKind);
  for (const auto* packet : {&join, &update, &alive, &interaction, &sync})
    ASSERT_GT(clients[1]->sendTo(packet->data(), static_cast<int>(packet->size()), 0), 0);
  EXPECT_EQ(relayTo(0, 3), (Packets{join, alive, sync}));
  EXPECT_EQ(relayTo(1, 1, 20), Packets{}) << "a sender gets neither its traffic nor its requests back";
  EXPECT_EQ(relayTo(2, 1, 20), Packets{});
  // Having spoken, client 2 listens; its requests go to the rtiexec alone.
  ASSERT_GT(clients[2]->sendTo(alive.data(), 8, 0), 0);
  ASSERT_GT(clients[1]->sendTo(update.data(), 64, 0), 0);
  EXPECT_EQ(relayTo(2, 1), (Packets{update}));
  EXPECT_EQ(relayTo(1, 1, 20), Packets{});
  std::vector<char> mixed = resign;
  for (const auto* packet : {&sync, &update, &request}) mixed.insert(mixed.end(), packet->begin(), packet->end());
  sendRaw(clients[2]->descriptor(), mixed);
  EXPECT_EQ(relayTo(1, 2), (Packets{resign, update}));
  EXPECT_EQ(relayTo(2, 1), (Packets{resign}));
  EXPECT_EQ(relayTo(0, 4), (Packets{alive, resign, sync, request}));
  // What the owner sends goes to the others only.
  const std::vector<char> answer = packetOf(104, DtJoinResponseMsgKind);
  ASSERT_GT(clients[0]->sendTo(answer.data(), 104, 0), 0);
  EXPECT_EQ(relayTo(1, 1), (Packets{answer}));
  EXPECT_EQ(relayTo(2, 1), (Packets{answer}));
  EXPECT_EQ(relayTo(0, 1, 20), Packets{}) << "nothing of its own";
}

TEST_F(DtTcpForwarderTest, AnOwnerInThisProcessTradesPacketsInMemory) {
  Packets owned;
  std::vector<std::uint32_t> accepted;
  forwarder->setAcceptCallback([&](DtForwarderLink& link) { accepted.push_back(link.id()); });
  DtForwarderLink* own = forwarder->setInProcessOwner([&](const char* data, std::size_t length, std::uint32_t) {
    // Whole packets, one run at a time.
    for (std::size_t at = 0; at < length;) {
      const std::size_t size = (static_cast<unsigned char>(data[at]) << 8) | static_cast<unsigned char>(data[at + 1]);
      owned.emplace_back(data + at, data + at + size);
      at += size;
    }
  });
  ASSERT_NE(own, nullptr);
  EXPECT_TRUE(own->inProcess());
  EXPECT_EQ(accepted, std::vector<std::uint32_t>{own->id()});
  EXPECT_EQ(forwarder->connectionCount(), 4u);
  // Clients 1 and 2 joined; client 0 did not.
  for (std::size_t i : {1u, 2u}) ASSERT_TRUE(forwarder->bindFederate(forwarder->links()[i]->id(), fillerFederate()));

  // A federate's requests reach the owner alone, its traffic the others alone.
  const std::vector<char> join = packetOf(92, DtJoinMsgKind), update = packetOf(64, DtUpdateRoMsgKind),
                          resign = packetOf(12, DtResignMsgKind);
  ASSERT_GT(clients[2]->sendTo(resign.data(), 12, 0), 0);
  for (int round = 0; round < 200 && owned.empty(); ++round) forwarder->serviceConnections(0.01);
  std::vector<char> all = join;
  all.insert(all.end(), update.begin(), update.end());
  all.insert(all.end(), resign.begin(), resign.end());
  sendRaw(clients[1]->descriptor(), all);
  EXPECT_EQ(relayTo(2, 3), (Packets{resign, update, resign})) << "its own resign, then client 1's";
  EXPECT_EQ(owned, (Packets{resign, join, resign}));
  EXPECT_EQ(relayTo(0, 1, 20), Packets{}) << "not joined: it hears nothing";

  // What the owner sends goes out with the next pass to those that joined.
  const std::vector<char> answer = packetOf(104, DtJoinResponseMsgKind);
  owned.clear();
  forwarder->relayFromOwner(answer.data(), answer.size());
  EXPECT_EQ(relayTo(1, 3), (Packets{resign, resign, answer})) << "client 2's resign, its own, then the answer";
  EXPECT_EQ(relayTo(2, 1), (Packets{answer}));
  EXPECT_TRUE(owned.empty()) << "nothing of its own";

  // The owner's end is named by no address, and a null sink drops.
  forwarder->setOwnerAddress(0x7F000001u, 1);
  EXPECT_EQ(forwarder->setInProcessOwner(nullptr), own);
  ASSERT_GT(clients[1]->sendTo(join.data(), 92, 0), 0);
  EXPECT_EQ(relayTo(2, 1, 20), Packets{});
  EXPECT_TRUE(owned.empty());
}

TEST_F(DtTcpForwarderTest, TheOwnerInThisProcessMayNameTheOneConnectionAPacketIsFor) {
  Packets owned;
  forwarder->setInProcessOwner(
      [&](const char* data, std::size_t length, std::uint32_t) { owned.emplace_back(data, data + length); });
  const std::vector<char> alive = packetOf(8, DtAliveMsgKind), bound = packetOf(32, DtLbtsMsgKind);
  for (std::size_t i : {1u, 2u}) {
    ASSERT_TRUE(forwarder->bindFederate(forwarder->links()[i]->id(), fillerFederate()));
    ASSERT_GT(clients[i]->sendTo(alive.data(), 8, 0), 0);
  }
  for (int round = 0; round < 200 && owned.size() < 2; ++round) forwarder->serviceConnections(0.01);
  ASSERT_EQ(owned.size(), 2u);
  const std::vector<DtForwarderLink*> links = forwarder->links();  // the clients' in order, then the owner's

  forwarder->relayFromOwner(bound.data(), bound.size(), links[1]->id());
  EXPECT_EQ(relayTo(1, 1), (Packets{bound}));
  EXPECT_EQ(relayTo(2, 1, 20), Packets{});
  EXPECT_EQ(relayTo(0, 1, 20), Packets{}) << "not joined: it hears nothing";
  // For a connection that is gone (or the owner's own): nobody hears it.
  for (std::uint32_t connection : {999u, links[3]->id()}) {
    forwarder->relayFromOwner(bound.data(), bound.size(), connection);
    EXPECT_EQ(relayTo(1, 1, 20), Packets{});
    EXPECT_EQ(relayTo(2, 1, 20), Packets{});
  }
}

TEST_F(DtTcpForwarderTest, TheFirstHalfOfAPassHoldsTheFederatesShareUntilTheOwnersAnswersJoinIt) {
  Packets owned;
  forwarder->setInProcessOwner(
      [&](const char* data, std::size_t length, std::uint32_t) { owned.emplace_back(data, data + length); });
  const std::vector<char> alive = packetOf(8, DtAliveMsgKind), update = packetOf(64, DtUpdateRoMsgKind),
                          request = packetOf(36, DtTimeAdvanceRequestMsgKind), bound = packetOf(32, DtLbtsMsgKind);
  for (std::size_t i : {1u, 2u}) ASSERT_TRUE(forwarder->bindFederate(forwarder->links()[i]->id(), fillerFederate()));
  ASSERT_GT(clients[2]->sendTo(alive.data(), 8, 0), 0);
  for (int round = 0; round < 200 && owned.empty(); ++round) forwarder->serviceConnections(0.01);
  ASSERT_EQ(owned.size(), 1u);
  std::vector<char> both = update;
  both.insert(both.end(), request.begin(), request.end());
  sendRaw(clients[1]->descriptor(), both);
  for (int round = 0; round < 200 && owned.size() < 2; ++round) forwarder->takeInput(0.01);
  ASSERT_EQ(owned.size(), 2u);
  EXPECT_EQ(owned[1], request);
  DtForwarderLink& toClient2 = *forwarder->links()[2];
  EXPECT_EQ(toClient2.queuedBytes(), update.size()) << "held for the answer";
  forwarder->relayFromOwner(bound.data(), bound.size());
  EXPECT_EQ(toClient2.queuedBytes(), update.size() + bound.size());
  forwarder->flushQueued();
  EXPECT_EQ(toClient2.queuedBytes(), 0u);
  EXPECT_EQ(relayTo(2, 2), (Packets{update, bound}));
}

TEST_F(DtTcpForwarderTest, OneWaitServesTheDrivingLoopsOwnDescriptorsAndThePassThatFollows) {
  DtWakeup outside("the driving loop's");
  ASSERT_TRUE(forwarder->watchOutside(outside.fd()));
  EXPECT_FALSE(forwarder->watchOutside(-1));
  outside.signal();
  const double begun = DtRealTime();
  forwarder->waitForInput(30.0);
  EXPECT_LT(DtRealTime() - begun, 10.0) << "the loop's descriptor ends the wait";
  EXPECT_FALSE(forwarder->takeInput(0.0)) << "it is the loop's to read, not the forwarder's wake-up";
  EXPECT_TRUE(forwarder->outsideMayBeReady(outside.fd()));
  outside.clear();
  forwarder->waitForInput(0.0);
  EXPECT_FALSE(forwarder->outsideMayBeReady(outside.fd())) << "the wait looked, and found it empty";
  forwarder->takeInput(0.0);
  // What a wait found, the next pass takes.
  const std::vector<char> resign = packetOf(12, DtResignMsgKind);
  ASSERT_GT(clients[1]->sendTo(resign.data(), 12, 0), 0);
  waitReadable(forwarder->pollDescriptor());
  forwarder->waitForInput(30.0);
  forwarder->takeInput(0.0);
  forwarder->flushQueued();
  for (std::size_t i = 0; i < clients.size(); ++i) EXPECT_EQ(relayTo(i, 1), (Packets{resign})) << "client " << i;
}

TEST_F(DtTcpForwarderTest, ClosedClientIsRemovedAndTheOthersGoOn) {
  clients[0].reset();
  const std::vector<char> packet = packetOf(64, DtResignMsgKind);
  ASSERT_EQ(clients[2]->sendTo(packet.data(), 64, 0), 64);
  EXPECT_EQ(relayTo(1, 1), (Packets{packet}));
  EXPECT_EQ(relayTo(2, 1), (Packets{packet}));
  for (int round = 0; round < 100 && closed == 0; ++round) forwarder->serviceConnections(0.01);
  EXPECT_EQ(closed, 1);
  EXPECT_EQ(forwarder->connectionCount(), 2u);
}

TEST_F(DtTcpForwarderTest, WhatAPeerSentBeforeItsConnectionFailedReachesTheOwnerBeforeItsLoss) {
  std::vector<std::string> owner;
  forwarder->setInProcessOwner([&](const char* data, std::size_t, std::uint32_t) {
    owner.push_back("kind " + std::to_string(static_cast<unsigned char>(data[4])));
  });
  forwarder->setCloseCallback([&](DtForwarderLink&) { owner.push_back("lost"); });
  DtForwarderLink& peer = *forwarder->links()[2];
  ASSERT_TRUE(forwarder->bindFederate(peer.id(), fillerFederate()));
  // The peer has traffic it never reads, sends its resignation and closes:
  // its end resets the connection.
  const std::vector<char> traffic = packetOf(64, DtUpdateRoMsgKind), resign = packetOf(12, DtResignMsgKind);
  forwarder->relayFromOwner(traffic.data(), traffic.size(), peer.id());
  forwarder->flushQueued();
  waitReadable(clients[2]->descriptor());
  ASSERT_EQ(clients[2]->sendTo(resign.data(), 12, 0), 12);
  clients[2].reset();
  pollfd reset{peer.fd(), 0, 0};  // until the reset has come, after the resignation
  ASSERT_EQ(poll(&reset, 1, 5000), 1);
  // The forwarder writes to it before it reads: the write fails, and the
  // resignation still comes first.
  forwarder->relayFromOwner(traffic.data(), traffic.size(), peer.id());
  forwarder->flushQueued();
  EXPECT_EQ(owner, (std::vector<std::string>{"kind " + std::to_string(DtResignMsgKind), "lost"}));
  forwarder->setCloseCallback(nullptr);
  forwarder->setInProcessOwner(nullptr);
}

TEST_F(DtTcpForwarderTest, APeerThatResetsItsConnectionIsAFaultUnlessItsFederateResignedFirst) {
  // Its resignation went on to the rtiexec, which has not unbound it yet
  // when the reset comes: a normal end. Without one, the loss is reported.
  struct Case {
    const char* what;
    int lastKind;
    bool reported;
  };
  forwarder->setInProcessOwner([](const char*, std::size_t, std::uint32_t) {});
  for (const Case& c : {Case{"after its resignation", DtResignMsgKind, false},
                        Case{"after an update, still joined", DtUpdateRoMsgKind, true}}) {
    SCOPED_TRACE(c.what);
    ASSERT_NO_FATAL_FAILURE(addClient());
    DtForwarderLink& peer = *forwarder->links().back();
    ASSERT_TRUE(forwarder->bindFederate(peer.id(), fillerFederate()));
    capture.clear();
    const int before = closed;
    // Traffic it never reads makes its close a reset.
    const std::vector<char> traffic = packetOf(64, DtUpdateRoMsgKind), last = packetOf(64, c.lastKind);
    forwarder->relayFromOwner(traffic.data(), traffic.size(), peer.id());
    forwarder->flushQueued();
    waitReadable(clients.back()->descriptor());
    ASSERT_EQ(clients.back()->sendTo(last.data(), 64, 0), 64);
    clients.back().reset();
    for (int round = 0; round < 200 && closed == before; ++round) forwarder->serviceConnections(0.01);
    ASSERT_EQ(closed, before + 1);
    EXPECT_EQ(capture.text().find("closing connection") != std::string::npos, c.reported) << capture.text();
  }
  forwarder->setInProcessOwner(nullptr);
}

TEST_F(DtTcpForwarderTest, MalformedPacketsCloseTheirConnectionAfterWhatCameBeforeThem) {
  struct Case {
    const char* what;
    std::vector<char> bad;
  };
  std::vector<char> unknownKind = packetOf(20, 0);
  unknownKind[4] = static_cast<char>(200);
  const Case cases[] = {{"size below a header", {0, 3, 1, 1, 1, 0, 0, 0}}, {"unknown kind", unknownKind}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    closed = 0;
    // A sound packet, then the bad one, in one write.
    std::vector<char> bytes = packetOf(30, 1, 'g');
    const std::vector<char> good = bytes;
    bytes.insert(bytes.end(), c.bad.begin(), c.bad.end());
    sendRaw(clients[2]->descriptor(), bytes);
    EXPECT_EQ(relayTo(1, 1), (Packets{good}));
    for (int round = 0; round < 100 && closed == 0; ++round) forwarder->serviceConnections(0.01);
    EXPECT_EQ(closed, 1);
    EXPECT_NE(capture.text().find("a malformed packet"), std::string::npos);
    // The others go on.
    const std::vector<char> after = packetOf(16, 7);
    ASSERT_GT(clients[0]->sendTo(after.data(), 16, 0), 0);
    EXPECT_EQ(relayTo(1, 1), (Packets{after}));
    clients[2] = std::make_unique<DtTcpSocket>(loopback, forwarder->port(), false);
    for (int i = 0; i < 100 && forwarder->connectionCount() < 3; ++i) forwarder->serviceConnections(0.05);
  }
}

TEST_F(DtTcpForwarderTest, HalfAPacketOrSilenceDoesNotHoldUpTheOthers) {
  const std::vector<char> whole = packetOf(100, DtUpdateRoMsgKind);
  sendRaw(clients[2]->descriptor(), std::vector<char>(whole.begin(), whole.begin() + 37));
  const std::vector<char> other = packetOf(20, 5);
  ASSERT_GT(clients[0]->sendTo(other.data(), 20, 0), 0);
  EXPECT_EQ(relayTo(1, 1), (Packets{other}));
  // The rest of the half packet completes it.
  sendRaw(clients[2]->descriptor(), std::vector<char>(whole.begin() + 37, whole.end()));
  EXPECT_EQ(relayTo(1, 1), (Packets{whole}));
}

TEST_F(DtTcpForwarderTest, StalledClientIsClosedWithoutHoldingUpTheOthers) {
  // A forwarder with a small cap; client 0 never reads. Small buffers make
  // its side fill soon.
  forwarder.reset();
  clients.clear();
  closed = 0;
  forwarder = std::make_unique<DtTcpForwarder>(0);
  forwarder->setQueueCap(64 << 10);
  forwarder->setCloseCallback([this](DtForwarderLink&) { ++closed; });
  for (int i = 0; i < 3; ++i) ASSERT_NO_FATAL_FAILURE(addClient());
  DtPortSetOption(clients[0]->descriptor(), DtSockOption::ReceiveBuffer, 4096);
  DtPortSetOption(forwarder->links()[0]->fd(), DtSockOption::SendBuffer, 4096);
  const int count = 2000;
  std::vector<std::size_t> got(3, 0);
  int sent = 0;
  for (int round = 0; round < 20000 && (got[1] < count || got[2] < count); ++round) {
    for (int burst = 0; burst < 20 && sent < count; ++burst, ++sent) {
      std::vector<char> packet = packetOf(1000, DtResignMsgKind, 'd');
      DtPutBigEndian(static_cast<std::uint32_t>(sent), packet.data() + 8);
      ASSERT_GE(clients[1]->sendTo(packet.data(), 1000, 0), 0);
    }
    clients[1]->DtFlush();
    forwarder->serviceConnections(0.01);
    for (std::size_t i = 1; i < 3; ++i) {
      char* data = nullptr;
      int status = 0;
      while (clients[i]->DtRecv(&data, &status) > 0) {
        ASSERT_EQ(DtGetBigEndian<std::uint32_t>(data + 8), got[i]) << "client " << i;
        ++got[i];
      }
    }
  }
  EXPECT_EQ(got[1], static_cast<std::size_t>(count));
  EXPECT_EQ(got[2], static_cast<std::size_t>(count));
  EXPECT_EQ(closed, 1);
  EXPECT_EQ(forwarder->connectionCount(), 2u);
  EXPECT_NE(capture.text().find("bytes wait to be sent: the peer stopped reading"), std::string::npos);
}

TEST(DtTcpForwarder, ConnectionsPastTheLimitAreRefusedWithAMessage) {
  NotifyCapture capture;
  DtTcpForwarder forwarder(0, 2);
  std::vector<std::unique_ptr<DtTcpSocket>> clients;
  for (int i = 0; i < 3; ++i) {
    clients.push_back(std::make_unique<DtTcpSocket>(loopback, forwarder.port(), false));
    for (int round = 0; round < 100 && forwarder.connectionCount() + forwarder.refusedCount() <= std::size_t(i);
         ++round) {
      forwarder.serviceConnections(0.05);
    }
  }
  EXPECT_EQ(forwarder.connectionCount(), 2u);
  EXPECT_EQ(forwarder.refusedCount(), 1u);
  EXPECT_NE(capture.text().find("refused a connection from 127.0.0.1: 2 connections are open, the most that "
                                "RTI_tcpMaxConnections allows"),
            std::string::npos);
  // The refused client sees its connection end.
  char* data = nullptr;
  int status = 0;
  receiveWithin(*clients[2], &data, &status);
  EXPECT_EQ(status, -1);
  EXPECT_FALSE(clients[2]->isOk());
}

TEST(DtTcpForwarder, EveryConnectionIsWatchedHoweverManyThereAre) {
  NotifyCapture capture;
  DtTcpForwarder forwarder(0);
  std::vector<std::unique_ptr<DtTcpSocket>> clients;
  for (int i = 0; i < 150; ++i) clients.push_back(std::make_unique<DtTcpSocket>(loopback, forwarder.port(), false));
  for (int round = 0; round < 200 && forwarder.connectionCount() < clients.size(); ++round) {
    forwarder.serviceConnections(0.05);
  }
  ASSERT_EQ(forwarder.connectionCount(), clients.size());
  // The last client's packet ends the very next pass, which relays it to it.
  const std::vector<char> packet = packetOf(24, DtResignMsgKind);
  ASSERT_GT(clients.back()->sendTo(packet.data(), 24, 0), 0);
  waitReadable(forwarder.links().back()->fd());
  forwarder.serviceConnections(30.0);
  char* data = nullptr;
  int status = 0;
  receiveWithin(*clients.back(), &data, &status);
  EXPECT_EQ(status, 1);
}

}  // namespace

namespace {

TEST_F(DtTcpForwarderTest, ConnectionsThatJoinNothingOrLeaveAFrameUnfinishedExpireOnTheForwardersClock) {
  // From the real time on, where the clients were accepted.
  double now = DtRealTime();
  forwarder->setClock([&] { return now; });
  forwarder->setJoinTimeout(5.0);
  ASSERT_NO_FATAL_FAILURE(addClient());
  forwarder->setInProcessOwner([](const char*, std::size_t, std::uint32_t) {});
  const std::vector<DtForwarderLink*> links = forwarder->links();
  // 0 stays silent; 1 has joined, and stops midway in a frame (it may just
  // not tick); 2 stops midway in its join; 3 is slow, but its frames come.
  ASSERT_TRUE(forwarder->bindFederate(links[1]->id(), fillerFederate()));
  const std::vector<char> join = packetOf(92, DtJoinMsgKind), update = packetOf(92, DtUpdateRoMsgKind);
  const auto half = [](const std::vector<char>& frame) { return std::vector<char>(frame.begin(), frame.begin() + 40); };
  sendRaw(clients[1]->descriptor(), half(update));
  sendRaw(clients[2]->descriptor(), half(join));
  sendRaw(clients[3]->descriptor(), half(join));
  for (int round = 0; round < 20; ++round) forwarder->serviceConnections(0.01);
  now += 3.0;
  std::vector<char> rest(join.begin() + 40, join.end());
  const std::vector<char> next = half(join);
  rest.insert(rest.end(), next.begin(), next.end());
  sendRaw(clients[3]->descriptor(), rest);
  for (int round = 0; round < 20; ++round) forwarder->serviceConnections(0.01);
  EXPECT_EQ(forwarder->connectionCount(), 5u) << "nothing expires before its time";
  now += 2.5;
  for (int round = 0; round < 20 && forwarder->connectionCount() > 3; ++round) forwarder->serviceConnections(0.01);
  EXPECT_EQ(forwarder->connectionCount(), 3u) << "the joined client, the slow one and the owner stay";
  EXPECT_EQ(forwarder->expiredCount(), 2u);
  EXPECT_EQ(closed, 2);
  EXPECT_EQ(forwarder->links()[0]->id(), links[1]->id());
  EXPECT_EQ(forwarder->links()[1]->id(), links[3]->id());
}

}  // namespace
