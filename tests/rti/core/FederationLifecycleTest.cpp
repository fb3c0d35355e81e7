// Serverless federations on the loopback (each test its own port and
// multicast group): federates of one process and of two processes create,
// join, hear each other's heartbeats, resign with every action and destroy,
// through the RTI ambassador. The other process is the scripted federate.
#include <gtest/gtest.h>

#include <functional>
#include <map>

#include "CoreTestSupport.h"
#include "msg/DtFederationMsgs.h"
#include "msg/DtMsgSubscriptions.h"
#include "net/DtConnectionMgr.h"
#include "rti/util/NotifyCapture.h"
#include "support/ScriptedFederateProcess.h"
#include "support/WaitUntil.h"
#include "util/DtClock.h"
#include "util/DtSelect.h"

namespace {

const std::string sampleFed = readWholeFile(QLX_SOURCE_ROOT "/rti/config/sample.fed");

// The heartbeats and resign messages that reach a connection manager, by
// sending federate. Registered for the life of the object, which must not
// outlive the manager.
class FederationTraffic {
public:
  explicit FederationTraffic(DtConnectionMgr* mgr) {
    handlers_.add<DtAliveMsg>(mgr, &FederationTraffic::alive, this);
    handlers_.add<DtResignMsg>(mgr, &FederationTraffic::resign, this);
  }
  FederationTraffic(const FederationTraffic&) = delete;
  FederationTraffic& operator=(const FederationTraffic&) = delete;

