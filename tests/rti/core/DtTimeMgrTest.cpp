#include "core/DtTimeMgr.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "TimeMgrScript.h"
#include "rti/util/FakeNoticeClock.h"
#include "rti/util/NotifyCapture.h"

namespace {

using timescript::Script;

using timescript::Scenario;

void play(const Scenario& scenario, Script& script) {
  timescript::play(scenario, [&](const std::string& line) { return script.run(line); });
}

void play(const Scenario& scenario) {
  Script script;
  play(scenario, script);
}

// The steps that make this federate constrained with the LBTS given.
std::vector<std::string> constrainedAt(const std::string& lbts, std::vector<std::string> then) {
  std::vector<std::string> lines = {"con", "> 52 t=0 la=0", "<53 0 " + lbts, "> constrainedEnabled 0"};
  lines.insert(lines.end(), then.begin(), then.end());
  return lines;
}

// Whether an advance to t is granted: a constrained federate is granted a
// time below its LBTS, or equal to it for the available forms; nobody while
// the constrained federates are held for a new regulator.
TEST(DtTimeMgr, CanGrantFollowsTheLbtsRule) {
  struct Case {
    const char* request;
    bool constrained;
    bool held;
    bool granted;
  };
  const Case cases[] = {
      {"tar 9", true, false, true},    {"tar 10", true, false, false},  {"tara 10", true, false, true},
      {"tara 11", true, false, false}, {"tar 11", false, false, true},  {"tar 9", true, true, false},
      {"tara 10", false, true, true},  {"flush 20", true, true, false},
  };
  for (const Case& c : cases) {
    Script script;
    if (c.constrained) {
      script.run("con");
      script.run("<53 0 10");
    }
    if (c.held) script.run("<59");
    script.run(c.request);
    const std::vector<std::string> log = script.run("tick");
    const bool granted = !log.empty() && log.back().rfind("grant ", 0) == 0;
    EXPECT_EQ(granted, c.granted) << c.request << (c.constrained ? " constrained" : "") << (c.held ? " held" : "");
  }
}

// What the queue does with a received message, by the federate's state.
TEST(DtTimeMgr, TheQueueDecidesByOrderAndState) {
  struct Case {
    const char* name;
    std::vector<std::string> setup;
    const char* message;
    std::vector<std::string> expected;  // logged when the message comes in
  };
  const std::vector<std::string> idle = constrainedAt("10", {});
  auto advancing = [&](const char* request, const char* lbts = "10") {
    std::vector<std::string> lines = constrainedAt(lbts, {});
    lines.push_back(request);
    lines.push_back("tick");
    return lines;
  };
  const Case cases[] = {
      {"not constrained: a time-stamped message passes without its time", {}, "<tso 5 3 1", {"ro 5"}},
      {"not constrained: a receive-order message passes", {}, "<ro 5", {"ro 5"}},
      {"constrained and idle: a time-stamped message waits", idle, "<tso 5 3 1", {}},
      {"constrained and idle: a receive-order message is held", idle, "<ro 5", {}},
      {"constrained, advancing: a receive-order message passes", advancing("tar 20"), "<ro 5", {"ro 5"}},
      {"constrained, advancing: a stamp at what was delivered passes",
       advancing("tar 20"),
       "<tso 5 10 1",
       {"tso 5 10 1"}},
      {"a stamp below the LBTS comes too late: dropped", advancing("tar 20"), "<tso 5 7 1", {}},
      {"a stamp below the granted time comes too late: dropped",
       [&] {
         std::vector<std::string> lines = constrainedAt("10", {"tara 4", "tick", "tar 20", "tick"});
         return lines;
       }(),
       "<tso 5 3 1",
       {}},
      {"constrained, advancing: a stamp past what was delivered waits", advancing("tar 20"), "<tso 5 12 1", {}},
      {"stamped before the federate became constrained: dropped", advancing("tar 20", "0"), "<tso 5 -1 1", {}},
      {"stamped at the time it became constrained, after a TAR: passes",
       advancing("tar 20", "0"),
       "<tso 5 0 1",
       {"tso 5 0 1"}},
      {"stamped at a time granted by a TAR: dropped",
       constrainedAt("inf", {"tar 5", "tick", "tar 20"}),
       "<tso 5 5 1",
       {}},
      {"stamped at the time it became constrained, after a TARA: passes",
       advancing("tara 20", "0"),
       "<tso 5 0 1",
       {"tso 5 0 1"}},
      {"with asynchronous delivery a receive-order message passes",
       [&] {
         std::vector<std::string> lines = idle;
         lines.push_back("async");
         return lines;
       }(),
       "<ro 5",
       {"ro 5"}},
  };
  for (const Case& c : cases) {
    Script script;
    for (const std::string& line : c.setup) script.run(line);
    EXPECT_EQ(script.run(c.message), c.expected) << c.name;
  }
}

// A time-stamped message that comes after the bound passed its stamp (a
// best-effort one that lost the race) is never delivered: it is dropped,
// counted, and reported at most once a second.
TEST(DtTimeMgr, LateTimeStampedMessagesAreDroppedCountedAndReportedOnceASecond) {
  FakeNoticeClock clock;
  NotifyCapture notes(1);
  Script script;
  for (const std::string& line : constrainedAt("10", {"tar 20", "tick"})) script.run(line);
  for (const char* late : {"<tso 5 3 1", "<tso 5 4 2", "<tso 6 9 1"}) {
    EXPECT_EQ(script.run(late), std::vector<std::string>{}) << late;
  }
  EXPECT_EQ(script.timeMgr().msgQueue()->lateDropped(), 3u);
  // One line (it may tell of reports of earlier tests held back).
  EXPECT_EQ(
      notes.text().rfind(
          "RTI: a time-stamped message stamped 3 came after the bound had passed it (LBTS 10): dropped, 1 so far", 0),
      0u)
      << notes.text();
  const std::string first = notes.text();
  EXPECT_EQ(std::count(first.begin(), first.end(), '\n'), 1);
  clock.advance(1.5);
  script.run("<tso 5 5 3");
  EXPECT_NE(notes.text().find("stamped 5 came after the bound had passed it (LBTS 10): dropped, 4 so far "
                              "(2 more like it not printed)\n"),
            std::string::npos)
      << notes.text();
  EXPECT_EQ(script.run("<tso 5 10 4"), std::vector<std::string>{"tso 5 10 4"}) << "at the LBTS: in time";
}

TEST(DtTimeMgr, RegulationConstraintAndAdvances) {
  const Scenario scenarios[] = {
      {"regulation is enabled at the time the rtiexec grants",
       {"reg 3 1", "> 50 t=3 la=1", "reg 3 1", "> ! EnableTimeRegulationPending", "tar 5",
        "> ! EnableTimeRegulationPending", "<51 3", "> regulationEnabled 3", "reg 3 1",
        "> ! TimeRegulationAlreadyEnabled", "query", "> lbts=inf time=3 la=1 min=inf"}},
      {"a regulator that is not constrained is granted at the next tick",
       {"reg 0 1", "> 50 t=0 la=1", "<51 0", "> regulationEnabled 0", "tar 5", "> 54 t=5 la=1 avail=0", "tick",
        "> grant 5", "tar 4", "> ! FederationTimeAlreadyPassed"}},
      {"a TAR waits for the LBTS to pass it; the rtiexec's bound is the least or, named, the lag",
       constrainedAt("1", {"tar 5", "> 54 t=5 la=0 avail=0", "tick", "<56 9 5 20", "<56 2 5 20", "> grant 5", "query",
                           "> lbts=20 time=5 la=0 min=20", "<56 9 7 8", "query", "> lbts=20 time=5 la=0 min=20"})},
      {"enabling while an advance is pending is refused",
       constrainedAt("1", {"tar 5", "> 54 t=5 la=0 avail=0", "reg 0 1", "> ! TimeAdvanceAlreadyInProgress", "dcon",
                           "> 58 service=1", "tick", "> grant 5", "con", "> 52 t=5 la=0", "tar 6",
                           "> ! EnableTimeConstrainedPending"})},
      {"a flush grants the LBTS after delivering everything queued",
       constrainedAt("0", {"<tso 5 30 1", "<tso 5 8 2", "<56 9 10 10", "flush 40", "tick", "> 54 t=10 la=0 avail=1",
                           "> tso 5 8 2", "> tso 5 30 1", "> grant 10"})},
      {"a zero lookahead is epsilon during a TAR and reported as zero",
       {"reg 0 0", "> 50 t=0 la=0", "<51 0", "> regulationEnabled 0", "tar 5", "> 54 t=5 la=5e-324 avail=0", "query",
        "> lbts=inf time=0 la=0 min=inf", "tick", "> grant 5", "tara 6", "> 54 t=6 la=0 avail=1"}},
  };
  for (const Scenario& s : scenarios) play(s);

  Script script;
  script.federate().onGrant = [&] {
    if (!(script.timeMgr().federateTime() == RTIfedTime(5))) return;
    script.timeMgr().timeAdvanceRequest(RTIfedTime(6));
  };
  play({"a request made from inside the grant stands",
        constrainedAt("10", {"tar 5", "> 54 t=5 la=0 avail=0", "tick", "> grant 5", "> 54 t=6 la=0 avail=0", "tick",
                             "> grant 6"})},
       script);
}

TEST(DtTimeMgr, TimeStampedMessagesReachTheFederateInOrderAtTheirGrant) {
  play({"in time-stamp order, ties first in first out, receive-order ones first",
        constrainedAt("0",
                      {"<tso 5 9 1", "<tso 6 4 1", "<ro 5", "<tso 6 9 2", "<tso 5 15 2", "<56 9 20 20", "query",
                       "> lbts=20 time=0 la=0 min=4", "tar 9", "> 54 t=9 la=0 avail=0", "tick", "> ro 5", "> tso 6 4 1",
                       "> tso 5 9 1", "> tso 6 9 2", "> grant 9", "query", "> lbts=20 time=9 la=0 min=15"})});
  play({"never before the grant: what waits past the LBTS stays queued",
        constrainedAt("0", {"<tso 5 7 1", "<tso 5 3 2", "<56 9 5 5", "tar 8", "> 54 t=8 la=0 avail=0", "tick",
                            "> tso 5 3 2", "<56 9 9 9", "> tso 5 7 1", "> grant 8"})});
}

TEST(DtTimeMgr, Retraction) {
  play({"a queued message is withdrawn silently; a delivered one is asked back; one never received is not",
        constrainedAt("0", {"<tso 5 9 1",  "<tso 5 9 1",
                            "<tso 5 12 2", "<tso 6 9 7",
                            "<56 9 20 20", "<62 5 1",
                            "tar 10",      "> 54 t=10 la=0 avail=0",
                            "tick",        "> tso 6 9 7",
                            "> grant 10",  "<62 5 2",
                            "query",       "> lbts=20 time=10 la=0 min=20",
                            "<62 6 7",     "> requestRetraction 6 7",
                            "<62 6 7",     "<62 6 8",
                            "<62 5 1",     "<62 2 7"})});
  play({"own messages can be retracted until their time has passed", {"reg 0 1",     "> 50 t=0 la=1",
                                                                      "<51 0",       "> regulationEnabled 0",
                                                                      "send 3 1",    "> 45 t=3 serial=1",
                                                                      "send 8 2",    "> 45 t=8 serial=2",
                                                                      "retract 1 9", "> ! InvalidRetractionHandle",
                                                                      "retract 7",   "> ! InvalidRetractionHandle",
                                                                      "retract 2",   "> 62 serial=2",
                                                                      "retract 2",   "> ! InvalidRetractionHandle",
                                                                      "tar 5",       "> 54 t=5 la=1 avail=0",
                                                                      "tick",        "> grant 5",
                                                                      "retract 1",   "> ! InvalidRetractionHandle"}});
}

TEST(DtTimeMgr, NextEventRequests) {
  play({"events of one time stamp all go out before that time is granted",
        constrainedAt("0",
                      {"<tso 5 7 1", "<tso 6 7 1", "<tso 5 8 2", "<56 9 20 20", "ner 15", "tick", "> tso 5 7 1",
                       "> tso 6 7 1", "> 54 t=7 la=0 avail=0", "> grant 7", "query", "> lbts=20 time=7 la=0 min=8"})});
  play({"without events the request goes to the rtiexec, again in each cycle; the LBTS that follows grants it",
        {"reg 0 1", "> 50 t=0 la=1", "<51 0", "> regulationEnabled 0", "con", "> 52 t=0 la=1", "<53 0 1",
         "> constrainedEnabled 0", "ner 15", "tick", "> 55 t=15 la=1 avail=0 cycle=0", "<57 1 9 1 0 12 30",
         "> 55 t=15 la=1 avail=0 cycle=1", "<57 1 9 1 0 12 30", "<57 2 9 1 0 16 30", "> 55 t=15 la=1 avail=0 cycle=2",
         "<56 9 16 30", "> 54 t=15 la=1 avail=0", "> grant 15"}});
  play({"a federate that does not regulate asks the rtiexec nothing: the LBTS grants it",
        constrainedAt("1", {"ner 15", "tick", "<56 9 16 16", "> 54 t=15 la=0 avail=0", "> grant 15"})});
  play({"a queued event before the requested time is in the request, its own sent ones are not",
        {"reg 0 2", "> 50 t=0 la=2", "<51 0", "> regulationEnabled 0", "con", "> 52 t=0 la=2", "<53 0 1",
         "> constrainedEnabled 0", "send 3 1", "> 45 t=3 serial=1", "<tso 5 4 1", "ner 10", "tick",
         "> 55 t=4 la=2 avail=0 cycle=0"}});
  play({"an event arriving while waiting is delivered and granted",
        constrainedAt("1", {"ner 15", "tick", "<tso 5 6 1", "tick", "<56 9 7 9", "> tso 5 6 1", "> 54 t=6 la=0 avail=0",
                            "> grant 6"})});
}

TEST(DtTimeMgr, ALookaheadReductionTakesEffectOverTheFollowingGrants) {
  play({"from 5 to 1 while advancing by 2",
        {"reg 10 5",
         "> 50 t=10 la=5",
         "<51 10",
         "> regulationEnabled 10",
         "modla 1",
         "query",
         "> lbts=inf time=10 la=5 min=inf",
         "tar 12",
         "> 54 t=12 la=3 avail=0",
         "tick",
         "> grant 12",
         "query",
         "> lbts=inf time=12 la=3 min=inf",
         "tar 14",
         "> 54 t=14 la=1 avail=0",
         "tick",
         "> grant 14",
         "tar 20",
         "> 54 t=20 la=1 avail=0",
         "modla 3",
         "> 54 t=14 la=3 avail=0",
         "modla -1",
         "> ! InvalidLookahead"}});
}

TEST(DtTimeMgr, TheConstrainedSyncHoldsGrants) {
  play(
      {"held from the sync to the resume", constrainedAt("1", {"<59", "> 60 t=0 la=0", "tar 5", "> 54 t=5 la=0 avail=0",
                                                               "<56 9 10 10", "tick", "<61 9 10 10", "> grant 5"})});
}

TEST(DtTimeMgr, MalformedTimeMessagesNeverReachIt) {
  // A bound whose time does not decode (a NaN) or whose size field runs
  // past the message is refused when it is read.
  DtLbtsMsg lbts(9, RTIfedTime(5), RTIfedTime(6), nullptr);
  std::vector<char> bytes(lbts.data(), lbts.data() + lbts.size());
  std::fill(bytes.begin() + 16, bytes.begin() + 24, '\xff');
  DtDfltMsgFactory factory;
  int status = 0;
  EXPECT_EQ(factory.createReceived(bytes.data(), static_cast<int>(bytes.size()), nullptr, &status), nullptr);
  std::vector<char> longer(lbts.data(), lbts.data() + lbts.size());
  longer[13] = 40;
  EXPECT_EQ(factory.createReceived(longer.data(), static_cast<int>(longer.size()), nullptr, &status), nullptr);
}

}  // namespace
