// Service and callback reporting in one process: the argument texts, the
// report rows of the services (through the MOM's observer) and of the
// callbacks (through its wrapper), the exception path of a callback, and
// the refusal to subscribe the reports while they are made.

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "MomMgrTestSupport.h"
#include "NullFederateAmbassador.hh"
#include "api/DtAttrValueSet.h"
#include "api/DtParamValueSet.h"
#include "fedtime.hh"
#include "mom/DtMomArgument.h"
#include "mom/DtMomFedAmbWrapper.h"
#include "mom/DtMomHandleCache.h"
#include "mom/DtMomObserver.h"
#include "mom/DtMomReports.h"
#include "mom/DtMomServiceReportSender.h"
#include "rti/api/FlatRegion.h"

using namespace momtest;

namespace {

constexpr const char* theSetServiceReporting = "Manager.Federate.Adjust.SetServiceReporting";
constexpr const char* theReportServiceInvocation = "Manager.Federate.Report.ReportServiceInvocation";

using TestRegion = FlatRegion<>;

// A federate's own set class: it holds any handle, the largest too.
template <class Set>
class HandleList final : public Set {
public:
  HandleList(std::initializer_list<RTI::ULong> handles) : handles_(handles) {}
  RTI::ULong size() const override { return handles_.size(); }
  RTI::ULong getHandle(RTI::ULong i) const override { return handles_.at(i); }
  void add(RTI::ULong h) override { handles_.push_back(h); }
  void remove(RTI::ULong) override {}
  void empty() override { handles_.clear(); }
  RTI::Boolean isMember(RTI::ULong) const override { return RTI::RTI_FALSE; }

private:
  std::vector<RTI::ULong> handles_;
};
struct AttributeList : RTI::AttributeHandleSet {
  RTI::Boolean isEmpty() const override { return size() == 0 ? RTI::RTI_TRUE : RTI::RTI_FALSE; }
};
using Attributes = HandleList<AttributeList>;
using Federates = HandleList<RTI::FederateHandleSet>;

std::string address(const void* p) {
  char text[32];
  std::snprintf(text, sizeof text, "%p", p);
  return text;
}

// "handle=bytes" of each pair of a value set (or of values held elsewhere).
template <class Set>
std::vector<std::string> pairTexts(const Set& set) {
  std::vector<std::string> texts;
  for (RTI::ULong i = 0; i < set.size(); ++i) {
    RTI::ULong length = 0;
    const char* bytes = set.getValuePointer(i, length);
    texts.push_back(std::to_string(set.getHandle(i)) + "=" + std::string(bytes, length));
  }
  return texts;
}

std::unique_ptr<DtAttrValueSet> attributeValues(std::initializer_list<RTI::ULong> list) {
  auto set = std::make_unique<DtAttrValueSet>(4);
  for (RTI::ULong h : list) set->add(h, "v", 1);
  return set;
}

TEST(MomArgument, EachFormReadsAsItsText) {
  TestRegion region;
  RTI::Region* regions[1] = {&region};
  const unsigned long array[2] = {4294967295UL, 9};
  const Federates federates{2, 4294967295UL};
  DtParamValueSet parameters(2);
  parameters.add(5, "value", 5);
  struct Case {
    const char* what;
    DtMomArgument argument;
    std::string text;
  };
  const Case cases[] = {
      {"nothing", DtMomArgument(), ""},
      {"truth", DtMomArgument(RTI::RTI_TRUE), "True"},
      {"truth of 2", DtMomArgument(static_cast<RTI::Boolean>(2)), "True"},
      {"falsehood", DtMomArgument(RTI::RTI_FALSE), "False"},
      {"a handle", DtMomArgument(7UL), "7"},
      {"the largest handle alone", DtMomArgument(4294967295UL), "4294967295"},
      {"a routing space", DtMomArgument(-2L), "-2"},
      {"a resign action", DtMomArgument(static_cast<int>(RTI::DELETE_OBJECTS)), "2"},
      {"a retraction pair", DtMomArgument(RTI::EventRetractionHandle{12, 3}), "12,3"},
      {"a pair with the largest handle", DtMomArgument(RTI::EventRetractionHandle{4294967295UL, 3}), "-1,3"},
      {"the first of an array", DtMomArgument(array, 2), "4294967295"},
      {"an array of 0 handles", DtMomArgument(array, 0), ""},
      {"a null array", DtMomArgument(static_cast<const unsigned long*>(nullptr), 3), ""},
      {"a text", DtMomArgument("Radio"), "Radio"},
      {"a null text", DtMomArgument(static_cast<const char*>(nullptr)), ""},
      {"a time", DtMomArgument(RTIfedTime(2.5)), "2.5"},
      {"a region", DtMomArgument(static_cast<const RTI::Region&>(region)), address(&region)},
      {"a region pointer", DtMomArgument(&region), address(&region)},
      {"a region array", DtMomArgument(static_cast<RTI::Region* const*>(regions)), address(regions)},
      {"an attribute set", DtMomArgument(Attributes({3, 7})), "3,7,"},
      {"the largest handle in a list", DtMomArgument(Attributes({4294967295UL})), "-1,"},
      {"an empty set", DtMomArgument(Attributes({})), ""},
      {"a null set", DtMomArgument(static_cast<const RTI::AttributeHandleSet*>(nullptr)), ""},
      {"a federate set", DtMomArgument(static_cast<const RTI::FederateHandleSet&>(federates)), "2,-1,"},
      {"attribute values: handles only", DtMomArgument(*attributeValues({3, 7})), "3,7,"},
      {"parameter values: handles only",
       DtMomArgument(static_cast<const RTI::ParameterHandleValuePairSet&>(parameters)), "5,"},
  };
  for (const Case& c : cases) EXPECT_EQ(c.argument.string(), c.text) << c.what;
}

// A federate with the MOM joined, its reports read back as
// "service|initiator|success|supplied 1..5|returned|exception".
struct Reporting : MomJoined {
  using MomJoined::MomJoined;
  void turn(bool on) {
    receive(theSetServiceReporting,
            {{"Federate", textBytes("7")}, {"ReportingState", textBytes(on ? "True" : "False")}});
    conn->interactions.clear();
  }
  std::vector<std::string> reports() {
    static const char* const order[] = {
        "Service",           "Initiator",         "SuccessIndicator",  "SuppliedArgument1", "SuppliedArgument2",
        "SuppliedArgument3", "SuppliedArgument4", "SuppliedArgument5", "ReturnedArgument",  "ExceptionDescription"};
    std::vector<std::string> lines;
    for (const auto& msg : conn->interactions) {
      const auto handle = static_cast<std::uint32_t>(msg->handle());
      const auto* cls = fom->interactionByHandle(handle);
      if (!cls || !std::string(cls->name()).ends_with(theReportServiceInvocation)) {
        lines.emplace_back("not a report: " + std::string(cls ? cls->name() : "?"));
        continue;
      }
      std::string line;
      for (const char* name : order) {
        std::string value;
        for (RTI::ULong i = 0; i < msg->params().size(); ++i) {
          if (std::string(fom->paramName(msg->params().getHandle(i), handle)) != name) continue;
          RTI::ULong length = 0;
          const char* bytes = msg->params().getValuePointer(i, length);
          value = std::string(bytes, length);
          if (!value.empty() && value.back() == '\0') value.pop_back();
        }
        line += (line.empty() ? "" : "|") + value;
      }
      lines.push_back(line);
    }
    conn->interactions.clear();
    return lines;
  }
  DtMomObserver& observer() { return *mom->observer(); }
};

TEST(MomServiceReports, EachRowShowsItsArgumentsInItsPositions) {
  Reporting f;
  f.turn(true);
  TestRegion region;
  RTI::Region* regions[1] = {&region};
  RTI::AttributeHandle attributes[2] = {4294967295UL, 2};
  RTIfedTime time(2.5);
  RTI::ObjectNotKnown failure("not here");
  const std::string at = address(&region);
  struct Case {
    const char* what;
    std::function<void(DtMomObserver&)> call;
    std::string report;
  };
  const Case cases[] = {
      {"text arguments", [](DtMomObserver& o) { o.createFederationExecution("Sky", "sky.fed", nullptr); },
       "createFederationExecution|FED|True|Sky|sky.fed|||||"},
      {"the ambassador's address and the handle returned",
       [&](DtMomObserver& o) {
         RTI::FederateHandle handle = 7;
         o.joinFederationExecution("A", "Sky", nullptr, handle, nullptr);
       },
       "joinFederationExecution|FED|True|A|Sky|" + address(nullptr) + "|||7|"},
      {"a resign action", [](DtMomObserver& o) { o.resignFederationExecution(RTI::DELETE_OBJECTS, nullptr); },
       "resignFederationExecution|FED|True|2||||||"},
      {"a federate set, the largest handle in it",
       [](DtMomObserver& o) {
         o.registerFederationSynchronizationPoint("L", nullptr, Federates{4294967295UL}, nullptr);
       },
       "registerFederationSynchronizationPoint|FED|True|L||-1,||||"},
      {"a truth of 2", [](DtMomObserver& o) { o.subscribeInteractionClass(4, static_cast<RTI::Boolean>(2), nullptr); },
       "subscribeInteractionClass|FED|True|4|True|||||"},
      {"the largest handle alone", [](DtMomObserver& o) { o.localDeleteObjectInstance(4294967295UL, nullptr); },
       "localDeleteObjectInstance|FED|True|4294967295||||||"},
      {"a named registration: the plain name",
       [](DtMomObserver& o) {
         RTI::ObjectHandle object = 11;
         o.registerObjectInstance(3, "Car", object, nullptr);
       },
       "registerObjectInstance|FED|True|3|Car||||11|"},
      {"an untimed update with a null tag",
       [](DtMomObserver& o) {
         o.updateAttributeValues(11, *attributeValues({3, 7}), nullptr, nullptr);
       },
       "updateAttributeValues|FED|True|11|3,7,|||||"},
      {"a timed update: the retraction returned",
       [&](DtMomObserver& o) {
         RTI::EventRetractionHandle retraction{12, 3};
         o.updateAttributeValues(11, *attributeValues({3, 7}), time, "tag", retraction, nullptr);
       },
       "updateAttributeValues|FED|True|11|3,7,|2.5|tag||12,3|"},
      {"a timed deletion: the retraction as supplied 4",
       [&](DtMomObserver& o) {
         RTI::EventRetractionHandle retraction{12, 3};
         o.deleteObjectInstance(11, time, "tag", retraction, nullptr);
       },
       "deleteObjectInstance|FED|True|11|2.5|tag|12,3|||"},
      {"a released set as supplied 3",
       [](DtMomObserver& o) {
         Attributes released{7};
         o.attributeOwnershipReleaseResponse(11, Attributes({3, 7}), &released, nullptr);
       },
       "attributeOwnershipReleaseResponse|FED|True|11|3,7,|7,||||"},
      {"a failed release leaves its result out",
       [&](DtMomObserver& o) {
         Attributes released{7};
         o.attributeOwnershipReleaseResponse(11, Attributes({3}), &released, &failure);
       },
       "attributeOwnershipReleaseResponse|FED|False|11|3,|||||ObjectNotKnown: not here"},
      {"a query's answer",
       [&](DtMomObserver& o) {
         RTIfedTime answer(4.0);
         o.queryLBTS(answer, nullptr);
       },
       "queryLBTS|FED|True|4||||||"},
      {"a created region as supplied 3", [&](DtMomObserver& o) { o.createRegion(-2, 1, &region, nullptr); },
       "createRegion|FED|True|-2|1|" + at + "||||"},
      {"a failed createRegion shows no region", [&](DtMomObserver& o) { o.createRegion(-2, 1, nullptr, &failure); },
       "createRegion|FED|False|-2|1|||||ObjectNotKnown: not here"},
      {"a region registration: the first handle and the count",
       [&](DtMomObserver& o) {
         RTI::ObjectHandle object = 11;
         o.registerObjectInstanceWithRegion(3, attributes, regions, 2, object, nullptr);
       },
       "registerObjectInstanceWithRegion|FED|True|3|4294967295|" + address(regions) + "|2||11|"},
      {"a count of 0 reads no array",
       [&](DtMomObserver& o) {
         RTI::ObjectHandle object = 11;
         o.registerObjectInstanceWithRegion(3, "Car", nullptr, regions, 0, object, nullptr);
       },
       "registerObjectInstanceWithRegion|FED|True|3|Car||" + address(regions) + "|0|11|"},
      {"a region subscription without its active flag",
       [&](DtMomObserver& o) {
         o.subscribeObjectClassAttributesWithRegion(3, region, Attributes({1}), RTI::RTI_TRUE, nullptr);
       },
       "subscribeObjectClassAttributesWithRegion|FED|True|3|" + at + "|1,||||"},
      {"getObjectClassHandle answers as supplied 2",
       [](DtMomObserver& o) {
         RTI::ObjectClassHandle found = 5;
         o.getObjectClassHandle("Radio", found, nullptr);
       },
       "getObjectClassHandle|FED|True|Radio|5|||||"},
      {"a failed getObjectClassHandle shows 0",
       [&](DtMomObserver& o) {
         RTI::ObjectClassHandle found = 0;
         o.getObjectClassHandle("Radio", found, &failure);
       },
       "getObjectClassHandle|FED|False|Radio|0|||||ObjectNotKnown: not here"},
      {"getInteractionClassHandle answers as returned",
       [](DtMomObserver& o) {
         RTI::InteractionClassHandle found = 5;
         o.getInteractionClassHandle("Radio", found, nullptr);
       },
       "getInteractionClassHandle|FED|True|Radio|||||5|"},
      {"a failed name look-up returns nothing", [&](DtMomObserver& o) { o.getObjectClassName(5, nullptr, &failure); },
       "getObjectClassName|FED|False|5||||||ObjectNotKnown: not here"},
      {"a routing space returned signed",
       [](DtMomObserver& o) {
         RTI::SpaceHandle space = -2;
         o.getRoutingSpaceHandle("Geo", space, nullptr);
       },
       "getRoutingSpaceHandle|FED|True|Geo|||||-2|"},
      {"a failed getRegion leaves its result out", [&](DtMomObserver& o) { o.getRegion(9, &region, &failure); },
       "getRegion|FED|False|9||||||ObjectNotKnown: not here"},
  };
  for (const Case& c : cases) {
    c.call(f.observer());
    EXPECT_EQ(f.reports(), std::vector<std::string>{c.report}) << c.what;
  }
  // Neither tick form is reported.
  f.observer().tick(RTI::RTI_TRUE, nullptr);
  f.observer().tick(0.1, 0.2, RTI::RTI_FALSE, nullptr);
  EXPECT_TRUE(f.reports().empty());
}

TEST(MomServiceReports, OffReportsNothingAndAFailureStillReachesTheAlerts) {
  Reporting f("(setq RTI_momExceptionReports 1)");
  RTI::ObjectNotKnown failure("not here");
  f.observer().publishInteractionClass(4, nullptr);
  f.observer().createRegion(-2, 1, nullptr, &failure);
  f.observer().federateSaveBegun(&failure);
  EXPECT_EQ(f.takeSent(),
            (std::vector<std::string>{
                "Alert Federate=7 AlertID=1 AlertSeverity=RTI exception AlertDescription=ObjectNotKnown: not here",
                "Alert Federate=7 AlertID=2 AlertSeverity=RTI exception AlertDescription=ObjectNotKnown: not here",
            }));
  // On: the report comes before the Alert.
  f.turn(true);
  f.observer().federateSaveBegun(&failure);
  EXPECT_EQ(f.reports(), (std::vector<std::string>{"federateSaveBegun|FED|False|||||||ObjectNotKnown: not here",
                                                   "not a report: InteractionRoot.Manager.Federate.Report.Alert"}));
  f.turn(false);
  f.observer().publishInteractionClass(4, nullptr);
  EXPECT_TRUE(f.reports().empty());
}

// The observer hears of successful calls only while they are reported, so
// that with reporting off the ambassador's list has nobody to tell of them.
TEST(MomServiceReports, TheObserverHearsOfSuccessesOnlyWhileCallsAreReported) {
  Reporting f;
  const DtRtiAmbObserverList& list = *f.ambassador.observerList;
  EXPECT_FALSE(f.observer().wantsSuccessfulCalls());
  EXPECT_FALSE(list.successfulCallsWatched());
  f.turn(true);
  EXPECT_TRUE(list.successfulCallsWatched());
  f.turn(false);
  EXPECT_FALSE(list.successfulCallsWatched());
  f.turn(true);
  f.mom->resign();
  EXPECT_FALSE(f.observer().wantsSuccessfulCalls());
  f.join();
  EXPECT_FALSE(list.successfulCallsWatched());
}

// The handles of the reports sent at every call, looked up once: those of
// the FOM, and the pairs encoded with them are those of the long way; a
// class the FOM lacks is not kept.
TEST(MomHandleCache, KeepsTheHandlesOfTheClassesTheFomHas) {
  const auto fom = fomFromText(momFedText());
  DtMomHandleCache cache;
  DtReportServiceInvocationInteraction report;
  DtAlertInteraction alert;
  cache.add(*fom, report);
  const DtMomHandleCache::Entry* entry = cache.find(report);
  ASSERT_NE(entry, nullptr);
  EXPECT_EQ(cache.find(alert), nullptr);
  const RTI::InteractionClassHandle cls = fom->interactionHandle(report.name());
  EXPECT_EQ(entry->classHandle, cls);
  const auto rows = report.parameterRows();
  ASSERT_EQ(entry->parameters.size(), rows.size());
  for (std::size_t i = 0; i < rows.size(); ++i) {
    EXPECT_EQ(entry->parameters[i], fom->paramHandle(rows[i].name, cls)) << rows[i].name;
  }
  report.setHandleMapper(fom.get());
  report.setService("getObjectClassHandle");
  report.setSuppliedArgument1("Vehicle");
  report.setSuccessIndicator(RTI::RTI_FALSE);
  const std::vector<std::string> longWay = pairTexts(report.phvps());
  EXPECT_EQ(pairTexts(report.phvps(entry->parameters)), longWay);
  EXPECT_EQ(longWay.size(), rows.size());

  const auto lacking = fomFromText(edited(momFedText(), "(class Alert ", "(class Alarm "));
  cache.add(*lacking, alert);
  EXPECT_EQ(cache.find(alert), nullptr);
  cache.clear();
  EXPECT_EQ(cache.find(report), nullptr);
}

// The short way of the reports gives the pairs of the long way (the
// interaction's own encoding): after a call and a callback, with and
// without an exception, with a null service name and an argument too long
// for a string's own room. A class it does not know is left to the long way.
TEST(MomServiceReportSender, GivesThePairsOfTheReportInteraction) {
  const auto fom = fomFromText(momFedText());
  DtMomHandleCache cache;
  const DtReportServiceInvocationInteraction shape;
  const DtAlertInteraction alert;
  cache.add(*fom, shape);
  cache.add(*fom, alert);
  EXPECT_EQ(DtMomServiceReportSender::make(nullptr), nullptr);
  EXPECT_EQ(DtMomServiceReportSender::make(cache.find(alert)), nullptr);
  const DtMomHandleCache::Entry* entry = cache.find(shape);
  ASSERT_NE(entry, nullptr);
  const auto sender = DtMomServiceReportSender::make(entry);
  ASSERT_NE(sender, nullptr);

  const std::string longText(200, 'x');
  struct Case {
    const char* what;
    std::uint32_t federate;
    const char* service;
    DtMomInitiatorOptions initiator;
    const char* exception;
    DtMomArgument arguments[6];
  };
  const Case cases[] = {
      {"a call",
       7,
       "getObjectClassHandle",
       DtMomInitiatorFederate,
       nullptr,
       {DtMomArgument("Vehicle"), {}, {}, {}, {}, DtMomArgument(4UL)}},
      {"a failed call",
       4294967295UL,
       "createRegion",
       DtMomInitiatorFederate,
       "SpaceNotDefined: no space 9",
       {DtMomArgument(9UL), DtMomArgument(2UL), {}, {}, {}, {}}},
      {"a callback",
       12,
       "receiveInteraction",
       DtMomInitiatorRti,
       nullptr,
       {DtMomArgument(3UL), DtMomArgument("5,"), DtMomArgument("tag"), {}, {}, {}}},
      {"a callback that threw",
       0,
       nullptr,
       DtMomInitiatorRti,
       "FederateInternalError: ",
       {DtMomArgument(longText.c_str())}},
  };
  for (const Case& c : cases) {
    DtReportServiceInvocationInteraction longWay;
    longWay.setHandleMapper(fom.get());
    longWay.setFederateHandle(c.federate);
    longWay.setService(c.service);
    longWay.setInitiator(c.initiator);
    if (c.exception) {
      longWay.setSuccessIndicator(RTI::RTI_FALSE);
      longWay.setExceptionDescription(c.exception);
    }
    longWay.setSuppliedArgument1(c.arguments[0]);
    longWay.setSuppliedArgument2(c.arguments[1]);
    longWay.setSuppliedArgument3(c.arguments[2]);
    longWay.setSuppliedArgument4(c.arguments[3]);
    longWay.setSuppliedArgument5(c.arguments[4]);
    longWay.setReturnedArgument(c.arguments[5]);
    const DtMomServiceReportSender::Report report{
        c.federate,
        c.service,
        c.initiator,
        c.exception,
        {&c.arguments[0], &c.arguments[1], &c.arguments[2], &c.arguments[3], &c.arguments[4], &c.arguments[5]}};
    EXPECT_EQ(pairTexts(sender->values(report)), pairTexts(longWay.phvps())) << c.what;
  }
}

// A federate ambassador that throws from the callbacks a test chooses.
class ThrowingFedAmb : public NullFederateAmbassador {
public:
  void federationSaved() override {
    calls.emplace_back("federationSaved");
    if (throwRti) throw RTI::FederateInternalError("no room");
    if (throwOther) throw std::runtime_error("not an RTI one");
  }
  std::vector<std::string> calls;
  bool throwRti = false;
  bool throwOther = false;
};

TEST(MomCallbackReports, EachCallbackShowsItsArgumentsInOrderAfterTheFederateHadIt) {
  Reporting f;
  ThrowingFedAmb federate;
  DtMomFedAmbWrapper wrapper(*f.mom);
  wrapper.setFedAmb(&federate);
  RTIfedTime time(2.5);
  struct Case {
    const char* what;
    std::function<void()> call;
    std::string report;
  };
  const Case cases[] = {
      {"no argument", [&] { wrapper.federationSaved(); }, "federationSaved|RTI|True|||||||"},
      {"a null label", [&] { wrapper.announceSynchronizationPoint(nullptr, "tag"); },
       "announceSynchronizationPoint|RTI|True||tag|||||"},
      {"a federate handle", [&] { wrapper.initiateFederateRestore("L", 4294967295UL); },
       "initiateFederateRestore|RTI|True|L|4294967295|||||"},
      {"a discovery with a null name", [&] { wrapper.discoverObjectInstance(11, 3, nullptr); },
       "discoverObjectInstance|RTI|True|11|3|||||"},
      {"a receive-order reflection",
       [&] {
         wrapper.reflectAttributeValues(11, *attributeValues({3, 7}), "tag");
       },
       "reflectAttributeValues|RTI|True|11|3,7,|tag||||"},
      {"a timed reflection",
       [&] {
         wrapper.reflectAttributeValues(11, *attributeValues({3, 7}), time, "tag", RTI::EventRetractionHandle{12, 3});
       },
       "reflectAttributeValues|RTI|True|11|3,7,|2.5|tag|12,3||"},
      {"a timed removal",
       [&] {
         wrapper.removeObjectInstance(11, time, nullptr, RTI::EventRetractionHandle{1, 2});
       },
       "removeObjectInstance|RTI|True|11|2.5||1,2|||"},
      {"an empty set", [&] { wrapper.attributesInScope(11, Attributes({})); }, "attributesInScope|RTI|True|11||||||"},
      {"three handles", [&] { wrapper.informAttributeOwnership(11, 2, 4); },
       "informAttributeOwnership|RTI|True|11|2|4||||"},
      {"a retraction",
       [&] {
         wrapper.requestRetraction(RTI::EventRetractionHandle{12, 3});
       },
       "requestRetraction|RTI|True|12,3||||||"},
  };
  f.turn(false);
  wrapper.federationSaved();
  EXPECT_TRUE(f.reports().empty());
  EXPECT_EQ(federate.calls, std::vector<std::string>{"federationSaved"});
  f.turn(true);
  for (const Case& c : cases) {
    c.call();
    EXPECT_EQ(f.reports(), std::vector<std::string>{c.report}) << c.what;
  }
}

TEST(MomCallbackReports, ACallbackThatThrowsIsReportedThenAlertedThenRethrown) {
  struct Case {
    bool reporting;
    std::vector<std::string> sent;
  };
  const std::string alert =
      "Alert Federate=7 AlertID=1 AlertSeverity=Federate internal error AlertDescription=FederateInternalError: no "
      "room";
  const Case cases[] = {
      {true,
       {"ReportServiceInvocation Federate=7 Service=federationSaved Initiator=RTI SuccessIndicator=False "
        "SuppliedArgument1= SuppliedArgument2= SuppliedArgument3= SuppliedArgument4= SuppliedArgument5= "
        "ReturnedArgument= ExceptionDescription=FederateInternalError: no room ExceptionID=0",
        alert}},
      {false, {alert}},
  };
  for (const Case& c : cases) {
    Reporting f("(setq RTI_momExceptionReports 1)");
    ThrowingFedAmb federate;
    DtMomFedAmbWrapper wrapper(*f.mom);
    wrapper.setFedAmb(&federate);
    f.turn(c.reporting);
    federate.throwRti = true;
    try {
      wrapper.federationSaved();
      ADD_FAILURE() << "not rethrown";
    } catch (const RTI::FederateInternalError& e) {
      EXPECT_STREQ(e._reason, "no room");
    }
    EXPECT_EQ(f.takeSent(), c.sent) << c.reporting;
    // Another type of exception passes untouched: no report, no Alert.
    federate.throwRti = false;
    federate.throwOther = true;
    EXPECT_THROW(wrapper.federationSaved(), std::runtime_error);
    EXPECT_TRUE(f.takeSent().empty());
  }
}

TEST(MomServiceReports, TheReportsCannotBeSubscribedWhileTheyAreMade) {
  Reporting f;
  // As the federate manager links them.
  f.interactions->setMomMgr(f.mom.get());
  const RTI::InteractionClassHandle reports = f.fom->interactionHandle(theReportServiceInvocation);
  const RTI::InteractionClassHandle report = f.fom->interactionHandle("Manager.Federate.Report");
  f.turn(true);
  EXPECT_THROW(f.interactions->subscribe(reports, RTI::RTI_TRUE), RTI::FederateLoggingServiceCalls);
  EXPECT_THROW(f.interactions->subscribe(report, RTI::RTI_TRUE), RTI::FederateLoggingServiceCalls);
  // Another report class is not refused.
  f.interactions->subscribe(f.fom->interactionHandle("Manager.Federate.Report.Alert"), RTI::RTI_TRUE);
  f.turn(false);
  f.interactions->subscribe(reports, RTI::RTI_TRUE);
  EXPECT_NE(f.interactions->firstSubscribedClass(f.fom->interactionByHandle(reports)), nullptr);
}

}  // namespace
