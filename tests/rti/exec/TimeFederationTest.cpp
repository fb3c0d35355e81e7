// Time management in federations run by the real rtiexec program, with
// scripted federates as the federates: regulation and constraint, the
// advance requests and their grants, time-stamped traffic delivered in
// order at its grant, retraction, next-event requests, lookahead
// reduction, the constrained sync, and a regulator that dies.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <regex>
#include <string>
#include <vector>

#include "ExecFederation.h"
#include "RelayPeer.h"
#include "TimeFederate.h"
#include "fedtime.hh"
#include "msg/DtTimeMsgs.h"
#include "support/Sentinels.h"
#include "support/WaitUntil.h"

using namespace exectest;
using namespace timetest;

namespace {

// A federation with time management on, its rtiexec running; its FED file
// has the Sentinel class.
class TimeFederation : public ClockFederation {
protected:
  TimeFederation() : ClockFederation(true) {}
};

// A federate that takes part in sentinels.
class Federate : public timetest::Federate {
public:
  Federate() : timetest::Federate(WithSentinels{}) {}
};

// A regulator, a constrained federate and one that is both.
TEST_F(TimeFederation, ThreeFederatesAdvanceByTheLbts) {
  Federate a, b, c;
  a.run({"create Clock Clock.fed", "join Clock A", "publish-interaction Shot", "publish Tank Pos"});
  b.run({"join Clock B", "subscribe-interaction Shot", "subscribe Tank Pos"});
  c.run({"join Clock C"});
  a.run({"register Tank T1"});
  EXPECT_EQ(a.run({"enable-regulation 0 1", "wait timeRegulationEnabled"}), Lines{"timeRegulationEnabled 0"});
  EXPECT_EQ(b.run({"enable-constrained", "wait timeConstrainedEnabled"}), Lines{"timeConstrainedEnabled 0"});
  c.run({"enable-regulation 0 1"});  // starts a constrained sync, which B answers
  EXPECT_EQ(c.waitWhileTicking("timeRegulationEnabled", b), Lines{"timeRegulationEnabled 0"});
  EXPECT_EQ(c.run({"enable-constrained", "wait timeConstrainedEnabled"}), Lines{"timeConstrainedEnabled 0"});
  b.process().command("wait discoverObjectInstance");

  // A's time-stamped traffic, one shot retracted before anyone sees it.
  a.run({"send-interaction-at 3 Shot s3 Power=3", "send-interaction-at 2 Shot s2 Power=2", "update-at 2 T1 u2 Pos=2",
         "delete-at 4 T1 gone", "send-interaction-at 4 Shot s4 Power=4"});
  a.run({"retract " + a.result()});
  EXPECT_EQ(b.runAndSettle({"tar 5"}, a), Lines{}) << "nothing before the grant, no grant before A and C advance";
  EXPECT_EQ(a.run({"tar 10", "wait timeAdvanceGrant"}), Lines{"timeAdvanceGrant 10"});
  EXPECT_EQ(b.takeAnswersTo(a), Lines{}) << "C still holds the LBTS at 1";
  EXPECT_EQ(c.run({"tar 10", "wait timeAdvanceGrant"}), Lines{"timeAdvanceGrant 10"});
  const Lines atB = b.run({"wait timeAdvanceGrant"});
  ASSERT_EQ(atB.size(), 5u) << ::testing::PrintToString(atB);
  EXPECT_NE(atB[0].find(" {0=\"2\"} 2 \"s2\""), std::string::npos) << atB[0];
  EXPECT_NE(atB[1].find(" {1=\"2\"} 2 \"u2\""), std::string::npos) << atB[1];
  EXPECT_NE(atB[2].find(" {0=\"3\"} 3 \"s3\""), std::string::npos) << atB[2];
  EXPECT_EQ(atB[3].rfind("removeObjectInstance ", 0), 0u) << atB[3];
  EXPECT_NE(atB[3].find(" 4 \"gone\""), std::string::npos) << atB[3];
  EXPECT_EQ(atB[4], "timeAdvanceGrant 5");
  EXPECT_EQ(b.run({"query-lbts"}), Lines{});
  EXPECT_EQ(b.result(), "11");

  // Up to the LBTS: TAR waits, TARA is granted; a flush grants the LBTS.
  EXPECT_EQ(b.runAndSettle({"tar 11"}, a), Lines{});
  EXPECT_EQ(a.run({"tar 20", "wait timeAdvanceGrant"}), Lines{"timeAdvanceGrant 20"});
  a.run({"send-interaction-at 25 Shot s25 Power=25"});  // past the LBTS to come: only a flush delivers it
  EXPECT_EQ(c.run({"tar 20", "wait timeAdvanceGrant"}), Lines{"timeAdvanceGrant 20"});
  EXPECT_EQ(b.run({"wait timeAdvanceGrant"}), Lines{"timeAdvanceGrant 11"});
  EXPECT_EQ(b.run({"tara 21", "wait timeAdvanceGrant"}), Lines{"timeAdvanceGrant 21"});
  const Lines flushed = b.run({"flush 30", "wait timeAdvanceGrant"});
  ASSERT_EQ(flushed.size(), 2u) << ::testing::PrintToString(flushed);
  EXPECT_NE(flushed[0].find(" 25 \"s25\""), std::string::npos) << flushed[0];
  EXPECT_EQ(flushed[1], "timeAdvanceGrant 21");

  EXPECT_EQ(b.command("enable-regulation 21 1").rfind("ok", 0), 0u);
  EXPECT_EQ(b.command("tar 22"), "error tar EnableTimeRegulationPending \"\"");
  for (Federate* f : {&a, &b, &c}) f->run({"resign delete-and-release"});
}

TEST_F(TimeFederation, RetractionHandlesOfOthersOrOfThePastAreRefused) {
  Federate a, b;
  a.run({"create Clock Clock.fed", "join Clock A", "publish-interaction Shot", "enable-regulation 0 1",
         "wait timeRegulationEnabled", "send-interaction-at 3 Shot s3"});
  const std::string handle = a.result();
  b.run({"join Clock B"});
  EXPECT_EQ(b.command("retract " + handle), "error retract InvalidRetractionHandle \"\"");
  a.run({"tar 5", "wait timeAdvanceGrant"});
  EXPECT_EQ(a.command("retract " + handle), "error retract InvalidRetractionHandle \"\"");
  EXPECT_EQ(a.command("enable-constrained").rfind("ok", 0), 0u);
  a.run({"wait timeConstrainedEnabled"});
  a.run({"tar 6"});
  EXPECT_EQ(a.command("enable-regulation 6 1"), "error enable-regulation TimeRegulationAlreadyEnabled \"\"");
  EXPECT_EQ(a.command("disable-regulation").rfind("ok", 0), 0u);
  EXPECT_EQ(a.command("enable-regulation 6 1"), "error enable-regulation TimeAdvanceAlreadyInProgress \"\"");
  for (Federate* f : {&a, &b}) f->run({"resign delete-and-release"});
}

TEST_F(TimeFederation, NextEventRequestsDeliverEveryEventOfATimeBeforeItsGrant) {
  Federate a, b;
  a.run({"create Clock Clock.fed", "join Clock A", "publish-interaction Shot", "enable-regulation 0 1",
         "wait timeRegulationEnabled"});
  b.run({"join Clock B", "subscribe-interaction Shot", "enable-constrained", "wait timeConstrainedEnabled"});
  a.run({"send-interaction-at 7 Shot first Power=1", "send-interaction-at 8 Shot later Power=3",
         "send-interaction-at 7 Shot second Power=2", "tar 10", "wait timeAdvanceGrant"});
  const Lines first = b.run({"ner 15", "wait timeAdvanceGrant"});
  ASSERT_EQ(first.size(), 3u) << ::testing::PrintToString(first);
  EXPECT_NE(first[0].find(" 7 \"first\""), std::string::npos) << first[0];
  EXPECT_NE(first[1].find(" 7 \"second\""), std::string::npos) << first[1];
  EXPECT_EQ(first[2], "timeAdvanceGrant 7");
  const Lines next = b.run({"ner 15", "wait timeAdvanceGrant"});
  ASSERT_EQ(next.size(), 2u) << ::testing::PrintToString(next);
  EXPECT_NE(next[0].find(" 8 \"later\""), std::string::npos) << next[0];
  EXPECT_EQ(next[1], "timeAdvanceGrant 8");
  // Nothing more queued: the federate waits for the LBTS to pass 15.
  EXPECT_EQ(b.runAndSettle({"ner 15"}, a), Lines{});
  a.run({"tar 20", "wait timeAdvanceGrant"});
  EXPECT_EQ(b.run({"wait timeAdvanceGrant"}), Lines{"timeAdvanceGrant 15"});
  for (Federate* f : {&a, &b}) f->run({"resign delete-and-release"});
}

// Two federates that regulate and are constrained, each asking for its next
// event one step ahead from inside every grant.
TEST_F(TimeFederation, NextEventCyclesAdvanceTwoFederatesInLockStep) {
  Federate a, b;
  a.run({"create Clock Clock.fed", "join Clock A", "enable-regulation 0 1", "wait timeRegulationEnabled",
         "enable-constrained", "wait timeConstrainedEnabled"});
  b.run({"join Clock B", "enable-regulation 0 1"});
  EXPECT_EQ(b.waitWhileTicking("timeRegulationEnabled", a), Lines{"timeRegulationEnabled 0"});
  b.run({"enable-constrained", "wait timeConstrainedEnabled"});
  // Both tick by themselves while the test waits for their grants.
  std::map<Federate*, std::size_t> from;
  for (Federate* f : {&a, &b}) {
    from[f] = f->process().lines().size();
    f->run({"on timeAdvanceGrant ner-by 1", "background-tick on", "ner 1"});
  }
  const auto grants = [&](Federate& f) { return only(f.callbacksSince(from[&f]), {"timeAdvanceGrant"}); };
  const auto waitForGrants = [&](Federate& f, std::size_t count) {
    return waitUntil([&] { return grants(f).size() >= count; }, [&] { f.process().readLine(0.1); }, 10);
  };
  for (Federate* f : {&a, &b}) ASSERT_TRUE(waitForGrants(*f, 20)) << grants(*f).size() << " grants";
  // Stopped, each has asked for one step more from inside its last grant:
  // in lock step they stop at most one step apart, and the one behind (or
  // each, when neither is) is granted its step; then both stand at the
  // same time (the one ahead waits for the other to pass it).
  std::map<Federate*, std::size_t> stoppedAt;
  for (Federate* f : {&a, &b}) {
    f->run({"off timeAdvanceGrant"});
    stoppedAt[f] = grants(*f).size();
  }
  const std::size_t behind = std::min(stoppedAt[&a], stoppedAt[&b]);
  ASSERT_LE(std::max(stoppedAt[&a], stoppedAt[&b]) - behind, 1u) << "in lock step";
  for (Federate* f : {&a, &b}) {
    if (stoppedAt[f] == behind) {
      ASSERT_TRUE(waitForGrants(*f, behind + 1));
    }
  }
  const Lines atA = grants(a);
  const Lines atB = grants(b);
  for (const Lines* lines : {&atA, &atB}) {
    for (std::size_t i = 0; i < lines->size(); ++i) EXPECT_EQ((*lines)[i], "timeAdvanceGrant " + std::to_string(i + 1));
  }
  EXPECT_EQ(atA.size(), atB.size());
  for (Federate* f : {&a, &b}) f->run({"background-tick off", "resign delete-and-release"});
}

TEST_F(TimeFederation, ALookaheadReductionTakesEffectOverTheFollowingGrants) {
  Federate a, b;
  a.run({"create Clock Clock.fed", "join Clock A", "enable-regulation 0 5", "wait timeRegulationEnabled",
         "modify-lookahead 1"});
  // Constrained and not advancing, B takes interactions in receive order
  // (the sentinels) only with asynchronous delivery.
  b.run({"join Clock B", "enable-constrained", "wait timeConstrainedEnabled", "enable-async"});
  const std::pair<int, const char*> steps[] = {{2, "5"}, {4, "5"}, {6, "7"}};
  const char* lookaheads[] = {"3", "1", "1"};
  for (std::size_t i = 0; i < 3; ++i) {
    a.run({"tar " + std::to_string(steps[i].first), "wait timeAdvanceGrant", "query-lookahead"});
    EXPECT_EQ(a.result(), lookaheads[i]) << "after the grant of " << steps[i].first;
    b.takeAnswersTo(a);
    b.run({"query-lbts"});
    EXPECT_EQ(b.result(), steps[i].second) << "after A's grant of " << steps[i].first;
  }
  for (Federate* f : {&a, &b}) f->run({"resign delete-and-release"});
}

// A federate that asks to be constrained past the LBTS waits for the LBTS;
// a new regulator starts where the bound a constrained federate holds is:
// B holds A's LBTS 26 and may be granted up to it without asking again.
TEST_F(TimeFederation, ConstrainedFederatesWaitForTheLbtsAndHoldNewRegulatorsBack) {
  Federate a, b, c;
  a.run({"create Clock Clock.fed", "join Clock A", "enable-regulation 0 1", "wait timeRegulationEnabled"});
  b.run({"join Clock B", "tar 20", "wait timeAdvanceGrant"});
  EXPECT_EQ(b.runAndSettle({"enable-constrained"}, a), Lines{});
  a.run({"tar 19", "wait timeAdvanceGrant"});
  EXPECT_EQ(b.takeAnswersTo(a), Lines{}) << "LBTS 20 is not past 20";
  a.run({"tar 25", "wait timeAdvanceGrant"});
  EXPECT_EQ(b.run({"wait timeConstrainedEnabled"}), Lines{"timeConstrainedEnabled 20"});
  c.run({"join Clock C", "enable-regulation 0 1"});
  EXPECT_EQ(c.waitWhileTicking("timeRegulationEnabled", b), Lines{"timeRegulationEnabled 25"});
  for (Federate* f : {&a, &b, &c}) f->run({"resign delete-and-release"});
}

// A regulator killed: once the rtiexec resigns it, it holds nobody back.
TEST_F(TimeFederation, AKilledRegulatorStopsHoldingTheLbts) {
  Federate a, b;
  a.run({"create Clock Clock.fed", "join Clock A", "enable-regulation 0 1", "wait timeRegulationEnabled"});
  b.run({"join Clock B", "enable-constrained", "wait timeConstrainedEnabled"});
  EXPECT_EQ(b.runAndSettle({"tar 100"}, a), Lines{});
  a.process().signal(SIGKILL);
  EXPECT_EQ(b.run({"wait timeAdvanceGrant 10"}), Lines{"timeAdvanceGrant 100"});
  b.run({"query-lbts"});
  EXPECT_EQ(b.result(), "inf");
  b.run({"resign delete-and-release"});
}

// A bound whose time does not decode, sent to the rtiexec's relay by a peer
// that is no federate: it is refused there, never reaches a federate, and
// time goes on.
TEST_F(TimeFederation, AForgedMalformedTimeBoundIsRefusedAndTimeGoesOn) {
  Federate a, b;
  a.run({"create Clock Clock.fed", "join Clock A", "enable-regulation 0 1", "wait timeRegulationEnabled"});
  b.run({"join Clock B", "enable-constrained", "wait timeConstrainedEnabled", "tar 5"});

  DtLbtsMsg bogus(9, RTIfedTime(50), RTIfedTime(60), nullptr);
  bogus.setFedEx(1);
  std::vector<char> bytes(bogus.data(), bogus.data() + bogus.size());
  std::fill(bytes.begin() + 16, bytes.begin() + 24, '\xff');  // the LBTS: a NaN
  RelayPeer relay(federation_.port());
  ASSERT_TRUE(relay.connected());
  ASSERT_TRUE(relay.write(bytes.data(), bytes.size()));
  const std::string refused = federation_.exec().waitFor("TcpForwarder: connection ", 10);
  EXPECT_NE(refused.find("sent a message that only the rtiexec makes"), std::string::npos) << refused;

  b.run({"query-lbts"});
  EXPECT_EQ(b.result(), "1") << "not granted on the bogus bound";
  a.run({"tar 10", "wait timeAdvanceGrant"});
  EXPECT_EQ(b.run({"wait timeAdvanceGrant"}), Lines{"timeAdvanceGrant 5"});
  for (Federate* f : {&a, &b}) f->run({"resign delete-and-release"});
}

}  // namespace
