// Faults a federation run by the rtiexec program survives: a federate
// killed (its connection lost) or stopped (its heartbeat lost) is resigned
// and its peers see its objects go; the rtiexec killed while federates run
// (each federate's next tick says so, and each can still resign and end),
// and a new rtiexec serving new federations after it; garbage, half packets
// and silent clients on its port; connections beyond its limit.

#include <gtest/gtest.h>

#include <memory>

#include "ExecFederation.h"
#include "net/DtTcpSocket.h"
#include "support/WaitUntil.h"

using namespace exectest;

namespace {

const char* const heartbeatForms = "(setq RTI_federateHeartbeatInterval 0.1)\n(setq RTI_federateTimeoutInterval 1.0)\n";

// A owns nothing and subscribes vehicles; B registers one, which A discovers.
struct Watcher {
  std::unique_ptr<ScriptedFederateProcess> a = ExecFederation::federate();
  std::unique_ptr<ScriptedFederateProcess> b = ExecFederation::federate();

  void setUp() { ASSERT_NO_FATAL_FAILURE(joinCarWatch(*a, *b)); }
};

struct LossCase {
  const char* name;
  std::string forms;
  int signal;
  const char* rtiexecSays;
};

class LostFederate : public ::testing::TestWithParam<LossCase> {};

TEST_P(LostFederate, IsResignedByTheRtiexecAndItsObjectsGo) {
  const LossCase& c = GetParam();
  ExecFederation federation(c.forms);
  ASSERT_TRUE(federation.startExec());
  Watcher w;
  ASSERT_NO_FATAL_FAILURE(w.setUp());
  w.b->signal(c.signal);
  EXPECT_EQ(w.a->command("wait removeObjectInstance 15", 20), "ok wait removeObjectInstance");
  EXPECT_NE(federation.exec().waitFor(c.rtiexecSays, 10, true), "");
  EXPECT_NE(federation.exec().waitFor("Resign: federate 2 has resigned X.", 5), "");
  if (c.signal == SIGSTOP) {
    // Woken, it is told at once why its connection is gone, at every tick,
    // and it can still leave.
    w.b->signal(SIGCONT);
    const std::string told =
        "error tick RTIinternalError \"The rtiexec closed the connection: the rtiexec resigned this federate: no "
        "heartbeat came from it for more than 1 s (RTI_federateTimeoutInterval)\"";
    EXPECT_EQ(w.b->command("tick 0.5"), told);
    EXPECT_EQ(w.b->command("tick 0.5"), told);
    EXPECT_EQ(w.b->command("resign delete"), "ok resign");
  }
  EXPECT_EQ(w.a->command("resign none"), "ok resign");
  EXPECT_EQ(w.a->command("destroy X"), "ok destroy");
}

const LossCase lossCases[] = {
    {"KilledItsConnectionEnds", reliableForms, SIGKILL, "Lost connection to federate B(2) in federation X"},
    {"StoppedItsHeartbeatEnds", std::string(reliableForms) + heartbeatForms, SIGSTOP,
     "Lost contact with federate B(2) in federation X"},
    {"KilledOverUdpItsHeartbeatEnds", std::string("(setq RTI_useRtiExec 1)\n(setq RTI_dumpFed 0)\n") + heartbeatForms,
     SIGKILL, "Lost contact with federate B(2) in federation X"},
};

void PrintTo(const LossCase& c, std::ostream* out) { *out << c.name; }

INSTANTIATE_TEST_SUITE_P(Ways, LostFederate, ::testing::ValuesIn(lossCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(RtiExecLost, FederatesSayItAtTheirNextTickCanStillLeaveAndANewRtiexecServesAgain) {
  ExecFederation federation;
  ASSERT_TRUE(federation.startExec());
  Watcher w;
  ASSERT_NO_FATAL_FAILURE(w.setUp());
  federation.exec().signal(SIGKILL);
  EXPECT_EQ(federation.exec().waitExit(10), -2);
  const std::string lost =
      "RTIinternalError \"The TCP connection to the rtiexec is broken: the rtiexec has ended or closed the "
      "connection\"";
  for (ScriptedFederateProcess* federate : {w.a.get(), w.b.get()}) {
    // Every tick says so; the report of the broken connection, a condition
    // that persists, is printed once (then at growing intervals).
    for (int tick = 0; tick < 20; ++tick) EXPECT_EQ(federate->command("tick"), "error tick " + lost);
    EXPECT_EQ(federate->command("resign delete-and-release"), "ok resign");
    federate->closeInput();
    EXPECT_EQ(federate->waitFor("done"), "done");
    EXPECT_EQ(federate->waitExit(10), 1);  // a command failed
    int reports = 0;
    for (const std::string& line : federate->lines())
      reports += line.find("TCP connection has been broken") != std::string::npos;
    EXPECT_EQ(reports, 1) << ::testing::PrintToString(federate->lines());
  }

  // On the same port, a new one serves new federations.
  federation.endExec();
  ASSERT_TRUE(federation.startExec());
  auto c = ExecFederation::federate();
  EXPECT_EQ(c->command("create Y Road.fed"), "ok create");
  EXPECT_EQ(c->command("join Y C"), "ok join 1");
  EXPECT_EQ(c->command("resign none"), "ok resign");
  EXPECT_EQ(c->command("destroy Y"), "ok destroy");
}

TEST(RtiExecPort, GarbageHalfPacketsAndSilentClientsDoNotStopItServingOthers) {
  ExecFederation federation;
  ASSERT_TRUE(federation.startExec());
  const std::uint32_t loopback = 0x7F000001u;
  DtTcpSocket garbage(loopback, federation.port(), false);
  DtTcpSocket probe(loopback, federation.port(), false);
  DtTcpSocket half(loopback, federation.port(), false);
  DtTcpSocket silent(loopback, federation.port(), false);
  const char noise[] = {0, 5, 'x', 'y', 'z', 1, 2, 3, 4, 5};  // a size below a message header
  garbage.sendTo(noise, sizeof noise, 0);
  // Reads as the start of a packet of 18245 bytes that never comes.
  const char request[] = "GET / HTTP/1.0\r\n\r\n";
  probe.sendTo(request, sizeof request - 1, 0);
  const char halfJoin[] = {0, 92, 0, 0, 5, 0, 0, 0, 0, 0, 0, 7};  // 12 of 92 bytes
  half.sendTo(halfJoin, sizeof halfJoin, 0);
  EXPECT_NE(federation.exec().waitFor("a malformed packet (size 5", 10, true), "");

  auto a = ExecFederation::federate();
  auto b = ExecFederation::federate();
  EXPECT_EQ(a->command("create X Road.fed"), "ok create");
  EXPECT_EQ(a->command("join X A"), "ok join 1");
  EXPECT_EQ(b->command("join X B"), "ok join 2");
  EXPECT_EQ(b->command("resign none"), "ok resign");
  EXPECT_EQ(a->command("resign none"), "ok resign");
  EXPECT_TRUE(resignsHandled(federation.exec(), {1, 2}));
  EXPECT_EQ(a->command("destroy X"), "ok destroy");
  EXPECT_TRUE(silent.isOk());
}

TEST(RtiExecPort, ConnectionsBeyondTheLimitAreRefusedWithAMessageOnceAllHaveJoined) {
  // The rtiexec's own connection and one federate's.
  ExecFederation federation(std::string(reliableForms) +
                            "(setq RTI_tcpMaxConnections 2)\n"
                            "(setq RTI_responseInterval 0.5)\n");
  ASSERT_TRUE(federation.startExec());
  auto a = ExecFederation::federate();
  EXPECT_EQ(a->command("create X Road.fed"), "ok create");
  EXPECT_EQ(a->command("join X A"), "ok join 1");
  auto b = ExecFederation::federate();
  EXPECT_EQ(b->command("join X B"), "error join RTIinternalError \"\"");
  EXPECT_TRUE(printed(b->lines(), "Failed to initialize rtiexec connection")) << ::testing::PrintToString(b->lines());
  EXPECT_NE(federation.exec().waitFor("TcpForwarder: refused a connection from 127.0.0.1: 2 connections are open, "
                                      "the most that RTI_tcpMaxConnections allows",
                                      10),
            "");
  EXPECT_EQ(a->command("resign none"), "ok resign");
}

}  // namespace
