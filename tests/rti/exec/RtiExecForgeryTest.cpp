// A connection to the rtiexec speaks for its own federate only: frames
// written by hand, by a stranger that never joined or by a client that
// joined as a federate of its own, naming another federate or of a kind
// only the rtiexec makes, are refused (reported, the connection closed)
// and the federation goes on undisturbed; a stranger hears none of an
// execution's traffic; a datagram naming a federate is taken only from
// where that federate joined.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "ExecFederation.h"
#include "RawExecClient.h"
#include "msg/DtSyncPointMsg.h"
#include "rti/net/NetTestSupport.h"

using namespace exectest;

namespace {

// A (handle 1) hears the horn that B (handle 2) blows; B has a car.
class Forgery : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(federation.startExec());
    a = ExecFederation::federate();
    b = ExecFederation::federate();
    ASSERT_NO_FATAL_FAILURE(joinCarWatch(*a, *b, true));
  }

  // Both still joined, and B's horn still reaches A.
  ::testing::AssertionResult undisturbed() {
    if (!succeeds(*b, "send-interaction Horn - Loudness=1")) return ::testing::AssertionFailure() << "B cannot blow";
    const std::string heard = a->command("wait receiveInteraction 10", 15);
    if (heard != "ok wait receiveInteraction") return ::testing::AssertionFailure() << "A heard: " << heard;
    for (const std::string& line : federation.exec().lines()) {
      if (line.rfind("Resign: federate 1 ", 0) == 0 || line.rfind("Resign: federate 2 ", 0) == 0) {
        return ::testing::AssertionFailure() << "the rtiexec printed " << line;
      }
    }
    return ::testing::AssertionSuccess();
  }

  // The raw client joins X as federate R, which gets the handle.
  void joinRaw(RawExecClient& client, int handle) {
    ASSERT_TRUE(client.send(rawFrame(DtJoinMsgKind, 0, 0, joinBody(client.connection(), "R", "X"))));
    std::vector<char> answer;
    while ((answer = client.next(10)).size() >= 5 && answer[4] != DtJoinResponseMsgKind) {
    }
    ASSERT_GE(answer.size(), 36u);
    ASSERT_EQ(DtGetBigEndian<std::uint32_t>(&answer[32]), static_cast<std::uint32_t>(handle));
    ASSERT_TRUE(
        client.send(rawFrame(DtJoinConfirmMsgKind, static_cast<std::uint16_t>(handle), 1, joinBody(0, "R", ""))));
    ASSERT_NE(federation.exec().waitFor("Join: federate R has joined X with handle " + std::to_string(handle), 10), "");
  }

  ExecFederation federation;
  std::unique_ptr<ScriptedFederateProcess> a;
  std::unique_ptr<ScriptedFederateProcess> b;
};

struct ForgedFrame {
  const char* name;
  std::vector<char> frame;
  const char* refusal;  // what the rtiexec says of it
};

