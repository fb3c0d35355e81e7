// The implementor's tick loops, run against a scripted federate manager and
// a clock that moves only when the test says.
#include "core/DtRtiAmbassadorImplementor.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CoreTestSupport.h"
#include "api/DtFedAmbWrapper.h"
#include "config/DtRIDParameters.h"
#include "mom/DtMomMgr.h"
#include "net/DtConnectionMgr.h"
#include "objects/DtObjectMgr.h"
#include "util/DtSelect.h"

namespace {

// An implementor on a fake clock: a tickOnce costs `tickCost` seconds, and a
// wait for input lasts what `waitLasts` says (the whole time asked for,
// unless input comes earlier).
class ClockedImplementor : public DtRtiAmbassadorImplementor {
public:
  explicit ClockedImplementor(DtRIDParameters* params) : DtRtiAmbassadorImplementor(params, nullptr) {}

  double clock = 100.0;
  std::vector<double> waits;
  int yields = 0;
  std::function<double(double)> waitLasts = [](double asked) { return asked; };

protected:
  double currentTime() const override { return clock; }
  void waitForInput(double seconds) override {
    waits.push_back(seconds);
    clock += waitLasts(seconds);
  }
  void yieldToNetwork() override { ++yields; }
  void giveWayWhenIdle() override { ++idleYields; }

public:
  int idleYields = 0;
};

class TickTest : public testing::Test {
protected:
  TickTest() : implementor(&params), fed(*FakeFederateMgr::last) {
    fed.onTick = [this] { implementor.clock += tickCost; };
  }

  int tickOnceCalls() const { return fed.count("tick"); }

