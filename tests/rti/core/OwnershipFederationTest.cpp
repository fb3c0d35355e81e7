// Attribute ownership between federate processes on the loopback (each test
// its own port and group), on every deployment: the roads of the ownership
// protocol through three scripted federates, and two federates racing for
// one attribute.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "DrivenFederate.h"
#include "support/DeployedFederation.h"
#include "support/Sentinels.h"

namespace {

// Object classes: ObjectRoot 0 (privilegeToDelete 0), RTIprivate 1, Ship 3
// (Position 1, Name 2).
const char* const fleetFed = R"((FED (Federation Fleet) (FEDversion v1.3) (spaces)
  (objects (class ObjectRoot (attribute privilegeToDelete reliable receive) (class RTIprivate)
    (class Ship (attribute Position best_effort receive) (attribute Name best_effort receive))))
  (interactions (class InteractionRoot best_effort receive (class RTIprivate best_effort receive))))
)";

using Lines = std::vector<std::string>;

class OwnershipFederation : public ::testing::TestWithParam<Deployment> {
protected:
  OwnershipFederation() {
    DrivenFederate::names.clear();
    federation.dir().write("Fleet.fed", sentinels::withSentinelClass(fleetFed));
  }
  void SetUp() override { ASSERT_TRUE(federation.started()); }
  // The federate's handle, from its join.
  static std::string join(DrivenFederate& federate, const std::string& name) {
    const std::string result = federate.command("join Fleet " + name);
    EXPECT_EQ(result.rfind("ok join ", 0), 0u) << result;
    return result.substr(8);
  }

  DeployedFederation federation{GetParam(), "(setq RTI_dumpFed 0)\n"};
};

TEST_P(OwnershipFederation, ThreeFederatesGoEveryRoadOfTheProtocol) {
  DrivenFederate owner, buyer, other;
  owner.run({"create Fleet Fleet.fed"});
  const std::string ownerHandle = join(owner, "Owner");
  ASSERT_TRUE(federation.joinBystanders("Fleet"));
  const std::string buyerHandle = join(buyer, "Buyer");
  join(other, "Other");
  owner.run({"publish Ship Position Name"});
  buyer.run({"publish Ship Position Name", "subscribe Ship Position Name"});
  other.run({"publish Ship Position", "subscribe Ship Position Name"});
  for (DrivenFederate* publisher : {&owner, &buyer, &other}) publisher->run({"wait startRegistrationForObjectClass"});
  owner.run({"register Ship ship"});
  const Lines discovered{"discoverObjectInstance {ship} 3 \"ship\""};
  EXPECT_EQ(buyer.run({"wait discoverObjectInstance"}), discovered);
  EXPECT_EQ(other.run({"wait discoverObjectInstance"}), discovered);

  runSteps({
      // A negotiated divestiture meets an acquisition of part of the offer.
      {"offer", owner, {"divest-negotiated ship offer Position Name"}, {}},
      {"publishers asked to assume what they publish",
       buyer,
       {"wait requestAttributeOwnershipAssumption"},
       {"requestAttributeOwnershipAssumption {ship} {1,2} \"offer\""}},
      {"",
       other,
       {"wait requestAttributeOwnershipAssumption"},
       {"requestAttributeOwnershipAssumption {ship} {1} \"offer\""}},
      {"acquisition of part of the offer", buyer, {"acquire ship want Position"}, {}},
      {"",
       owner,
       {"wait attributeOwnershipDivestitureNotification"},
       {"attributeOwnershipDivestitureNotification {ship} {1}"}},
      {"",
       buyer,
       {"wait attributeOwnershipAcquisitionNotification"},
       {"attributeOwnershipAcquisitionNotification {ship} {1}"}},
      // An owned attribute: its owner is asked to release it, and does.
      {"acquisition of an owned attribute", other, {"acquire ship please Position"}, {}},
      {"",
       buyer,
       {"wait requestAttributeOwnershipRelease"},
       {"requestAttributeOwnershipRelease {ship} {1} \"please\""}},
      {"", buyer, {"release ship Position"}, {}},
      {"",
       other,
       {"wait attributeOwnershipAcquisitionNotification"},
       {"attributeOwnershipAcquisitionNotification {ship} {1}"}},
      // If available: unavailable, and the owner hears nothing.
      {"if available", buyer, {"acquire-if-available ship Position"}, {}},
      {"", other, {}, {}, &buyer},
      {"", buyer, {"wait attributeOwnershipUnavailable"}, {"attributeOwnershipUnavailable {ship} {1}"}},
      // A cancelled acquisition, confirmed; the owner's release then gives
      // nothing.
      {"cancelled acquisition", buyer, {"acquire ship mine Position"}, {}},
      {"", other, {"wait requestAttributeOwnershipRelease"}, {"requestAttributeOwnershipRelease {ship} {1} \"mine\""}},
      {"", buyer, {"cancel-acquire ship Position"}, {}},
      {"", other, {}, {}, &buyer},
      {"",
       buyer,
       {"wait confirmAttributeOwnershipAcquisitionCancellation"},
       {"confirmAttributeOwnershipAcquisitionCancellation {ship} {1}"}},
      {"", other, {"release ship Position"}, {}},
      // Given up unconditionally, then acquired elsewhere from the former
      // owner's component.
      {"unconditional divestiture", other, {"divest ship Position"}, {}},
      {"",
       owner,
       {"wait requestAttributeOwnershipAssumption"},
       {"requestAttributeOwnershipAssumption {ship} {1} \"\""}},
      {"",
       buyer,
       {"wait requestAttributeOwnershipAssumption", "acquire ship - Position"},
       {"requestAttributeOwnershipAssumption {ship} {1} \"\""}},
      {"the former owner's component gives it", other, {}, {}, &buyer},
      {"",
       buyer,
       {"wait attributeOwnershipAcquisitionNotification"},
       {"attributeOwnershipAcquisitionNotification {ship} {1}"}},
      // Queries: answered during the call by the owner, by the owner's
      // answer elsewhere; a held attribute is owned by nobody.
      {"query at the owner",
       buyer,
       {"query-owner ship Position"},
       {"informAttributeOwnership {ship} 1 " + buyerHandle}},
      {"query elsewhere", other, {"query-owner ship Position"}, {}},
      {"", buyer, {}, {}, &other},
      {"", other, {"wait informAttributeOwnership"}, {"informAttributeOwnership {ship} 1 " + buyerHandle}},
      {"", owner, {"query-owner ship Name"}, {"informAttributeOwnership {ship} 2 " + ownerHandle}},
      {"", owner, {"divest ship Name"}, {}},
      {"", other, {"query-owner ship Name"}, {}},
      {"", owner, {}, {}, &other},
      {"", other, {"wait attributeIsNotOwned"}, {"attributeIsNotOwned {ship} 2"}},
      {"",
       buyer,
       {"wait requestAttributeOwnershipAssumption"},
       {"requestAttributeOwnershipAssumption {ship} {2} \"\""}},
      // The privilege to delete changes hands: every federate records the
      // new owner, so the former one resigning deleting its objects orphans
      // nothing, and the new one deletes the object.
      {"privilege to delete", owner, {"divest-negotiated ship bye privilegeToDelete"}, {}},
      {"",
       buyer,
       {"wait requestAttributeOwnershipAssumption", "acquire ship - privilegeToDelete"},
       {"requestAttributeOwnershipAssumption {ship} {0} \"bye\""}},
      {"",
       owner,
       {"wait attributeOwnershipDivestitureNotification"},
       {"attributeOwnershipDivestitureNotification {ship} {0}"}},
      {"",
       buyer,
       {"wait attributeOwnershipAcquisitionNotification"},
       {"attributeOwnershipAcquisitionNotification {ship} {0}"}},
      {"",
       other,
       {"wait requestAttributeOwnershipAssumption"},
       {"requestAttributeOwnershipAssumption {ship} {0} \"bye\""}},
      {"and nothing more", other, {}, {}, &owner},
      {"", other, {}, {}, &buyer},
      // Back after its resignation, the former owner sends what follows it.
      {"", owner, {"resign delete", "join Fleet Owner"}, {}},
      {"", other, {}, {}, &owner},
      {"", buyer, {"delete ship gone"}, {}},
      {"", other, {"wait removeObjectInstance"}, {"removeObjectInstance {ship} \"gone\""}},
  });
  EXPECT_EQ(buyer.command("is-owned ship Position"), "error is-owned ObjectNotKnown \"\"");
  for (DrivenFederate* federate : {&owner, &other}) federate->run({"resign none"});
  federation.resignBystanders();
  buyer.run({"resign none", "destroy Fleet"});
}