TEST_F(Forgery, EveryForgedFrameOfAStrangerIsRefusedAndItsConnectionClosed) {
  const std::vector<ForgedFrame> table = {
      {"a resign naming A", rawFrame(DtResignMsgKind, 1, 1, numberBody(3)), "a message before joining an execution"},
      {"a disconnect of A's connection", rawFrame(DtDisconnectMsgKind, 0, 0, numberBody(2)),
       "a message that only the rtiexec makes"},
      {"an alive, to listen", rawFrame(DtAliveMsgKind, 0, 1), "a message before joining an execution"},
      {"an update in B's name", rawFrame(DtUpdateRoMsgKind, 2, 1, std::vector<char>(56, 0)),
       "a message before joining an execution"},
      {"a time bound", rawFrame(DtLbtsMsgKind, 0, 1, std::vector<char>(8, 0)), "a message that only the rtiexec makes"},
      {"a designated federate", rawFrame(DtDesignatedFederateMsgKind, 0, 1, numberBody(2)),
       "a message that only the rtiexec makes"},
      {"a join response", rawFrame(DtJoinResponseMsgKind, 0, 0, std::vector<char>(96, 0)),
       "a message that only the rtiexec makes"},
      {"a save order", rawFrame(DtSaveInitiateMsgKind, 0, 1, std::vector<char>(8, 0)),
       "a message that only the rtiexec makes"},
      {"an answer to A's resignation", rawFrame(DtResignResponseMsgKind, 1, 1),
       "a message that only the rtiexec makes"},
  };
  for (const ForgedFrame& forged : table) {
    SCOPED_TRACE(forged.name);
    RawExecClient stranger(federation.port());
    ASSERT_NE(stranger.connection(), 0u);
    ASSERT_TRUE(stranger.send(forged.frame));
    std::vector<std::vector<char>> heard;
    EXPECT_TRUE(stranger.closedWithin(10, &heard));
    EXPECT_TRUE(heard.empty()) << heard.size() << " frames heard";
    const std::string said = federation.exec().waitFor(
        "TcpForwarder: connection " + std::to_string(stranger.connection()) + " from 127.0.0.1 sent", 10);
    EXPECT_NE(said.find(forged.refusal), std::string::npos) << said;
    EXPECT_TRUE(undisturbed());
  }
  EXPECT_EQ(a->command("resign none"), "ok resign");
  EXPECT_EQ(b->command("resign delete"), "ok resign");
  EXPECT_TRUE(resignsHandled(federation.exec(), {1, 2}));
  EXPECT_EQ(a->command("destroy X"), "ok destroy");
}

TEST_F(Forgery, AClientThatJoinedSpeaksForItsOwnFederateOnly) {
  // Frames of a federate of the client's own making, each on a connection
  // of its own: in its own name they pass, in another's they are refused.
  const std::vector<std::pair<const char*, std::vector<char>>> table = {
      {"a resign naming A", rawFrame(DtResignMsgKind, 1, 1, numberBody(3))},
      {"an update in B's name", rawFrame(DtUpdateRoMsgKind, 2, 1, std::vector<char>(56, 0))},
      {"an alive for A", rawFrame(DtAliveMsgKind, 1, 1)},
      {"a synchronization point in A's name", rawFrame(DtSyncPointMsgKind, 1, 1, std::vector<char>(8, 0))},
      {"a time advance request in A's name", rawFrame(DtTimeAdvanceRequestMsgKind, 1, 1, std::vector<char>(12, 0))},
  };
  int handle = 3;
  for (const auto& [name, frame] : table) {
    SCOPED_TRACE(name);
    RawExecClient client(federation.port());
    ASSERT_NO_FATAL_FAILURE(joinRaw(client, handle));
    // Its own heartbeat passes; the forged frame closes its connection,
    // and its federate is resigned for it.
    ASSERT_TRUE(client.send(rawFrame(DtAliveMsgKind, static_cast<std::uint16_t>(handle), 1)));
    ASSERT_TRUE(client.send(frame));
    EXPECT_TRUE(client.closedWithin(10));
    EXPECT_NE(federation.exec().waitFor("TcpForwarder: connection " + std::to_string(client.connection()) +
                                            " from 127.0.0.1 sent a message in another federate's name",
                                        10),
              "");
    EXPECT_NE(federation.exec().waitFor("Resign: federate " + std::to_string(handle) + " has resigned X.", 10), "");
    EXPECT_TRUE(undisturbed());
    ++handle;
  }
}

// A registration of the label's characters (the zero that ends it
// counted) by federate 3.
std::vector<char> registration(const std::string& label) {
  std::vector<char> body(8, 0);
  DtPutBigEndian(std::uint16_t{3}, body.data() + 2);  // federate id
  body[5] = static_cast<char>(label.size() + 1);      // name size
  body.insert(body.end(), label.begin(), label.end());
  body.push_back('\0');
  return rawFrame(DtSyncPointMsgKind, 3, 1, body);
}

// The sub-kind of the next synchronization point message the client hears.
int nextSyncAnswer(RawExecClient& client) {
  for (std::vector<char> frame; !(frame = client.next(10)).empty();) {
    if (frame[4] == DtSyncPointMsgKind && frame.size() >= 12) return DtGetBigEndian<std::uint16_t>(&frame[8]);
  }
  return -1;
}

