// Regions between federate processes of a federation run by the real
// rtiexec program (each test its own port and group): a scripted federate
// makes, announces, changes and deletes regions, and a federate of the
// test's own process holds them as announced, and drops them when they are
// deleted, when their federate resigns and when it is killed.
#include <gtest/gtest.h>
#include <signal.h>

#include <string>
#include <vector>

#include "CoreTestSupport.h"
#include "core/DtFederateMgr.h"
#include "ddm/DtDataDistMgr.h"
#include "ddm/DtRegion.h"
#include "support/DeployedFederation.h"
#include "support/RegionModel.h"
#include "support/WaitUntil.h"

namespace {

// A lost federate is noticed within a few seconds without its heartbeats.
const char* const forms =
    "(setq RTI_dataDistMgmt 1)\n(setq RTI_dumpFed 0)\n"
    "(setq RTI_federateHeartbeatInterval 0.1)\n(setq RTI_federateTimeoutInterval 3.0)\n";

using Lines = std::vector<std::string>;

// The other federates' regions a manager holds: "<region> of <federate>
// space <s> [l,u) [l,u) | ...".
Lines remoteRegions(const DtDataDistMgr& ddm) {
  Lines lines;
  for (const std::uint32_t federate : ddm.remoteFederates()) {
    for (const DtRegion* r : ddm.remoteRegionsOf(federate)) {
      std::string line = std::to_string(r->handle()) + " of " + std::to_string(federate) + " space " +
                         std::to_string(r->getSpaceHandle());
      for (RTI::ULong e = 0; e < r->getNumberOfExtents(); ++e) {
        line += e ? " |" : "";
        for (std::uint32_t d = 0; d < r->getExtents()[e].dimensionCount(); ++d) {
          line += " [" + std::to_string(r->getExtents()[e].getLowerBound(d)) + "," +
                  std::to_string(r->getExtents()[e].getUpperBound(d)) + ")";
        }
      }
      lines.push_back(line);
    }
  }
  return lines;
}

class RegionFederation : public ::testing::TestWithParam<Deployment> {
protected:
  RegionFederation() { federation.dir().write("Map.fed", theRegionModelFed); }
  void SetUp() override { ASSERT_TRUE(federation.started()); }

  // The scripted federate's answer to a command, the test's own federate
  // ticking meanwhile.
  std::string command(ScriptedFederateProcess& federate, const std::string& text) {
    federate.send(text);
    const std::string verb = text.substr(0, text.find(' '));
    std::string answer;
    waitUntil([&] { return !answer.empty() || federate.ended(); },
              [&] {
                b.tick();
                const std::string line = federate.readLine(0.005);
                if (line.rfind("ok " + verb, 0) == 0 || line.rfind("error " + verb, 0) == 0) answer = line;
              },
              30);
    return answer;
  }
  void run(ScriptedFederateProcess& federate, const Lines& commands) {
    for (const std::string& text : commands) {
      const std::string answer = command(federate, text);
      ASSERT_EQ(answer.rfind("ok ", 0), 0u) << text << ": " << answer;
    }
  }
  // Joins and gives the federate handle.
  std::string join(ScriptedFederateProcess& federate, const std::string& name) {
    const std::string joined = command(federate, "join Map " + name);
    EXPECT_EQ(joined.rfind("ok join ", 0), 0u) << joined;
    return joined.substr(std::min<std::size_t>(joined.size(), 8));
  }
  // Whether the test's own federate comes to hold exactly these regions.
  ::testing::AssertionResult holds(const Lines& expected) {
    DtDataDistMgr* ddm = PlainImplementor::last->fedMgr()->ddmMgr();
    if (!ddm) return ::testing::AssertionFailure() << "no data distribution manager";
    if (waitUntil([&] { return remoteRegions(*ddm) == expected; }, [&] { b.tick(); }, 20)) {
      return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << "holds " << ::testing::PrintToString(remoteRegions(*ddm));
  }

  DeployedFederation federation{GetParam(), forms};
  PlainImplementor::Install plain;
  NullFederateAmbassador fedAmb;
  RTI::RTIambassador b;
};

TEST_P(RegionFederation, AFederateHoldsAnothersRegionsAsAnnouncedUntilTheyAreDeletedOrTheirFederateLeaves) {
  ScriptedFederateProcess a;
  ASSERT_TRUE(a.started());
  run(a, {"background-tick on", "create Map Map.fed"});
  const std::string fa = join(a, "A");
  b.joinFederationExecution("B", "Map", &fedAmb);
  const auto region = [&](const std::string& fed, int serial) {
    return std::to_string(std::stoul(fed) * 100000 + serial);
  };

  // Announced at its first notification, with its extents, then changed.
  run(a, {"create-region Geo 2 r1", "set-extent r1 0 X=10,20 Y=30,40", "set-extent r1 1 X=0,5 Y=0,5"});
  EXPECT_TRUE(holds({}));
  run(a, {"notify-region r1"});
  EXPECT_TRUE(holds({region(fa, 1) + " of " + fa + " space 1 [10,20) [30,40) | [0,5) [0,5)"}));
  run(a, {"set-extent r1 0 X=15,25", "notify-region r1"});
  EXPECT_TRUE(holds({region(fa, 1) + " of " + fa + " space 1 [15,25) [30,40) | [0,5) [0,5)"}));

  // Deleted, it goes; another stays.
  run(a, {"create-region Radio 1 r2", "set-extent r2 0 Freq=100,200", "notify-region r2", "delete-region r1",
          "create-region Geo 1 r3"});
  EXPECT_TRUE(holds({region(fa, 2) + " of " + fa + " space 2 [100,200)"}));

  // Resigned, its federate takes its regions along.
  run(a, {"resign none"});
  EXPECT_TRUE(holds({}));

  // Killed, it is resigned by the rtiexec, and its regions go too.
  ScriptedFederateProcess killed;
  ASSERT_TRUE(killed.started());
  run(killed, {"background-tick on"});
  const std::string fk = join(killed, "Killed");
  run(killed, {"create-region Geo 1 k1", "set-extent k1 0 X=1,2 Y=3,4", "notify-region k1"});
  EXPECT_TRUE(holds({region(fk, 1) + " of " + fk + " space 1 [1,2) [3,4)"}));
  killed.signal(SIGKILL);
  EXPECT_TRUE(holds({}));

  b.resignFederationExecution(RTI::NO_ACTION);
  EXPECT_TRUE(waitUntil(
      [&] {
        try {
          b.destroyFederationExecution("Map");
          return true;
        } catch (const RTI::FederatesCurrentlyJoined&) {
          return false;
        }
      },
      [] {}, 10));
}

const Deployment byTheRtiexec[] = {everyDeployment[2], everyDeployment[4]};

INSTANTIATE_TEST_SUITE_P(Deployments, RegionFederation, ::testing::ValuesIn(byTheRtiexec), deploymentName);

}  // namespace
