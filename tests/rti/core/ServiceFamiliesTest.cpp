// The implementor's services by family, called through an ambassador whose
// federate manager is scripted: the checks, the switched-off families with
// their exact texts, and the hand-over.
#include "RTI.hh"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "AllocationCounter.h"
#include "CoreTestSupport.h"
#include "api/DtRtiAmbassadorObserver.h"
#include "config/DtFedReader.h"
#include "core/DtTimeMgr.h"
#include "ddm/DtDataDistMgr.h"
#include "objects/DtInteractionMgr.h"
#include "objects/DtObjectMgr.h"
#include "rti/util/NotifyCapture.h"

namespace {

std::map<std::string, ServiceCall> callsOf(const std::vector<ServiceCall>& calls) {
  std::map<std::string, ServiceCall> byName;
  for (const ServiceCall& call : calls) byName.emplace(call.name, call);
  return byName;
}

// The first row of each name (the overloads share their checks).
const std::map<std::string, ServiceCall> federationServices =
    callsOf({DT_RTI_FEDERATION_SERVICES(QLX_SERVICE_CALL)});
const std::map<std::string, ServiceCall> timeServices = callsOf({DT_RTI_TIME_SERVICES(QLX_SERVICE_CALL)});
const std::map<std::string, ServiceCall> ddmServices = callsOf({DT_RTI_DDM_SERVICES(QLX_SERVICE_CALL)
                                                                    DT_RTI_SUPPORT_SERVICES(QLX_SERVICE_CALL)
                                                                        DT_RTI_TICK_AND_REGION_SERVICES(QLX_SERVICE_CALL)
                                                                            DT_RTI_ADVISORY_SERVICES(QLX_SERVICE_CALL)});

std::string sampleFed() { return std::string(QLX_SOURCE_ROOT) + "/rti/config/sample.fed"; }

// What an exception says.
struct Outcome {
  std::string exception;  // its class name; empty when nothing was thrown
  std::string reason;
};

Outcome run(const ServiceCall& service, RTI::RTIambassador& ambassador, ServiceArgs& args) {
  try {
    service.call(ambassador, args);
  } catch (RTI::Exception& e) {
    return {e._name ? e._name : "?", e._reason ? e._reason : ""};
  }
  return {};
}

// An ambassador over the scripted federate manager, with the RID file's
// forms, its messages recorded from the notify level on.
class FamilyTest : public testing::Test {
protected:
  void make(const std::string& forms = "") {
    rid = std::make_unique<RidScope>(forms);
    ambassador = std::make_unique<RTI::RTIambassador>();
    fed = FakeFederateMgr::last;
    notify = std::make_unique<NotifyCapture>(1);
  }
  // The service prints the text, then throws RTIinternalError with the
  // reason.
  void expectRefusal(const ServiceCall& service, const std::string& reason, const std::string& printed) {
    notify->clear();
    const Outcome outcome = run(service, *ambassador, args);
    EXPECT_EQ(outcome.exception, "RTIinternalError");
    EXPECT_EQ(outcome.reason, reason);
    EXPECT_EQ(notify->text(), printed);
  }
  ~FamilyTest() override {
    notify.reset();
    ambassador.reset();
  }

