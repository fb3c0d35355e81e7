// The MOM manager in one process: join and resign with their cleanup, the
// model checks, the dispatch of received MOM interactions, Alerts and the
// exception switches, the reports' order, and the deferred resignation.

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "MomMgrTestSupport.h"
#include "api/DtFedAmbWrapper.h"
#include "mom/DtMomFedAmbWrapper.h"
#include "mom/DtMomFederatePublisher.h"
#include "mom/DtMomObserver.h"
#include "msg/DtFederationMsgs.h"
#include "rti/config/ConfigTestFiles.h"
#include "rti/util/NotifyCapture.h"
#include "save/DtRtiSaveFile.h"

using namespace momtest;

namespace {

using Pairs = std::vector<std::pair<std::string, std::string>>;

constexpr const char* theRequestPublications = "Manager.Federate.Request.RequestPublications";
constexpr const char* theSetTiming = "Manager.Federate.Adjust.SetTiming";
constexpr const char* theSetExceptionLogging = "Manager.Federate.Adjust.SetExceptionLogging";
constexpr const char* theSetServiceReporting = "Manager.Federate.Adjust.SetServiceReporting";

// The handlers filed for the classes under `group` (a class name).
std::size_t handlersFiled(DtMomMgr& mom, const DtFomClassMgr& fom, const char* group) {
  const RTI::InteractionClassHandle top = fom.interactionHandle(group);
  std::size_t filed = 0;
  for (std::uint32_t h = 0; h < 200; ++h) {
    const DtInteractionClassInfo* cls = fom.interactionByHandle(h);
    if (cls && cls->isOfClass(top)) filed += mom.callbackList(h).size();
  }
  return filed;
}

TEST(MomMgr, JoinFilesEveryPartAndResignAndDeletionTakeThemAllAway) {
  MomJoined f;
  DtMomMgr& mom = *f.mom;
  ASSERT_TRUE(mom.joined());
  EXPECT_EQ(f.ambassador.observerList->first(), mom.observer());
  std::unique_ptr<DtFedAmbWrapper> wrapper = f.conn->removeFedAmbWrapper(DtMomMgr::theWrapperName);
  EXPECT_NE(dynamic_cast<DtMomFedAmbWrapper*>(wrapper.get()), nullptr);
  static_cast<void>(f.conn->addFedAmbWrapper(DtMomMgr::theWrapperName, std::move(wrapper)));
  EXPECT_NE(mom.federatePublisher(), nullptr);
  EXPECT_NE(mom.service(), nullptr);
  // One handler per class the MOM answers, and its two objects announced.
  std::size_t total = 0;
  for (std::uint32_t h = 0; h < 200; ++h) total += mom.callbackList(h).size();
  EXPECT_EQ(total, 46u);
  EXPECT_EQ(f.objects->allObj("HLA_Federate7"), mom.federatePublisher()->object());
  EXPECT_TRUE(f.conn->ownInteractionsKept());

  mom.resign();
  EXPECT_FALSE(mom.joined());
  EXPECT_EQ(f.ambassador.observerList->first(), nullptr);
  EXPECT_EQ(mom.federatePublisher(), nullptr);
  EXPECT_EQ(f.objects->allObj("HLA_Federate7"), nullptr);
  EXPECT_EQ(handlersFiled(mom, *f.fom, "Manager.Federate"), 0u);
  EXPECT_EQ(f.conn->removeFedAmbWrapper(DtMomMgr::theWrapperName), nullptr);
  EXPECT_FALSE(f.conn->ownInteractionsKept());

  // Again, then deleted while joined: nothing stays behind (ASan checks
  // the rest).
  f.join();
  ASSERT_TRUE(mom.joined());
  f.mom.reset();
  EXPECT_EQ(f.ambassador.observerList->first(), nullptr);
  EXPECT_EQ(f.objects->allObj("HLA_Federate7"), nullptr);
  EXPECT_EQ(f.objects->allObj(static_cast<RTI::ObjectHandle>(0)), nullptr);
}

TEST(MomMgr, AModelWithoutAMomClassLeavesItOffAndAMissingInteractionEndsTheHandlers) {
  NotifyCapture printed(1);
  {
    MomJoined f("", edited(momFedText(), "(attribute LBTS reliable receive)", ""));
    EXPECT_FALSE(f.mom->joined());
    EXPECT_EQ(f.ambassador.observerList->first(), nullptr);
    EXPECT_EQ(f.objects->allObjects().count(), 0u);
    EXPECT_NE(printed.text().find("Manager.Federate.LBTS not found in fom\n"), std::string::npos) << printed.text();
  }
  printed.clear();
  // The tenth class in filing order: the four Adjust classes and the first
  // five Request classes get their handlers.
  MomJoined f("", edited(momFedText(), "(class RequestObjectsUpdated reliable receive)", ""));
  EXPECT_TRUE(f.mom->joined());
  EXPECT_EQ(handlersFiled(*f.mom, *f.fom, "Manager.Federate.Adjust"), 4u);
  EXPECT_EQ(handlersFiled(*f.mom, *f.fom, "Manager.Federate.Request"), 5u);
  EXPECT_EQ(handlersFiled(*f.mom, *f.fom, "Manager.Federate.Service"), 0u);
  EXPECT_NE(printed.text().find("Manager.Federate.Request.RequestObjectsUpdated not found in fom\n"),
            std::string::npos);
}

TEST(MomMgr, TheDispatchAnswersWhatIsForThisFederateAndAlertsWhatIsIncomplete) {
  const std::string federate7 = "Federate=7";
  struct Case {
    const char* what;
    const char* className;
    Pairs pairs;
    std::vector<std::string> sent;
  };
  const std::vector<std::string> noPublications = {
      "ReportObjectPublication Federate=7 NumberOfClasses=0 AttributeList= ObjectClass=",
      "ReportInteractionPublication Federate=7 InteractionClassList="};
  const Case cases[] = {
      {"not a MOM class", "Horn", {{"Loudness", "3"}}, {}},
      {"another federate", theRequestPublications, {{"Federate", textBytes("9")}}, {}},
      {"this federate", theRequestPublications, {{"Federate", textBytes("7")}}, noPublications},
      {"every federate", theRequestPublications, {{"Federate", textBytes("0")}}, noPublications},
      {"a parameter missing",
       theSetTiming,
       {{"Federate", textBytes("7")}},
       {"Alert Federate=7 AlertID=1 AlertSeverity=RTI internal error AlertDescription="
        "Manager.Federate.Adjust.SetTiming interaction sent from federate 3 to 7 is missing 1 parameter(s)"}},
      {"a value refused",
       theSetTiming,
       {{"Federate", textBytes("7")}, {"ReportPeriod", textBytes("99999999999")}},
       {"Alert Federate=7 AlertID=2 AlertSeverity=RTI internal error AlertDescription="
        "Manager.Federate.Adjust.SetTiming interaction sent from federate 3 to 7 is missing 1 parameter(s)"}},
      {"an extra parameter",
       theRequestPublications,
       {{"Federate", textBytes("7")}, {"Federate", textBytes("7")}},
       noPublications},
      {"a handler that throws",
       theSetServiceReporting,
       {{"Federate", textBytes("7")}, {"ReportingState", textBytes("True")}},
       {"Alert Federate=7 AlertID=3 AlertSeverity=RTI exception AlertDescription=FederateLoggingServiceCalls: "}},
  };
  MomJoined f;
  // Subscribing the reports makes SetServiceReporting On throw.
  f.interactions->subscribe(f.fom->interactionHandle("Manager.Federate.Report"), RTI::RTI_TRUE);
  f.conn->interactions.clear();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    f.receive(c.className, c.pairs);
    EXPECT_EQ(f.takeSent(), c.sent);
    // Alerts are forced on only while a MOM interaction is handled.
    EXPECT_EQ(f.mom->exceptionReports(), 0);
  }
  // Refused before it was stored: its own reports would come back to it.
  EXPECT_EQ(f.mom->serviceReporting(), 0);
  EXPECT_EQ(f.mom->federatePublisher()->period(), 0u);
}

