// A federation across three hosts of one machine: the rtiexec and two
// federates, each in a network namespace of its own, joined by a bridge
// (veth pairs, multicast on the bridge), so that nothing depends on
// loopback. They create, join, exchange reliable updates and interactions
// (through the rtiexec's forwarder) and best-effort updates (by multicast),
// resign and destroy. One federate's host has two interfaces, the first
// (the one "this host's address" would be) on a network nobody else is on,
// with the multicast route there too: the RID file's interface address
// makes it use the other.

#include <gtest/gtest.h>

#include "ExecFederation.h"
#include "NamespaceHosts.h"
#include "support/Sentinels.h"

using namespace exectest;

namespace {

// The RID file of a host at `address` (its bridge interface).
std::string ridFor(const std::string& address, int port, const std::string& group) {
  return "(setq RTI_udpPort " + std::to_string(port) + ")\n(setq RTI_destAddrString \"" + group +
         "\")\n(setq RTI_mcastDevAddrString \"" + address + "\")\n(setq RTI_tcpForwarderAddr \"10.77.0.1\")\n" +
         reliableForms;
}

bool namespacesWork(std::string* why) {
  if (std::system("unshare -n true >/dev/null 2>&1") != 0) {
    *why = "the kernel refuses a network namespace (unshare -n)";
    return false;
  }
  return true;
}

TEST(AcrossHosts, ThreeHostsOnABridgeRunAFederationAndTheRidPicksTheInterface) {
  std::string why;
  if (!namespacesWork(&why)) GTEST_SKIP() << why;
  Bridge bridge;
  if (!bridge.ok()) GTEST_SKIP() << "the kernel refuses a bridge (ip link add type bridge)";

  ExecFederation federation;  // the folders
  federation.dir().write("Road.fed", sentinels::withSentinelClass(roadFed));
  const int port = federation.port();
  const std::string group = "239.79.0.1";
  const ScratchDirectory& dir = federation.dir();
  auto rid = [&](const char* name, const char* address) {
    return "RTI_RID_FILE=" + dir.write(name, ridFor(address, port, group));
  };
  const std::string config = "RTI_CONFIG=" + dir.path();

  NamespaceHost execHost(bridge, {{"10.77.0.1/24", true}}, 0, {rid("exec.mtl", "10.77.0.1"), config}, {QLX_RTIEXEC});
  if (!execHost.ok()) GTEST_SKIP() << "the kernel refuses a veth pair into a namespace";
  ChildProcess& exec = execHost.process();
  std::string ready;
  while ((ready = exec.waitFor("rtiexec: ", 10)).rfind("rtiexec: listening", 0) != 0 && !ready.empty()) {
  }
  ASSERT_EQ(ready.rfind("rtiexec: listening", 0), 0u) << ::testing::PrintToString(exec.lines());

  NamespaceHost hostA(bridge, {{"10.77.0.2/24", true}}, 0, {rid("a.mtl", "10.77.0.2"), config},
                      {QLX_SCRIPTED_FEDERATE, "-"});
  NamespaceHost hostB(bridge, {{"10.78.0.3/24", false}, {"10.77.0.3/24", true}}, 0, {rid("b.mtl", "10.77.0.3"), config},
                      {QLX_SCRIPTED_FEDERATE, "-"});
  ASSERT_TRUE(hostA.ok() && hostB.ok());
  auto run = [](NamespaceHost& host, const std::string& command) {
    host.process().send(command);
    const std::string verb = command.substr(0, command.find(' '));
    for (;;) {
      const std::string line = host.process().readLine(20);
      if (line.empty() || line.rfind("ok " + verb, 0) == 0 || line.rfind("error " + verb, 0) == 0) return line;
    }
  };
  auto succeeds = [&](NamespaceHost& host, const std::string& command) {
    const std::string line = run(host, command);
    return line.rfind("ok ", 0) == 0 ? ::testing::AssertionSuccess()
                                     : ::testing::AssertionFailure() << command << ": " << line;
  };

  for (NamespaceHost* host : {&hostA, &hostB}) EXPECT_TRUE(succeeds(*host, "sentinel-class Sentinel"));
  EXPECT_EQ(run(hostA, "create X Road.fed"), "ok create");
  EXPECT_EQ(run(hostA, "join X A"), "ok join 1");
  EXPECT_EQ(run(hostB, "join X B"), "ok join 2");
  for (const char* command :
       {"subscribe Vehicle Position Name", "publish-interaction Horn", "subscribe-interaction Horn"})
    EXPECT_TRUE(succeeds(hostA, command));
  for (const char* command : {"publish Vehicle Position Name", "register Vehicle car", "publish-interaction Horn",
                              "subscribe-interaction Horn"})
    EXPECT_TRUE(succeeds(hostB, command));
  // B has taken in A's declarations.
  EXPECT_TRUE(succeeds(hostA, "send-interaction Sentinel sentinel-a"));
  EXPECT_TRUE(succeeds(hostB, "wait-sentinel sentinel-a 10"));
  EXPECT_TRUE(succeeds(hostA, "wait discoverObjectInstance 10"));

  // Reliable (TCP through the rtiexec), then best effort (multicast).
  EXPECT_TRUE(succeeds(hostB, "update car - Name=reliable"));
  EXPECT_TRUE(succeeds(hostB, "send-interaction Horn - Loudness=fromB"));
  EXPECT_TRUE(succeeds(hostA, "wait reflectAttributeValues 10"));
  EXPECT_TRUE(succeeds(hostA, "wait receiveInteraction 10"));
  EXPECT_TRUE(succeeds(hostB, "update car - Position=multicast"));
  EXPECT_TRUE(succeeds(hostA, "wait reflectAttributeValues 10"));
  EXPECT_TRUE(succeeds(hostA, "send-interaction Horn - Loudness=fromA"));
  EXPECT_TRUE(succeeds(hostB, "wait receiveInteraction 10"));
  EXPECT_TRUE(printed(hostA.process().lines(), "=\"reliable\"")) << ::testing::PrintToString(hostA.process().lines());
  EXPECT_TRUE(printed(hostA.process().lines(), "=\"multicast\""));
  EXPECT_TRUE(printed(hostA.process().lines(), "=\"fromB\""));
  EXPECT_TRUE(printed(hostB.process().lines(), "=\"fromA\""));

  EXPECT_EQ(run(hostB, "resign delete"), "ok resign");
  EXPECT_TRUE(succeeds(hostA, "wait removeObjectInstance 10"));
  EXPECT_EQ(run(hostA, "resign none"), "ok resign");
  EXPECT_EQ(run(hostA, "destroy X"), "ok destroy");
  EXPECT_NE(exec.waitFor("Destroy: execution X destroyed.", 10), "") << ::testing::PrintToString(exec.lines());
}

}  // namespace
