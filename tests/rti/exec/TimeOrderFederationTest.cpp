// Time-stamp order with the real rtiexec program and scripted federates, in
// the cases that used to break it: a new regulator below a bound already
// held, best-effort time-stamped messages overtaken by the bound that lets
// their receiver advance past them, time advance and next-event requests
// waiting on each other, and retraction callbacks where the event never
// arrived. Every wait ends on an event: a grant, an enable, or a
// synchronization point announced after everything the test looks at.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TimeFederate.h"

using namespace timetest;

namespace {

// The index of the first line that starts with the text; lines.size() when
// there is none.
std::size_t firstOf(const Lines& lines, const std::string& start) {
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (lines[i].rfind(start, 0) == 0) return i;
  }
  return lines.size();
}

std::size_t countWith(const Lines& lines, const std::string& text) {
  std::size_t n = 0;
  for (const std::string& line : lines) n += line.find(text) != std::string::npos ? 1 : 0;
  return n;
}

void joinRegulating(Federate& f, const std::string& name, const std::string& lookahead) {
  f.run({"join Clock " + name, "enable-regulation 0 " + lookahead, "wait timeRegulationEnabled"});
}

// D holds the LBTS 100 of A (lookahead 100) and may be granted up to it
// without asking again: E, enabling regulation at 0 with lookahead 1,
// starts at 99, and nothing E sends can reach D below what D was granted.
TEST_F(TimeOrderFederation, ANewRegulatorStartsAboveTheBoundAConstrainedFederateHolds) {
  Federate a, d, e;
  a.run({"create Clock Clock.fed"});
  joinRegulating(a, "A", "100");
  d.run({"join Clock D", "subscribe-interaction Shot", "enable-constrained", "wait timeConstrainedEnabled",
         "query-lbts"});
  EXPECT_EQ(d.result(), "100");
  e.run({"join Clock E", "publish-interaction Shot", "enable-regulation 0 1"});
  EXPECT_EQ(e.run({"wait timeRegulationEnabled"}), Lines{"timeRegulationEnabled 99"});
  EXPECT_EQ(d.run({"tar 50", "wait timeAdvanceGrant"}), Lines{"timeAdvanceGrant 50"});
  EXPECT_EQ(e.command("send-interaction-at 10 Shot early Power=1")
                .rfind("error send-interaction-at InvalidFederationTime", 0),
            0u);
  e.run({"send-interaction-at 100 Shot e100 Power=1", "disable-regulation"});
  a.run({"disable-regulation"});
  const Lines atD = d.run({"tar 200", "wait timeAdvanceGrant"});
  ASSERT_EQ(atD.size(), 2u) << ::testing::PrintToString(atD);
  EXPECT_NE(atD[0].find(" 100 \"e100\""), std::string::npos) << atD[0];
  EXPECT_EQ(atD[1], "timeAdvanceGrant 200");
  for (Federate* f : {&a, &d, &e}) f->run({"resign delete-and-release"});
}

// Three regulators; A, constrained too, holds the others' LBTS 100; D,
// constrained and holding A's LBTS 5, asks to regulate with lookahead 1:
// it must start at 99, past its own LBTS, and so gets there as an advance
// would: once its LBTS allows, with A's event stamped 10 delivered first.
TEST_F(TimeOrderFederation, AConstrainedFederateThatAsksToRegulateWaitsForItsStartAsAnAdvance) {
  Federate a, b, c, d;
  a.run({"create Clock Clock.fed"});
  joinRegulating(a, "A", "5");
  a.run({"publish-interaction Shot"});
  joinRegulating(b, "B", "100");
  joinRegulating(c, "C", "100");
  a.run({"enable-constrained", "wait timeConstrainedEnabled", "query-lbts"});
  EXPECT_EQ(a.result(), "100");
  d.run({"join Clock D", "subscribe-interaction Shot", "enable-constrained", "wait timeConstrainedEnabled",
         "query-lbts"});
  EXPECT_EQ(d.result(), "5");
  a.run({"send-interaction-at 10 Shot a10 Power=1"});
  d.run({"enable-regulation 0 1"});
  EXPECT_EQ(a.run({"tar 94", "wait timeAdvanceGrant"}), Lines{"timeAdvanceGrant 94"});
  const Lines atD = d.run({"wait timeRegulationEnabled"});
  ASSERT_EQ(atD.size(), 2u) << ::testing::PrintToString(atD);
  EXPECT_NE(atD[0].find(" 10 \"a10\""), std::string::npos) << atD[0];
  EXPECT_EQ(atD[1], "timeRegulationEnabled 99");
  for (Federate* f : {&a, &b, &c, &d}) f->run({"resign delete-and-release"});
}

