// Ownership races in a federation run by the rtiexec program, with scripted
// federates: an acquisition cancelled and asked for again before the owner
// confirmed the cancellation, and an attribute released to a federate that
// resigns before the release reaches it. Neither attribute may be lost.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ExecFederation.h"
#include "rti/core/DrivenFederate.h"

using namespace exectest;

namespace {

using Lines = std::vector<std::string>;

// The callbacks but for the registration advisories, which federates
// joining and leaving bring.
Lines ownership(Lines lines) {
  std::erase_if(lines, [](const std::string& l) { return l.find("RegistrationForObjectClass") != std::string::npos; });
  return lines;
}

// The federation's object class: Vehicle 3 (privilegeToDelete 0, Position 1,
// Name 2). The owner registers "car"; the others discover it.
class RaceFederation {
public:
  RaceFederation() {
    DrivenFederate::names.clear();
    started_ = federation_.startExec();
  }
  bool started() const { return started_; }
  RtiExecProcess& exec() { return federation_.exec(); }

  void join(DrivenFederate& owner, const std::vector<DrivenFederate*>& others) {
    owner.run({"create Road Road.fed"});
    EXPECT_EQ(owner.command("join Road Owner"), "ok join 1");
    int handle = 2;
    for (DrivenFederate* other : others) {
      EXPECT_EQ(other->command("join Road Other" + std::to_string(handle)), "ok join " + std::to_string(handle));
      ++handle;
    }
    for (DrivenFederate* federate : others) {
      federate->run({"publish Vehicle Position Name", "subscribe Vehicle Position Name"});
    }
    owner.run({"publish Vehicle Position Name", "wait startRegistrationForObjectClass", "register Vehicle car"});
    for (DrivenFederate* federate : others) federate->run({"wait discoverObjectInstance"});
  }

private:
  ExecFederation federation_;
  bool started_ = false;
};

TEST(OwnershipRaceFederation, AnAcquisitionAskedForAgainBeforeItsCancellationIsConfirmedIsCompleted) {
  RaceFederation federation;
  ASSERT_TRUE(federation.started());
  DrivenFederate owner, buyer;
  federation.join(owner, {&buyer});
  // Asked for, withdrawn and asked for again, with no tick between: the
  // owner answers the cancellation after the second request left.
  buyer.run({"acquire car first Position", "cancel-acquire car Position", "acquire car again Position"});
  EXPECT_EQ(owner.run({"wait requestAttributeOwnershipRelease", "wait requestAttributeOwnershipRelease"}),
            (Lines{"requestAttributeOwnershipRelease {car} {1} \"first\"",
                   "requestAttributeOwnershipRelease {car} {1} \"again\""}));
  EXPECT_EQ(owner.command("release car Position"), "ok release {1}");
  // The confirmation ends the first request only; the second is answered.
  EXPECT_EQ(buyer.run({"wait attributeOwnershipAcquisitionNotification"}),
            Lines{"attributeOwnershipAcquisitionNotification {car} {1}"});
  EXPECT_EQ(buyer.command("is-owned car Position"), "ok is-owned yes");
  EXPECT_EQ(owner.command("is-owned car Position"), "ok is-owned no");
  buyer.run({"resign release"});
  owner.run({"resign delete-and-release", "destroy Road"});
}

TEST(OwnershipRaceFederation, AnAttributeReleasedToAFederateThatResignsBeforeItArrivesGoesOn) {
  RaceFederation federation;
  ASSERT_TRUE(federation.started());
  DrivenFederate owner, leaver, buyer;
  federation.join(owner, {&leaver, &buyer});
  leaver.run({"acquire car mine Position"});
  owner.run({"wait requestAttributeOwnershipRelease"});
  EXPECT_EQ(owner.command("release car Position"), "ok release {1}");
  // The leaver has not ticked since it asked: the release is on its way to
  // it when it goes.
  leaver.run({"resign release"});
  // The rtiexec hands the attribute to the first federate left, the owner,
  // whose component holds it and offers it to every publisher.
  EXPECT_EQ(ownership(owner.run({"wait requestAttributeOwnershipAssumption"})),
            Lines{"requestAttributeOwnershipAssumption {car} {1} \"\""});
  EXPECT_EQ(ownership(buyer.run({"wait requestAttributeOwnershipAssumption"})),
            Lines{"requestAttributeOwnershipAssumption {car} {1} \"\""});
  buyer.run({"acquire car - Position"});
  owner.run({"tick 0.2"});
  EXPECT_EQ(ownership(buyer.run({"wait attributeOwnershipAcquisitionNotification"})),
            Lines{"attributeOwnershipAcquisitionNotification {car} {1}"});
  EXPECT_EQ(buyer.command("is-owned car Position"), "ok is-owned yes");
  EXPECT_FALSE(printed(federation.exec().lines(), "Unable to give away")) << federation.exec().text();
  buyer.run({"resign release"});
  owner.run({"resign delete-and-release", "destroy Road"});
}

}  // namespace
