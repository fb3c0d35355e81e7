// The 14 interactions that a MOM sends: each report's parameters as a
// default object and as a filled one encode them, and a filled report read
// back from its own set.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "MomClasses.h"
#include "MomTestSupport.h"
#include "mom/DtMomTallyList.h"

namespace {

DtMomHandleList listOf(std::initializer_list<std::uint32_t> handles) {
  DtMomHandleList list;
  for (std::uint32_t handle : handles) list.append(handle);
  return list;
}

struct ReportCase {
  const char* name;
  NamedValues defaults;
  std::function<void(DtMomInteraction&)> fill;
  NamedValues filled;
};

class MomReports : public testing::Test {
protected:
  MomReports() : fom(loadFom(momTestFed)) {
    tank.setHandle(11);
    tank.setTally(5, RTI::RTI_TRUE, DtReliable);
    tank.setTally(6, RTI::RTI_TRUE, DtBestEffort);
    tank.setTally(7, RTI::RTI_FALSE, DtReliable);
    tank.setTally(8, RTI::RTI_FALSE, DtBestEffort);
    plane.setHandle(14);
    plane.setTally(2, RTI::RTI_TRUE, DtBestEffort);
    plane.setTally(3, RTI::RTI_FALSE, DtReliable);
    counts.append(&tank);
    counts.append(&plane);
  }

  std::unique_ptr<DtMomInteraction> make(const char* name) {
    for (const SentMomClass& report : sentMomClasses) {
      if (std::string(report.name) == name) {
        std::unique_ptr<DtMomInteraction> interaction(report.create());
        interaction->setHandleMapper(fom.get());
        return interaction;
      }
    }
    ADD_FAILURE() << "no report " << name;
    return nullptr;
  }
  NamedValues encoded(DtMomInteraction& interaction) {
    return ClassPairs(*fom, interaction.name()).read(interaction.phvps());
  }