// 300 best-effort interactions stamped 10, then a TAR 20 of their sender:
// the bound that lets B advance to 20 comes by TCP, the interactions by UDP.
// B reads what its UDP socket holds before it acts on the bound: every
// interaction comes before its grant, none after it.
TEST_F(TimeOrderFederation, BestEffortTimeStampedEventsAreNotOvertakenByTheBound) {
  Federate a, b;
  a.run({"create Clock Clock.fed"});
  joinRegulating(a, "A", "1");
  a.run({"publish-interaction Flare", "publish-interaction Shot"});
  b.run({"join Clock B", "subscribe-interaction Flare", "subscribe-interaction Shot", "enable-constrained",
         "wait timeConstrainedEnabled", "tar 20"});
  std::vector<std::string> flares;
  for (int i = 0; i < 300; ++i) flares.push_back("send-interaction-at 10 Flare f" + std::to_string(i) + " Power=1");
  a.run(flares);
  a.run({"tar 20", "wait timeAdvanceGrant", "send-interaction-at 25 Shot sentinel Power=1", "tar 30",
         "wait timeAdvanceGrant"});
  const Lines atB = b.run({"wait timeAdvanceGrant", "tar 30", "wait timeAdvanceGrant"});
  const std::size_t grant20 = firstOf(atB, "timeAdvanceGrant 20");
  ASSERT_LT(grant20, atB.size()) << ::testing::PrintToString(atB);
  const Lines before(atB.begin(), atB.begin() + static_cast<long>(grant20));
  const Lines after(atB.begin() + static_cast<long>(grant20), atB.end());
  EXPECT_GT(countWith(before, "\"f"), 0u);
  EXPECT_EQ(countWith(after, "\"f"), 0u) << "a best-effort event stamped 10 after the grant of 20";
  EXPECT_EQ(countWith(after, "\"sentinel\""), 1u);
  for (Federate* f : {&a, &b}) f->run({"resign delete-and-release"});
}

// TARA 163, TARA 164, TAR 162.5 and NER 164 with lookaheads 2, 2, 0.5 and
// 0.5, the NER federate having sent an event stamped 162.5: nothing below
// 163.5 can still come from it, so the TAR is granted, and then the TARA 163.
TEST_F(TimeOrderFederation, ANextEventRequestDoesNotHoldBackATimeAdvanceRequestItWaitsFor) {
  Federate a, b, c, d;
  a.run({"create Clock Clock.fed"});
  const std::pair<Federate*, const char*> federates[] = {{&a, "2"}, {&b, "2"}, {&c, "0.5"}, {&d, "0.5"}};
  const char* names[] = {"A", "B", "C", "D"};
  for (int i = 0; i < 4; ++i) joinRegulating(*federates[i].first, names[i], federates[i].second);
  d.run({"publish-interaction Shot"});
  c.run({"subscribe-interaction Shot"});
  for (auto& [f, lookahead] : federates) f->run({"enable-constrained", "wait timeConstrainedEnabled"});
  for (auto& [f, lookahead] : federates) f->run({"tar 162"});
  for (auto& [f, lookahead] : federates) EXPECT_EQ(f->run({"wait timeAdvanceGrant"}), Lines{"timeAdvanceGrant 162"});
  d.run({"send-interaction-at 162.5 Shot d162.5 Power=1", "ner 164"});
  // D ticks (it answers the rtiexec's next-event cycles) until A's
  // synchronization point tells it the test is over.
  d.process().send("wait announceSynchronizationPoint 20");
  a.run({"tara 163"});
  b.run({"tara 164"});
  const Lines atC = c.run({"tar 162.5", "wait timeAdvanceGrant"});
  ASSERT_EQ(atC.size(), 2u) << ::testing::PrintToString(atC);
  EXPECT_NE(atC[0].find(" 162.5 \"d162.5\""), std::string::npos) << atC[0];
  EXPECT_EQ(atC[1], "timeAdvanceGrant 162.5");
  EXPECT_EQ(a.run({"wait timeAdvanceGrant"}), Lines{"timeAdvanceGrant 163"});
  a.run({"register-sync over"});
  EXPECT_EQ(d.process().waitFor("ok wait"), "ok wait announceSynchronizationPoint");
  for (Federate* f : {&a, &b, &c, &d}) f->run({"resign delete-and-release"});
}

// A retracts an interaction that B (subscribed, constrained) and E
// (subscribed, not constrained) received: they are asked to retract it; C
// (constrained) and F (not constrained), subscribed to nothing, never saw
// it and hear nothing. A's synchronization point, announced after the
// retraction, is the sentinel.
TEST_F(TimeOrderFederation, OnlyTheFederatesThatReceivedAnEventHearOfItsRetraction) {
  Federate a, b, c, e, f;
  a.run({"create Clock Clock.fed"});
  joinRegulating(a, "A", "1");
  a.run({"publish-interaction Shot"});
  b.run({"join Clock B", "subscribe-interaction Shot", "enable-constrained", "wait timeConstrainedEnabled"});
  c.run({"join Clock C", "enable-constrained", "wait timeConstrainedEnabled"});
  e.run({"join Clock E", "subscribe-interaction Shot"});
  f.run({"join Clock F"});
  a.run({"send-interaction-at 8 Shot s8 Power=1"});
  const std::string handle = a.result();  // <serial>/<federate>
  a.run({"tar 8", "wait timeAdvanceGrant"});
  const Lines atB = b.run({"tar 8.5", "wait timeAdvanceGrant"});
  EXPECT_EQ(countWith(atB, "\"s8\""), 1u) << ::testing::PrintToString(atB);
  EXPECT_EQ(c.run({"tar 8.5", "wait timeAdvanceGrant"}), Lines{"timeAdvanceGrant 8.5"});
  EXPECT_EQ(countWith(e.run({"wait receiveInteraction"}), "\"s8\""), 1u);
  a.run({"retract " + handle, "register-sync over"});
  const std::string asked = "requestRetraction " + handle;
  const std::pair<Federate*, bool> expectations[] = {{&b, true}, {&c, false}, {&e, true}, {&f, false}};
  for (const auto& [federate, isAsked] : expectations) {
    const Lines seen = federate->run({"wait announceSynchronizationPoint"});
    EXPECT_EQ(countWith(seen, asked), isAsked ? 1u : 0u) << ::testing::PrintToString(seen);
  }
  for (Federate* x : {&a, &b, &c, &e, &f}) x->run({"resign delete-and-release"});
}

}  // namespace
