// The implementor's time, data distribution and support services and its
// advisory switches, one table per family, as the other families' tables
// (ServiceFamilyFixture.h): the checks and how each refuses, the trace, the
// hand-over with its arguments, the result. These families add the
// switches of the RID file and the guards of the managers they need.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ServiceFamilyFixture.h"
#include "config/DtRIDParameters.h"
#include "objects/DtFomClassMgr.h"

namespace {

std::string header(const char* service) { return std::string("RTI=>") + service + ":\n"; }

const std::string attributeSet = "NumHandles:          1\n 1\n\n";
const std::string parameterSet = "NumValues:           1\nHandle:              0\nBytes:               1\n 70\n";
const std::string printedTime = "1.5";

class SwitchedFamilies : public ServiceFamilyFixture {
public:
  // Time management off, with RTI_throwExceptionForDisabledService set:
  // "Call to disabled RTI service: <service>" printed and "<name>
  // disabled" thrown once the save test passed. On once lifted.
  ServiceCheck timeSwitch() const {
    return {"RTI_timeMgmt",
            [](ServiceFamilyFixture& f) {
              f.rid->setTimeMgmt(0);
              f.rid->setThrowExceptionForDisabledService(1);
            },
            [](ServiceFamilyFixture& f) { f.rid->setTimeMgmt(1); },
            [](const ServiceRow& row) {
              return ServiceOutcome{"RTIinternalError: " + row.nameInReasons() + " disabled",
                                    "",
                                    {"testSaveProgress"},
                                    std::string("Call to disabled RTI service: ") + row.service + "\n"};
            }};
  }

  // A federate without the manager: refused as not joined, with no reason.
  template <class Manager>
  ServiceCheck missing(const char* name, std::unique_ptr<Manager>& (FakeFederateMgr::*slot)(),
                       std::unique_ptr<Manager>& spare) const {
    return {name,
            [slot, &spare](ServiceFamilyFixture& f) {
              if ((f.fed->*slot)()) spare = std::move((f.fed->*slot)());
            },
            [slot, &spare](ServiceFamilyFixture& f) {
              if (spare) (f.fed->*slot)() = std::move(spare);
            },
            [](const ServiceRow&) {
              return ServiceOutcome{"FederateNotExecutionMember: ", "", {}, ""};
            }};
  }

  // The switches of the object and interaction managers.
  std::string switches() const {
    return "class " + std::to_string(objects->classRelevanceSwitch()) + " attribute " +
           std::to_string(objects->attributeRelevanceSwitch()) + " scope " +
           std::to_string(objects->attributeScopeSwitch()) + " interaction " +
           std::to_string(interactions->relevanceAdvisorySwitch());
  }