TEST_F(Forgery, ASynchronizationLabelWithAZeroByteInsideIsRefused) {
  RawExecClient client(federation.port());
  ASSERT_NO_FATAL_FAILURE(joinRaw(client, 3));
  ASSERT_TRUE(client.send(registration(std::string("P\0Q", 3))));
  EXPECT_EQ(nextSyncAnswer(client), DtSyncPointFailed);
  ASSERT_TRUE(client.send(registration("P")));
  EXPECT_EQ(nextSyncAnswer(client), DtSyncPointSucceeded);
  EXPECT_TRUE(undisturbed());
}

TEST_F(Forgery, AStrangerHearsNothingOfTheExecutionAndItsAnswersAreItsOwn) {
  RawExecClient stranger(federation.port());
  // A create of another execution is answered to it alone.
  std::vector<char> create = rawFrame(DtCreateMsgKind, 77, 0, std::vector<char>(65, 0));
  std::memcpy(create.data() + 8, "Y", 1);
  ASSERT_TRUE(stranger.send(create));
  const std::vector<char> answer = stranger.next(10);
  ASSERT_GE(answer.size(), 8u);
  EXPECT_EQ(answer[4], DtCreateResponseMsgKind);
  EXPECT_EQ(DtGetBigEndian<std::uint16_t>(&answer[2]), 77) << "its ticket back";
  // A and B talk, create and join other things; none of it reaches it.
  auto c = ExecFederation::federate();
  EXPECT_EQ(c->command("join X C"), "ok join 3");
  for (int i = 0; i < 3; ++i) ASSERT_TRUE(undisturbed());
  EXPECT_EQ(c->command("resign none"), "ok resign");
  const std::vector<char> more = stranger.next(1.0);
  EXPECT_TRUE(more.empty()) << "heard kind " << (more.size() > 4 ? static_cast<int>(more[4]) : -1);
  EXPECT_FALSE(stranger.closed());
  EXPECT_TRUE(undisturbed());
}

// Sends a datagram to the federation's group from `from` (an address of
// the loopback).
void sendDatagram(int port, std::uint32_t from, const std::vector<char>& bytes) {
  const int fd = DtPortUdpSocket();
  ASSERT_GE(fd, 0);
  DtPortBind(fd, DtSockAddr{from, 0});
  DtPortSetMulticastInterface(fd, 0x7F000001u);
  EXPECT_EQ(DtPortSendTo(fd, bytes.data(), bytes.size(), DtSockAddr{nettest::groupFor(port), port}),
            static_cast<long>(bytes.size()));
  DtPortCloseSocket(fd);
}

TEST_F(Forgery, ADatagramInTheNameOfAFederateThatJoinedOnItsConnectionIsRefused) {
  sendDatagram(federation.port(), 0x7F000001u, rawFrame(DtResignMsgKind, 1, 1, numberBody(3)));
  EXPECT_NE(federation.exec().waitFor("rtiexec: a datagram from 127.0.0.1: refused a message in a federate's name "
                                      "from elsewhere (kind 7, federate 1)",
                                      10),
            "");
  EXPECT_TRUE(undisturbed());
}

// With the RTI's own messages in datagrams, a federate speaks from the
// address it joined from.
TEST(ForgeryOverDatagrams, ADatagramNamingAFederateIsTakenOnlyFromTheAddressItJoinedFrom) {
  ExecFederation federation("(setq RTI_useRtiExec 1)\n(setq RTI_dumpFed 0)\n");
  ASSERT_TRUE(federation.startExec());
  auto a = ExecFederation::federate();
  ASSERT_EQ(a->command("create X Road.fed"), "ok create");
  ASSERT_EQ(a->command("join X A"), "ok join 1");
  sendDatagram(federation.port(), 0x7F000002u, rawFrame(DtResignMsgKind, 1, 1, numberBody(3)));
  EXPECT_NE(federation.exec().waitFor("rtiexec: a datagram from 127.0.0.2: refused a message in a federate's name "
                                      "from elsewhere (kind 7, federate 1)",
                                      10),
            "");
  EXPECT_EQ(a->command("resign none"), "ok resign");
  EXPECT_NE(federation.exec().waitFor("Resign: federate 1 has resigned X.", 10), "");
  EXPECT_EQ(a->command("destroy X"), "ok destroy");
}

}  // namespace
