// The management object model of federates in a federation run by the real
// rtiexec program: scripted federates with RTI_momServiceAvailable 1 see each
// other's Manager.Federate objects, ask each other for reports, and make
// each other call services.

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "CoreTestSupport.h"
#include "NullFederateAmbassador.hh"
#include "config/DtFedReader.h"
#include "core/DtPrivRefs.h"
#include "core/DtRtiAmbassadorAccess.h"
#include "mom/DtMomMgr.h"
#include "mom/DtMomObserver.h"
#include "objects/DtFomClassMgr.h"
#include "port/DtProcess.h"
#include "rti/exec/ExecFederation.h"
#include "save/DtRtiSaveFile.h"
#include "save/DtSavePackets.h"

using namespace exectest;

namespace {

const std::string theMomFed = QLX_SOURCE_ROOT "/tests/rti/mom/data/mom.fed";
const std::string theMomOn = "(setq RTI_momServiceAvailable 1)\n";

// The MOM test FOM with a second class of the federate's own, Truck.
std::string momFedText() {
  std::ifstream in(theMomFed);
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const std::string vehicle = "(class Vehicle";
  const std::size_t at = text.find(vehicle);
  if (at != std::string::npos) text.insert(at, "(class Truck (attribute Load best_effort receive))\n      ");
  return text;
}

// A MOM text value as the scripted federate prints it: hexadecimal, since
// it ends in its NUL.
std::string shownText(const std::string& text) {
  std::string out = "0x";
  for (const char c : text + '\0') {
    char digits[3];
    std::snprintf(digits, sizeof digits, "%02x", static_cast<unsigned char>(c));
    out += digits;
  }
  return out;
}

// The last line the federate printed that starts with the prefix.
std::string lastLine(const ScriptedFederateProcess& federate, const std::string& prefix) {
  const std::vector<std::string>& lines = federate.lines();
  for (auto line = lines.rbegin(); line != lines.rend(); ++line) {
    if (line->rfind(prefix, 0) == 0) return *line;
  }
  return {};
}

// Waits until the federate has discovered the object of that name (each
// federate's own MOM object is the RTI's: it discovers that one too).
::testing::AssertionResult discovers(ScriptedFederateProcess& federate, const std::string& name) {
  const std::string quoted = "\"" + name + "\"";
  for (int waits = 0; waits < 6; ++waits) {
    for (const std::string& line : federate.lines()) {
      if (line.rfind("callback discoverObjectInstance", 0) == 0 && line.find(quoted) != std::string::npos) {
        return ::testing::AssertionSuccess();
      }
    }
    static_cast<void>(federate.command("wait discoverObjectInstance"));
  }
  return ::testing::AssertionFailure() << "no discovery of " << name;
}

class MomFederation : public ::testing::Test {
protected:
  explicit MomFederation(const std::string& forms = "") : federation(std::string(reliableForms) + theMomOn + forms) {}

  void SetUp() override {
    const std::string fed = federation.dir().write("Mom.fed", momFedText());
    DtFedReader reader;
    fom = DtFomClassMgr::loadFed(reader, fed.c_str(), nullptr);
    ASSERT_TRUE(fom);
    ASSERT_TRUE(federation.startExec());
    a = ExecFederation::federate();
    b = ExecFederation::federate();
    ASSERT_TRUE(succeeds(*a, "create Mom Mom.fed"));
    ASSERT_EQ(a->command("join Mom A"), "ok join 1");
    ASSERT_TRUE(succeeds(*a, "background-tick on"));
    ASSERT_EQ(b->command("join Mom B"), "ok join 2");
  }
  void TearDown() override {
    for (auto* federate : {b.get(), a.get()}) {
      if (federate) static_cast<void>(federate->command("resign none"));
    }
    if (a) {
      EXPECT_TRUE(succeeds(*a, "destroy Mom"));
    }
  }
  std::string attribute(const char* name) const {
    const RTI::ObjectClassHandle federateClass = fom->classHandle("Manager.Federate");
    return std::to_string(fom->attrHandle(name, federateClass));
  }
  std::string interaction(const char* name) const { return std::to_string(fom->interactionHandle(name)); }

