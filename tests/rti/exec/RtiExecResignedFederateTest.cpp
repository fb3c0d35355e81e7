// A federate that the rtiexec resigns (the operator's delete, a heartbeat
// that stopped, a receiver that stopped reading) is told at once: the
// rtiexec closes its connection, and its next tick throws
// RTI::RTIinternalError with the reason; the others drop whatever it still
// sends. A federate that resigns and closes at once is taken as resigned,
// with the action it asked, however its connection ends.

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "ExecFederation.h"

using namespace exectest;

namespace {

// Ticks until a tick fails, at most `ticks` times; the failing line.
std::string tickUntilTold(ScriptedFederateProcess& federate, int ticks = 20) {
  for (int i = 0; i < ticks; ++i) {
    const std::string result = federate.command("tick 0.5");
    if (result.rfind("error ", 0) == 0 || result.empty()) return result;
  }
  return "no tick failed";
}

TEST(ResignedByTheRtiexec, TheOperatorsDeleteIsToldAfterTheFederateDidWhatItsResignationAsks) {
  ExecFederation federation;
  ASSERT_TRUE(federation.startExec());
  auto a = ExecFederation::federate();
  auto b = ExecFederation::federate();
  ASSERT_NO_FATAL_FAILURE(joinCarWatch(*a, *b));

  federation.exec().send("delete 2 X");
  EXPECT_NE(federation.exec().waitFor("Resign: federate 2 has resigned X.", 10), "");
  EXPECT_EQ(tickUntilTold(*b),
            "error tick RTIinternalError \"The rtiexec closed the connection: the rtiexec's operator resigned this "
            "federate (delete command)\"");
  EXPECT_EQ(a->command("wait removeObjectInstance 10"), "ok wait removeObjectInstance");
  EXPECT_EQ(a->command("resign none"), "ok resign");
  EXPECT_EQ(a->command("destroy X"), "ok destroy");
}

TEST(ResignedByTheRtiexec, AFederateWhoseHeartbeatStoppedIsToldAndWhatItSendsAfterIsDropped) {
  ExecFederation federation(std::string(reliableForms) +
                            "(setq RTI_federateHeartbeatInterval 0.1)\n(setq RTI_federateTimeoutInterval 1.0)\n");
  ASSERT_TRUE(federation.startExec());
  auto a = ExecFederation::federate();
  auto b = ExecFederation::federate();
  ASSERT_NO_FATAL_FAILURE(joinCarWatch(*a, *b, true));
  // Its horn goes in datagrams, which nobody but the others' RTIs filter.
  ASSERT_TRUE(succeeds(*b, "interaction-transport Horn best_effort"));
  ASSERT_TRUE(succeeds(*b, "send-interaction Horn - Loudness=1"));
  ASSERT_EQ(a->command("wait receiveInteraction 10"), "ok wait receiveInteraction");

  // A ticks (its heartbeat goes on) until B's resignation took its car.
  b->signal(SIGSTOP);
  EXPECT_EQ(a->command("wait removeObjectInstance 15", 20), "ok wait removeObjectInstance");
  EXPECT_NE(federation.exec().waitFor("Lost contact with federate B(2) in federation X", 5, true), "");
  b->signal(SIGCONT);
  // Before its first tick, it still believes it is joined, and blows.
  ASSERT_TRUE(succeeds(*b, "send-interaction Horn - Loudness=2"));
  EXPECT_EQ(a->command("wait receiveInteraction 1"), "error wait failure \"no receiveInteraction within 1 s\"");
  EXPECT_EQ(tickUntilTold(*b),
            "error tick RTIinternalError \"The rtiexec closed the connection: the rtiexec resigned this federate: no "
            "heartbeat came from it for more than 1 s (RTI_federateTimeoutInterval)\"");
  EXPECT_EQ(a->command("resign none"), "ok resign");
  EXPECT_EQ(a->command("destroy X"), "ok destroy");
}

TEST(ResignedByTheRtiexec, AReceiverThatStopsReadingIsClosedAtTheQueueLimitAndToldAtOnce) {
  // A limit of 1 MiB rather than the default 32: the sender reaches it fast
  // under any build.
  ExecFederation federation(std::string(reliableForms) + "(setq RTI_tcpMaxQueuedBytes 1048576)\n");
  ASSERT_TRUE(federation.startExec());
  auto a = ExecFederation::federate();
  auto b = ExecFederation::federate();
  ASSERT_NO_FATAL_FAILURE(joinCarWatch(*a, *b));

  // A reads nothing while B sends it 18 MB of reliable updates: past the
  // 1 MiB that may wait for one federate, and what the system buffers
  // (some 8 MB on either side of a loopback connection).
  a->signal(SIGSTOP);
  constexpr int updates = 300;
  for (int i = 0; i < updates; ++i) b->send("update car - Name#60000");
  for (int i = 0; i < updates; ++i) ASSERT_NE(b->waitFor("ok update", 30), "") << i;
  // B ticks, as a sender does, and its RTI sends on what its connection
  // could not take at once.
  std::string full;
  for (int i = 0; i < 120 && full.empty(); ++i) {
    ASSERT_TRUE(succeeds(*b, "tick 0.1"));
    full = federation.exec().waitFor("bytes wait to be sent: the peer stopped reading", 0.5, true);
  }
  EXPECT_NE(full, "");
  EXPECT_NE(federation.exec().waitFor("Lost connection to federate A(1) in federation X", 10), "");
  a->signal(SIGCONT);
  EXPECT_EQ(tickUntilTold(*a),
            "error tick RTIinternalError \"The rtiexec reset the TCP connection: it resigned this federate, which did "
            "not read what was sent to it fast enough (or the rtiexec ended)\"");
  // The sender goes on.
  EXPECT_EQ(b->command("resign delete"), "ok resign");
  EXPECT_EQ(b->command("destroy X"), "ok destroy");
}

// A federate that resigns and ends at once, with traffic it never read (its
// connection then ends in a reset): the rtiexec handles the resignation it
// sent before the loss of the connection, with the action it asked.
TEST(ResignBeforeLoss, AResignationJustBeforeTheConnectionEndsIsHandledAsAsked) {
  ExecFederation federation;
  ASSERT_TRUE(federation.startExec());
  auto a = ExecFederation::federate();
  ASSERT_EQ(a->command("create X Road.fed"), "ok create");
  ASSERT_EQ(a->command("join X A"), "ok join 1");
  ASSERT_TRUE(succeeds(*a, "publish Vehicle Position Name"));
  for (int round = 0; round < 3; ++round) {
    SCOPED_TRACE(round);
    const int handle = 2 + round;
    const std::string car = "car" + std::to_string(round);
    auto b = ExecFederation::federate();
    ASSERT_EQ(b->command("join X B"), "ok join " + std::to_string(handle));
    ASSERT_TRUE(succeeds(*b, "subscribe Vehicle Position Name"));
    ASSERT_TRUE(succeeds(*a, "register Vehicle " + car));
    ASSERT_EQ(b->command("wait discoverObjectInstance 10"), "ok wait discoverObjectInstance");
    for (int i = 0; i < 50; ++i) ASSERT_TRUE(succeeds(*a, "update " + car + " - Name#4000"));
    b->send("resign none");
    b->closeInput();
    EXPECT_EQ(b->waitFor("done", 10), "done");
    EXPECT_NE(federation.exec().waitFor("Resign: federate " + std::to_string(handle) + " has resigned X.", 10), "");
  }
  // Nobody's resignation was taken for a lost connection.
  EXPECT_EQ(a->command("resign delete"), "ok resign");
  EXPECT_NE(federation.exec().waitFor("Resign: federate 1 has resigned X.", 10), "");
  EXPECT_FALSE(printed(federation.exec().lines(), "Lost connection to federate B")) << federation.exec().text();
  // A peer that resigned and closed ended normally: no error line for it.
  EXPECT_FALSE(printed(federation.exec().lines(), "closing connection")) << federation.exec().text();
  EXPECT_EQ(a->command("destroy X"), "ok destroy");
}

}  // namespace