TEST_P(OwnershipFederation, TwoFederatesRacingForOneAttributeEndWithExactlyOneOwnerEveryTime) {
  DrivenFederate holder, first, second;
  holder.run({"create Fleet Fleet.fed"});
  join(holder, "Holder");
  ASSERT_TRUE(federation.joinBystanders("Fleet"));
  join(first, "First");
  join(second, "Second");
  holder.run({"publish Ship Position"});
  for (DrivenFederate* racer : {&first, &second}) racer->run({"publish Ship Position", "subscribe Ship Position"});
  holder.run({"wait startRegistrationForObjectClass"});
  for (int round = 0; round < 100; ++round) {
    const std::string ship = "s" + std::to_string(round);
    // Given up by its owner: its component holds it for whoever asks.
    holder.run({"register Ship " + ship, "divest " + ship + " Position"});
    for (DrivenFederate* racer : {&first, &second}) racer->run({"wait discoverObjectInstance"});
    DrivenFederate& early = round % 2 ? second : first;
    DrivenFederate& late = round % 2 ? first : second;
    early.run({"acquire " + ship + " - Position"});
    late.run({"acquire " + ship + " - Position"});
    // The holder has both requests, each racer all the holder sent after
    // them, and whatever the racers sent each other has come too.
    roundTrip(early, holder);
    roundTrip(late, holder);
    early.takeSentinelFrom(holder);
    roundTrip(early, late);
    int owners = 0;
    for (DrivenFederate* racer : {&first, &second}) {
      owners += racer->command("is-owned " + ship + " Position") == "ok is-owned yes";
    }
    EXPECT_EQ(owners, 1) << ship;
    EXPECT_EQ(holder.command("is-owned " + ship + " Position"), "ok is-owned no") << ship;
  }
  for (DrivenFederate* racer : {&first, &second}) racer->run({"resign release"});
  federation.resignBystanders();
  holder.run({"resign delete", "destroy Fleet"});
}

INSTANTIATE_TEST_SUITE_P(Deployments, OwnershipFederation, ::testing::ValuesIn(everyDeployment), deploymentName);

}  // namespace