  std::map<unsigned long, int> heartbeats;
  std::vector<std::pair<unsigned long, int>> resigns;  // federate, action

private:
  static void alive(const DtAliveMsg& msg, void* self) {
    ++static_cast<FederationTraffic*>(self)->heartbeats[msg.federateHandle()];
  }
  static void resign(const DtResignMsg& msg, void* self) {
    static_cast<FederationTraffic*>(self)->resigns.emplace_back(msg.federateHandle(), msg.resignAction());
  }
  DtMsgSubscriptions handlers_;
};

const char* const heartbeatForms =
    "(setq RTI_federateHeartbeatInterval 0.05)\n(setq RTI_federateTimeoutInterval 1.0)\n";

class TwoFederatesOfOneProcess : public ::testing::TestWithParam<int> {};

TEST_P(TwoFederatesOfOneProcess, CreateJoinHearEachOtherResignAndDestroy) {
  RidScope rid(heartbeatForms + std::string("(setq RTI_asynchronousIO ") + std::to_string(GetParam()) + ")");
  rid.directory().write("Model" + std::to_string(GetParam()) + ".fed", sampleFed);  // no X.fed
  PlainImplementor::Install plain;
  NullFederateAmbassador fedAmbA;
  NullFederateAmbassador fedAmbB;
  RTI::RTIambassador a;
  FederationTraffic atA(PlainImplementor::last->connectMgr());
  RTI::RTIambassador b;
  FederationTraffic atB(PlainImplementor::last->connectMgr());

  a.createFederationExecution("X", ("Model" + std::to_string(GetParam()) + ".fed").c_str());
  const RTI::FederateHandle handleA = a.joinFederationExecution("A", "X", &fedAmbA);
  // B made no create itself: it reads the file of the create in its process.
  const RTI::FederateHandle handleB = b.joinFederationExecution("B", "X", &fedAmbB);
  EXPECT_NE(handleA, handleB);
  auto tickBoth = [&] {
    a.tick();
    b.tick();
    DtSleep(0.002);
  };
  EXPECT_TRUE(waitUntil([&] { return atA.heartbeats[handleB] >= 2 && atB.heartbeats[handleA] >= 2; }, tickBoth, 5));

  b.resignFederationExecution(RTI::DELETE_OBJECTS_AND_RELEASE_ATTRIBUTES);
  EXPECT_TRUE(waitUntil([&] { return !atA.resigns.empty(); }, tickBoth, 5));
  EXPECT_EQ(atA.resigns, (std::vector<std::pair<unsigned long, int>>{{handleB, 3}}));

  // A resigned federate is silent: no heartbeat of it over four of its
  // heartbeat intervals.
  a.resignFederationExecution(RTI::NO_ACTION);
  EXPECT_TRUE(waitUntil([&] { return atB.resigns.size() == 1; }, tickBoth, 5));
  const int heardFromA = atB.heartbeats[handleA];
  const double quiet = DtRealTime() + 0.2;
  waitUntil([&] { return DtRealTime() > quiet; }, tickBoth);
  EXPECT_EQ(atB.heartbeats[handleA], heardFromA);
  EXPECT_NO_THROW(a.destroyFederationExecution("X"));
  EXPECT_NO_THROW(b.destroyFederationExecution("X"));
  EXPECT_THROW(b.resignFederationExecution(RTI::NO_ACTION), RTI::FederateNotExecutionMember);
}

INSTANTIATE_TEST_SUITE_P(IoModes, TwoFederatesOfOneProcess, ::testing::Values(0, 1),
                         [](const auto& info) { return info.param ? "Asynchronous" : "Synchronous"; });

// The names a federation cannot do without, and the ambassador callbacks
// need, are refused before anything is read or sent, each by name.
TEST(FederationArguments, NullAndEmptyNamesAndANullAmbassadorAreRefusedByName) {
  RidScope rid;
  rid.directory().write("X.fed", sampleFed);
  NullFederateAmbassador fedAmb;
  RTI::RTIambassador rti;
  struct Case {
    const char* what;
    std::function<void()> call;
    const char* reason;
  };
  const Case cases[] = {
      {"create, null name", [&] { rti.createFederationExecution(nullptr, "X.fed"); },
       "createFederationExecution: the federation execution name is null"},
      {"create, empty name", [&] { rti.createFederationExecution("", "X.fed"); },
       "createFederationExecution: the federation execution name is empty"},
      {"join, null federate name", [&] { rti.joinFederationExecution(nullptr, "X", &fedAmb); },
       "joinFederationExecution: the federate name is null"},
      {"join, empty federate name", [&] { rti.joinFederationExecution("", "X", &fedAmb); },
       "joinFederationExecution: the federate name is empty"},
      {"join, null execution name", [&] { rti.joinFederationExecution("F", nullptr, &fedAmb); },
       "joinFederationExecution: the federation execution name is null"},
      {"join, null ambassador", [&] { rti.joinFederationExecution("F", "X", nullptr); },
       "joinFederationExecution: the federate ambassador is null"},
      {"destroy, null name", [&] { rti.destroyFederationExecution(nullptr); },
       "destroyFederationExecution: the federation execution name is null"},
  };
  for (const Case& c : cases) {
    NotifyCapture capture(3);
    try {
      c.call();
      ADD_FAILURE() << c.what << ": accepted";
    } catch (const RTI::RTIinternalError& e) {
      EXPECT_STREQ(e._reason, c.reason) << c.what;
    }
    EXPECT_EQ(capture.text().find("Reading FED file"), std::string::npos) << c.what << ": nothing was read";
  }
  EXPECT_THROW(rti.resignFederationExecution(RTI::NO_ACTION), RTI::FederateNotExecutionMember) << "never joined";
  rti.createFederationExecution("X", "X.fed");
  EXPECT_NE(rti.joinFederationExecution("F", "X", &fedAmb), 0u);
  rti.resignFederationExecution(RTI::NO_ACTION);
}

// The number after "ok join " in the scripted federate's lines.
std::vector<unsigned long> joinedHandles(const std::vector<std::string>& lines) {
  std::vector<unsigned long> handles;
  for (const std::string& line : lines) {
    if (line.rfind("ok join ", 0) == 0) handles.push_back(std::stoul(line.substr(8)));
  }
  return handles;
}

TEST(TwoProcesses, CreateJoinHearEachOtherResignWithEveryActionAndDestroy) {
  RidScope rid(heartbeatForms);
  // Both federates find the FED file only in the configuration directory.
  ScratchDirectory config;
  config.write("X.fed", sampleFed);
  const ScopedEnv configEnv("RTI_CONFIG", config.path().c_str());
  PlainImplementor::Install plain;
  NullFederateAmbassador fedAmb;
  RTI::RTIambassador a;
  FederationTraffic atA(PlainImplementor::last->connectMgr());
  // A bare listener of the federation's group, as any other federate's
  // socket hears it.
  DtRIDParameters listenerRid;
  const std::unique_ptr<DtConnectionMgr> listener = DtConnectionMgr::create(&listenerRid);
  FederationTraffic onTheGroup(listener.get());

  a.createFederationExecution("X", "X.fed");
  const RTI::FederateHandle handleA = a.joinFederationExecution("A", "X", &fedAmb);

  // B, driven command by command, ticks between its commands; A and the
  // listener tick while the test waits for B.
  ScriptedFederateProcess b;
  ASSERT_TRUE(b.started());
  const auto tickA = [&] {
    a.tick();
    listener->tick();
  };
  const auto command = [&](const std::string& text) {
    b.send(text);
    const std::string verb = text.substr(0, text.find(' '));
    std::string answer;
    waitUntil([&] { return !answer.empty() || b.ended(); },
              [&] {
                tickA();
                const std::string line = b.readLine(0.005);
                if (line.rfind("ok " + verb, 0) == 0 || line.rfind("error " + verb, 0) == 0) answer = line;
              },
              30);
    return answer;
  };
  // Joined, B is heard: a heartbeat of it comes after its join.
  const auto joinAndBeHeard = [&](int heartbeats) {
    const std::string joined = command("join X B");
    ASSERT_EQ(joined.rfind("ok join ", 0), 0u) << joined;
    const unsigned long handle = std::stoul(joined.substr(8));
    const int before = atA.heartbeats[handle];
    EXPECT_TRUE(waitUntil([&] { return atA.heartbeats[handle] >= before + heartbeats; }, tickA, 10));
  };
  EXPECT_EQ(command("background-tick on"), "ok background-tick on");
  joinAndBeHeard(3);
  EXPECT_TRUE(waitUntil([&] { return onTheGroup.heartbeats[handleA] >= 3; }, tickA, 10));
  for (const char* refused : {"register-sync p", "save s", "restore r"}) command(refused);
  EXPECT_EQ(command("resign release"), "ok resign");
  for (const char* action : {"delete", "delete-and-release", "none"}) {
    joinAndBeHeard(1);
    EXPECT_EQ(command(std::string("resign ") + action), "ok resign");
  }
  EXPECT_EQ(command("destroy X"), "ok destroy");
  // What is still on its way.
  waitUntil([&] { return atA.resigns.size() >= 4; },
            [&] {
              a.tick();
              DtSleep(0.002);
            },
            2.0);

  const std::vector<std::string>& lines = b.lines();
  const std::vector<unsigned long> handles = joinedHandles(lines);
  ASSERT_EQ(handles.size(), 4u) << ::testing::PrintToString(lines);
  const unsigned long handleB = handles.front();
  EXPECT_EQ(handles, std::vector<unsigned long>(4, handleB)) << "the handle is drawn once";
  EXPECT_NE(handleB, handleA);
  for (const char* refused : {"error register-sync RTIinternalError \"\"", "error save RTIinternalError \"\"",
                              "error restore RTIinternalError \"\""}) {
    EXPECT_NE(std::find(lines.begin(), lines.end(), refused), lines.end()) << refused;
  }
  EXPECT_EQ(std::count(lines.begin(), lines.end(), "ok resign"), 4);
  EXPECT_NE(std::find(lines.begin(), lines.end(), "ok destroy"), lines.end());

  EXPECT_GE(atA.heartbeats[handleB], 3) << "A hears B's heartbeats";
  EXPECT_GE(onTheGroup.heartbeats[handleA], 3) << "A's heartbeats reach the federation's group";
  EXPECT_EQ(atA.resigns,
            (std::vector<std::pair<unsigned long, int>>{{handleB, 1}, {handleB, 2}, {handleB, 3}, {handleB, 4}}));

  a.resignFederationExecution(RTI::DELETE_OBJECTS);
  a.destroyFederationExecution("X");
}

TEST(ScriptedFederate, ReportsEveryCommandAndRefusesBadScripts) {
  RidScope rid;
  ScriptedFederateProcess program;
  ASSERT_TRUE(program.started());
  EXPECT_EQ(program.command("join Nowhere F"), "error join CouldNotOpenFED \"Nowhere.fed\"");
  EXPECT_EQ(program.command("resign none"),
            "error resign FederateNotExecutionMember \"Unable to process resignFederationExecution.\"");
  EXPECT_EQ(program.command("bogus 1"), "error bogus usage \"unknown command (try --help); usage: bogus\"");
  EXPECT_EQ(program.command("tick soon"), "error tick usage \"not a time in seconds: soon; usage: tick [seconds]\"");
  EXPECT_EQ(program.command("wait federationSaved 0.05"), "error wait failure \"no federationSaved within 0.05 s\"");
  EXPECT_EQ(program.command("echo a \"b; c\""), "ok echo a b; c");
  program.closeInput();
  EXPECT_EQ(program.waitFor("done"), "done");
}

}  // namespace
