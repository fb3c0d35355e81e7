// Connections that do not take part: one that never speaks, or leaves a
// message unfinished, is closed after RTI_tcpJoinTimeout; strangers that
// fill RTI_tcpMaxConnections make room for a federate that comes to join.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "ExecFederation.h"
#include "RawExecClient.h"

using namespace exectest;

namespace {

TEST(RtiExecStrangers, SilentAndHalfFinishedConnectionsAreClosedAfterTheJoinTimeout) {
  ExecFederation federation(std::string(reliableForms) + "(setq RTI_tcpJoinTimeout 1.0)\n");
  ASSERT_TRUE(federation.startExec());
  RawExecClient silent(federation.port());
  RawExecClient half(federation.port());
  const std::vector<char> join = rawFrame(DtJoinMsgKind, 0, 0, joinBody(half.connection(), "H", "X"));
  ASSERT_TRUE(half.send(std::vector<char>(join.begin(), join.begin() + 12)));  // 12 of its 92 bytes
  // A federate that joins and then says nothing but its heartbeat stays.
  auto a = ExecFederation::federate();
  ASSERT_EQ(a->command("create X Road.fed"), "ok create");
  ASSERT_EQ(a->command("join X A"), "ok join 1");
  EXPECT_TRUE(silent.closedWithin(10));
  EXPECT_TRUE(half.closedWithin(10));
  EXPECT_TRUE(succeeds(*a, "tick 1.5"));
  EXPECT_TRUE(succeeds(*a, "publish Vehicle Position"));
  EXPECT_EQ(a->command("resign none"), "ok resign");
  EXPECT_EQ(a->command("destroy X"), "ok destroy");
}

TEST(RtiExecStrangers, StrangersAtTheConnectionLimitMakeRoomForAFederate) {
  // The rtiexec's own connection and three more.
  ExecFederation federation(std::string(reliableForms) + "(setq RTI_tcpMaxConnections 4)\n");
  ASSERT_TRUE(federation.startExec());
  auto a = ExecFederation::federate();
  ASSERT_EQ(a->command("create X Road.fed"), "ok create");
  ASSERT_EQ(a->command("join X A"), "ok join 1");
  std::vector<std::unique_ptr<RawExecClient>> strangers;
  for (int i = 0; i < 4; ++i) strangers.push_back(std::make_unique<RawExecClient>(federation.port()));
  // The first stranger made room for the last.
  EXPECT_TRUE(strangers[0]->closedWithin(10));
  auto b = ExecFederation::federate();
  EXPECT_EQ(b->command("join X B"), "ok join 2");
  // Now every place but one is a federate's: the longest silent stranger
  // went for B, the other made room for C.
  auto c = ExecFederation::federate();
  EXPECT_EQ(c->command("join X C"), "ok join 3");
  // All joined: a newcomer is refused.
  RawExecClient refused(federation.port());
  EXPECT_TRUE(refused.closedWithin(10));
  EXPECT_NE(federation.exec().waitFor("TcpForwarder: refused a connection from 127.0.0.1: 4 connections are open", 10),
            "");
  for (ScriptedFederateProcess* federate : {c.get(), b.get(), a.get()}) {
    EXPECT_EQ(federate->command("resign none"), "ok resign");
  }
  EXPECT_TRUE(resignsHandled(federation.exec(), {1, 2, 3}));
  EXPECT_EQ(a->command("destroy X"), "ok destroy");
}

}  // namespace
