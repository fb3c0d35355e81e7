// The rtiexec's executions, driven in-process from a table of scenarios:
// create (twice), destroy (with and without federates), join (of a missing
// execution, handles in the order of the requests), the resent join
// response, the designated federate, lost heartbeats, lost connections and
// the hand-over of a resigning federate's attributes. Each scenario lists
// what the rtiexec sends and prints, in order, and what it must not print.

#include <gtest/gtest.h>

#include <functional>

#include "ExecTestSupport.h"

using namespace exectest;

namespace {

struct Scenario {
  const char* name;
  std::string rid;
  std::function<void(ExecHarness&)> steps;
  std::vector<std::string> sent;
  std::vector<std::string> printed;  // in this order, among the rest
  std::vector<std::string> notPrinted;
};

const char* const heartbeats = "(setq RTI_federateHeartbeatInterval 1.0)\n(setq RTI_federateTimeoutInterval 5.0)\n";

std::string joinResponse(int to, const char* federate, int handle) {
  return "JoinResponse to=" + std::to_string(to) + " X " + federate + " execution=1 handle=" + std::to_string(handle) +
         " error=0 fed=x.fed exec=0";
}

// X with A (1), B (2) and C (3) joined.
void threeJoined(ExecHarness& h) {
  h.create("X");
  h.joinAndConfirm("X", "A", 11, 1, 1);
  h.joinAndConfirm("X", "B", 12, 2, 1);
  h.joinAndConfirm("X", "C", 13, 3, 1);
}

std::vector<std::string> handlesOf(DtFedExec* execution) {
  std::vector<std::string> names;
  for (DtFederate* federate : execution->federates())
    names.push_back(std::string(federate->getName()) + "=" + std::to_string(federate->getHandle()));
  return names;
}

const Scenario scenarios[] = {
    {"CreateTwiceAndHandlesNeverGivenAgain",
     "",
     [](ExecHarness& h) {
       h.create("X");
       h.create("X");
       h.create("Y");
       h.destroy("Y");
       h.create("Z", "dir/z.fed");
       EXPECT_EQ(h.exec().fedExec("X")->fedExHandle(), 1);
       EXPECT_EQ(h.exec().fedExec("Z")->fedExHandle(), 3);
       EXPECT_EQ(h.exec().executionList().size(), 2u);
     },
     {"CreateResponse X 0", "CreateResponse X 1", "CreateResponse Y 0", "DestroyResponse Y 0", "CreateResponse Z 0"},
     {"Create: execution X created.  Handle: 1.  FED file: x.fed\n", "Create: execution X already exists.\n",
      "Create: execution Y created.  Handle: 2.", "Destroy: execution Y destroyed.\n",
      "Create: execution Z created.  Handle: 3.  FED file: dir/z.fed\n"},
     {}},
    {"EachAnswerCarriesItsRequestsTicket",
     "",
     [](ExecHarness& h) {
       h.create("X", "x.fed", 7);
       h.create("X", "x.fed", 8);
       h.destroy("X", 9);
     },
     {"CreateResponse X 0 ticket=7", "CreateResponse X 1 ticket=8", "DestroyResponse X 0 ticket=9"},
     {},
     {}},
    {"DestroyWithAndWithoutFederates",
     "",
     [](ExecHarness& h) {
       h.create("X");
       h.joinAndConfirm("X", "A", 11, 1, 1);
       h.destroy("X");
       h.resign("X", 1, 1);
       h.destroy("X");
       h.destroy("X");
     },
     {"CreateResponse X 0", joinResponse(11, "A", 1), "Designated 1 exec=1", "DestroyResponse X 2",
      "ResignResponse 1 exec=1", "DestroyResponse X 0", "DestroyResponse X 1"},
     {"Destroy: execution X has federates joined.\n", "Resign: federate 1 has resigned X.\n",
      "Destroy: execution X destroyed.\n", "Destroy: execution X does not exist.\n"},
     {}},
    {"JoinOfAMissingExecutionIsAnsweredByTheRtiexec",
     "",
     [](ExecHarness& h) {
       h.join("Y", "A", 7);
       h.create("X");
       h.join("X", "B", 8);  // answered by the execution alone
     },
     {"JoinResponse to=7 Y A execution=0 handle=0 error=1 fed= exec=0", "CreateResponse X 0", joinResponse(8, "B", 1)},
     {"Join: execution Y does not exist.\n"},
     {"Join: execution X does not exist."}},
    {"HandlesFollowTheRequestsWhoeverConfirmsFirst",
     "",
     [](ExecHarness& h) {
       h.create("X");
       h.join("X", "A", 11);
       h.join("X", "B", 12);
       h.confirm("B", 2, 1);
       h.confirm("A", 1, 1);
       h.join("X", "C", 13);  // never confirms
       h.join("X", "D", 14);
       DtFedExec* x = h.exec().fedExec("X");
       EXPECT_EQ(handlesOf(x), (std::vector<std::string>{"B=2", "A=1"}));
       EXPECT_TRUE(x->hasPendingJoin(3));
       EXPECT_EQ(x->getFederate(2)->getConnectionHandle(), 12u);
     },
     {"CreateResponse X 0", joinResponse(11, "A", 1), joinResponse(12, "B", 2), "Designated 2 exec=1",
      joinResponse(13, "C", 3), joinResponse(14, "D", 4)},
     {"Join: federate B has joined X with handle 2.\n", "Join: federate A has joined X with handle 1.\n"},
     {}},
    {"AnUnconfirmedJoinIsAnsweredAgainEveryThreeSeconds",
     "",
     [](ExecHarness& h) {
       h.create("X");
       h.join("X", "A", 11);
       h.now += 3.0;
       h.exec().tick();  // exactly 3 s: not yet
       h.now += 0.01;
       h.exec().tick();
       h.now += 3.0;
       h.exec().tick();
       h.now += 0.01;
       h.exec().tick();
       h.confirm("A", 1, 1);
       h.now += 10;
       h.exec().tick();
     },
     {"CreateResponse X 0", joinResponse(11, "A", 1), joinResponse(11, "A", 1), joinResponse(11, "A", 1),
      "Designated 1 exec=1"},
     {},
     {}},
    {"TheDesignatedFederateStaysUntilTheLastLeaves",
     "",
     [](ExecHarness& h) {
       h.create("X");
       h.joinAndConfirm("X", "A", 11, 1, 1);
       h.joinAndConfirm("X", "B", 12, 2, 1);
       h.resign("X", 1, 1);
       EXPECT_EQ(h.exec().fedExec("X")->designatedFederate(), 1u);
       h.resign("X", 2, 1);
       EXPECT_EQ(h.exec().fedExec("X")->designatedFederate(), 0u);
       h.joinAndConfirm("X", "C", 13, 3, 1);
     },
     {"CreateResponse X 0", joinResponse(11, "A", 1), "Designated 1 exec=1", joinResponse(12, "B", 2),
      "ResignResponse 1 exec=1", "ResignResponse 2 exec=1", joinResponse(13, "C", 3), "Designated 3 exec=1"},
     {},
     {}},
    {"ALostHeartbeatResignsTheFederateAtOnce",
     heartbeats,
     [](ExecHarness& h) {
       h.create("X");
       h.create("Y");
       h.joinAndConfirm("X", "A", 11, 1, 1);  // heartbeats due from 1005 on
       h.joinAndConfirm("X", "B", 12, 2, 1);
       h.joinAndConfirm("Y", "C", 13, 1, 2);  // handle 1 of another execution
       h.now = 1004;
       h.alive(2, 1);
       h.alive(1, 2);  // C's heartbeat refreshes C only, never X's silent A
       h.now = 1009;
       h.exec().tick();  // B's heartbeat is exactly 5 s old: it stays
       h.now = 1009.5;
       h.alive(1, 2);
       h.exec().tick();
       h.now = 1010.5;
       h.alive(1, 2);
       h.exec().tick();
       EXPECT_EQ(handlesOf(h.exec().fedExec("X")), std::vector<std::string>{});
       EXPECT_EQ(handlesOf(h.exec().fedExec("Y")), std::vector<std::string>{"C=1"});
       h.resign("X", 1, 1, RTI::DELETE_OBJECTS_AND_RELEASE_ATTRIBUTES);  // the copy of its own message
     },
     {"CreateResponse X 0", "CreateResponse Y 0", joinResponse(11, "A", 1), "Designated 1 exec=1",
      joinResponse(12, "B", 2), "JoinResponse to=13 Y C execution=2 handle=1 error=0 fed=x.fed exec=0",
      "Designated 1 exec=2", "Resign 2 action=3 exec=1", "Resign 1 action=3 exec=1", "ResignResponse 1 exec=1"},
     {"Lost contact with federate B(2) in federation X\n", "Resign: federate 2 has resigned X.\n",
      "Lost contact with federate A(1) in federation X\n", "Resign: federate 1 has resigned X.\n",
      "Resign message with bad federate handle: 1\n"},
     {"Lost contact with federate C"}},
    {"WithoutAHeartbeatIntervalNobodyIsDropped",
     "(setq RTI_federateTimeoutInterval 5.0)\n",
     [](ExecHarness& h) {
       h.create("X");
       EXPECT_EQ(h.rid().federateTimeoutInterval(), 0.0f);
       h.joinAndConfirm("X", "A", 11, 1, 1);
       h.now += 1000;
       h.exec().tick();
       EXPECT_EQ(h.exec().fedExec("X")->numFederates(), 1);
     },
     {"CreateResponse X 0", joinResponse(11, "A", 1), "Designated 1 exec=1"},
     {},
     {"Lost contact"}},
    {"ALostConnectionEndsAPendingJoinOrResignsTheFederate",
     "",
     [](ExecHarness& h) {
       h.create("X");
       h.join("X", "A", 11);
       h.joinAndConfirm("X", "B", 12, 2, 1);
       h.disconnect(11);
       EXPECT_FALSE(h.exec().fedExec("X")->hasPendingJoin(1));
       h.disconnect(99);
       h.disconnect(12);
       EXPECT_EQ(h.exec().fedExec("X")->numFederates(), 0);
     },
     {"CreateResponse X 0", joinResponse(11, "A", 1), joinResponse(12, "B", 2), "Designated 2 exec=1",
      "Resign 2 action=3 exec=1"},
     {"Lost connection to federate B(2) in federation X\n", "Resign: federate 2 has resigned X.\n"},
     {"Lost connection to federate A"}},
    {"AResignBeforeTheConfirmOnlyEndsThePendingJoin",
     "",
     [](ExecHarness& h) {
       h.create("X");
       h.join("X", "A", 11);
       h.resign("X", 1, 1);
       h.confirm("A", 1, 1);  // too late: nothing is pending
       EXPECT_EQ(h.exec().fedExec("X")->numFederates(), 0);
     },
     {"CreateResponse X 0", joinResponse(11, "A", 1)},
     {},
     {"Resign: federate", "Join: federate A"}},
    {"AResigningFederatesAttributesGoToTheFirstOtherFederate",
     "",
     [](ExecHarness& h) {
       threeJoined(h);
       RTI::AttributeHandle attributes[] = {4};
       auto giveAway = [&](unsigned long from, unsigned long recipient) {
         DtOwnershipMsg msg(DtGiveToLRC, 100001, attributes[0], recipient, "Radio.1");
         h.deliverFrom(std::move(msg), from, 1);
       };
       // Each heir says it took them over.
       auto takenOver = [&](unsigned long by) {
         DtOwnershipMsg msg(DtTakenOver, 100001, attributes[0], 0, nullptr);
         h.deliverFrom(std::move(msg), by, 1);
       };
       giveAway(2, 0);
       takenOver(1);
       giveAway(1, 0);
       takenOver(2);
       giveAway(1, 3);  // a recipient is set: not the rtiexec's to hand on
       h.resign("X", 1, 1);
       h.resign("X", 3, 1);
       giveAway(2, 0);  // the last federate
     },
     {"CreateResponse X 0", joinResponse(11, "A", 1), "Designated 1 exec=1", joinResponse(12, "B", 2),
      joinResponse(13, "C", 3), "Ownership kind=13 from=2 to=1 object=100001 exec=1",
      "Ownership kind=13 from=1 to=2 object=100001 exec=1", "ResignResponse 1 exec=1", "ResignResponse 3 exec=1"},
     {"resigning federate is turning over attributes\n",
      "Unable to give away attributes no more federates in federation\n"},
     {}},
    {"WhatAFederateWasGivenAndNeverTookOverGoesOnWhenItLeaves",
     "",
     [](ExecHarness& h) {
       threeJoined(h);
       const auto set = [](std::initializer_list<RTI::AttributeHandle> handles) {
         DtAttributeHandleSet attributes;
         for (RTI::AttributeHandle a : handles) attributes.add(a);
         return attributes;
       };
       const auto give = [&](int kind, unsigned long from, unsigned long to, const DtAttributeHandleSet& attributes) {
         DtOwnershipMsg msg(static_cast<DtOwnerMsgKind>(kind), 100001, attributes, to, "car");
         msg.setClassHandle(3);
         h.deliverFrom(std::move(msg), from, 1);
       };
       give(DtNotifyAcquire, 1, 2, set({1, 2}));
       give(DtTakenOver, 2, 0, set({1}));  // B took 1 over, not 2
       give(DtTakenOver, 3, 0, set({2}));  // C's word comes before its gift
       give(DtNotifyAcquire, 1, 3, set({2}));
       h.resign("X", 2, 1);                    // 2 goes on to A, with the object's class and name
       h.resign("X", 3, 1);                    // C settled
       give(DtNotifyAcquire, 1, 3, set({1}));  // to a federate gone: on at once
       ASSERT_EQ(h.mgr().sent.size(), 5u + 4u);
       for (const std::size_t i : {5u, 8u}) {
         const auto& handOver = dynamic_cast<const DtOwnershipMsg&>(*h.mgr().sent[i]);
         EXPECT_EQ(std::string(handOver.tag()) + " class " + std::to_string(handOver.classHandle()), "car class 3");
         EXPECT_EQ(handOver.attrHandles().size(), 1u);
         EXPECT_EQ(handOver.attrHandles().getHandle(0), i == 5 ? 2u : 1u);
       }
       const std::vector<std::string> sent = h.takeSent();
       EXPECT_EQ(
           std::vector<std::string>(sent.begin() + 5, sent.end()),
           (std::vector<std::string>{"Ownership kind=13 from=2 to=1 object=100001 exec=1", "ResignResponse 2 exec=1",
                                     "ResignResponse 3 exec=1", "Ownership kind=13 from=3 to=1 object=100001 exec=1"}));
     },
     {},
     {"Resign: federate 2 has resigned X.\n", "Resign: federate 3 has resigned X.\n"},
     {"Unable to give away"}},
    {"TheOperatorsDeleteRetiresTheFederateAtOnce",
     "",
     [](ExecHarness& h) {
       h.create("X");
       h.joinAndConfirm("X", "A", 11, 1, 1);
       h.joinAndConfirm("X", "B", 12, 2, 1);
       EXPECT_EQ(h.exec().processCommand("d 2\n"), 0);
       EXPECT_EQ(handlesOf(h.exec().fedExec("X")), std::vector<std::string>{"A=1"});
       h.resign("X", 2, 1, RTI::DELETE_OBJECTS_AND_RELEASE_ATTRIBUTES);  // the copy comes back
       EXPECT_EQ(handlesOf(h.exec().fedExec("X")), std::vector<std::string>{"A=1"});
     },
     // A resign that finds its federate gone is answered all the same.
     {"CreateResponse X 0", joinResponse(11, "A", 1), "Designated 1 exec=1", joinResponse(12, "B", 2),
      "Resign 2 action=3 exec=1", "ResignResponse 2 exec=1"},
     {"Resign: federate 2 has resigned X.\n", "Resign message with bad federate handle: 2\n"},
     {}},
};

void PrintTo(const Scenario& scenario, std::ostream* out) { *out << scenario.name; }

class RtiExecScenario : public ::testing::TestWithParam<Scenario> {};

TEST_P(RtiExecScenario, SendsAndPrintsWhatIsExpected) {
  const Scenario& scenario = GetParam();
  ExecHarness harness(scenario.rid);
  scenario.steps(harness);
  expectSentAndPrinted(harness, scenario.sent, scenario.printed, scenario.notPrinted);
}

INSTANTIATE_TEST_SUITE_P(Table, RtiExecScenario, ::testing::ValuesIn(scenarios),
                         [](const auto& info) { return std::string(info.param.name); });

// The host's and observers' notifications: in registration order, the same
// pair twice fires twice, a removal takes one record; the destroyed
// callbacks run before the execution goes.
struct Notifications {
  std::vector<std::string> seen;
  static void created(DtFedExec* exec, void* self) {
    static_cast<Notifications*>(self)->seen.push_back(std::string("created ") + exec->fedExName().string());
  }
  static void destroyed(DtFedExec* exec, void* self) {
    static_cast<Notifications*>(self)->seen.push_back(std::string("destroyed ") + exec->fedExName().string() +
                                                      " with " + std::to_string(exec->numFederates()));
  }
  static void joined(DtFederate* federate, void* self) {
    static_cast<Notifications*>(self)->seen.push_back(std::string("joined ") + federate->getName());
  }
  static void resigned(DtFederate* federate, void* self) {
    static_cast<Notifications*>(self)->seen.push_back(std::string("resigned ") + federate->getName());
  }
  static void resignedFederateGone(DtFederate* federate, void* self) {
    // The federate has left the table already, and is still whole.
    auto* n = static_cast<Notifications*>(self);
    n->seen.push_back(std::string("gone ") + federate->getName() +
                      " member=" + std::to_string(n->execution->isMember(federate)));
  }
  DtFedExec* execution = nullptr;
};

TEST(RtiExecNotifications, RunInOrderAndComeOffOneRecordAtATime) {
  ExecHarness h;
  Notifications n;
  h.exec().addFedExCreatedCallback(&Notifications::created, &n);
  h.exec().addFedExCreatedCallback(&Notifications::created, &n);
  h.exec().addFedExDestroyedCallback(&Notifications::destroyed, &n);
  h.create("X");
  h.exec().removeFedExCreatedCallback(&Notifications::created, &n);
  h.create("Y");
  n.execution = h.exec().fedExec("X");
  n.execution->addFederateJoinedCallback(&Notifications::joined, &n);
  n.execution->addFederateResignedCallback(&Notifications::resigned, &n);
  n.execution->addFederateResignedCallback(&Notifications::resignedFederateGone, &n);
  h.joinAndConfirm("X", "A", 11, 1, 1);
  h.resign("X", 1, 1);
  n.execution->removeFederateResignedCallback(&Notifications::resigned, &n);
  h.joinAndConfirm("X", "B", 12, 2, 1);
  h.disconnect(12);
  h.destroy("X");
  h.exec().removeFedExDestroyedCallback(&Notifications::destroyed, &n);
  h.destroy("Y");
  EXPECT_EQ(n.seen, (std::vector<std::string>{"created X", "created X", "created Y", "joined A", "resigned A",
                                              "gone A member=0", "joined B", "gone B member=0", "destroyed X with 0"}));
}

}  // namespace