  ExecFederation federation;
  std::unique_ptr<DtFomClassMgr> fom;
  std::unique_ptr<ScriptedFederateProcess> a;
  std::unique_ptr<ScriptedFederateProcess> b;
};

TEST_F(MomFederation, ASubscriberDiscoversTheFederateObjectAndALaterOneToo) {
  EXPECT_TRUE(succeeds(*b, "subscribe Manager.Federate FederateHandle FederateHost FederateType"));
  EXPECT_TRUE(discovers(*b, "HLA_Federate1"));
  EXPECT_TRUE(succeeds(*b, "request-object HLA_Federate1 FederateHandle FederateHost FederateType"));
  EXPECT_TRUE(succeeds(*b, "wait reflectAttributeValues"));
  const std::string reflected = lastLine(*b, "callback reflectAttributeValues");
  EXPECT_NE(reflected.find(attribute("FederateHandle") + "=" + shownText("1")), std::string::npos) << reflected;
  EXPECT_NE(reflected.find(attribute("FederateHost") + "=" + shownText(DtHostName())), std::string::npos) << reflected;
  EXPECT_NE(reflected.find(attribute("FederateType") + "=" + shownText("A")), std::string::npos) << reflected;

  // A federate that subscribes later is told of it again.
  auto c = ExecFederation::federate();
  ASSERT_EQ(c->command("join Mom C"), "ok join 3");
  EXPECT_TRUE(succeeds(*b, "background-tick on"));
  EXPECT_TRUE(succeeds(*c, "subscribe Manager.Federate FederateHandle"));
  EXPECT_TRUE(discovers(*c, "HLA_Federate1"));
  EXPECT_TRUE(discovers(*c, "HLA_Federate2"));
  EXPECT_TRUE(discovers(*b, "HLA_Federate3"));
  EXPECT_TRUE(succeeds(*c, "resign none"));
  // Its object goes with it.
  EXPECT_TRUE(succeeds(*b, "background-tick off"));
  EXPECT_TRUE(succeeds(*b, "wait removeObjectInstance"));
}

// The receiveInteraction lines of the class (its handle) since `from`.
std::vector<std::string> received(const ScriptedFederateProcess& federate, const std::string& classHandle,
                                  std::size_t from = 0) {
  std::vector<std::string> lines;
  const std::string prefix = "callback receiveInteraction " + classHandle + " ";
  for (std::size_t i = from; i < federate.lines().size(); ++i) {
    if (federate.lines()[i].rfind(prefix, 0) == 0) lines.push_back(federate.lines()[i]);
  }
  return lines;
}

TEST_F(MomFederation, RequestsAreAnsweredWithTheirReportsInOrder) {
  const std::string objectReport = interaction("Manager.Federate.Report.ReportObjectPublication");
  const std::string interactionReport = interaction("Manager.Federate.Report.ReportInteractionPublication");
  const std::string updatesReport = interaction("Manager.Federate.Report.ReportUpdatesSent");
  // Each report class itself: a superclass would get them without their
  // parameters.
  EXPECT_TRUE(eachSucceeds({b.get()}, {"subscribe-interaction Manager.Federate.Report.ReportObjectPublication",
                                       "subscribe-interaction Manager.Federate.Report.ReportInteractionPublication",
                                       "subscribe-interaction Manager.Federate.Report.ReportUpdatesSent",
                                       "publish-interaction Manager.Federate.Request.RequestPublications",
                                       "publish-interaction Manager.Federate.Request.RequestUpdatesSent"}));
  EXPECT_TRUE(eachSucceeds({a.get()}, {"publish Vehicle Position", "publish Truck Load", "publish-interaction Horn"}));
  // Two classes published: one report each (both say two), then the
  // interactions.
  EXPECT_TRUE(succeeds(*b, "send-interaction Manager.Federate.Request.RequestPublications r Federate=1"));
  for (int i = 0; i < 3; ++i) EXPECT_TRUE(succeeds(*b, "wait receiveInteraction"));
  std::vector<std::string> objects = received(*b, objectReport);
  ASSERT_EQ(objects.size(), 2u);
  for (const std::string& line : objects) EXPECT_NE(line.find(shownText("2")), std::string::npos) << line;
  const std::vector<std::string> interactions = received(*b, interactionReport);
  ASSERT_EQ(interactions.size(), 1u);
  EXPECT_NE(interactions[0].find(shownText(interaction("Horn"))), std::string::npos) << interactions[0];
  EXPECT_GT(b->lines().size(), 0u);

  // Nothing published: one report of no class.
  EXPECT_TRUE(eachSucceeds({a.get()}, {"unpublish Vehicle", "unpublish Truck"}));
  std::size_t mark = b->lines().size();
  EXPECT_TRUE(succeeds(*b, "send-interaction Manager.Federate.Request.RequestPublications r Federate=1"));
  for (int i = 0; i < 2; ++i) EXPECT_TRUE(succeeds(*b, "wait receiveInteraction"));
  objects = received(*b, objectReport, mark);
  ASSERT_EQ(objects.size(), 1u);
  EXPECT_NE(objects[0].find(shownText("0")), std::string::npos) << objects[0];

  // Updates sent: two reports, best effort first.
  mark = b->lines().size();
  EXPECT_TRUE(succeeds(*b, "send-interaction Manager.Federate.Request.RequestUpdatesSent r Federate=1"));
  for (int i = 0; i < 2; ++i) EXPECT_TRUE(succeeds(*b, "wait receiveInteraction"));
  const std::vector<std::string> updates = received(*b, updatesReport, mark);
  ASSERT_EQ(updates.size(), 2u);
  EXPECT_NE(updates[0].find(shownText("Best effort")), std::string::npos) << updates[0];
  EXPECT_NE(updates[1].find(shownText("Reliable")), std::string::npos) << updates[1];
}

// Alerts of every RTI exception, from the RID file.
class MomAlertsFederation : public MomFederation {
protected:
  MomAlertsFederation() : MomFederation("(setq RTI_momExceptionReports 1)\n") {}
};

TEST_F(MomAlertsFederation, FailingServicesGiveAlertsUntilSetExceptionLoggingTurnsThemOff) {
  const std::string alert = interaction("Manager.Federate.Report.Alert");
  const std::string answer = interaction("Manager.Federate.Report.ReportInteractionSubscription");
  EXPECT_TRUE(eachSucceeds({b.get()}, {"subscribe-interaction Manager.Federate.Report.Alert",
                                       "publish-interaction Manager.Federate.Service.PublishObjectClass",
                                       "publish-interaction Manager.Federate.Adjust.SetExceptionLogging",
                                       "publish-interaction Manager.Federate.Request.RequestSubscriptions",
                                       "subscribe-interaction Manager.Federate.Report.ReportInteractionSubscription"}));
  // A class A does not know: the service B makes it call fails.
  EXPECT_TRUE(succeeds(*b,
                       "send-interaction Manager.Federate.Service.PublishObjectClass s Federate=1 "
                       "ObjectClass=999 AttributeList=1"));
  EXPECT_TRUE(succeeds(*b, "wait receiveInteraction"));
  // And one of A's own calls.
  EXPECT_EQ(a->command("publish Nowhere").rfind("error publish NameNotFound", 0), 0u);
  EXPECT_TRUE(succeeds(*b, "wait receiveInteraction"));
  std::vector<std::string> alerts = received(*b, alert);
  ASSERT_EQ(alerts.size(), 2u);
  EXPECT_NE(alerts[0].find(shownText("ObjectClassNotDefined: ")), std::string::npos) << alerts[0];
  EXPECT_NE(alerts[0].find("=" + shownText("1") + ",2="), std::string::npos) << alerts[0];
  EXPECT_NE(alerts[1].find(shownText("NameNotFound: ")), std::string::npos) << alerts[1];
  EXPECT_NE(alerts[1].find("=" + shownText("2") + ",2="), std::string::npos) << alerts[1];

  // Off, and A has taken it in once it answers the request sent after it.
  EXPECT_TRUE(succeeds(*b,
                       "send-interaction Manager.Federate.Adjust.SetExceptionLogging s Federate=1 "
                       "LoggingState=False"));
  EXPECT_TRUE(succeeds(*b, "send-interaction Manager.Federate.Request.RequestSubscriptions s Federate=1"));
  EXPECT_TRUE(succeeds(*b, "wait receiveInteraction"));
  // A's failure tells nobody now: the next answer comes with no Alert
  // before it.
  const std::size_t mark = b->lines().size();
  EXPECT_EQ(a->command("publish Nowhere").rfind("error publish NameNotFound", 0), 0u);
  EXPECT_TRUE(succeeds(*b, "send-interaction Manager.Federate.Request.RequestSubscriptions s Federate=1"));
  EXPECT_TRUE(succeeds(*b, "wait receiveInteraction"));
  EXPECT_TRUE(received(*b, alert, mark).empty());
  EXPECT_EQ(received(*b, answer, mark).size(), 1u);
}

TEST_F(MomFederation, ServicesAndAdjustmentsActOnTheFederateAddressed) {
  EXPECT_TRUE(eachSucceeds({b.get()}, {"publish-interaction Manager.Federate.Adjust.SetTiming",
                                       "publish-interaction Manager.Federate.Service.ResignFederationExecution",
                                       "subscribe Manager.Federate FederateHandle"}));
  EXPECT_TRUE(discovers(*b, "HLA_Federate1"));
  // A period of one second: updates come without being asked for.
  EXPECT_TRUE(succeeds(*b, "send-interaction Manager.Federate.Adjust.SetTiming t Federate=1 ReportPeriod=1"));
  EXPECT_TRUE(succeeds(*b, "wait reflectAttributeValues 10"));
  EXPECT_NE(lastLine(*b, "callback reflectAttributeValues").find(shownText("1")), std::string::npos);
  // Resigned at its next tick; its object goes with it.
  EXPECT_TRUE(succeeds(*b,
                       "send-interaction Manager.Federate.Service.ResignFederationExecution t Federate=1 "
                       "ResignAction=DeleteObjectsAndReleaseAttributes"));
  EXPECT_TRUE(resignsHandled(federation.exec(), {1}));
  EXPECT_TRUE(succeeds(*b, "wait removeObjectInstance 10"));
  EXPECT_EQ(a->command("resign none").rfind("error resign FederateNotExecutionMember", 0), 0u);
}

// The MOM's records of a save file (types 9 and 5, from its first type 9
// on) and the types of all records.
struct MomRecords {
  std::vector<std::string> mom;
  std::string types;
};
MomRecords momRecordsOf(const std::string& path) {
  DtRtiSaveFile file(path.c_str(), true);
  MomRecords records;
  bool inMom = false;
  while (const DtSavePacket* packet = file.readNextPacket()) {
    records.types += (records.types.empty() ? "" : " ") + std::to_string(packet->type());
    inMom = inMom || packet->type() == 9;
    if (inMom) records.mom.emplace_back(packet->bytes().data(), packet->bytes().size());
  }
  return records;
}

TEST_F(MomFederation, ASaveAndRestoreBringTheSwitchesTheAlertIdAndBothObjectsBack) {
  const std::string alert = interaction("Manager.Federate.Report.Alert");
  EXPECT_TRUE(eachSucceeds({b.get()}, {"subscribe-interaction Manager.Federate.Report.Alert",
                                       "publish-interaction Manager.Federate.Adjust.SetExceptionLogging",
                                       "subscribe Manager.Federate FederateHandle"}));
  EXPECT_TRUE(discovers(*b, "HLA_Federate1"));
  EXPECT_TRUE(succeeds(*b,
                       "send-interaction Manager.Federate.Adjust.SetExceptionLogging s Federate=1 "
                       "LoggingState=True"));
  EXPECT_TRUE(succeeds(*b, "tick 0.3"));
  EXPECT_EQ(a->command("publish Nowhere").rfind("error publish NameNotFound", 0), 0u);
  EXPECT_TRUE(succeeds(*b, "wait receiveInteraction"));
  EXPECT_TRUE(succeeds(*a, "background-tick off"));
  ASSERT_TRUE(succeeds(*a, "save L1"));
  ASSERT_TRUE(saveTogether({a.get(), b.get()}));
  const std::string dir = federation.dir().path() + "/";
  const MomRecords saved = momRecordsOf(dir + "L1-Mom-A-1.sav");
  // After the object manager's end record: the MOM's record and its two
  // objects.
  EXPECT_EQ(saved.types.substr(saved.types.size() - 9), "998 9 5 5") << saved.types;
  ASSERT_EQ(saved.mom.size(), 3u);

  // Switched off and another Alert's ID used, then restored: on again,
  // and the next Alert carries the saved ID.
  EXPECT_TRUE(succeeds(*a, "background-tick on"));
  EXPECT_TRUE(succeeds(*b,
                       "send-interaction Manager.Federate.Adjust.SetExceptionLogging s Federate=1 "
                       "LoggingState=False"));
  EXPECT_TRUE(succeeds(*b, "tick 0.3"));
  EXPECT_TRUE(succeeds(*a, "background-tick off"));
  EXPECT_TRUE(succeeds(*b, "restore L1"));
  EXPECT_TRUE(succeeds(*b, "wait requestFederationRestoreSucceeded"));
  ASSERT_TRUE(restoreTogether({a.get(), b.get()}));
  const std::size_t mark = b->lines().size();
  EXPECT_EQ(a->command("publish Nowhere").rfind("error publish NameNotFound", 0), 0u);
  EXPECT_TRUE(succeeds(*a, "tick 0.1"));
  EXPECT_TRUE(succeeds(*b, "wait receiveInteraction"));
  const std::vector<std::string> alerts = received(*b, alert, mark);
  ASSERT_EQ(alerts.size(), 1u);
  EXPECT_NE(alerts[0].find("=" + shownText("2") + ",2="), std::string::npos) << alerts[0];

  // Saved again, the MOM's records are the first save's, but for the
  // Alert ID used since.
  ASSERT_TRUE(succeeds(*a, "save L2"));
  ASSERT_TRUE(saveTogether({a.get(), b.get()}));
  std::vector<std::string> expected = saved.mom;
  expected[0][15] = 3;
  EXPECT_EQ(momRecordsOf(dir + "L2-Mom-A-1.sav").mom, expected);
}

// One process: the MOM joins, resigns and joins again with its federate,
// and an ambassador deleted while joined takes it down whole (ASan finds
// what would be left).
TEST(MomAmbassador, JoinsResignsJoinsAgainAndGoesWithAnAmbassadorDeletedWhileJoined) {
  RidScope rid(theMomOn);
  const std::string fed = rid.directory().write("Mom.fed", momFedText());
  NullFederateAmbassador federate;
  auto ambassador = std::make_unique<RTI::RTIambassador>();
  DtPrivRefs& refs = DtRtiAmbassadorAccess::refs(*ambassador);
  ASSERT_NE(refs.momMgr, nullptr);
  ambassador->createFederationExecution("Mom", fed.c_str());
  for (int round = 0; round < 2; ++round) {
    ambassador->joinFederationExecution("A", "Mom", &federate);
    EXPECT_TRUE(refs.momMgr->joined());
    EXPECT_NE(refs.momMgr->federatePublisher(), nullptr);
    EXPECT_EQ(refs.observers->first(), static_cast<DtRtiAmbassadorObserver*>(refs.momMgr->observer()));
    ambassador->resignFederationExecution(RTI::NO_ACTION);
    EXPECT_FALSE(refs.momMgr->joined());
    EXPECT_EQ(refs.observers->first(), nullptr);
  }
  ambassador->joinFederationExecution("A", "Mom", &federate);
  ambassador->tick();
  ambassador.reset();
}

// Without an rtiexec: every federate's own datagrams come back to it, and
// its MOM answers the MOM interactions it sent itself.
TEST(MomFederationServerless, AFederatesOwnRequestToEveryFederateIsAnsweredByItsOwnMomToo) {
  ExecFederation federation(theMomOn);
  federation.dir().write("Mom.fed", momFedText());
  auto a = ExecFederation::federate();
  auto b = ExecFederation::federate();
  ASSERT_TRUE(succeeds(*a, "create Mom Mom.fed"));
  const std::string joinedA = a->command("join Mom A");
  const std::string joinedB = b->command("join Mom B");
  ASSERT_EQ(joinedA.rfind("ok join ", 0), 0u);
  ASSERT_EQ(joinedB.rfind("ok join ", 0), 0u);
  EXPECT_TRUE(succeeds(*b, "background-tick on"));
  EXPECT_TRUE(eachSucceeds({a.get()}, {"subscribe-interaction Manager.Federate.Report.ReportInteractionPublication",
                                       "publish-interaction Manager.Federate.Request.RequestPublications",
                                       "send-interaction Manager.Federate.Request.RequestPublications r Federate=0",
                                       "wait receiveInteraction", "wait receiveInteraction"}));
  // From both federates' MOMs, A's own among them.
  EXPECT_TRUE(printed(a->lines(), "=" + shownText(joinedA.substr(8)) + ","));
  EXPECT_TRUE(printed(a->lines(), "=" + shownText(joinedB.substr(8)) + ","));
  EXPECT_TRUE(succeeds(*b, "resign none"));
  EXPECT_TRUE(succeeds(*a, "resign none"));
  EXPECT_TRUE(succeeds(*a, "destroy Mom"));
}

}  // namespace