  std::unique_ptr<DtFomClassMgr> fom;
  DtMtallySet tank, plane;
  DtMomTallyList counts;
};

template <class C>
C& as(DtMomInteraction& interaction) {
  return dynamic_cast<C&>(interaction);
}

TEST_F(MomReports, EachReportEncodesItsDefaultsAndItsValuesAndReadsThemBack) {
  const std::vector<ReportCase> cases = {
      {"Manager.Federate.Report.Alert",
       {{"Federate", "0"}, {"AlertID", "0"}, {"AlertSeverity", "RTI exception"}, {"AlertDescription", "0"}},
       [](DtMomInteraction& r) {
         r.setFederateHandle(3);
         as<DtAlertInteraction>(r).setAlertID(17);
         as<DtAlertInteraction>(r).setAlertSeverity(DtMomFederateInternalError);
         as<DtAlertInteraction>(r).setAlertDescription("no disk");
       },
       {{"Federate", "3"},
        {"AlertID", "17"},
        {"AlertSeverity", "Federate internal error"},
        {"AlertDescription", "no disk"}}},
      {"Manager.Federate.Report.ReportInteractionPublication",
       {{"Federate", "0"}, {"InteractionClassList", ""}},
       [](DtMomInteraction& r) {
         as<DtReportInteractionPublicationInteraction>(r).setInteractionClassList(listOf({4, 9}));
       },
       {{"Federate", "0"}, {"InteractionClassList", "4,9"}}},
      {"Manager.Federate.Report.ReportInteractionsReceived",
       {{"Federate", "0"}, {"InteractionCounts", ""}, {"TransportationType", "Best effort"}},
       [this](DtMomInteraction& r) {
         as<DtReportInteractionsReceivedInteraction>(r).setInteractionCounts(&counts);
         as<DtReportInteractionsReceivedInteraction>(r).setTransportationType(DtReliable);
       },
       {{"Federate", "0"}, {"InteractionCounts", "11/5"}, {"TransportationType", "Reliable"}}},
      {"Manager.Federate.Report.ReportInteractionsSent",
       {{"Federate", "0"}, {"InteractionCounts", ""}, {"TransportationType", "Best effort"}},
       [this](DtMomInteraction& r) {
         as<DtReportInteractionsSentInteraction>(r).setInteractionCounts(&counts);
         as<DtReportInteractionsSentInteraction>(r).setTransportationType(DtReliable);
       },
       {{"Federate", "0"}, {"InteractionCounts", "11/7,14/3"}, {"TransportationType", "Reliable"}}},
      {"Manager.Federate.Report.ReportInteractionSubscription",
       {{"Federate", "0"}, {"InteractionClassList", ""}},
       [](DtMomInteraction& r) {
         as<DtReportInteractionSubscriptionInteraction>(r).setActiveList(listOf({3, 5}));
         as<DtReportInteractionSubscriptionInteraction>(r).setPassiveList(listOf({9}));
       },
       {{"Federate", "0"}, {"InteractionClassList", "3/active,5/active,9/passive"}}},
      {"Manager.Federate.Report.ReportObjectInformation",
       {{"Federate", "0"},
        {"RegisteredClass", ""},
        {"OwnedAttributeList", ""},
        {"ObjectInstance", "0"},
        {"KnownClass", ""}},
       [](DtMomInteraction& r) {
         auto& report = as<DtReportObjectInformationInteraction>(r);
         report.setRegisteredClass(5);
         report.setOwnedAttributeList(listOf({1, 2}));
         report.setObjectInstance("tank 1");
         report.setKnownClass(4);
       },
       {{"Federate", "0"},
        {"RegisteredClass", "5"},
        {"OwnedAttributeList", "1,2"},
        {"ObjectInstance", "tank 1"},
        {"KnownClass", "4"}}},
      {"Manager.Federate.Report.ReportObjectsOwned",
       {{"Federate", "0"}, {"ObjectCounts", ""}},
       [this](DtMomInteraction& r) { as<DtReportObjectsOwnedInteraction>(r).setObjectCounts(&counts); },
       {{"Federate", "0"}, {"ObjectCounts", "11/8"}}},
      {"Manager.Federate.Report.ReportObjectPublication",
       {{"Federate", "0"}, {"NumberOfClasses", "0"}, {"AttributeList", ""}, {"ObjectClass", ""}},
       [](DtMomInteraction& r) {
         auto& report = as<DtReportObjectPublicationInteraction>(r);
         report.setNumberOfClasses(2);
         report.setAttributeList(listOf({1, 3}));
         report.setObjectClass(7);
       },
       {{"Federate", "0"}, {"NumberOfClasses", "2"}, {"AttributeList", "1,3"}, {"ObjectClass", "7"}}},
      {"Manager.Federate.Report.ReportObjectsReflected",
       {{"Federate", "0"}, {"ObjectCounts", ""}},
       [this](DtMomInteraction& r) { as<DtReportObjectsReflectedInteraction>(r).setObjectCounts(&counts); },
       {{"Federate", "0"}, {"ObjectCounts", "11/8"}}},
      {"Manager.Federate.Report.ReportObjectSubscription",
       {{"Federate", "0"}, {"NumberOfClasses", "0"}, {"AttributeList", ""}, {"Active", "True"}, {"ObjectClass", ""}},
       [](DtMomInteraction& r) {
         auto& report = as<DtReportObjectSubscriptionInteraction>(r);
         report.setNumberOfClasses(2);
         report.setAttributeList(listOf({1, 3}));
         report.setActive(RTI::RTI_FALSE);
         report.setObjectClass(7);
       },
       {{"Federate", "0"},
        {"NumberOfClasses", "2"},
        {"AttributeList", "1,3"},
        {"Active", "False"},
        {"ObjectClass", "7"}}},
      {"Manager.Federate.Report.ReportObjectsUpdated",
       {{"Federate", "0"}, {"ObjectCounts", ""}},
       [this](DtMomInteraction& r) { as<DtReportObjectsUpdatedInteraction>(r).setObjectCounts(&counts); },
       {{"Federate", "0"}, {"ObjectCounts", "11/8"}}},
      {"Manager.Federate.Report.ReportReflectionsReceived",
       {{"Federate", "0"}, {"ReflectCounts", ""}, {"TransportationType", "Best effort"}},
       [this](DtMomInteraction& r) { as<DtReportReflectionsReceivedInteraction>(r).setReflectCounts(&counts); },
       {{"Federate", "0"}, {"ReflectCounts", "11/6,14/2"}, {"TransportationType", "Best effort"}}},
      {"Manager.Federate.Report.ReportServiceInvocation",
       {{"Federate", "0"},
        {"Service", ""},
        {"Initiator", "RTI"},
        {"SuccessIndicator", "True"},
        {"SuppliedArgument1", ""},
        {"SuppliedArgument2", ""},
        {"SuppliedArgument3", ""},
        {"SuppliedArgument4", ""},
        {"SuppliedArgument5", ""},
        {"ReturnedArgument", ""},
        {"ExceptionDescription", ""},
        {"ExceptionID", "0"}},
       [](DtMomInteraction& r) {
         auto& report = as<DtReportServiceInvocationInteraction>(r);
         report.setFederateHandle(2);
         report.setService("publishObjectClass");
         report.setInitiator(DtMomInitiatorFederate);
         report.setSuccessIndicator(RTI::RTI_FALSE);
         report.setSuppliedArgument1("a1");
         report.setSuppliedArgument2("a2");
         report.setSuppliedArgument3("a3");
         report.setSuppliedArgument4("a4");
         report.setSuppliedArgument5("a5");
         report.setReturnedArgument("r");
         report.setExceptionDescription("ObjectClassNotDefined");
         report.setExceptionID(-3);
       },
       {{"Federate", "2"},
        {"Service", "publishObjectClass"},
        {"Initiator", "FED"},
        {"SuccessIndicator", "False"},
        {"SuppliedArgument1", "a1"},
        {"SuppliedArgument2", "a2"},
        {"SuppliedArgument3", "a3"},
        {"SuppliedArgument4", "a4"},
        {"SuppliedArgument5", "a5"},
        {"ReturnedArgument", "r"},
        {"ExceptionDescription", "ObjectClassNotDefined"},
        {"ExceptionID", "-3"}}},
      {"Manager.Federate.Report.ReportUpdatesSent",
       {{"Federate", "0"}, {"UpdateCounts", ""}, {"TransportationType", "Best effort"}},
       [this](DtMomInteraction& r) { as<DtReportUpdatesSentInteraction>(r).setUpdateCounts(&counts); },
       {{"Federate", "0"}, {"UpdateCounts", "11/8"}, {"TransportationType", "Best effort"}}},
  };
  ASSERT_EQ(cases.size(), sentMomClasses.size());
  for (const ReportCase& c : cases) {
    SCOPED_TRACE(c.name);
    const auto report = make(c.name);
    ASSERT_TRUE(report);
    EXPECT_EQ(encoded(*report), c.defaults);
    c.fill(*report);
    EXPECT_EQ(encoded(*report), c.filled);
    EXPECT_EQ(encoded(*report), c.filled) << "encoded again";

    // A federate that reads the report gets the same values.
    const auto read = make(c.name);
    read->setFromPhvps(report->phvps());
    EXPECT_EQ(read->refusedValues(), 0);
    EXPECT_EQ(encoded(*read), c.filled);
  }
}

TEST_F(MomReports, ListsThatAreEmptyTravelAsEmptyTexts) {
  const auto publication = make("Manager.Federate.Report.ReportObjectPublication");
  as<DtReportObjectPublicationInteraction>(*publication).setObjectClass(7);
  EXPECT_EQ(encoded(*publication),
            (NamedValues{{"Federate", "0"}, {"NumberOfClasses", "0"}, {"AttributeList", ""}, {"ObjectClass", ""}}));

  const auto subscription = make("Manager.Federate.Report.ReportInteractionSubscription");
  as<DtReportInteractionSubscriptionInteraction>(*subscription).setPassiveList(listOf({9}));
  EXPECT_EQ(encoded(*subscription), (NamedValues{{"Federate", "0"}, {"InteractionClassList", "9/passive"}}));
}

TEST_F(MomReports, ReadReportsOwnWhatTheyDecodedAndCopiesKeepIt) {
  // The subscription list read back, blanks and case aside.
  const auto subscription = make("Manager.Federate.Report.ReportInteractionSubscription");
  subscription->setFromPhvps(*ClassPairs(*fom, subscription->name())
                                  .write({{"InteractionClassList", textBytes(" 4 / Active, 2/PASSIVE ,6/active")}}));
  auto& read = as<DtReportInteractionSubscriptionInteraction>(*subscription);
  EXPECT_EQ(read.activeList().handles(), (std::vector<std::uint32_t>{4, 6}));
  EXPECT_EQ(read.passiveList().handles(), (std::vector<std::uint32_t>{2}));
  const DtReportInteractionSubscriptionInteraction copy(read);
  EXPECT_EQ(copy.activeList().handles(), (std::vector<std::uint32_t>{4, 6}));
  subscription->setFromPhvps(
      *ClassPairs(*fom, subscription->name()).write({{"InteractionClassList", textBytes("4/active,5")}}));
  EXPECT_EQ(subscription->refusedValues(), 1);
  EXPECT_EQ(read.passiveList().handles(), (std::vector<std::uint32_t>{2}));

  // A report read from a set owns its counts, and so does its copy.
  auto received = make("Manager.Federate.Report.ReportInteractionsReceived");
  received->setFromPhvps(
      *ClassPairs(*fom, received->name())
           .write({{"InteractionCounts", textBytes("11/5")}, {"TransportationType", textBytes("Reliable")}}));
  const DtReportInteractionsReceivedInteraction receivedCopy(as<DtReportInteractionsReceivedInteraction>(*received));
  received.reset();
  ASSERT_NE(receivedCopy.interactionCounts(), nullptr);
  EXPECT_EQ(receivedCopy.interactionCounts()->text(RTI::RTI_TRUE, DtReliable), "11/5");

  // A lent list stays its lender's: a copy shares it.
  DtReportObjectsOwnedInteraction owned;
  owned.setObjectCounts(&counts);
  const DtReportObjectsOwnedInteraction ownedCopy(owned);
  EXPECT_EQ(ownedCopy.objectCounts(), &counts);
}

TEST_F(MomReports, ACopyOfAFreshReportEncodesAllItsParameters) {
  DtReportServiceInvocationInteraction fresh;
  DtReportServiceInvocationInteraction copy(fresh);
  copy.setHandleMapper(fom.get());
  EXPECT_EQ(copy.phvps().size(), 12u);
  DtAlertInteraction assigned;
  assigned = DtAlertInteraction();
  assigned.setHandleMapper(fom.get());
  EXPECT_EQ(assigned.phvps().size(), 4u);
}

}  // namespace
