// Two federate processes (scripted federates over the shared library) on
// the loopback, each scenario in a federation of its own: what one
// federate's interaction declarations and interactions make the other one
// see, on every deployment; and, serverless, the largest values that a
// datagram carries, and traffic sent before a federate joined, which it
// does not see.
#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "FomTestSupport.h"
#include "api/DtAttrValueSet.h"
#include "api/DtParamValueSet.h"
#include "msg/DtUpdateMsgs.h"
#include "net/DtSocket.h"
#include "rti/net/ConnTestSupport.h"
#include "support/DeployedFederation.h"
#include "support/ScriptedFederateProcess.h"
#include "support/Sentinels.h"

namespace {

// A federation of the test's own (see DeployedFederation) with the
// fixture's FED file, and the Sentinel class.
class FederationScope : public DeployedFederation {
public:
  explicit FederationScope(const Deployment& deployment = serverless()) : DeployedFederation(deployment) {
    dir().write("X.fed", sentinels::withSentinelClass(fixtureFed));
  }
};

// A scripted federate that takes part in sentinels.
class Federate : public ScriptedFederateProcess {
public:
  Federate() { EXPECT_TRUE(succeeds(*this, "sentinel-class Sentinel")); }
};

// The interaction callbacks among a federate's lines, in order.
std::vector<std::string> interactionCallbacks(const std::vector<std::string>& lines) {
  std::vector<std::string> seen;
  for (const std::string& line : lines) {
    if (line.starts_with("callback receiveInteraction") || line.starts_with("callback turnInteractions")) {
      seen.push_back(line.substr(9));
    }
  }
  return seen;
}

struct Scenario {
  const char* what;
  // By federate A or B; each answers "ok". A step "(sentinel from X)" has
  // the federate take a sentinel from the other one: it has then taken in
  // all that the other one sent before.
  std::vector<std::pair<char, std::string>> steps;
  std::vector<std::string> seenByA;
  std::vector<std::string> seenByB;
};

void PrintTo(const Scenario& scenario, std::ostream* out) { *out << scenario.what; }

class InteractionFederation : public ::testing::TestWithParam<std::tuple<Scenario, Deployment>> {};

TEST_P(InteractionFederation, EachFederateSeesWhatTheOtherOneDeclaredAndSent) {
  const auto& [scenario, deployment] = GetParam();
  FederationScope federation(deployment);
  ASSERT_TRUE(federation.started());
  Federate a;
  Federate b;
  ASSERT_TRUE(a.started() && b.started());
  ASSERT_EQ(a.command("create X X.fed"), "ok create");
  ASSERT_TRUE(a.command("join X A").starts_with("ok join"));
  ASSERT_TRUE(federation.joinBystanders("X"));
  ASSERT_TRUE(b.command("join X B").starts_with("ok join"));
  for (const auto& [who, command] : scenario.steps) {
    Federate& federate = who == 'A' ? a : b;
    if (command.starts_with("(sentinel from ")) {
      EXPECT_TRUE(sentinels::sentinel(who == 'A' ? b : a, federate)) << who << ": " << command;
      continue;
    }
    const std::string verb = command.substr(0, command.find(' '));
    EXPECT_TRUE(federate.command(command).starts_with("ok " + verb)) << who << ": " << command;
  }
  EXPECT_EQ(interactionCallbacks(a.lines()), scenario.seenByA);
  EXPECT_EQ(interactionCallbacks(b.lines()), scenario.seenByB);
  b.command("resign none");
  a.command("resign none");
}

const Scenario scenarios[] = {
    {"a subscriber of a base class gets an interaction of a subclass as its own class with its own "
     "non-empty parameters; a subscriber of the class itself gets every one",
     {{'B', "subscribe-interaction Radio"},
      {'A', "publish-interaction Radio.Encoded"},
      {'A', "send-interaction Radio.Encoded first Frequency=f Power= Data=d"},
      {'B', "wait receiveInteraction"},
      {'A', "wait turnInteractionsOn"},  // the late publisher heard of B's subscription
      {'B', "subscribe-interaction Radio.Encoded"},
      {'A', "send-interaction Radio.Encoded second Frequency=f Power= Data=d"},
      {'B', "wait receiveInteraction"}},
     {"turnInteractionsOn 7"},
     {"receiveInteraction 6 {0=\"f\"} \"first\"", "receiveInteraction 7 {0=\"f\",1=\"\",2=\"d\"} \"second\""}},
    {"a time-stamped interaction reaches a federate that is not time-constrained without its time",
     {{'B', "subscribe-interaction Radio"},
      {'A', "publish-interaction Radio"},
      {'A', "send-interaction-at 5 Radio stamped Frequency=f Power=p"},
      {'B', "wait receiveInteraction"}},
     {},
     {"receiveInteraction 6 {0=\"f\",1=\"p\"} \"stamped\""}},
    {"without a subscriber of the class or a base class no callback comes",
     {{'A', "publish-interaction Radio"},
      {'B', "subscribe-interaction Manager"},
      {'A', "send-interaction Radio unseen Frequency=f"},
      {'B', "(sentinel from A)"},
      {'B', "subscribe-interaction Radio"},
      {'A', "send-interaction Radio seen Frequency=f"},
      {'B', "wait receiveInteraction"}},
     {},
     {"receiveInteraction 6 {0=\"f\"} \"seen\""}},
    {"an existing publisher is advised on and off by a late subscriber, once off for a passive "
     "subscription after an active one, and not while its switch is off",
     {{'A', "publish-interaction Radio"},
      {'B', "(sentinel from A)"},
      {'B', "subscribe-interaction Radio"},
      {'A', "wait turnInteractionsOn"},
      {'B', "subscribe-interaction Radio passive"},
      {'A', "wait turnInteractionsOff"},
      {'B', "unsubscribe-interaction Radio"},
      {'B', "subscribe-interaction Radio"},
      {'A', "wait turnInteractionsOn"},
      {'A', "interaction-advisory off"},
      {'B', "unsubscribe-interaction Radio"},
      {'A', "(sentinel from B)"},
      {'A', "interaction-advisory on"},
      {'B', "subscribe-interaction Radio"},
      {'A', "wait turnInteractionsOn"}},
     {"turnInteractionsOn 6", "turnInteractionsOff 6", "turnInteractionsOn 6", "turnInteractionsOn 6"},
     {}},
};

// "Scenario<n>_<deployment>" for the scenarios crossed with N deployments.
template <std::size_t N>
auto scenarioNames(const Deployment (&)[N]) {
  return
      [](const auto& info) { return "Scenario" + std::to_string(info.index / N) + "_" + std::get<1>(info.param).name; };
}

INSTANTIATE_TEST_SUITE_P(Scenarios, InteractionFederation,
                         ::testing::Combine(::testing::ValuesIn(scenarios), ::testing::ValuesIn(everyDeployment)),
                         scenarioNames(everyDeployment));
INSTANTIATE_TEST_SUITE_P(DataDistribution, InteractionFederation,
                         ::testing::Combine(::testing::ValuesIn(scenarios), ::testing::ValuesIn(withDataDistribution)),
                         scenarioNames(withDataDistribution));

TEST(InteractionFederation, RefusalsReachTheScriptAsTheirExceptions) {
  FederationScope federation;
  ScriptedFederateProcess a;
  ASSERT_TRUE(a.started());
  ASSERT_EQ(a.command("create X X.fed"), "ok create");
  ASSERT_TRUE(a.command("join X A").starts_with("ok join"));
  const std::pair<const char*, const char*> cases[] = {
      {"publish-interaction 99", "error publish-interaction InteractionClassNotDefined \"\""},
      {"send-interaction Radio t Frequency=f", "error send-interaction InteractionClassNotPublished \"\""},
      {"unsubscribe-interaction Radio", "error unsubscribe-interaction InteractionClassNotSubscribed \"\""},
      {"unpublish-interaction Radio", "error unpublish-interaction InteractionClassNotPublished \"\""},
      {"publish-interaction Radio", "ok publish-interaction"},
      {"send-interaction Radio t 2=d", "error send-interaction InteractionParameterNotDefined \"\""},
      {"interaction-transport Radio 5", "error interaction-transport InvalidTransportationHandle \"\""},
      {"interaction-transport Radio 4294967297", "error interaction-transport InvalidTransportationHandle \"\""},
      {"interaction-order Radio 5", "error interaction-order InvalidOrderingHandle \"\""},
      {"interaction-transport Radio reliable", "ok interaction-transport"},
  };
  for (const auto& [command, reply] : cases) EXPECT_EQ(a.command(command), reply) << command;
  a.command("resign none");
}

// Runs the command; true when it succeeded ("ok <verb>").
bool done(ScriptedFederateProcess& federate, const std::string& command) {
  return federate.command(command).starts_with("ok " + command.substr(0, command.find(' ')));
}

// The longest value of one attribute or parameter whose message still fits
// a UDP datagram, as the sender builds it.
template <class Build>
std::size_t largestValue(Build&& build) {
  std::size_t length = DtSocket::theLargestDatagram;
  while (build(length) > DtSocket::theLargestDatagram) --length;
  return length;
}

int interactionSize(std::size_t length) {
  DtParamValueSet parameters(1);
  const std::string value(length, 'v');
  parameters.add(2, value.data(), value.size());
  return DtInteractionRoMsg(7, parameters, "t", 0, nullptr).size();
}

int updateSize(std::size_t length) {
  DtAttrValueSet attributes(1);
  const std::string value(length, 'v');
  attributes.add(1, value.data(), value.size());
  return DtUpdateRoMsg(600001, "p1", 5, attributes, nullptr, nullptr).size();
}

// A callback line whose value is `length` bytes of 'v'.
bool carries(const std::vector<std::string>& lines, const std::string& callback, std::size_t length) {
  const std::string value = "=\"" + std::string(length, 'v') + "\"}";
  return std::any_of(lines.begin(), lines.end(), [&](const std::string& line) {
    return line.starts_with("callback " + callback) && line.find(value) != std::string::npos;
  });
}

// An interaction or update whose message passes a datagram is refused at
// the sender; the largest that fits arrives whole.
TEST(InteractionFederation, TheLargestValueThatFitsADatagramArrivesAndOneByteMoreIsRefused) {
  const std::size_t parameterMax = largestValue(interactionSize);
  const std::size_t attributeMax = largestValue(updateSize);
  ASSERT_GT(parameterMax, 65400u);
  FederationScope federation;
  Federate a;
  Federate b;
  ASSERT_TRUE(a.started() && b.started());
  ASSERT_TRUE(done(a, "create X X.fed"));
  ASSERT_TRUE(done(a, "join X A"));
  ASSERT_TRUE(done(b, "join X B"));
  ASSERT_TRUE(done(b, "subscribe-interaction Radio.Encoded"));
  ASSERT_TRUE(done(b, "subscribe Platform Position"));
  ASSERT_TRUE(done(a, "publish-interaction Radio.Encoded"));
  ASSERT_TRUE(done(a, "publish Platform Position"));
  ASSERT_TRUE(done(a, "register Platform p1"));

  const std::string fits = "Data#" + std::to_string(parameterMax);
  EXPECT_TRUE(done(a, "send-interaction Radio.Encoded t " + fits));
  EXPECT_TRUE(done(b, "wait receiveInteraction"));
  EXPECT_TRUE(carries(b.lines(), "receiveInteraction", parameterMax));
  const std::string refused = a.command("send-interaction Radio.Encoded t Data#" + std::to_string(parameterMax + 1));
  EXPECT_TRUE(refused.starts_with("error send-interaction RTIinternalError")) << refused;
  EXPECT_NE(refused.find("longer than the 65507 bytes its connection carries"), std::string::npos) << refused;

  EXPECT_TRUE(done(a, "update p1 - Position#" + std::to_string(attributeMax)));
  EXPECT_TRUE(done(b, "wait reflectAttributeValues"));
  EXPECT_TRUE(carries(b.lines(), "reflectAttributeValues", attributeMax));
  const std::string refusedUpdate = a.command("update p1 - Position#" + std::to_string(attributeMax + 1));
  EXPECT_TRUE(refusedUpdate.starts_with("error update RTIinternalError")) << refusedUpdate;

  // Nothing of the refused ones went out.
  EXPECT_TRUE(sentinels::sentinel(a, b, sentinels::Path::BestEffort));
  const auto count = [&](const std::string& callback) {
    return std::count_if(b.lines().begin(), b.lines().end(),
                         [&](const std::string& line) { return line.starts_with("callback " + callback); });
  };
  EXPECT_EQ(count("receiveInteraction"), 1);
  EXPECT_EQ(count("reflectAttributeValues"), 1);
  b.command("resign none");
  a.command("resign delete-and-release");
}

// A federate made long before it joins sees only what is sent after its
// join: not the interactions of an earlier execution of the same name that
// waited on its socket.
TEST(InteractionFederation, AFederateSeesOnlyTrafficSentAfterItsJoin) {
  FederationScope federation;
  ScriptedFederateProcess late;
  ScriptedFederateProcess early;
  ASSERT_TRUE(late.started() && early.started());
  ASSERT_TRUE(done(late, "echo ready")) << "its ambassador is made, its socket open";
  for (const std::string command :
       {"create X X.fed", "join X Early", "publish-interaction Radio", "send-interaction Radio before Frequency=1",
        "send-interaction Radio before Frequency=2", "resign none", "destroy X"}) {
    ASSERT_TRUE(done(early, command)) << command;
  }
  ASSERT_TRUE(done(early, "create X X.fed"));
  ASSERT_TRUE(done(early, "join X Again"));
  ASSERT_TRUE(done(late, "join X Late"));
  ASSERT_TRUE(done(late, "subscribe-interaction Radio"));
  ASSERT_TRUE(done(early, "publish-interaction Radio"));
  ASSERT_TRUE(done(early, "send-interaction Radio after Frequency=3"));
  // The earlier execution's interactions, had they been taken, came before.
  ASSERT_TRUE(done(late, "wait receiveInteraction"));
  EXPECT_EQ(interactionCallbacks(late.lines()), std::vector<std::string>{"receiveInteraction 6 {0=\"3\"} \"after\""});
  early.command("resign none");
  late.command("resign none");
}

}  // namespace