  FakeFederateMgr::Install install;
  PlainImplementor::Install plain;
  std::unique_ptr<RidScope> rid;
  std::unique_ptr<RTI::RTIambassador> ambassador;
  FakeFederateMgr* fed = nullptr;
  std::unique_ptr<NotifyCapture> notify;
  ServiceArgs args;
};

// Records the time services it is handed.
class RecordingTimeMgr : public DtTimeMgr {
public:
  explicit RecordingTimeMgr(std::vector<std::string>* calls)
      : DtTimeMgr(nullptr, nullptr, nullptr), calls_(calls) {}
  void queryLBTS(RTI::FedTime& time) override {
    calls_->push_back("queryLBTS");
    time.setZero();
  }
  void enableTimeRegulation(const RTI::FedTime&, const RTI::FedTime&) override {
    calls_->push_back("enableTimeRegulation");
  }

private:
  std::vector<std::string>* calls_;
};

struct TimeCase {
  const char* service;
  const char* joinedReason;
  const char* disabledReason;
};

// The cut names of the asynchronous delivery services are the system's own.
const std::vector<TimeCase> timeCases = {
    {"enableTimeRegulation", "Unable to process enableTimeRegulation.", "enableTimeRegulation disabled"},
    {"disableTimeRegulation", "Unable to process disableTimeRegulation.", "disableTimeRegulation disabled"},
    {"enableTimeConstrained", "Unable to process enableTimeConstrained.", "enableTimeConstrained disabled"},
    {"disableTimeConstrained", "Unable to process disableTimeConstrained.",
     "disableTimeConstrained disabled"},
    {"timeAdvanceRequest", "Unable to process timeAdvanceRequest.", "timeAdvanceRequest disabled"},
    {"timeAdvanceRequestAvailable", "Unable to process timeAdvanceRequestAvailable.",
     "timeAdvanceRequestAvailable disabled"},
    {"nextEventRequest", "Unable to process nextEventRequest.", "nextEventRequest disabled"},
    {"nextEventRequestAvailable", "Unable to process nextEventRequestAvailable.",
     "nextEventRequestAvailable disabled"},
    {"flushQueueRequest", "Unable to process flushQueueRequest.", "flushQueueRequest disabled"},
    {"enableAsynchronousDelivery", "Unable to process enableAsynchronousDeliver.",
     "enableAsynchronousDeliver disabled"},
    {"disableAsynchronousDelivery", "Unable to process disableAsynchronousDeliver.",
     "disableAsynchronousDeliver disabled"},
    {"queryLBTS", "Unable to process queryLBTS.", "queryLBTS disabled"},
    {"queryFederateTime", "Unable to process queryFederateTime.", "queryFederateTime disabled"},
    {"queryMinNextEventTime", "Unable to process queryMinNextEventTime.", "queryMinNextEventTime disabled"},
    {"modifyLookahead", "Unable to process modifyLookahead.", "modifyLookahead disabled"},
    {"queryLookahead", "Unable to process queryLookahead.", "queryLookahead disabled"},
    {"retract", "Unable to process retract.", "retract disabled"},
};

TEST_F(FamilyTest, TimeServicesOffAreRefusedWithTheServiceNamedWhileTheSwitchSaysSo) {
  make();
  fed->join();
  ASSERT_EQ(timeCases.size() + 2, timeServices.size());  // and the two order changes
  for (const TimeCase& c : timeCases) {
    SCOPED_TRACE(c.service);
    expectRefusal(timeServices.at(c.service), c.disabledReason,
                  std::string("Call to disabled RTI service: ") + c.service + "\n");
  }
}

TEST_F(FamilyTest, TimeServicesOffDoNothingWithoutTheSwitch) {
  make("(setq RTI_throwExceptionForDisabledService 0)");
  fed->join();
  for (const TimeCase& c : timeCases) {
    SCOPED_TRACE(c.service);
    EXPECT_EQ(run(timeServices.at(c.service), *ambassador, args).exception, "");
  }
  EXPECT_EQ(notify->text(), "");
  EXPECT_EQ(args.outTime.getTime(), -1.0);  // the queries left their time alone
}

TEST_F(FamilyTest, TimeServicesNeedAJoinedFederateEvenWhenOff) {
  make();
  for (const TimeCase& c : timeCases) {
    SCOPED_TRACE(c.service);
    const Outcome outcome = run(timeServices.at(c.service), *ambassador, args);
    EXPECT_EQ(outcome.exception, "FederateNotExecutionMember");
    EXPECT_EQ(outcome.reason, c.joinedReason);
  }
}

TEST_F(FamilyTest, TimeServicesOnGoToTheTimeManager) {
  make("(setq RTI_timeMgmt 1)");
  fed->join();
  // Until time management is built, the federate manager has no time manager.
  EXPECT_EQ(run(timeServices.at("queryLBTS"), *ambassador, args).reason, "queryLBTS not implemented");

  std::vector<std::string> calls;
  fed->setTimeMgr(std::make_unique<RecordingTimeMgr>(&calls));
  ambassador->queryLBTS(args.outTime);
  ambassador->enableTimeRegulation(args.time, args.time);
  EXPECT_EQ(calls, (std::vector<std::string>{"queryLBTS", "enableTimeRegulation"}));
  EXPECT_EQ(args.outTime.getTime(), 0.0);
  EXPECT_EQ(fed->count("testSaveProgress"), 3);
}

// Federation management: which check each service runs before its hand-over.
struct FederationCase {
  const char* service;
  const char* handedAs;    // the federate manager's call
  bool needsJoined;        // refused with "Unable to process <service>." before joining
  bool testsSave;          // asks the federate manager about save and restore
};

const std::vector<FederationCase> federationCases = {
    {"createFederationExecution", "create", false, false},
    {"destroyFederationExecution", "destroy", false, false},
    {"resignFederationExecution", "resign", true, false},
    {"registerFederationSynchronizationPoint", "registerSyncSet", true, true},
    {"synchronizationPointAchieved", "syncAchieved", true, true},
    {"requestFederationSave", "save", true, true},
    {"requestFederationRestore", "restore", true, true},
};

TEST_F(FamilyTest, FederationServicesCheckThenHandToTheFederateMgr) {
  make();
  for (const FederationCase& c : federationCases) {
    SCOPED_TRACE(c.service);
    fed->leave();
    fed->calls.clear();
    const Outcome notJoined = run(federationServices.at(c.service), *ambassador, args);
    if (c.needsJoined) {
      EXPECT_EQ(notJoined.exception, "FederateNotExecutionMember");
      EXPECT_EQ(notJoined.reason, std::string("Unable to process ") + c.service + ".");
      EXPECT_TRUE(fed->calls.empty());
    } else {
      EXPECT_EQ(fed->calls, std::vector<std::string>{c.handedAs});
    }

    fed->join();
    fed->calls.clear();
    EXPECT_EQ(run(federationServices.at(c.service), *ambassador, args).exception, "");
    std::vector<std::string> expected;
    if (c.testsSave) expected.push_back("testSaveProgress");
    expected.push_back(c.handedAs);
    EXPECT_EQ(fed->calls, expected);
  }
}

TEST_F(FamilyTest, JoiningTwiceIsRefusedAndTheHandleReturned) {
  make();
  EXPECT_EQ(ambassador->joinFederationExecution("F1", "Fx", &args.federateAmbassador), 7ul);
  const Outcome again = run(federationServices.at("joinFederationExecution"), *ambassador, args);
  EXPECT_EQ(again.exception, "FederateAlreadyExecutionMember");
  EXPECT_EQ(again.reason, "");
}

TEST_F(FamilyTest, SaveAndRestoreAnswersCheckTheSaveStateFirst) {
  make();
  fed->join();
  struct Case {
    bool saveInitiated, restoreInitiated;
    Outcome save, restore;
  };
  const std::vector<Case> cases = {
      {false, false, {"SaveNotInitiated", "No save initiated\n"}, {"RestoreNotRequested", "No Current restore\n"}},
      {false, true, {"SaveNotInitiated", "No save initiated\n"}, {}},
      {true, false, {}, {"SaveInProgress", "Can't restore during save\n"}},
      {true, true, {"RestoreInProgress", "Cannot save during restore\n"}, {"SaveInProgress", "Can't restore during save\n"}},
  };
  for (const Case& c : cases) {
    fed->setSaveState(c.saveInitiated, c.restoreInitiated);
    for (const char* service : {"federateSaveBegun", "federateSaveComplete", "federateSaveNotComplete"}) {
      const Outcome outcome = run(federationServices.at(service), *ambassador, args);
      EXPECT_EQ(outcome.exception, c.save.exception) << service << c.saveInitiated << c.restoreInitiated;
      EXPECT_EQ(outcome.reason, c.save.reason) << service;
    }
    for (const char* service : {"federateRestoreComplete", "federateRestoreNotComplete"}) {
      const Outcome outcome = run(federationServices.at(service), *ambassador, args);
      EXPECT_EQ(outcome.exception, c.restore.exception) << service << c.saveInitiated << c.restoreInitiated;
      EXPECT_EQ(outcome.reason, c.restore.reason) << service;
    }
  }
  EXPECT_EQ(fed->count("testSaveProgress"), 0);
}

TEST_F(FamilyTest, ServicesAreTracedAtLevelThreeOnly) {
  make();
  DtSetNotifyLevel(3);
  ambassador->createFederationExecution("Fx", "fx.fed");
  EXPECT_EQ(notify->text(), "RTI=>createFederationExecution:\nRTI=>\tFx fx.fed\n");
  notify->clear();
  DtSetNotifyLevel(2);
  ambassador->createFederationExecution("Fx", "fx.fed");
  EXPECT_EQ(notify->text(), "");
}

// Data distribution off: what each service prints and throws. The region
// tokens cut their names in what they throw.
struct DdmCase {
  const char* service;
  const char* reason;
};

const std::vector<DdmCase> ddmCases = {
    {"createRegion", "createRegion DDM services not active"},
    {"notifyAboutRegionModification", "RTI DDM services turned off: unable to process notifyAboutRegionModification"},
    {"deleteRegion", "RTI DDM services turned off: unable to process deleteRegion"},
    {"registerObjectInstanceWithRegion",
     "RTI DDM services turned off: unable to process registerObjectInstanceWithRegion"},
    {"associateRegionForUpdates", "RTI DDM services turned off: unable to process associateRegionForUpdates"},
    {"unassociateRegionForUpdates", "RTI DDM services turned off: unable to process unassociateRegionForUpdates"},
    {"subscribeObjectClassAttributesWithRegion",
     "RTI DDM services turned off: unable to process subscribeObjectClassAttributesWithRegion"},
    {"unsubscribeObjectClassWithRegion",
     "RTI DDM services turned off: unable to process unsubscribeObjectClassWithRegion"},
    {"subscribeInteractionClassWithRegion",
     "RTI DDM services turned off: unable to process subscribeInteractionClassWithRegion"},
    {"unsubscribeInteractionClassWithRegion",
     "RTI DDM services turned off: unable to process unsubscribeInteractionClassWithRegion"},
    {"requestClassAttributeValueUpdateWithRegion",
     "RTI DDM services turned off: unable to process requestClassAttributeValueUpdateWithRegion"},
    {"getRoutingSpaceHandle", "RTI DDM services turned off: unable to process getRoutingSpaceHandle"},
    {"getRoutingSpaceName", "RTI DDM services turned off: unable to process getRoutingSpaceName"},
    {"getDimensionHandle", "RTI DDM services turned off: unable to process getDimensionHandle"},
    {"getDimensionName", "RTI DDM services turned off: unable to process getDimensionName"},
    {"getAttributeRoutingSpaceHandle",
     "RTI DDM services turned off: unable to process getAttributeRoutingSpaceHandle"},
    {"getInteractionRoutingSpaceHandle",
     "RTI DDM services turned off: unable to process getInteractionRoutingSpaceHandle"},
    {"getRegionToken", "RTI DDM services turned off: unable to process getRegionToke"},
    {"getRegion", "RTI DDM services turned off: unable to process getRegio"},
};

TEST_F(FamilyTest, DataDistributionServicesOffPrintAndThrowTheirTexts) {
  make();
  fed->join();
  for (const DdmCase& c : ddmCases) {
    SCOPED_TRACE(c.service);
    expectRefusal(ddmServices.at(c.service), c.reason,
                  std::string("RTI DDM services turned off: unable to process ") + c.service + "\n");
  }
}

// Records the interaction manager's region form of send.
class RecordingInteractionMgr : public DtInteractionMgr {
public:
  RecordingInteractionMgr() : DtInteractionMgr(nullptr, nullptr, nullptr) {}
  std::uint32_t send(RTI::InteractionClassHandle, const RTI::ParameterHandleValuePairSet&,
                     const RTI::FedTime* time, const char*, const RTI::Region& region) override {
    sentWithRegion = &region;
    return time ? 9 : 0;
  }
  const RTI::Region* sentWithRegion = nullptr;
};

TEST_F(FamilyTest, SendingWithARegionAndTheScopeSwitchesNeedNoDataDistribution) {
  make();
  fed->join();
  auto interactions = std::make_unique<RecordingInteractionMgr>();
  RecordingInteractionMgr* recorder = interactions.get();
  fed->setInterMgr(std::move(interactions));
  fed->setObjMgr(std::make_unique<DtObjectMgr>(nullptr, nullptr, nullptr));

  const RTI::EventRetractionHandle handle =
      ambassador->sendInteractionWithRegion(1, args.parameters, args.time, "tag", args.region);
  EXPECT_EQ(recorder->sentWithRegion, &args.region);
  EXPECT_EQ(handle.theSerialNumber, 9ul);
  EXPECT_EQ(handle.sendingFederate, 7ul);
  EXPECT_EQ(notify->text(), "");

  ambassador->enableAttributeScopeAdvisorySwitch();
  EXPECT_EQ(fed->objMgr()->attributeScopeSwitch(), 1);
  ambassador->disableAttributeScopeAdvisorySwitch();
  EXPECT_EQ(fed->objMgr()->attributeScopeSwitch(), 0);
  EXPECT_EQ(notify->text(),
            "RTI DDM services turned off: unable to process enableAttributeScopeAdvisorySwitch\n"
            "RTI DDM services turned off: unable to process disableAttributeScopeAdvisorySwitch\n");
}

// A data distribution manager whose region services the test sees.
class RecordingDdmMgr : public DtDataDistMgr {
public:
  RecordingDdmMgr() : DtDataDistMgr(nullptr, nullptr) {}
  DtRegion* createRegion(RTI::SpaceHandle, RTI::ULong) override { return &region; }
  bool isMemberLocalRegions(RTI::RegionToken token) override { return token == region.handle(); }
  DtRegion* localRegion(RTI::RegionToken) override { return &region; }
  TestRegion region{5};
};

TEST_F(FamilyTest, WithoutADataDistributionManagerDataDistributionIsOff) {
  make("(setq RTI_dataDistMgmt 1)");
  fed->join();
  const Outcome outcome = run(ddmServices.at("createRegion"), *ambassador, args);
  EXPECT_EQ(outcome.reason, "createRegion DDM services not active");

  fed->setDdmMgr(std::make_unique<RecordingDdmMgr>());
  RTI::Region* region = ambassador->createRegion(1, 1);
  EXPECT_EQ(ambassador->getRegionToken(region), 5ul);
  EXPECT_EQ(ambassador->getRegion(5), region);
  EXPECT_THROW(ambassador->getRegion(6), RTI::RegionNotKnown);  // another federate's region
}

TEST_F(FamilyTest, LookUpsNeedAJoinedFederateWithAModelButNoSaveTest) {
  make("(setq RTI_dataDistMgmt 1)");
  EXPECT_THROW(ambassador->getObjectClassHandle("Sample"), RTI::FederateNotExecutionMember);
  fed->join();
  // Joined without a class manager: the guarded look-ups refuse it.
  const Outcome guarded = run(ddmServices.at("getRoutingSpaceHandle"), *ambassador, args);
  EXPECT_EQ(guarded.exception, "FederateNotExecutionMember");
  EXPECT_EQ(guarded.reason, "");

  ASSERT_TRUE(fed->readFom(sampleFed().c_str()));
  const RTI::ObjectClassHandle sample = ambassador->getObjectClassHandle("Sample");
  std::unique_ptr<char[]> name(ambassador->getObjectClassName(sample));
  EXPECT_STREQ(name.get(), "ObjectRoot.Sample");
  const RTI::SpaceHandle geo = ambassador->getRoutingSpaceHandle("Geo");
  std::unique_ptr<char[]> dimension(ambassador->getDimensionName(ambassador->getDimensionHandle("Y", geo), geo));
  EXPECT_STREQ(dimension.get(), "Y");
  EXPECT_EQ(fed->count("testSaveProgress"), 0);
}

// Below notify level 3 a service builds no trace and looks nothing up for
// one.
class CountingFom : public DtFomClassMgr {
public:
  DtObjectClassInfo* classByHandle(RTI::ObjectClassHandle handle) const override {
    ++lookUps;
    return DtFomClassMgr::classByHandle(handle);
  }
  mutable int lookUps = 0;
};

TEST_F(FamilyTest, TracesLookNamesUpOnlyAtLevelThree) {
  make();
  fed->join();
  DtFedReader reader;
  auto counting = std::make_unique<CountingFom>();
  const int read = reader.readFed(sampleFed().c_str(), counting.get());
  ASSERT_TRUE(read != 1 && read != 2);
  CountingFom& lookUps = *counting;
  fed->setFom(std::move(counting));

  DtSetNotifyLevel(2);
  EXPECT_THROW(ambassador->publishObjectClass(3, args.attributes), RTI::RTIinternalError);
  EXPECT_EQ(lookUps.lookUps, 0);
  EXPECT_EQ(notify->text(), "");
  DtSetNotifyLevel(3);
  EXPECT_THROW(ambassador->publishObjectClass(3, args.attributes), RTI::RTIinternalError);
  EXPECT_EQ(lookUps.lookUps, 1);
  EXPECT_NE(notify->text().find("RTI=>publishObjectClass:\nRTI=>\tObjectRoot.Sample(3)\n"), std::string::npos);
}

TEST_F(FamilyTest, AServiceCallAllocatesNothingBelowTraceLevel) {
  make();
  fed->join();
  ASSERT_TRUE(fed->readFom(sampleFed().c_str()));
  DtSetNotifyLevel(2);
  ambassador->getObjectClassHandle("Sample");  // anything done once is done

  std::uint64_t before = allocationsOnThisThread();
  for (int i = 0; i < 10; ++i) ambassador->getObjectClassHandle("Sample");
  EXPECT_EQ(allocationsOnThisThread() - before, 0u);

  // Nor with an observer: it is told the result by reference.
  PlainImplementor::last->addObserver("observer", new DtRtiAmbassadorObserver);
  ambassador->getObjectClassHandle("Sample");
  before = allocationsOnThisThread();
  for (int i = 0; i < 10; ++i) ambassador->getObjectClassHandle("Sample");
  EXPECT_EQ(allocationsOnThisThread() - before, 0u);
}

}  // namespace