TEST(MomMgr, AServiceThatFailsInsideTheDispatchGivesOneAlertThroughTheObserver) {
  MomJoined f;
  f.ambassador.failing = "publishObjectClass";
  f.conn->interactions.clear();
  f.receive("Manager.Federate.Service.PublishObjectClass",
            {{"Federate", textBytes("0")}, {"ObjectClass", textBytes("3")}, {"AttributeList", textBytes("1")}});
  EXPECT_EQ(f.ambassador.calls, std::vector<std::string>{"publishObjectClass"});
  EXPECT_EQ(f.takeSent(), std::vector<std::string>{"Alert Federate=7 AlertID=1 AlertSeverity=RTI exception "
                                                   "AlertDescription=ObjectNotKnown: not here"});
  // The same failure outside: no Alert with the switches off.
  EXPECT_THROW(f.ambassador.publishObjectClass(3, DtAttributeHandleSet()), RTI::ObjectNotKnown);
  EXPECT_TRUE(f.takeSent().empty());
}

TEST(MomMgr, SetExceptionLoggingOffTurnsAlertsOffForGood) {
  MomJoined f("(setq RTI_momExceptionReports 1)");
  f.ambassador.failing = "publishObjectClass";
  ASSERT_EQ(f.mom->exceptionReports(), 1);
  f.conn->interactions.clear();
  EXPECT_THROW(f.ambassador.publishObjectClass(3, DtAttributeHandleSet()), RTI::ObjectNotKnown);
  EXPECT_EQ(f.takeSent().size(), 1u);
  f.receive(theSetExceptionLogging, {{"Federate", textBytes("7")}, {"LoggingState", textBytes("False")}});
  EXPECT_EQ(f.mom->exceptionReports(), 0);
  EXPECT_EQ(f.mom->exceptionLogging(), 0);
  EXPECT_THROW(f.ambassador.publishObjectClass(3, DtAttributeHandleSet()), RTI::ObjectNotKnown);
  EXPECT_TRUE(f.takeSent().empty());
  // On again: both switches, and Alerts from then on.
  f.receive(theSetExceptionLogging, {{"Federate", textBytes("7")}, {"LoggingState", textBytes("True")}});
  EXPECT_EQ(f.mom->exceptionReports(), 1);
  EXPECT_EQ(f.mom->exceptionLogging(), 1);
}

