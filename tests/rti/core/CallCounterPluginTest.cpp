// The example plug-in (tools/call-counter) in a federate process on the
// loopback: the scripted federate loads it from the plug-in directory its RID
// file names, and what it prints at resignation counts the service calls the
// script made and the callbacks the federate printed, one for one.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <memory>
#include <regex>
#include <sstream>
#include <string>

#include "CoreTestSupport.h"
#include "support/ScriptedFederateProcess.h"

namespace {

const char* const roadFed = R"((FED (Federation Road) (FEDversion v1.3) (spaces)
  (objects (class ObjectRoot (attribute privilegeToDelete reliable timestamp) (class RTIprivate)
    (class Vehicle (attribute Position best_effort receive) (attribute Name reliable receive))))
  (interactions (class InteractionRoot best_effort receive (class RTIprivate best_effort receive)
    (class Horn best_effort receive (parameter Loudness)))))
)";

using Counts = std::map<std::string, unsigned long>;

// Runs each command and expects the outcome ("ok" or "error").
void run(ScriptedFederateProcess& federate, std::initializer_list<const char*> commands,
         const std::string& outcome = "ok") {
  for (const char* command : commands) {
    const std::string result = federate.command(command);
    EXPECT_EQ(result.rfind(outcome + " ", 0), 0u) << command << ": " << result;
  }
}

// The plug-in's "call-counter: <kind> <name> <count>" lines of one kind.
Counts pluginCounts(const std::string& output, const std::string& kind) {
  Counts counts;
  const std::regex line("^call-counter: " + kind + " (\\w+) (\\d+)$");
  std::istringstream lines(output);
  for (std::string text; std::getline(lines, text);) {
    std::smatch m;
    if (std::regex_match(text, m, line)) counts[m[1]] = std::stoul(m[2]);
  }
  return counts;
}

unsigned long sum(const Counts& counts) {
  unsigned long total = 0;
  for (const auto& entry : counts) total += entry.second;
  return total;
}

TEST(CallCounterPlugin, CountsTheScriptedFederatesCallsAndCallbacks) {
  RidScope rid("(setq RTI_dumpFed 0)\n");
  ScratchDirectory config;
  config.write("X.fed", roadFed);  // where a joining federate looks for the model of X
  const ScopedEnv configEnv("RTI_CONFIG", config.path().c_str());

  // One federate loads the plug-in, the other does not.
  const std::filesystem::path plugin(QLX_CALL_COUNTER);
  const std::string pluginRid = rid.directory().write(
      "plugin-rid.mtl",
      nettest::ridText(rid.federation(), "(setq RTI_dumpFed 0)\n(setq RTI_pluginDirectory \"" +
                                             plugin.parent_path().string() + "\")\n(RTI-addPluginName \"" +
                                             plugin.filename().string() + "\")\n"));
  const std::string output = rid.directory().path() + "/counted.out";
  std::unique_ptr<ScriptedFederateProcess> counted;
  {
    const ScopedEnv ridEnv("RTI_RID_FILE", pluginRid.c_str());
    counted = std::make_unique<ScriptedFederateProcess>("", output);
  }
  ScriptedFederateProcess other;
  ASSERT_TRUE(counted->started() && other.started());

  // The main road of objects and interactions, each federate waiting for
  // what the other's last step brings (a federate answers only while it
  // ticks).
  run(*counted, {"create X X.fed", "join X A", "attribute-advisory on", "publish Vehicle Position Name",
                 "subscribe-interaction Horn"});
  run(other, {"join X B", "publish-interaction Horn", "subscribe Vehicle Position Name"});
  run(*counted, {"wait startRegistrationForObjectClass", "register Vehicle carA"});
  run(other, {"wait discoverObjectInstance"});
  run(*counted, {"wait turnUpdatesOnForObjectInstance", "update carA t Position=2"});
  run(other, {"wait reflectAttributeValues", "wait turnInteractionsOn", "send-interaction Horn t Loudness=3"});
  run(*counted, {"wait receiveInteraction"});
  run(*counted, {"unpublish-interaction Horn"}, "error");  // never published
  run(*counted, {"resign delete-and-release"});
  run(other, {"resign none", "destroy X"});
  counted->closeInput();
  const std::vector<std::string> lines = counted->readAll();
  counted.reset();  // the process has ended and its output is complete

  const std::string printed = readWholeFile(output);
  Counts calls = pluginCounts(printed, "call");
  const Counts callbacks = pluginCounts(printed, "callback");
  // The summary line adds up the lines below it.
  std::smatch summary;
  ASSERT_TRUE(std::regex_search(printed, summary,
                                std::regex("call-counter: (\\d+) service calls \\((\\d+) failed\\), (\\d+) callbacks")))
      << printed;
  EXPECT_EQ(std::stoul(summary[1]), sum(calls));
  EXPECT_EQ(std::stoul(summary[2]), 1u) << "the unpublish";
  EXPECT_EQ(std::stoul(summary[3]), sum(callbacks));

  // Each command's services; the waits tick a number of times of their own.
  EXPECT_GT(calls["tick"], 0u);
  calls.erase("tick");
  EXPECT_EQ(calls, (Counts{{"createFederationExecution", 1},
                           {"joinFederationExecution", 1},
                           {"enableAttributeRelevanceAdvisorySwitch", 1},
                           {"getObjectClassHandle", 2},
                           {"getAttributeHandle", 3},
                           {"publishObjectClass", 1},
                           {"getInteractionClassHandle", 2},
                           {"subscribeInteractionClass", 1},
                           {"registerObjectInstance", 1},
                           {"getObjectInstanceName", 1},
                           {"getObjectClass", 1},
                           {"updateAttributeValues", 1},
                           {"unpublishInteractionClass", 1},
                           {"resignFederationExecution", 1}}));

  // Every callback the federate printed, and no other.
  Counts seen;
  for (const std::string& line : lines) {
    if (line.rfind("callback ", 0) == 0) ++seen[line.substr(9, line.find(' ', 9) - 9)];
  }
  EXPECT_EQ(callbacks, seen);
  for (const char* callback :
       {"startRegistrationForObjectClass", "turnUpdatesOnForObjectInstance", "receiveInteraction"}) {
    EXPECT_EQ(callbacks.count(callback), 1u) << callback;
  }
}

}  // namespace
