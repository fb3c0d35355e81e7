// A resigning federate's released attributes in a federation run by the
// rtiexec program: the rtiexec hands them to the first federate left, whose
// component holds them and offers them to every publisher; a third federate
// acquires them from there. Also a federate resigned by the operator, a
// holder that resigns in turn, and the last federate leaving them to nobody.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ExecFederation.h"
#include "rti/core/DrivenFederate.h"
#include "support/Sentinels.h"

using namespace exectest;

namespace {

using Lines = std::vector<std::string>;

// The federation's object class: Vehicle 3 (privilegeToDelete 0, Position 1,
// Name 2); and the Sentinel class.
class HandOverFederation {
public:
  explicit HandOverFederation(const std::string& forms = reliableForms) : federation_(forms) {
    DrivenFederate::names.clear();
    federation_.dir().write("Road.fed", sentinels::withSentinelClass(roadFed));
    started_ = federation_.startExec();
  }
  bool started() const { return started_; }
  RtiExecProcess& exec() { return federation_.exec(); }

  // Creates the execution and joins the federates, which get handles 1, 2, ...
  // Their sentinels take the transport of the RTI's own messages.
  void join(const std::vector<std::pair<DrivenFederate*, std::string>>& federates,
            const char* sentinelTransport = "reliable") {
    federates.front().first->run({"create Road Road.fed"});
    int handle = 1;
    for (const auto& [federate, name] : federates) {
      EXPECT_EQ(federate->command("join Road " + name), "ok join " + std::to_string(handle++));
      federate->run({std::string("interaction-transport Sentinel ") + sentinelTransport});
    }
  }
  // Whether the rtiexec printed a line holding the text before it printed
  // that the federate resigned.
  bool printedBeforeResign(const std::string& text, int federate) {
    const std::string resigned = "Resign: federate " + std::to_string(federate) + " has resigned Road.";
    EXPECT_NE(exec().waitFor(resigned, 10, true), "") << exec().text();
    return printed(exec().lines(), text);
  }

private:
  ExecFederation federation_;
  bool started_ = false;
};

const std::string noHeir = "Unable to give away attributes no more federates in federation";

// The RTI's own messages, the hand-over among them, by TCP through the
// rtiexec's forwarder or by the UDP group.
class OwnershipHandOver : public ::testing::TestWithParam<const char*> {};

TEST_P(OwnershipHandOver, AReleasingOwnersAttributesPassToTheFirstFederateLeftAndOnToWhoeverAcquiresThem) {
  const std::string udpForms =
      "(setq RTI_useRtiExec 1)\n(setq RTI_internalMsgReliable 0)\n(setq RTI_fomDataReliable 1)\n"
      "(setq RTI_dumpFed 0)\n";
  const bool tcp = std::string(GetParam()) == "tcp";
  HandOverFederation federation(tcp ? reliableForms : udpForms);
  ASSERT_TRUE(federation.started());
  DrivenFederate owner, heir, buyer;
  const char* const sentinelTransport = tcp ? "reliable" : "best_effort";
  federation.join({{&owner, "Owner"}, {&heir, "Heir"}, {&buyer, "Buyer"}}, sentinelTransport);
  owner.run({"publish Vehicle Position Name"});
  heir.run({"publish Vehicle Position", "subscribe Vehicle Position Name"});
  buyer.run({"publish Vehicle Position Name", "subscribe Vehicle Position Name"});
  owner.run({"wait startRegistrationForObjectClass", "register Vehicle car"});
  for (DrivenFederate* federate : {&heir, &buyer}) federate->run({"wait discoverObjectInstance"});

  runSteps({
      {"the owner leaves releasing everything", owner, {"resign release"}, {}},
      // The heir's component holds all three and offers them to every
      // publisher, the heir too.
      {"the heir is asked to assume what it publishes",
       heir,
       {"wait requestAttributeOwnershipAssumption"},
       {"requestAttributeOwnershipAssumption {car} {0,1} \"\""}},
      {"the heir holds them: answered during the call",
       heir,
       {"query-owner car Name"},
       {"attributeIsNotOwned {car} 2"}},
      {"every publisher is asked",
       buyer,
       {"wait requestAttributeOwnershipAssumption"},
       {"requestAttributeOwnershipAssumption {car} {0,1,2} \"\""}},
      {"the holder answers a query from elsewhere", buyer, {"query-owner car Position"}, {}},
      {"", heir, {}, {}, &buyer},
      {"", buyer, {"wait attributeIsNotOwned"}, {"attributeIsNotOwned {car} 1"}},
      {"acquired from the holder", buyer, {"acquire car - privilegeToDelete Position Name"}, {}},
      {"", heir, {}, {}, &buyer},
      {"",
       buyer,
       {"wait attributeOwnershipAcquisitionNotification"},
       {"attributeOwnershipAcquisitionNotification {car} {0,1,2}"}},
      {"the new owner answers for them", heir, {"query-owner car Position"}, {}},
      {"", buyer, {}, {}, &heir},
      {"", heir, {"wait informAttributeOwnership"}, {"informAttributeOwnership {car} 1 3"}},
      // Every federate records the buyer as the object's owner: the heir
      // leaving deleting orphans nothing.
      // Back after its resignation (its join answered by the rtiexec), it
      // sends what follows the rtiexec's answers to its resignation too.
      {"the former holder leaves deleting",
       heir,
       {"resign delete-and-release", "join Road Heir",
        std::string("interaction-transport Sentinel ") + sentinelTransport},
       {}},
      {"", buyer, {"wait stopRegistrationForObjectClass"}, {"stopRegistrationForObjectClass 3"}, &heir},
  });
  heir.run({"resign none"});
  EXPECT_EQ(buyer.command("is-owned car privilegeToDelete"), "ok is-owned yes");
  buyer.run({"resign delete", "destroy Road"});
  EXPECT_FALSE(printed(federation.exec().lines(), noHeir));
}

INSTANTIATE_TEST_SUITE_P(Transports, OwnershipHandOver, ::testing::Values("tcp", "udp"));

TEST(OwnershipHandOverByTheOperator, AFederateDeletedAtTheConsoleHandsOverWhatItOwnedOfOthersObjects) {
  HandOverFederation federation;
  ASSERT_TRUE(federation.started());
  DrivenFederate owner, heir, buyer;
  federation.join({{&owner, "Owner"}, {&heir, "Heir"}, {&buyer, "Buyer"}});
  heir.run({"subscribe Vehicle Position Name"});
  owner.run({"publish Vehicle Position Name", "subscribe Vehicle Position Name"});
  buyer.run({"publish Vehicle Position Name", "subscribe Vehicle Position Name"});
  owner.run({"wait startRegistrationForObjectClass", "register Vehicle car"});
  buyer.run({"wait startRegistrationForObjectClass", "register Vehicle bus", "divest-negotiated bus take Name"});
  owner.run({"wait requestAttributeOwnershipAssumption", "acquire bus - Name"});
  buyer.run({"wait attributeOwnershipDivestitureNotification"});
  owner.run({"wait attributeOwnershipAcquisitionNotification"});
  heir.run({"wait discoverObjectInstance", "wait discoverObjectInstance"});

  // The rtiexec resigns the owner in its name (the others remove its
  // object as orphaned); the owner then leaves deleting its object and
  // releasing the bus's name.
  federation.exec().send("delete 1 Road");
  EXPECT_NE(federation.exec().waitFor("Resign: federate 1 has resigned Road.", 10, true), "");
  // The owner and the heir tick by themselves meanwhile: the owner to take
  // in its resignation and leave, the heir to take over the bus's name
  // (through the rtiexec), which its component then offers to the buyer.
  const std::size_t mark = heir.mark();
  for (DrivenFederate* federate : {&owner, &heir}) federate->run({"background-tick on"});
  const std::string orphaned = "removeObjectInstance {car} \"Appears to have been orphaned.\"";
  EXPECT_EQ(buyer.run({"wait removeObjectInstance", "wait requestAttributeOwnershipAssumption"}),
            (Lines{orphaned, "requestAttributeOwnershipAssumption {bus} {2} \"\""}));
  heir.run({"background-tick off"});
  EXPECT_EQ(heir.callbacksSince(mark), Lines{orphaned});
  EXPECT_EQ(heir.run({"query-owner bus Name"}), Lines{"attributeIsNotOwned {bus} 2"});
  buyer.run({"acquire bus - Name"});
  heir.takeSentinelFrom(buyer);  // the holder gives it
  EXPECT_EQ(buyer.run({"wait attributeOwnershipAcquisitionNotification"}),
            Lines{"attributeOwnershipAcquisitionNotification {bus} {2}"});
  heir.run({"resign none"});
  EXPECT_NE(federation.exec().waitFor("Resign: federate 2 has resigned Road.", 10, true), "");
  buyer.run({"resign delete", "destroy Road"});
}

// A holder resigning releasing hands them on, the last one to nobody; one
// resigning deleting takes the object along: every federate records the
// holder as its owner and removes it as orphaned, and nothing is handed on.
TEST(OwnershipHandOverOnward, TheHoldersResignActionDecidesWhetherTheAttributesGoOnOrTheObjectGoes) {
  struct Case {
    const char* heirAction;
    Lines lastDoes;
    Lines lastGets;
    bool handedToNobody;
  };
  const std::vector<Case> cases = {
      {"release",
       {"wait requestAttributeOwnershipAssumption", "acquire car - Position"},
       {"requestAttributeOwnershipAssumption {car} {0,1} \"\"", "attributeOwnershipAcquisitionNotification {car} {1}"},
       true},
      {"delete-and-release",
       {"wait removeObjectInstance"},
       {"removeObjectInstance {car} \"Appears to have been orphaned.\""},
       false},
  };
  // The others' subscriptions and resignations start and stop the last
  // one's registrations in between: not looked at here.
  const auto ownership = [](Lines lines) {
    std::erase_if(lines,
                  [](const std::string& l) { return l.find("RegistrationForObjectClass") != std::string::npos; });
    return lines;
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.heirAction);
    HandOverFederation federation;
    ASSERT_TRUE(federation.started());
    DrivenFederate owner, heir, last;
    federation.join({{&owner, "Owner"}, {&heir, "Heir"}, {&last, "Last"}});
    for (DrivenFederate* federate : {&owner, &heir, &last}) {
      federate->run({"publish Vehicle Position", "subscribe Vehicle Position"});
    }
    owner.run({"wait startRegistrationForObjectClass", "register Vehicle car", "resign release"});
    heir.run({"wait requestAttributeOwnershipAssumption"});
    last.run({"wait discoverObjectInstance", "wait requestAttributeOwnershipAssumption"});
    // Back after its resignation (its join answered by the rtiexec), the
    // heir sends what follows the rtiexec's answers to its resignation too;
    // it leaves again before the last one does.
    const std::size_t mark = last.mark();
    heir.run({"resign " + std::string(c.heirAction)});
    const std::string rejoined = heir.command("join Road Heir");
    ASSERT_EQ(rejoined.rfind("ok join ", 0), 0u) << rejoined;
    last.takeSentinelFrom(heir);
    heir.run({"resign none"});
    ASSERT_TRUE(resignsHandled(federation.exec(), {2, std::stoi(rejoined.substr(8))}));
    last.run(c.lastDoes);
    EXPECT_EQ(ownership(last.callbacksSince(mark)), c.lastGets);
    last.run({"resign release"});
    EXPECT_EQ(federation.printedBeforeResign(noHeir, 3), c.handedToNobody) << federation.exec().text();
    last.run({"destroy Road"});
  }
}

}  // namespace
