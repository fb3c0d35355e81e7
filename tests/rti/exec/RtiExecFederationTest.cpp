// Federations run by the real rtiexec program with scripted federates (and
// the standard federate): create, a second create, joins with handles 1 and
// 2, destroy while joined and after both resigned, the console, and the
// failures of the services without an rtiexec.

#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <regex>

#include "ExecFederation.h"

using namespace exectest;

namespace {

TEST(RtiExecProgram, RunsAFederationFromCreateToDestroy) {
  ExecFederation federation;
  ASSERT_TRUE(federation.startExec());
  auto a = ExecFederation::federate();
  auto b = ExecFederation::federate();
  auto c = ExecFederation::federate();
  EXPECT_EQ(a->command("create X Road.fed"), "ok create");
  EXPECT_EQ(b->command("create X Road.fed"), "error create FederationExecutionAlreadyExists \"\"");
  EXPECT_EQ(a->command("join X A"), "ok join 1");
  EXPECT_EQ(b->command("join X B"), "ok join 2");
  EXPECT_EQ(c->command("destroy X"), "error destroy FederatesCurrentlyJoined \"\"");
  EXPECT_EQ(a->command("destroy X"), "error destroy FederatesCurrentlyJoined \"\"");
  EXPECT_EQ(c->command("join Nowhere C"), "error join FederationExecutionDoesNotExist \"\"");

  RtiExecProcess& exec = federation.exec();
  exec.send("list");
  EXPECT_NE(exec.waitFor("   2\tB", 10, true), "");
  EXPECT_EQ(a->command("resign delete-and-release"), "ok resign");
  EXPECT_EQ(b->command("resign none"), "ok resign");
  EXPECT_TRUE(resignsHandled(exec, {1, 2}));
  EXPECT_EQ(c->command("destroy X"), "ok destroy");
  EXPECT_EQ(c->command("destroy X"), "error destroy FederationExecutionDoesNotExist \"\"");

  exec.send("quit");
  EXPECT_EQ(exec.waitExit(10), 0);
  exec.readToTheEnd();
  const std::string out = exec.text();
  std::size_t at = 0;
  for (const char* line :
       {"Create: execution X created.  Handle: 1.  FED file: Road.fed", "Create: execution X already exists.",
        "Join: federate A has joined X with handle 1.", "Join: federate B has joined X with handle 2.",
        "Destroy: execution X has federates joined.", "Join: execution Nowhere does not exist.", "Federates for X:",
        "Resign: federate 1 has resigned X.", "Resign: federate 2 has resigned X.", "Destroy: execution X destroyed.",
        "Destroy: execution X does not exist.", "Attempting to quit.", "rtiexec: ended"}) {
    const std::size_t found = out.find(line, at);
    EXPECT_NE(found, std::string::npos) << "not printed (in order): " << line << "\n" << out;
    if (found != std::string::npos) at = found;
  }
}

// With its console input ended the rtiexec waits on its forwarder alone,
// which watches its datagram socket too: requests reach it over TCP, or as
// datagrams when only the FOM data goes reliably.
struct EndedConsoleCase {
  const char* name;
  const char* forms;
};

class RtiExecEndedConsole : public ::testing::TestWithParam<EndedConsoleCase> {};

TEST_P(RtiExecEndedConsole, ItServesAsBeforeAndASignalStillEndsIt) {
  ExecFederation federation(GetParam().forms);
  ASSERT_TRUE(federation.startExec());
  RtiExecProcess& exec = federation.exec();
  exec.closeInput();  // as when it reads /dev/null: it waits on its forwarder alone
  auto a = ExecFederation::federate();
  auto b = ExecFederation::federate();
  EXPECT_EQ(a->command("create X Road.fed"), "ok create");
  EXPECT_EQ(a->command("join X A"), "ok join 1");
  EXPECT_TRUE(succeeds(*a, "subscribe Vehicle Position Name"));
  EXPECT_EQ(b->command("join X B"), "ok join 2");
  EXPECT_TRUE(succeeds(*b, "publish Vehicle Position Name"));
  EXPECT_TRUE(succeeds(*b, "register Vehicle car"));
  EXPECT_EQ(a->command("wait discoverObjectInstance 10"), "ok wait discoverObjectInstance");
  EXPECT_EQ(b->command("resign delete-and-release"), "ok resign");
  EXPECT_EQ(a->command("wait removeObjectInstance 10"), "ok wait removeObjectInstance");
  EXPECT_EQ(a->command("resign none"), "ok resign");
  EXPECT_EQ(a->command("destroy X"), "ok destroy");
  exec.signal(SIGTERM);
  EXPECT_EQ(exec.waitExit(10), 0);
}

const EndedConsoleCase endedConsoleCases[] = {
    {"RequestsOverTcp", reliableForms},
    {"RequestsAsDatagrams",
     "(setq RTI_useRtiExec 1)\n(setq RTI_internalMsgReliable 0)\n(setq RTI_fomDataReliable 1)\n(setq RTI_dumpFed 0)\n"},
};

INSTANTIATE_TEST_SUITE_P(Transports, RtiExecEndedConsole, ::testing::ValuesIn(endedConsoleCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(RtiExecProgram, TheCreatorReadsTheFedFileItNamedOthersLookForItsName) {
  ExecFederation federation;
  ASSERT_TRUE(federation.startExec());
  federation.dir().write("models/Model.fed", roadFed);
  auto a = ExecFederation::federate();
  auto b = ExecFederation::federate();
  EXPECT_EQ(a->command("create X models/Model.fed"), "ok create");
  EXPECT_EQ(a->command("join X A"), "ok join 1");
  // The rtiexec knows the file by its name alone, which B's folders lack.
  EXPECT_EQ(b->command("join X B"), "error join CouldNotOpenFED \"Model.fed\"");
  federation.dir().write("Model.fed", roadFed);
  EXPECT_EQ(b->command("join X B"), "ok join 3");
  EXPECT_EQ(b->command("resign none"), "ok resign");
  EXPECT_EQ(a->command("resign none"), "ok resign");
  EXPECT_TRUE(resignsHandled(federation.exec(), {1, 3}));
  EXPECT_EQ(a->command("destroy X"), "ok destroy");
}

TEST(RtiExecProgram, QuitAsksWhileExecutionsExistAndSignalsEndItAtOnce) {
  for (const int signal : {SIGINT, SIGTERM}) {
    SCOPED_TRACE(signal);
    ExecFederation federation;
    ASSERT_TRUE(federation.startExec());
    auto a = ExecFederation::federate();
    EXPECT_EQ(a->command("create X Road.fed"), "ok create");
    EXPECT_EQ(a->command("join X A"), "ok join 1");
    RtiExecProcess& exec = federation.exec();
    ASSERT_NE(exec.waitFor("Join: federate A has joined X"), "");
    exec.send("q");
    EXPECT_NE(exec.waitFor("Proceed with quit anyway?"), "");
    exec.send("no");
    EXPECT_NE(exec.waitFor("Quit canceled!"), "");
    exec.signal(signal);
    EXPECT_EQ(exec.waitExit(10), 0);
    exec.readToTheEnd();
    EXPECT_TRUE(printed(exec.lines(), "rtiexec: stopping on a signal"));
    EXPECT_TRUE(printed(exec.lines(), "   1\tA"));
    // The federate learns it at its next tick, and can still leave.
    EXPECT_EQ(a->command("tick"),
              "error tick RTIinternalError \"The TCP connection to the rtiexec is broken: the rtiexec has ended or "
              "closed the connection\"");
    EXPECT_EQ(a->command("resign delete-and-release"), "ok resign");
    a->closeInput();
    EXPECT_NE(a->waitFor("done"), "");
  }
}

TEST(RtiExecProgram, WithoutItEveryServiceFailsAfterTheResponseInterval) {
  ExecFederation federation(std::string(reliableForms) + "(setq RTI_responseInterval 0.3)\n");
  auto a = ExecFederation::federate();
  EXPECT_EQ(a->command("create X Road.fed"), "error create RTIinternalError \"\"");
  EXPECT_EQ(a->command("join X A"), "error join RTIinternalError \"\"");
  EXPECT_EQ(a->command("destroy X"), "error destroy RTIinternalError \"\"");
  for (const char* text :
       {"Could not create X:  Could not connect to rtiexec.", "Could not join X:  Could not connect to rtiexec.",
        "Could not destroy X:  Could not connect to rtiexec."}) {
    EXPECT_TRUE(printed(a->lines(), text)) << text;
  }
}

TEST(RtiExecProgram, TheStandardAndTheScriptedFederateRunUnchangedThroughIt) {
  ExecFederation federation;
  ASSERT_TRUE(federation.startExec());
  auto scripted = ExecFederation::federate();
  for (const char* command :
       {"create Road Road.fed", "join Road Scripted", "publish Vehicle Position Name",
        "subscribe Vehicle Position Name", "register Vehicle scripted-car", "publish-interaction Horn",
        "subscribe-interaction Horn", "on reflectAttributeValues update scripted-car - Position=answer Name=Scripted",
        "on receiveInteraction send-interaction Horn - Loudness=loud"}) {
    ASSERT_EQ(scripted->command(command).rfind("ok ", 0), 0u) << command;
  }
  std::FILE* standard = popen(QLX_STANDARD_FEDERATE " Road Road.fed Standard 20", "r");
  ASSERT_NE(standard, nullptr);
  EXPECT_EQ(scripted->command("wait removeObjectInstance 30", 40), "ok wait removeObjectInstance");
  std::map<std::string, int> own;
  char line[4096];
  while (std::fgets(line, sizeof line, standard)) {
    std::string text(line);
    if (!text.empty() && text.back() == '\n') text.pop_back();
    ++own[text];
  }
  EXPECT_EQ(pclose(standard), 0);
  EXPECT_EQ(own["discovered scripted-car"], 1);
  EXPECT_GE(own["reflected scripted-car answer"], 3);
  EXPECT_GE(own["received Horn loud"], 3);
  EXPECT_EQ(own["done"], 1);
  EXPECT_TRUE(printed(scripted->lines(), "callback discoverObjectInstance"));
  EXPECT_EQ(scripted->command("resign delete"), "ok resign");
  EXPECT_EQ(scripted->command("destroy Road"), "ok destroy") << federation.exec().text();
  EXPECT_NE(federation.exec().waitFor("Join: federate Standard has joined Road with handle 2.", 5), "")
      << federation.exec().text();
}

}  // namespace