TEST(MomMgr, AlertsCarryConsecutiveIdsAndTheSeverityOfTheirException) {
  MomJoined f("(setq RTI_momExceptionReports 1)");
  f.conn->interactions.clear();
  f.mom->processException(RTI::FederateInternalError("a"));
  f.mom->processException(RTI::RTIinternalError("b"));
  f.mom->processException(RTI::NameNotFound("c"));
  f.mom->sendServiceAlert("d");
  EXPECT_EQ(f.takeSent(), (std::vector<std::string>{
                              "Alert Federate=7 AlertID=1 AlertSeverity=Federate internal error "
                              "AlertDescription=FederateInternalError: a",
                              "Alert Federate=7 AlertID=2 AlertSeverity=RTI internal error "
                              "AlertDescription=RTIinternalError: b",
                              "Alert Federate=7 AlertID=3 AlertSeverity=RTI exception AlertDescription=NameNotFound: c",
                              "Alert Federate=7 AlertID=4 AlertSeverity=RTI internal error AlertDescription=d"}));
  // Exception logging at 2 logs nothing; at 1 a line with the time.
  MomJoined logged("(setq RTI_momExceptionLogging 1)");
  NotifyCapture printed(1);
  logged.mom->processException(RTI::NameNotFound("e"));
  EXPECT_NE(printed.text().find(" NameNotFound: e\n"), std::string::npos) << printed.text();
  EXPECT_TRUE(logged.takeSent().empty());
}

TEST(MomMgr, RequestsAnswerInTheirOrder) {
  MomJoined f;
  f.conn->interactions.clear();
  f.receive("Manager.Federate.Request.RequestUpdatesSent", {{"Federate", textBytes("7")}});
  f.receive("Manager.Federate.Request.RequestSubscriptions", {{"Federate", textBytes("7")}});
  EXPECT_EQ(f.takeSent(), (std::vector<std::string>{"ReportUpdatesSent Federate=7 UpdateCounts= "
                                                    "TransportationType=Best effort",
                                                    "ReportUpdatesSent Federate=7 UpdateCounts= "
                                                    "TransportationType=Reliable",
                                                    "ReportInteractionSubscription Federate=7 InteractionClassList="}));
  // A published class: one report per class, then the interactions.
  const RTI::ObjectClassHandle vehicle = f.fom->classHandle("Vehicle");
  DtAttributeHandleSet position;
  position.add(f.fom->attrHandle("Position", vehicle));
  f.objects->publish(vehicle, position);
  f.receive(theRequestPublications, {{"Federate", textBytes("0")}});
  const std::vector<std::string> sent = f.takeSent();
  ASSERT_EQ(sent.size(), 2u);
  EXPECT_NE(sent[0].find("NumberOfClasses=1"), std::string::npos) << sent[0];
  EXPECT_EQ(sent[1].rfind("ReportInteractionPublication", 0), 0u);
}

TEST(MomMgr, AResignationAskedForWaitsForTheNextTick) {
  MomJoined f;
  f.receive("Manager.Federate.Service.ResignFederationExecution",
            {{"Federate", textBytes("7")}, {"ResignAction", textBytes("DeleteObjects")}});
  EXPECT_TRUE(f.ambassador.calls.empty());
  EXPECT_TRUE(f.mom->resignPending());
  f.mom->tick();
  EXPECT_EQ(f.ambassador.calls, std::vector<std::string>{"resignFederationExecution"});
  EXPECT_FALSE(f.mom->resignPending());
  f.mom->tick();
  EXPECT_EQ(f.ambassador.calls.size(), 1u);
}