  std::unique_ptr<DtFomClassMgr> spareFom;
  std::unique_ptr<DtObjectMgr> spareObjects;
  std::unique_ptr<DtDataDistMgr> spareDdm;
};

TEST_F(SwitchedFamilies, TimeManagement) {
  constexpr unsigned J = 1, S = 2, W = 4;
  const auto query = [](void (RTI::RTIambassador::*service)(RTI::FedTime&)) {
    return [service](ServiceFamilyFixture& f) {
      (f.ambassador.get()->*service)(f.args.outTime);
      return logText(f.args.outTime);
    };
  };
  // None is traced; the asynchronous delivery services cut their names in
  // what they throw.
  // clang-format off
  const std::vector<ServiceRow> rows = {
      {"enableTimeRegulation", QLX_SERVICE(rti.enableTimeRegulation(arg.time, arg.time)), J | S | W, "",
       {"testSaveProgress", "enableTimeRegulation(1.5,1.5)"}, ""},
      {"disableTimeRegulation", QLX_SERVICE(rti.disableTimeRegulation()), J | S | W, "",
       {"testSaveProgress", "disableTimeRegulation()"}, ""},
      {"enableTimeConstrained", QLX_SERVICE(rti.enableTimeConstrained()), J | S | W, "",
       {"testSaveProgress", "enableTimeConstrained()"}, ""},
      {"disableTimeConstrained", QLX_SERVICE(rti.disableTimeConstrained()), J | S | W, "",
       {"testSaveProgress", "disableTimeConstrained()"}, ""},
      {"timeAdvanceRequest", QLX_SERVICE(rti.timeAdvanceRequest(arg.time)), J | S | W, "",
       {"testSaveProgress", "timeAdvanceRequest(1.5)"}, ""},
      {"timeAdvanceRequestAvailable", QLX_SERVICE(rti.timeAdvanceRequestAvailable(arg.time)), J | S | W, "",
       {"testSaveProgress", "timeAdvanceRequestAvailable(1.5)"}, ""},
      {"nextEventRequest", QLX_SERVICE(rti.nextEventRequest(arg.time)), J | S | W, "",
       {"testSaveProgress", "nextEventRequest(1.5)"}, ""},
      {"nextEventRequestAvailable", QLX_SERVICE(rti.nextEventRequestAvailable(arg.time)), J | S | W, "",
       {"testSaveProgress", "nextEventRequestAvailable(1.5)"}, ""},
      {"flushQueueRequest", QLX_SERVICE(rti.flushQueueRequest(arg.time)), J | S | W, "",
       {"testSaveProgress", "flushQueueRequest(1.5)"}, ""},
      {"enableAsynchronousDelivery", QLX_SERVICE(rti.enableAsynchronousDelivery()), J | S | W, "",
       {"testSaveProgress", "enableAsynchronousDelivery()"}, "", "enableAsynchronousDeliver"},
      {"disableAsynchronousDelivery", QLX_SERVICE(rti.disableAsynchronousDelivery()), J | S | W, "",
       {"testSaveProgress", "disableAsynchronousDelivery()"}, "", "disableAsynchronousDeliver"},
      {"queryLBTS", query(&RTI::RTIambassador::queryLBTS), J | S | W, "", {"testSaveProgress", "queryLBTS()"}, "2.5"},
      {"queryFederateTime", query(&RTI::RTIambassador::queryFederateTime), J | S | W, "",
       {"testSaveProgress", "queryFederateTime()"}, "2.5"},
      {"queryMinNextEventTime", query(&RTI::RTIambassador::queryMinNextEventTime), J | S | W, "",
       {"testSaveProgress", "queryMinNextEventTime()"}, "2.5"},
      {"modifyLookahead", QLX_SERVICE(rti.modifyLookahead(arg.time)), J | S | W, "",
       {"testSaveProgress", "modifyLookahead(1.5)"}, ""},
      {"queryLookahead", query(&RTI::RTIambassador::queryLookahead), J | S | W, "",
       {"testSaveProgress", "queryLookahead()"}, "2.5"},
      {"retract", QLX_SERVICE(rti.retract(RTI::EventRetractionHandle{5, 7})), J | S | W, "",
       {"testSaveProgress", "retract(5,7)"}, ""},
      // The order changes of the same chapter are not switched.
      {"changeAttributeOrderType", QLX_SERVICE(rti.changeAttributeOrderType(11, arg.attributes, 1)), J | S, "",
       {"testSaveProgress", "setAttributeOrderType(11,{1},1)"}, ""},
      {"changeInteractionOrderType", QLX_SERVICE(rti.changeInteractionOrderType(4, 0)), J | S, "",
       {"testSaveProgress", "setOrder(4,0)"}, ""},
  };
  // clang-format on
  checkRows(rows, {joined(), save(), timeSwitch()});

  // Off without RTI_throwExceptionForDisabledService: nothing at all, and a
  // query leaves its time alone.
  rid->setTimeMgmt(0);
  rid->setThrowExceptionForDisabledService(0);
  for (const ServiceRow& row : rows) {
    if (!(row.checks & W)) continue;
    SCOPED_TRACE(row.service);
    args.outTime = RTIfedTime(-1.0);
    const ServiceOutcome outcome = run(row, 3);
    EXPECT_EQ(outcome.thrown, "");
    EXPECT_EQ(outcome.handedOver, std::vector<std::string>{"testSaveProgress"});
    EXPECT_EQ(outcome.printed, "");
    EXPECT_EQ(args.outTime.getTime(), -1.0);
  }

  // On, while the federate has no time manager: not built yet.
  rid->setTimeMgmt(1);
  fed->timeMgrSlot().reset();
  EXPECT_EQ(run(rows[0], 1).thrown, "RTIinternalError: enableTimeRegulation not implemented");
}

TEST_F(SwitchedFamilies, DataDistributionManagement) {
  constexpr unsigned J = 1, S = 2, T = 4, M = 8, R = 16;
  const std::string sample = "RTI=>\tObjectRoot.Sample(3)";
  const std::string message = "RTI=>\tInteractionRoot.Message(4)";
  // clang-format off
  const std::vector<ServiceRow> rows = {
      {"createRegion", QLX_SERVICE(rti.createRegion(1, 2)), J | S | M, header("createRegion") + "RTI=>\tGeo(1) 2\n",
       {"testSaveProgress", "createRegion(1,2)"}, "r5"},
      {"notifyAboutRegionModification", QLX_SERVICE(rti.notifyAboutRegionModification(arg.region)), J | S | M,
       header("notifyAboutRegionModification") + "RTI=>\t42\n",
       {"testSaveProgress", "notifyAboutRegionModification(r42)"}, ""},
      {"deleteRegion", QLX_SERVICE(rti.deleteRegion(&arg.region)), J | S | M, header("deleteRegion") + "RTI=>\t42\n",
       {"testSaveProgress", "deleteRegion(r42)"}, ""},
      {"registerObjectInstanceWithRegion",
       QLX_SERVICE(rti.registerObjectInstanceWithRegion(3, arg.handles, arg.regions, 1)), J | S | M,
       header("registerObjectInstanceWithRegion") + sample + " 1\nRTI=>\t1 42\n",
       {"testSaveProgress", "registerWithRegion(3,1,r42,1)"}, "12"},
      {"registerObjectInstanceWithRegion",
       QLX_SERVICE(rti.registerObjectInstanceWithRegion(3, "Obj12", arg.handles, arg.regions, 1)), J | S | M,
       header("registerObjectInstanceWithRegion") + sample + " Obj12 1\nRTI=>\t1 42\n",
       {"testSaveProgress", "registerWithRegion(3,Obj12,1,r42,1)"}, "12"},
      {"associateRegionForUpdates", QLX_SERVICE(rti.associateRegionForUpdates(arg.region, 11, arg.attributes)),
       J | S | M, header("associateRegionForUpdates") + "RTI=>\t42 11\n" + attributeSet,
       {"testSaveProgress", "associateRegionForUpdates(r42,11,{1},0)"}, ""},
      {"unassociateRegionForUpdates", QLX_SERVICE(rti.unassociateRegionForUpdates(arg.region, 11)), J | S | R,
       header("unassociateRegionForUpdates") + "RTI=>\t42 11\n", {"testSaveProgress", "unassociateRegionForUpdates(r42,11)"},
       ""},
      {"subscribeObjectClassAttributesWithRegion",
       QLX_SERVICE(rti.subscribeObjectClassAttributesWithRegion(3, arg.region, arg.attributes, RTI::RTI_FALSE)),
       J | S | R, header("subscribeObjectClassAttributesWithRegion") + sample + " 42 passive\n" + attributeSet,
       {"testSaveProgress", "subscribeWithRegion(3,r42,{1},0)"}, ""},
      // This one header has no colon.
      {"unsubscribeObjectClassWithRegion", QLX_SERVICE(rti.unsubscribeObjectClassWithRegion(3, arg.region)), J | S | R,
       "RTI=>unsubscribeObjectClassWithRegion\n" + sample + " 42\n", {"testSaveProgress", "unsubscribeWithRegion(3,r42)"},
       ""},
      {"subscribeInteractionClassWithRegion",
       QLX_SERVICE(rti.subscribeInteractionClassWithRegion(4, arg.region, RTI::RTI_TRUE)), J | S | R,
       header("subscribeInteractionClassWithRegion") + message + " 42 active\n",
       {"testSaveProgress", "subscribeWithRegion(4,r42,1)"}, ""},
      {"unsubscribeInteractionClassWithRegion", QLX_SERVICE(rti.unsubscribeInteractionClassWithRegion(4, arg.region)),
       J | S | R, header("unsubscribeInteractionClassWithRegion") + message + " 42\n",
       {"testSaveProgress", "unsubscribeWithRegion(4,r42)"}, ""},
      // Sending with a region has no switch of its own.
      {"sendInteractionWithRegion", QLX_SERVICE(rti.sendInteractionWithRegion(4, arg.parameters, "tag", arg.region)),
       J | S, header("sendInteractionWithRegion") + message + " tag 42\n" + parameterSet,
       {"testSaveProgress", "send(4,{0},null,tag,r42)"}, ""},
      {"sendInteractionWithRegion",
       QLX_SERVICE(rti.sendInteractionWithRegion(4, arg.parameters, arg.time, "tag", arg.region)), J | S | T,
       header("sendInteractionWithRegion") + message + " " + printedTime + " tag 42\n" + parameterSet,
       {"testSaveProgress", "isValidTimeStamp(1.5)", "send(4,{0},1.5,tag,r42)"}, "31/7"},
      {"requestClassAttributeValueUpdateWithRegion",
       QLX_SERVICE(rti.requestClassAttributeValueUpdateWithRegion(3, arg.attributes, arg.region)), J | S | R,
       header("requestClassAttributeValueUpdateWithRegion") + sample + " 42\n" + attributeSet,
       {"testSaveProgress", "requestClassUpdateWithRegion(3,{1},r42)"}, ""},
  };
  // clang-format on
  checkRows(rows, {joined(), save(), timeStamp(), ddmByManager({"testSaveProgress"}), ddmByRid({"testSaveProgress"})});

  // An empty set ends the subscription for the region.
  const ServiceRow emptySet =
      callOf("subscribeObjectClassAttributesWithRegion",
             QLX_SERVICE(rti.subscribeObjectClassAttributesWithRegion(3, arg.region, arg.noAttributes, RTI::RTI_TRUE)));
  EXPECT_EQ(run(emptySet, 1).handedOver,
            (std::vector<std::string>{"testSaveProgress", "unsubscribeWithRegion(3,r42)"}));
  // A federate without a data distribution manager has data distribution
  // off for the services that ask the manager.
  fed->ddmMgrSlot().reset();
  EXPECT_EQ(run(rows[0], 1).thrown, "RTIinternalError: createRegion DDM services not active");
  EXPECT_EQ(run(rows[5], 1).thrown,
            "RTIinternalError: RTI DDM services turned off: unable to process associateRegionForUpdates");
}

TEST_F(SwitchedFamilies, SupportServices) {
  constexpr unsigned J = 1, S = 2, D = 4, F = 8, O = 16, M = 32;
  (void)S;  // no look-up runs the save test: the save stays in the way of every one
  // clang-format off
  const std::vector<ServiceRow> rows = {
      {"getObjectClassHandle", QLX_SERVICE(rti.getObjectClassHandle("Sample")), J | F,
       header("getObjectClassHandle") + "RTI=>\tSample\n", {}, "3"},
      {"getObjectClassName", QLX_SERVICE(rti.getObjectClassName(3)), J | F, header("getObjectClassName") + "RTI=>\t3\n",
       {}, "ObjectRoot.Sample"},
      {"getAttributeHandle", QLX_SERVICE(rti.getAttributeHandle("Position", 3)), J | F,
       header("getAttributeHandle") + "RTI=>\tPosition 3\n", {}, "2"},
      {"getAttributeName", QLX_SERVICE(rti.getAttributeName(2, 3)), J | F, header("getAttributeName") + "RTI=>\t2 3\n",
       {}, "Position"},
      {"getInteractionClassHandle", QLX_SERVICE(rti.getInteractionClassHandle("Message")), J | F,
       header("getInteractionClassHandle") + "RTI=>\tMessage\n", {}, "4"},
      {"getInteractionClassName", QLX_SERVICE(rti.getInteractionClassName(5)), J | F,
       header("getInteractionClassName") + "RTI=>\t5\n", {}, "InteractionRoot.Message.Alert"},
      {"getParameterHandle", QLX_SERVICE(rti.getParameterHandle("Level", 5)), J | F,
       header("getParameterHandle") + "RTI=>\tLevel 5\n", {}, "1"},
      {"getParameterName", QLX_SERVICE(rti.getParameterName(0, 5)), J | F, header("getParameterName") + "RTI=>\t0 5\n",
       {}, "Text"},
      {"getObjectInstanceHandle", QLX_SERVICE(rti.getObjectInstanceHandle("Obj11")), J | O,
       header("getObjectInstanceHandle") + "RTI=>\tObj11\n", {}, "11"},
      {"getObjectInstanceName", QLX_SERVICE(rti.getObjectInstanceName(11)), J | O, "RTI=>getObjectInstanceName: 11\n",
       {}, "Obj11"},
      {"getObjectClass", QLX_SERVICE(rti.getObjectClass(11)), J | O, header("getObjectClass") + "RTI=>\t11\n", {}, "3"},
      {"getRoutingSpaceHandle", QLX_SERVICE(rti.getRoutingSpaceHandle("Geo")), J | D | F,
       header("getRoutingSpaceHandle") + "RTI=>\tGeo\n", {}, "1"},
      {"getRoutingSpaceName", QLX_SERVICE(rti.getRoutingSpaceName(1)), J | D | F,
       header("getRoutingSpaceName") + "RTI=>\t1\n", {}, "Geo"},
      {"getDimensionHandle", QLX_SERVICE(rti.getDimensionHandle("Y", 1)), J | D | F,
       header("getDimensionHandle") + "RTI=>\tY 1\n", {}, "1"},
      {"getDimensionName", QLX_SERVICE(rti.getDimensionName(0, 1)), J | D | F,
       header("getDimensionName") + "RTI=>\t0 1\n", {}, "X"},
      {"getAttributeRoutingSpaceHandle", QLX_SERVICE(rti.getAttributeRoutingSpaceHandle(2, 3)), J | D | M,
       header("getAttributeRoutingSpaceHandle") + "RTI=>\t2 3\n", {"getAttributeRoutingSpaceHandle(2,3)"}, "1"},
      {"getInteractionRoutingSpaceHandle", QLX_SERVICE(rti.getInteractionRoutingSpaceHandle(5)), J | D | M,
       header("getInteractionRoutingSpaceHandle") + "RTI=>\t5\n", {"getInteractionRoutingSpaceHandle(5)"}, "2"},
      // Transport and order names are the federate manager's, and not traced.
      {"getTransportationHandle", QLX_SERVICE(rti.getTransportationHandle("reliable")), J, "",
       {"getTransportationHandle(reliable)"}, "1"},
      {"getTransportationName", QLX_SERVICE(rti.getTransportationName(1)), J, "", {"getTransportationName(1)"},
       "reliable"},
      {"getOrderingHandle", QLX_SERVICE(rti.getOrderingHandle("timestamp")), J, "", {"getOrderHandle(timestamp)"}, "1"},
      {"getOrderingName", QLX_SERVICE(rti.getOrderingName(1)), J, "", {"getOrderName(1)"}, "timestamp"},
      // The region tokens cut their names in what they throw.
      {"getRegionToken", QLX_SERVICE(rti.getRegionToken(&fixture.ddm->created)), J | D | M, header("getRegionToken"),
       {}, "5", "getRegionToke"},
      {"getRegion", QLX_SERVICE(rti.getRegion(5)), J | D | M, header("getRegion") + "RTI=>\t5\n", {}, "r5", "getRegio"},
  };
  // clang-format on
  checkRows(rows, {joined(), save(), ddmByRid({}), missing("class manager", &FakeFederateMgr::fomSlot, spareFom),
                   missing("object manager", &FakeFederateMgr::objMgrSlot, spareObjects),
                   missing("data distribution manager", &FakeFederateMgr::ddmMgrSlot, spareDdm)});

  // A region this federate does not hold has no token, and a token of
  // another federate's region names no region here.
  for (const ServiceRow& row : std::vector<ServiceRow>{
           callOf("getRegion", QLX_SERVICE(rti.getRegion(42))),
           callOf("getRegionToken", QLX_SERVICE(rti.getRegionToken(nullptr))),
       }) {
    EXPECT_EQ(run(row, 1).thrown, "RegionNotKnown: ") << row.service;
  }
}

TEST_F(SwitchedFamilies, AdvisorySwitches) {
  constexpr unsigned J = 1, S = 2;
#define QLX_SWITCH(service)                              \
  [](ServiceFamilyFixture& f) {                          \
    f.ambassador->service();                             \
    return static_cast<SwitchedFamilies&>(f).switches(); \
  }
  // Each one's refusal cuts the last letter of its name. The rows run in
  // order, each from the switches the one before left.
  const std::string warning = "RTI DDM services turned off: unable to process ";
  // clang-format off
  const std::vector<ServiceRow> rows = {
      {"disableClassRelevanceAdvisorySwitch", QLX_SWITCH(disableClassRelevanceAdvisorySwitch), J | S,
       header("disableClassRelevanceAdvisorySwitch"), {"testSaveProgress"}, "class 0 attribute 0 scope 0 interaction 1",
       "disableClassRelevanceAdvisorySwitc"},
      {"enableClassRelevanceAdvisorySwitch", QLX_SWITCH(enableClassRelevanceAdvisorySwitch), J | S,
       header("enableClassRelevanceAdvisorySwitch"), {"testSaveProgress"}, "class 1 attribute 0 scope 0 interaction 1",
       "enableClassRelevanceAdvisorySwitc"},
      {"enableAttributeRelevanceAdvisorySwitch", QLX_SWITCH(enableAttributeRelevanceAdvisorySwitch), J | S,
       header("enableAttributeRelevanceAdvisorySwitch"), {"testSaveProgress"},
       "class 1 attribute 1 scope 0 interaction 1", "enableAttributeRelevanceAdvisorySwitc"},
      {"disableAttributeRelevanceAdvisorySwitch", QLX_SWITCH(disableAttributeRelevanceAdvisorySwitch), J | S,
       header("disableAttributeRelevanceAdvisorySwitch"), {"testSaveProgress"},
       "class 1 attribute 0 scope 0 interaction 1", "disableAttributeRelevanceAdvisorySwitc"},
      // With data distribution off the scope switches say so, and switch.
      {"enableAttributeScopeAdvisorySwitch", QLX_SWITCH(enableAttributeScopeAdvisorySwitch), J | S,
       header("enableAttributeScopeAdvisorySwitch") + warning + "enableAttributeScopeAdvisorySwitch\n",
       {"testSaveProgress", "enableAttributeScopeSwitch()"}, "class 1 attribute 0 scope 1 interaction 1",
       "enableAttributeScopeAdvisorySwitc"},
      {"disableAttributeScopeAdvisorySwitch", QLX_SWITCH(disableAttributeScopeAdvisorySwitch), J | S,
       header("disableAttributeScopeAdvisorySwitch") + warning + "disableAttributeScopeAdvisorySwitch\n",
       {"testSaveProgress", "disableAttributeScopeSwitch()"}, "class 1 attribute 0 scope 0 interaction 1",
       "disableAttributeScopeAdvisorySwitc"},
      {"disableInteractionRelevanceAdvisorySwitch", QLX_SWITCH(disableInteractionRelevanceAdvisorySwitch), J | S,
       header("disableInteractionRelevanceAdvisorySwitch"), {"testSaveProgress"},
       "class 1 attribute 0 scope 0 interaction 0", "disableInteractionRelevanceAdvisorySwitc"},
      {"enableInteractionRelevanceAdvisorySwitch", QLX_SWITCH(enableInteractionRelevanceAdvisorySwitch), J | S,
       header("enableInteractionRelevanceAdvisorySwitch"), {"testSaveProgress"},
       "class 1 attribute 0 scope 0 interaction 1", "enableInteractionRelevanceAdvisorySwitc"},
  };
  // clang-format on
#undef QLX_SWITCH
  checkRows(rows, {joined(), save()});

  // With data distribution on the scope switches say nothing more; enabling
  // the scope switch needs the object manager.
  rid->setDataDistMgmt(1);
  EXPECT_EQ(run(rows[4], 3).printed, header("enableAttributeScopeAdvisorySwitch"));
  EXPECT_EQ(run(rows[5], 3).printed, header("disableAttributeScopeAdvisorySwitch"));
  fed->objMgrSlot().reset();
  EXPECT_EQ(run(rows[4], 1).thrown, "FederateNotExecutionMember: ");
}

// A transportation or ordering handle too wide for the 32-bit number the
// managers take reaches them as the largest number, which names no type and
// which they refuse, never as its low bits (here 1, a valid type).
constexpr RTI::Handle wideHandle = (RTI::Handle{1} << 32) + 1;

TEST_F(SwitchedFamilies, TransportAndOrderHandlesTooWideAreNotCut) {
  const std::vector<std::pair<ServiceRow, std::string>> cases = {
      {callOf("changeAttributeTransportationType",
              QLX_SERVICE(rti.changeAttributeTransportationType(11, arg.attributes, wideHandle))),
       "setAttributeTransportType(11,{1},4294967295)"},
      {callOf("changeInteractionTransportationType",
              QLX_SERVICE(rti.changeInteractionTransportationType(4, wideHandle))),
       "setTransport(4,4294967295)"},
      {callOf("changeAttributeOrderType", QLX_SERVICE(rti.changeAttributeOrderType(11, arg.attributes, wideHandle))),
       "setAttributeOrderType(11,{1},4294967295)"},
      {callOf("changeInteractionOrderType", QLX_SERVICE(rti.changeInteractionOrderType(4, wideHandle))),
       "setOrder(4,4294967295)"},
      {callOf("getTransportationName", QLX_SERVICE(rti.getTransportationName(wideHandle))),
       "getTransportationName(4294967295)"},
      {callOf("getOrderingName", QLX_SERVICE(rti.getOrderingName(wideHandle))), "getOrderName(4294967295)"},
  };
  for (const auto& [row, handedAs] : cases) {
    const std::vector<std::string> handedOver = run(row, 1).handedOver;
    ASSERT_FALSE(handedOver.empty()) << row.service;
    EXPECT_EQ(handedOver.back(), handedAs);
  }
}

}  // namespace