  RidScope rid;
  FakeFederateMgr::Install install;
  DtRIDParameters params;
  ClockedImplementor implementor;
  FakeFederateMgr& fed;
  double tickCost = 0.0;
};

TEST_F(TickTest, TickDrainsUntilNothingIsLeftAndReturnsFalse) {
  fed.tickScript = {true, true, true, false};
  EXPECT_EQ(implementor.tick(), RTI::RTI_FALSE);
  EXPECT_EQ(fed.calls, (std::vector<std::string>{"pretick", "tick", "tick", "tick", "tick", "posttick"}));
  EXPECT_EQ(implementor.yields, 0);
}

TEST_F(TickTest, TickWithASingleCallbackPerTickDoesOneUnit) {
  params.setSingleCallbackPerTick(1);
  fed.tickScript = {true, true};
  EXPECT_EQ(implementor.tick(), RTI::RTI_TRUE);
  EXPECT_EQ(fed.calls, (std::vector<std::string>{"pretick", "tick", "posttick"}));
}

TEST_F(TickTest, TickYieldsToTheNetworkOnlyInAsynchronousModeWhenItFavoursIt) {
  struct Case {
    int async, favors, yields;
  };
  for (const Case& c : {Case{0, 1, 0}, Case{1, 0, 0}, Case{1, 1, 1}}) {
    params.setAsynchronousIO(c.async);
    params.setTickFavorsNetwork(c.favors);
    implementor.yields = 0;
    implementor.tick();
    EXPECT_EQ(implementor.yields, c.yields) << c.async << " " << c.favors;
  }
}

struct IdleCase {
  const char* name;
  std::vector<bool> script;  // tickOnce answers, then false
  float idleWait;
  bool single, async;
  int tickOnces;
  RTI::Boolean result;
  std::vector<double> waits;
  int idleYields, networkYields;
};

class IdleTickTest : public TickTest, public testing::WithParamInterface<IdleCase> {};

TEST_P(IdleTickTest, AnIdleTickGivesWayOrWaitsForInput) {
  const IdleCase& c = GetParam();
  params.setTickIdleWait(c.idleWait);
  params.setSingleCallbackPerTick(c.single ? 1 : 0);
  params.setAsynchronousIO(c.async ? 1 : 0);
  fed.tickScript.assign(c.script.begin(), c.script.end());
  EXPECT_EQ(implementor.tick(), c.result);
  EXPECT_EQ(tickOnceCalls(), c.tickOnces);
  EXPECT_EQ(implementor.waits, c.waits);
  EXPECT_EQ(implementor.idleYields, c.idleYields);
  EXPECT_EQ(implementor.yields, c.networkYields);
  EXPECT_EQ(fed.calls.back(), "posttick");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, IdleTickTest,
    testing::Values(
        IdleCase{"idle_yields", {}, 0, false, false, 1, RTI::RTI_FALSE, {}, 1, 0},
        IdleCase{"busy_does_not_yield", {true, false}, 0, false, false, 2, RTI::RTI_FALSE, {}, 0, 0},
        // The wait ends when input comes, which the same tick delivers.
        IdleCase{
            "idle_waits_then_delivers", {false, true, true}, 0.005f, false, false, 4, RTI::RTI_FALSE, {0.005f}, 0, 0},
        IdleCase{"busy_does_not_wait", {true}, 0.005f, false, false, 2, RTI::RTI_FALSE, {}, 0, 0},
        IdleCase{"single_idle_yields", {}, 0, true, false, 1, RTI::RTI_FALSE, {}, 1, 0},
        IdleCase{"single_idle_waits_then_delivers_one",
                 {false, true, true},
                 0.005f,
                 true,
                 false,
                 2,
                 RTI::RTI_TRUE,
                 {0.005f},
                 0,
                 0},
        // The network's yield gives the processor away already.
        IdleCase{"asynchronous_idle_yields_to_the_network", {}, 0, false, true, 1, RTI::RTI_FALSE, {}, 0, 1},
        IdleCase{"asynchronous_idle_waits", {}, 0.005f, false, true, 2, RTI::RTI_FALSE, {0.005f}, 0, 1}),
    [](const testing::TestParamInfo<IdleCase>& info) { return std::string(info.param.name); });

struct BoundedCase {
  const char* name;
  double minimum, maximum;
  std::vector<bool> script;  // tickOnce answers, then false
  double tickCost;
  double inputAfter;  // a wait ends after this long at the latest (0: never early)
  bool single, busy;
  int tickOnces;
  RTI::Boolean result;
  std::vector<double> waits;
};

class BoundedTickTest : public TickTest, public testing::WithParamInterface<BoundedCase> {};

TEST_P(BoundedTickTest, WorksWaitsAndReturnsAsTheBoundsSay) {
  const BoundedCase& c = GetParam();
  params.setSingleCallbackPerTick(c.single ? 1 : 0);
  params.setUseBusyWaitForTickMinMax(c.busy ? 1 : 0);
  fed.tickScript.assign(c.script.begin(), c.script.end());
  tickCost = c.tickCost;
  if (c.inputAfter > 0) {
    implementor.waitLasts = [&c](double asked) { return std::min(asked, c.inputAfter); };
  }
  EXPECT_EQ(implementor.tick(c.minimum, c.maximum), c.result);
  EXPECT_EQ(tickOnceCalls(), c.tickOnces);
  ASSERT_EQ(implementor.waits.size(), c.waits.size());
  for (std::size_t i = 0; i < c.waits.size(); ++i) EXPECT_NEAR(implementor.waits[i], c.waits[i], 1e-9);
  EXPECT_EQ(fed.count("pretick"), 1);
  EXPECT_EQ(fed.count("posttick"), 1);
  EXPECT_EQ(fed.calls.back(), "posttick");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BoundedTickTest,
    testing::Values(
        // Both bounds 0: one unit of work, whatever it did.
        BoundedCase{"ZeroBoundsIdle", 0, 0, {}, 0, 0, false, false, 1, RTI::RTI_FALSE, {}},
        BoundedCase{"ZeroBoundsBusy", 0, 0, {true, true}, 0, 0, false, false, 1, RTI::RTI_TRUE, {}},
        // A minimum not below the maximum waits until the maximum, also
        // when input wakes it early.
        BoundedCase{"MinimumAboveMaximum", 2, 1, {}, 0, 0.25, false, false, 4, RTI::RTI_FALSE, {1.0, 0.75, 0.5, 0.25}},
        // A wait that ends past the minimum ends the tick: no further unit.
        BoundedCase{"WaitPastMinimum", 0.5, 2, {}, 0, 0, false, false, 1, RTI::RTI_FALSE, {0.5}},
        // Work goes on while there is some and the maximum has not passed.
        BoundedCase{
            "WorksUntilTheMaximum", 0, 1, {true, true, true, true, true}, 0.25, 0, false, false, 4, RTI::RTI_TRUE, {}},
        // Once idle after the minimum it returns.
        BoundedCase{"IdleAfterTheMinimum", 0.1, 2, {true}, 0.3, 0, false, false, 2, RTI::RTI_FALSE, {}},
        // Idle before the minimum: waits, works what arrived, waits again.
        BoundedCase{"WaitsThenWorks",
                    1,
                    5,
                    {false, true, false},
                    0,
                    0.25,
                    false,
                    false,
                    5,
                    RTI::RTI_FALSE,
                    {1.0, 0.75, 0.5, 0.25}},
        // One callback per tick: the first unit that did work ends it.
        BoundedCase{"SingleCallback", 1, 5, {false, true, true}, 0, 0.25, true, false, 2, RTI::RTI_TRUE, {1.0}},
        // Busy waiting polls instead of waiting.
        BoundedCase{"BusyWait", 0.5, 2, {}, 0.2, 0, false, true, 3, RTI::RTI_FALSE, {}}),
    [](const testing::TestParamInfo<BoundedCase>& info) { return std::string(info.param.name); });

TEST(DtRtiAmbassadorImplementorTest, ConstructionSetsTheClassWideDefaultsAndMakesTheFederateMgr) {
  RidScope rid("(setq RTI_enableAttributeAdvisory 7)\n(setq RTI_enableAttributeScopeAdvisory 1)");
  FakeFederateMgr::Install install;
  DtRIDParameters params;
  DtMomMgr mom(nullptr);
  std::unique_ptr<DtRtiAmbassadorImplementor> implementor = DtRtiAmbassadorImplementor::create(&params, &mom);
  EXPECT_EQ(DtObjectMgr::theDefaultAttributeAdvisorySwitch, 1);
  EXPECT_EQ(DtObjectMgr::theDefaultAttributeScopeAdvisorySwitch, 1);
  EXPECT_EQ(implementor->fedMgr(), FakeFederateMgr::last);
  EXPECT_EQ(FakeFederateMgr::last->initMom, &mom);

  DtRIDParameters defaults;
  defaults.setEnableAttributeAdvisory(0);
  defaults.setEnableAttributeScopeAdvisory(0);
  implementor = DtRtiAmbassadorImplementor::create(&defaults, nullptr);
  EXPECT_EQ(DtObjectMgr::theDefaultAttributeAdvisorySwitch, 0);
  EXPECT_EQ(DtObjectMgr::theDefaultAttributeScopeAdvisorySwitch, 0);
}

// A connection manager without connections, whose waits take their time.
class WaitingConnectionMgr : public DtConnectionMgr {
public:
  char wait(double seconds) override {
    waits.push_back(seconds);
    DtSleep(seconds);
    return 0;
  }
  void yield() override { ++yields; }
  std::vector<double> waits;
  int yields = 0;
};

TEST(DtRtiAmbassadorImplementorTest, TheTickLoopsWaitAndYieldThroughTheConnectionManager) {
  RidScope rid;
  FakeFederateMgr::Install install;
  DtRIDParameters params;
  std::unique_ptr<DtRtiAmbassadorImplementor> implementor = DtRtiAmbassadorImplementor::create(&params, nullptr);
  auto owned = std::make_unique<WaitingConnectionMgr>();
  WaitingConnectionMgr& connections = *owned;
  FakeFederateMgr::last->setConnectMgr(std::move(owned));

  implementor->tick(0.02, 1.0);
  ASSERT_FALSE(connections.waits.empty());
  for (double wait : connections.waits) EXPECT_LE(wait, 0.02);

  params.setAsynchronousIO(1);
  implementor->tick();
  EXPECT_EQ(connections.yields, 1);
}

TEST(DtRtiAmbassadorImplementorTest, WrappersAreFiledInTheConnectionManagersChain) {
  RidScope rid;
  FakeFederateMgr::Install install;
  DtRIDParameters params;
  std::unique_ptr<DtRtiAmbassadorImplementor> implementor = DtRtiAmbassadorImplementor::create(&params, nullptr);
  auto* wrapper = new DtFedAmbWrapper;
  EXPECT_THROW(implementor->addFedAmbWrapper("w", wrapper), RTI::RTIinternalError);  // no chain yet

  FakeFederateMgr::last->setConnectMgr(std::make_unique<DtConnectionMgr>());
  implementor->addFedAmbWrapper("w", wrapper);
  std::unique_ptr<DtFedAmbWrapper> taken(implementor->removeFedAmbWrapper("w"));
  EXPECT_EQ(taken.get(), wrapper);
  EXPECT_EQ(implementor->removeFedAmbWrapper("w"), nullptr);
}

}  // namespace