TEST(MomMgr, SetTimingChangesThePeriodAndTheLiveFederatesFollowAliveAndResign) {
  MomJoined f;
  f.receive(theSetTiming, {{"Federate", textBytes("0")}, {"ReportPeriod", textBytes("4")}});
  EXPECT_EQ(f.mom->federatePublisher()->period(), 4u);
  for (unsigned long handle : {3ul, 0ul, 5ul, 3ul}) f.mom->alive(handle);
  EXPECT_EQ(f.mom->federateList()->handles(), (std::vector<std::uint32_t>{3, 5}));
  DtResignMsg resign;
  resign.setFederateHandle(3);
  f.mom->processResign(resign);
  EXPECT_EQ(f.mom->federateList()->handles(), std::vector<std::uint32_t>{5});
}

}  // namespace

namespace {

std::string fileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TEST(MomMgrSave, TheSwitchesTheAlertIdAndBothObjectsComeBack) {
  ScratchDirectory dir;
  const std::string saved = dir.path() + "/saved.sav";
  MomJoined f("(setq RTI_momExceptionReports 1)");
  f.receive(theSetExceptionLogging, {{"Federate", textBytes("7")}, {"LoggingState", textBytes("True")}});
  f.mom->sendServiceAlert("one");
  f.mom->sendServiceAlert("two");
  f.mom->alive(3);
  {
    DtRtiSaveFile file(saved.c_str(), false);
    ASSERT_TRUE(f.mom->save(file));
    ASSERT_TRUE(file.close());
  }
  std::vector<std::uint32_t> types;
  {
    DtRtiSaveFile file(saved.c_str(), true);
    while (const DtSavePacket* packet = file.readNextPacket()) types.push_back(packet->type());
  }
  EXPECT_EQ(types, (std::vector<std::uint32_t>{9, 5, 5}));

  MomJoined g;
  {
    DtRtiSaveFile file(saved.c_str(), true);
    ASSERT_TRUE(g.mom->restore(file));
  }
  EXPECT_EQ(g.mom->exceptionLogging(), 1);
  EXPECT_EQ(g.mom->exceptionReports(), 1);
  EXPECT_EQ(g.mom->serviceReporting(), 0);
  EXPECT_EQ(g.mom->nextAlertId(), 3);
  EXPECT_TRUE(g.mom->federateList()->handles().empty());
  const std::string again = dir.path() + "/again.sav";
  {
    DtRtiSaveFile file(again.c_str(), false);
    ASSERT_TRUE(g.mom->save(file));
    ASSERT_TRUE(file.close());
  }
  EXPECT_EQ(fileBytes(again), fileBytes(saved));
}

TEST(MomMgrSave, AWrongRecordFailsTheRestoreAndSaysWhichOne) {
  ScratchDirectory dir;
  MomJoined f;
  const std::string good = dir.path() + "/good.sav";
  {
    DtRtiSaveFile file(good.c_str(), false);
    ASSERT_TRUE(f.mom->save(file));
    ASSERT_TRUE(file.close());
  }
  std::vector<std::string> records;
  {
    DtRtiSaveFile file(good.c_str(), true);
    while (const DtSavePacket* packet = file.readNextPacket()) {
      records.emplace_back(packet->bytes().data(), packet->bytes().size());
    }
  }
  ASSERT_EQ(records.size(), 3u);
  std::string shortManager = records[0].substr(0, 12);
  shortManager[3] = 12;
  struct Case {
    const char* what;
    std::vector<std::string> records;
    const char* printed;
  };
  const Case cases[] = {
      {"an object record first", {records[1], records[1], records[2]}, "MomMgr received an incorrect save packet"},
      {"a short manager record", {shortManager, records[1], records[2]}, "MomMgr received a damaged save packet"},
      {"the manager's record twice",
       {records[0], records[0], records[2]},
       "Bad packet type found when restoring MOM Federation object\n"},
      {"no Federate object",
       {records[0], records[1], records[0]},
       "Bad packet type found when restoring MOM Federate object\n"},
      {"nothing", {}, "MomMgr received an incorrect save packet"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string path = dir.path() + "/bad.sav";
    {
      DtRtiSaveFile file(path.c_str(), false);
      for (const std::string& record : c.records) {
        ASSERT_TRUE(file.writePacket(record.data(), static_cast<int>(record.size())));
      }
      ASSERT_TRUE(file.close());
    }
    NotifyCapture printed(1);
    DtRtiSaveFile file(path.c_str(), true);
    EXPECT_FALSE(f.mom->restore(file));
    EXPECT_NE(printed.text().find(c.printed), std::string::npos) << printed.text();
  }
}

}  // namespace
