#include "exec/DtExecTimeMgr.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ExecTimeScript.h"
#include "rti/util/NotifyCapture.h"

namespace {

using exectime::Script;

using timescript::Scenario;

void play(const Scenario& scenario) {
  Script script;
  timescript::play(scenario, [&](const std::string& line) { return script.run(line); });
}

TEST(DtExecTimeMgr, RegulationConstraintAndTheLbts) {
  const Scenario scenarios[] = {
      {"the first regulators name the least LBTS and the lag",
       {"reg 1 10 1", "> 56 fed=1 lbts=11 lag=inf", "> 51 fed=1 t=10",  //
        "reg 2 20 1", "> 56 fed=1 lbts=11 lag=21", "> 51 fed=2 t=20",   //
        "reg 3 30 1", "> 51 fed=3 t=30"}},
      {"a constrained federate advancing without regulators gets the infinite bound",
       {"con 1 0 0", "> 53 fed=1 t=0 lbts=inf",  //
        "tar 1 5 0", "> 56 fed=0 lbts=inf lag=inf"}},
      {"an advance that moves neither the least nor the lag LBTS sends nothing",
       {"reg 1 10 1", "> 56 fed=1 lbts=11 lag=inf", "> 51 fed=1 t=10",  //
        "reg 2 20 1", "> 56 fed=1 lbts=11 lag=21", "> 51 fed=2 t=20",   //
        "reg 3 30 1", "> 51 fed=3 t=30",                                //
        "tar 3 40 1",                                                   //
        "tar 2 25 1", "> 56 fed=1 lbts=11 lag=26",                      //
        "tar 1 30 1", "> 56 fed=2 lbts=26 lag=31"}},
      {"lock step: the last of equal regulators to advance stays the least and lifts the bound",
       {"reg 1 0 1", "> 56 fed=1 lbts=1 lag=inf", "> 51 fed=1 t=0",  //
        "reg 2 0 1", "> 56 fed=1 lbts=1 lag=1", "> 51 fed=2 t=0",    //
        "tar 1 1 1", "> 56 fed=2 lbts=1 lag=2",                      //
        "tar 2 1 1", "> 56 fed=2 lbts=2 lag=2"}},
      {"lock step of three: a bound that repeats the values sent last is left out",
       {"reg 1 0 1", "> 56 fed=1 lbts=1 lag=inf", "> 51 fed=1 t=0",  //
        "reg 2 0 1", "> 56 fed=1 lbts=1 lag=1", "> 51 fed=2 t=0",    //
        "reg 3 0 1", "> 51 fed=3 t=0",                               //
        "tar 1 1 1",                                                 // (2, 1, 1): nothing new
        "tar 2 1 1", "> 56 fed=3 lbts=1 lag=2",                      //
        "tar 3 1 1", "> 56 fed=3 lbts=2 lag=2",                      //
        "tar 1 2 1", "tar 2 2 1", "> 56 fed=3 lbts=2 lag=3", "tar 3 2 1", "> 56 fed=3 lbts=3 lag=3"}},
      {"a constrained request equal to the LBTS is accepted; a pending one waits until the LBTS passes it",
       {"reg 1 10 1", "> 56 fed=1 lbts=11 lag=inf", "> 51 fed=1 t=10",  //
        "con 2 11 0", "> 53 fed=2 t=11 lbts=11",                        //
        "con 3 12 0",                                                   //
        "state", "> state reg=1 con=1 pend=1 held=0 sync=0 awaited=0 cycle=0", "tar 1 11 1",
        "> 56 fed=1 lbts=12 lag=inf",  //
        "tar 1 12 1", "> 53 fed=3 t=12 lbts=13", "> 56 fed=1 lbts=13 lag=inf", "state",
        "> state reg=1 con=2 pend=0 held=0 sync=0 awaited=0 cycle=0"}},
      {"a regulator that becomes constrained is bounded by the others only",
       {"reg 1 10 1", "> 56 fed=1 lbts=11 lag=inf", "> 51 fed=1 t=10",  //
        "con 1 10 1", "> 53 fed=1 t=10 lbts=inf",                       //
        "reg 2 20 1", "> 59",                                           //
        "sync 1 10 1", "> 56 fed=1 lbts=11 lag=21", "> 51 fed=2 t=20", "> 61 fed=1 lbts=11 lag=21"}},
      {"disabling and leaving hand the bound to the next regulator",
       {"reg 1 10 1",
        "> 56 fed=1 lbts=11 lag=inf",
        "> 51 fed=1 t=10",  //
        "reg 2 20 1",
        "> 56 fed=1 lbts=11 lag=21",
        "> 51 fed=2 t=20",  //
        "reg 3 30 1",
        "> 51 fed=3 t=30",  //
        "dis 2 0",
        "> 56 fed=1 lbts=11 lag=31",  //
        "dis 2 0",
        "dis 1 7",
        "dis 9 1",  //
        "resign 1",
        "> 56 fed=3 lbts=31 lag=inf",  //
        "resign 1",
        "resign 3",
        "> 56 fed=0 lbts=inf lag=inf",  //
        "state",
        "> state reg=0 con=0 pend=0 held=0 sync=0 awaited=0 cycle=0"}},
      {"requests of another execution are not this one's",
       {"other reg 1 10 1", "other con 2 0 0", "other ner 1 10 1 0", "other dis 1 0", "state",
        "> state reg=0 con=0 pend=0 held=0 sync=0 awaited=0 cycle=0"}},
  };
  for (const Scenario& s : scenarios) play(s);
}

TEST(DtExecTimeMgr, OverTheForwarderABoundThatKeepsTheLeastGoesToTheFederateItNamesAlone) {
  Script script;
  script.connections().carryReliably();
  script.time().setConnectionOf([](std::uint32_t federate) { return federate + 100; });
  const Scenario scenario{"lock step of three on the reliable transport",
                          {"reg 1 0 1",
                           "> 56 fed=1 lbts=1 lag=inf",
                           "> 51 fed=1 t=0",  //
                           "reg 2 0 1",
                           "> 56 fed=1 lbts=1 lag=1",
                           "> 51 fed=2 t=0",  // a new regulator has heard no bound
                           "reg 3 0 1",
                           "> 51 fed=3 t=0",  //
                           "tar 1 1 1",       //
                           "tar 2 1 1",
                           "> 56 fed=3 lbts=1 lag=2",  // nor has federate 3: everyone hears it
                           "tar 3 1 1",
                           "> 56 fed=3 lbts=2 lag=2",  //
                           "tar 1 2 1",
                           "tar 2 2 1",
                           "> 56 fed=3 lbts=2 lag=3 to=103",  // news to the laggard alone
                           "tar 3 2 1",
                           "> 56 fed=3 lbts=3 lag=3",  // the least rose: everyone
                           "join 4",
                           "tar 1 3 1",
                           "tar 2 3 1",
                           "> 56 fed=3 lbts=3 lag=4",  // a newcomer hears it too
                           "tar 3 3 1",
                           "> 56 fed=3 lbts=4 lag=4",  //
                           "tar 1 4 1",
                           "tar 2 4 1",
                           "> 56 fed=3 lbts=4 lag=5 to=103"}};
  timescript::play(scenario, [&](const std::string& line) { return script.run(line); });
}

// A constrained federate may be granted up to the bound it holds without
// asking again, and the bound it holds never falls: a new regulator's LBTS
// starts at the latest bound any other constrained federate holds. One that
// holds infinity (no other regulator bounds it) stops and tells its time
// first; the new LBTS is then not below that time, and past it when its
// last request was not an available one.
TEST(DtExecTimeMgr, ANewRegulatorStartsAboveEveryBoundAConstrainedFederateHolds) {
  const std::vector<std::string> threeRegulators = {"reg 1 40 1",      "> 56 fed=1 lbts=41 lag=inf",
                                                    "> 51 fed=1 t=40",  //
                                                    "reg 2 50 1",      "> 56 fed=1 lbts=41 lag=51",
                                                    "> 51 fed=2 t=50",  //
                                                    "reg 3 60 1",      "> 51 fed=3 t=60"};
  auto with = [](std::vector<std::string> lines, const std::vector<std::string>& rest) {
    lines.insert(lines.end(), rest.begin(), rest.end());
    return lines;
  };
  const Scenario scenarios[] = {
      {"raised to the bound a constrained federate holds, less the lookahead",
       with(threeRegulators, {"con 9 30 0", "> 53 fed=9 t=30 lbts=41",  //
                              "reg 4 10 5", "> 56 fed=1 lbts=41 lag=41", "> 51 fed=4 t=36"})},
      {"the bound held, not the constrained federate's time: its LBTS may be past its time",
       with(threeRegulators, {"con 9 30 0", "> 53 fed=9 t=30 lbts=41",    //
                              "tar 1 45 1", "> 56 fed=1 lbts=46 lag=51",  //
                              "reg 4 10 1", "> 56 fed=1 lbts=46 lag=46", "> 51 fed=4 t=45"})},
      {"not lowered when it starts later", with(threeRegulators, {"con 9 30 0", "> 53 fed=9 t=30 lbts=41",  //
                                                                  "reg 4 70 5", "> 51 fed=4 t=70"})},
      {"a constrained federate that asks to regulate starts above what the others hold, not its own bound",
       with(threeRegulators, {"con 9 30 0", "> 53 fed=9 t=30 lbts=41",    //
                              "con 5 10 0", "> 53 fed=5 t=10 lbts=41",    //
                              "tar 1 45 1", "> 56 fed=1 lbts=46 lag=51",  //
                              "reg 5 10 1", "> 56 fed=1 lbts=46 lag=46", "> 51 fed=5 t=45"})},
      {"one holding infinity is stopped first; its time not available puts the start past it",
       {"con 9 30 0", "> 53 fed=9 t=30 lbts=inf",     //
        "tar 9 30 0", "> 56 fed=0 lbts=inf lag=inf",  //
        "reg 4 10 5", "> 59",                         //
        "sync 9 30 0", "> 56 fed=4 lbts=30.000000000000004 lag=inf", "> 51 fed=4 t=25.000000000000004",
        "> 61 fed=4 lbts=30.000000000000004 lag=inf"}},
      {"its time available: the start at it",
       {"con 9 30 0", "> 53 fed=9 t=30 lbts=inf",      //
        "tara 9 30 0", "> 56 fed=0 lbts=inf lag=inf",  //
        "reg 4 10 5", "> 59",                          //
        "sync 9 30 0", "> 56 fed=4 lbts=30 lag=inf", "> 51 fed=4 t=25", "> 61 fed=4 lbts=30 lag=inf"}},
  };
  for (const Scenario& s : scenarios) play(s);
}

// Two constrained federates at one time, one of them not available: the
// start is past that time whichever answered first.
TEST(DtExecTimeMgr, TiesBetweenConstrainedFederatesDoNotDependOnTheOrderOfArrival) {
  const std::vector<std::string> orders[] = {{"tar 8 30 0", "tara 9 30 0"}, {"tara 9 30 0", "tar 8 30 0"}};
  const std::vector<std::string> answers[] = {{"sync 8 30 0", "sync 9 30 0"}, {"sync 9 30 0", "sync 8 30 0"}};
  for (const auto& order : orders) {
    for (const auto& answer : answers) {
      Script script;
      script.run("con 8 30 0");
      script.run("con 9 30 0");
      for (const std::string& line : order) script.run(line);
      EXPECT_EQ(script.run("reg 4 10 5"), std::vector<std::string>{"59"});
      script.run(answer[0]);
      EXPECT_EQ(script.run(answer[1]),
                (std::vector<std::string>{"56 fed=4 lbts=30.000000000000004 lag=inf", "51 fed=4 t=25.000000000000004",
                                          "61 fed=4 lbts=30.000000000000004 lag=inf"}))
          << order[0] << ", " << answer[0];
    }
  }
}

// A constrained federate that holds infinity: a new regulator waits until
// every constrained federate has told its time.
TEST(DtExecTimeMgr, TheConstrainedSyncHoldsNewRegulatorsUntilEveryoneAnswered) {
  const std::vector<std::string> start = {"con 3 5 0",  "> 53 fed=3 t=5 lbts=inf",  //
                                          "reg 5 40 1", "> 59",                     //
                                          "reg 4 30 1",                             // no second sync
                                          "state",      "> state reg=0 con=1 pend=0 held=2 sync=1 awaited=0 cycle=0"};
  auto with = [&](std::vector<std::string> rest) {
    std::vector<std::string> lines = start;
    lines.insert(lines.end(), rest.begin(), rest.end());
    return lines;
  };
  const std::vector<std::string> carriedOut = {"> 56 fed=4 lbts=31 lag=inf", "> 51 fed=4 t=30",
                                               "> 56 fed=4 lbts=31 lag=41", "> 51 fed=5 t=40",
                                               "> 61 fed=4 lbts=31 lag=41"};
  auto answer = [&](const std::string& line, const char* state) {
    std::vector<std::string> lines = {line};
    lines.insert(lines.end(), carriedOut.begin(), carriedOut.end());
    lines.push_back("state");
    lines.push_back(state);
    return lines;
  };
  const char* withConstrained = "> state reg=2 con=1 pend=0 held=0 sync=0 awaited=0 cycle=0";
  const char* without = "> state reg=2 con=0 pend=0 held=0 sync=0 awaited=0 cycle=0";
  const Scenario scenarios[] = {
      {"carried out in LBTS order when the constrained federate answers", with(answer("sync 3 6 0", withConstrained))},
      {"an answer from a federate not awaited changes nothing",
       with({"sync 9 6 0", "state", "> state reg=0 con=1 pend=0 held=2 sync=1 awaited=0 cycle=0"})},
      {"the awaited federate resigning ends the sync", with(answer("resign 3", without))},
      {"the awaited federate no longer constrained ends the sync", with(answer("dis 3 1", without))},
      {"a held regulator that resigns is not carried out",
       with({"resign 4", "resign 5", "sync 3 6 0", "> 61 fed=0 lbts=inf lag=inf", "state",
             "> state reg=0 con=1 pend=0 held=0 sync=0 awaited=0 cycle=0"})},
  };
  for (const Scenario& s : scenarios) play(s);
}

TEST(DtExecTimeMgr, TheConstrainedSyncWaitsForEveryConstrainedFederate) {
  play({"two constrained, one leaves, the other answers",
        {"con 3 5 0", "> 53 fed=3 t=5 lbts=inf",  //
         "con 4 6 0", "> 53 fed=4 t=6 lbts=inf",  //
         "reg 1 10 1", "> 59",                    //
         "sync 4 6 0",                            //
         "resign 3", "> 56 fed=1 lbts=11 lag=inf", "> 51 fed=1 t=10", "> 61 fed=1 lbts=11 lag=inf"}});
  play({"after the sync the constrained federate holds a bound: the next regulator starts at once",
        {"con 3 5 0", "> 53 fed=3 t=5 lbts=inf",  //
         "reg 1 10 1", "> 59",                    //
         "sync 3 5 0", "> 56 fed=1 lbts=11 lag=inf", "> 51 fed=1 t=10", "> 61 fed=1 lbts=11 lag=inf", "reg 2 20 1",
         "> 56 fed=1 lbts=11 lag=21", "> 51 fed=2 t=20"}});
}

// A next-event request raises its regulator's LBTS only once a cycle has
// confirmed it: the cycle's NER LBTS message asks every waiting regulator
// again, and when all have answered, the LBTS message carries the raise.
TEST(DtExecTimeMgr, NextEventCycles) {
  const Scenario scenarios[] = {
      {"the first request starts cycle 1; its answer raises the LBTS",
       {"reg 1 10 1", "> 56 fed=1 lbts=11 lag=inf", "> 51 fed=1 t=10",  //
        "ner 1 12 1 0", "> 57 cycle=1 fed=1 pending=1 lagPending=0 lbts=13 lag=inf", "state",
        "> state reg=1 con=0 pend=0 held=0 sync=0 awaited=1 cycle=1",  //
        "ner 1 12 1 1", "> 56 fed=1 lbts=13 lag=inf",                  //
        "state", "> state reg=1 con=0 pend=0 held=0 sync=0 awaited=0 cycle=1"}},
      {"an answer of an old cycle leaves the regulator awaited",
       {"reg 1 10 1", "> 56 fed=1 lbts=11 lag=inf", "> 51 fed=1 t=10",  //
        "ner 1 12 1 0", "> 57 cycle=1 fed=1 pending=1 lagPending=0 lbts=13 lag=inf", "ner 1 12 1 0", "state",
        "> state reg=1 con=0 pend=0 held=0 sync=0 awaited=1 cycle=1"}},
      {"raised no further than the others' least LBTS plus its lookahead",
       {"reg 1 10 1", "> 56 fed=1 lbts=11 lag=inf", "> 51 fed=1 t=10",  //
        "reg 2 10 1", "> 56 fed=1 lbts=11 lag=11", "> 51 fed=2 t=10",   //
        "ner 1 20 1 0", "> 57 cycle=1 fed=2 pending=0 lagPending=1 lbts=11 lag=21", "ner 1 20 1 1",
        "> 56 fed=2 lbts=11 lag=12",  // 11 + 1
        "tar 2 15 1", "> 56 fed=1 lbts=12 lag=16", "> 57 cycle=2 fed=2 pending=0 lagPending=1 lbts=16 lag=21",
        "ner 1 20 1 2", "> 56 fed=2 lbts=16 lag=17"}},
      {"an answer with an earlier event lowers the raise",
       {"reg 1 0 1", "> 56 fed=1 lbts=1 lag=inf", "> 51 fed=1 t=0",  //
        "reg 2 9 1", "> 56 fed=1 lbts=1 lag=10", "> 51 fed=2 t=9",   //
        "ner 1 20 1 0", "> 57 cycle=1 fed=2 pending=0 lagPending=1 lbts=10 lag=21", "ner 1 3 1 1",
        "> 56 fed=1 lbts=4 lag=10"}},
      {"a time advance request leaves next-event mode and ends the cycle",
       {"reg 1 10 1", "> 56 fed=1 lbts=11 lag=inf", "> 51 fed=1 t=10",  //
        "ner 1 12 1 0", "> 57 cycle=1 fed=1 pending=1 lagPending=0 lbts=13 lag=inf", "tar 1 12 1",
        "> 56 fed=1 lbts=13 lag=inf",  //
        "state", "> state reg=1 con=0 pend=0 held=0 sync=0 awaited=0 cycle=1"}},
      {"a regulator that leaves during the cycle still bounds it with what it may have sent",
       {"reg 1 0 1", "> 56 fed=1 lbts=1 lag=inf", "> 51 fed=1 t=0",  //
        "reg 2 0 1", "> 56 fed=1 lbts=1 lag=1", "> 51 fed=2 t=0",    //
        "ner 1 20 1 0", "> 57 cycle=1 fed=2 pending=0 lagPending=1 lbts=1 lag=21", "dis 2 0",
        "> 56 fed=1 lbts=1 lag=inf",  //
        "ner 1 20 1 1", "> 56 fed=1 lbts=2 lag=inf", "> 57 cycle=2 fed=1 pending=1 lagPending=0 lbts=21 lag=inf",
        "ner 1 20 1 2", "> 56 fed=1 lbts=21 lag=inf"}},
  };
  for (const Scenario& s : scenarios) play(s);
}

// TARA 163, TARA 164 and TAR 162.5 with lookaheads 2, 2 and 0.5, and a NER
// 164 of a federate granted 162 with lookahead 0.5: the TAR waits for the
// NER federate's LBTS, which the cycle raises to 163.5.
TEST(DtExecTimeMgr, ANextEventRequestLetsATimeAdvanceRequestThatWaitsForItGoOn) {
  Script script;
  for (const char* line :
       {"reg 1 0 2", "reg 2 0 2", "reg 3 0 0.5", "reg 4 0 0.5", "tara 1 163 2", "tara 2 164 2", "tar 4 162 0.5"}) {
    script.run(line);
  }
  EXPECT_EQ(script.run("tar 3 162.5 0.5"), std::vector<std::string>{"56 fed=4 lbts=162.5 lag=163"});
  EXPECT_EQ(script.run("ner 4 164 0.5 0"),
            std::vector<std::string>{"57 cycle=1 fed=3 pending=0 lagPending=1 lbts=163 lag=164.5"});
  EXPECT_EQ(script.run("ner 4 164 0.5 1"), std::vector<std::string>{"56 fed=3 lbts=163 lag=163.5"});
}

TEST(DtExecTimeMgr, ANextEventRequestOfAFederateThatDoesNotRegulateIsDropped) {
  NotifyCapture notes(1);
  Script script;
  EXPECT_EQ(script.run("ner 4 12 1 0"), std::vector<std::string>{});
  EXPECT_EQ(notes.text(), "Received NER from 4 but LBTS entry does not exist\n");
  EXPECT_EQ(script.state(), "state reg=0 con=0 pend=0 held=0 sync=0 awaited=0 cycle=0");
}

TEST(DtExecTimeMgr, AnAdvanceNeedsNoNewTimesOnceThePoolHoldsTwo) {
  Script script;
  script.run("reg 1 0 1");
  script.run("reg 2 0 1");
  script.run("tar 1 1 1");
  RTI::FedTime* a = script.time().getTempTime();
  RTI::FedTime* b = script.time().getTempTime();
  script.time().putTempTime(a);
  script.time().putTempTime(b);
  script.run("tar 2 1 1");
  EXPECT_EQ(script.time().getTempTime(), b);  // the spares go round
  EXPECT_EQ(script.time().getTempTime(), a);
  delete a;
  delete b;
}

}  // namespace