// Whether the printed reception holds the parameter with the text.
bool shows(const std::string& line, const std::string& parameter, const std::string& text) {
  const std::string pair = parameter + "=" + shownText(text);
  return line.find("{" + pair) != std::string::npos || line.find("," + pair) != std::string::npos;
}

TEST_F(MomFederation, ServiceReportingSendsACallInsideACallbackBeforeTheCallbackUntilTurnedOff) {
  const RTI::InteractionClassHandle reportClass =
      fom->interactionHandle("Manager.Federate.Report.ReportServiceInvocation");
  const std::string report = std::to_string(reportClass);
  const auto parameter = [&](const char* name) { return std::to_string(fom->paramHandle(name, reportClass)); };
  const std::string horn = interaction("Horn");
  const std::string loudness = std::to_string(fom->paramHandle("Loudness", fom->interactionHandle("Horn")));
  const std::string answer = interaction("Manager.Federate.Report.ReportInteractionSubscription");
  EXPECT_TRUE(eachSucceeds({b.get()}, {"subscribe-interaction Manager.Federate.Report.ReportServiceInvocation",
                                       "subscribe-interaction Manager.Federate.Report.ReportInteractionSubscription",
                                       "publish-interaction Manager.Federate.Adjust.SetServiceReporting",
                                       "publish-interaction Manager.Federate.Request.RequestSubscriptions",
                                       "publish-interaction Horn", "subscribe-interaction Horn"}));
  EXPECT_TRUE(eachSucceeds({a.get()}, {"subscribe-interaction Horn", "publish-interaction Horn",
                                       "on receiveInteraction interaction-handle Horn"}));
  // B sends the classes once it knows that A takes them.
  for (const char* name :
       {"Manager.Federate.Adjust.SetServiceReporting", "Manager.Federate.Request.RequestSubscriptions", "Horn"}) {
    const std::string advised = "callback turnInteractionsOn " + interaction(name);
    for (int waits = 0; waits < 10 && lastLine(*b, advised).empty(); ++waits) {
      static_cast<void>(b->command("wait turnInteractionsOn"));
    }
    ASSERT_FALSE(lastLine(*b, advised).empty()) << name;
  }
  // A's answer to a request: A has handled what B sent before it, and B has
  // what A sent by the same way (the MOM's interactions) before it. Horns
  // may take another way.
  const auto answered = [&] {
    const std::size_t from = b->lines().size();
    EXPECT_TRUE(succeeds(*b, "send-interaction Manager.Federate.Request.RequestSubscriptions s Federate=1"));
    for (int waits = 0; waits < 10 && received(*b, answer, from).empty(); ++waits) {
      static_cast<void>(b->command("wait receiveInteraction"));
    }
    return !received(*b, answer, from).empty();
  };
  const auto reportingTo = [&](const char* state) {
    EXPECT_TRUE(succeeds(*b, std::string("send-interaction Manager.Federate.Adjust.SetServiceReporting s Federate=1 "
                                         "ReportingState=") +
                                 state));
    return answered();
  };
  ASSERT_TRUE(reportingTo("True"));
  const std::size_t mark = b->lines().size();
  EXPECT_TRUE(succeeds(*b, "send-interaction Horn loud Loudness=3"));
  // Reports until the one of A's reception.
  std::vector<std::string> reports;
  const auto callbackReported = [&] {
    reports = received(*b, report, mark);
    for (const std::string& line : reports) {
      if (shows(line, parameter("Service"), "receiveInteraction")) return true;
    }
    return false;
  };
  for (int waits = 0; waits < 10 && !callbackReported(); ++waits) {
    static_cast<void>(b->command("wait receiveInteraction"));
  }
  ASSERT_TRUE(callbackReported());
  // The call inside the callback first, then the callback.
  ASSERT_EQ(reports.size(), 2u);
  const std::string& called = reports[0];
  EXPECT_TRUE(shows(called, parameter("Service"), "getInteractionClassHandle")) << called;
  EXPECT_TRUE(shows(called, parameter("Initiator"), "FED")) << called;
  EXPECT_TRUE(shows(called, parameter("SuccessIndicator"), "True")) << called;
  EXPECT_TRUE(shows(called, parameter("SuppliedArgument1"), "Horn")) << called;
  EXPECT_TRUE(shows(called, parameter("ReturnedArgument"), horn)) << called;
  const std::string& back = reports[1];
  EXPECT_TRUE(shows(back, parameter("Initiator"), "RTI")) << back;
  EXPECT_TRUE(shows(back, parameter("SuppliedArgument1"), horn)) << back;
  EXPECT_TRUE(shows(back, parameter("SuppliedArgument2"), loudness + ",")) << back;
  EXPECT_TRUE(shows(back, parameter("SuppliedArgument3"), "loud")) << back;
  EXPECT_TRUE(shows(back, parameter("ReturnedArgument"), "")) << back;

  // Off: A's next reception and its call inside are not reported.
  ASSERT_TRUE(reportingTo("False"));
  const std::size_t off = b->lines().size();
  EXPECT_TRUE(succeeds(*b, "send-interaction Horn again Loudness=4"));
  EXPECT_TRUE(succeeds(*a, "background-tick off"));
  for (int waits = 0; waits < 10 && !lastLine(*a, "callback receiveInteraction").ends_with("\"again\""); ++waits) {
    static_cast<void>(a->command("wait receiveInteraction"));
  }
  ASSERT_TRUE(lastLine(*a, "callback receiveInteraction").ends_with("\"again\""));
  EXPECT_TRUE(eachSucceeds({a.get()}, {"off receiveInteraction", "background-tick on"}));
  ASSERT_TRUE(answered());
  const std::vector<std::string> late = received(*b, report, off);
  EXPECT_TRUE(late.empty()) << late.front();
}
