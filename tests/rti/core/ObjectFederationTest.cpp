// Objects between federate processes on the loopback (each test its own
// port and group), on every deployment: the main road of object management
// between two scripted federates, and three federates that register objects
// of one name. The test drives each scripted federate command by command
// and checks the callbacks each one printed.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <regex>

#include "DrivenFederate.h"
#include "support/DeployedFederation.h"
#include "support/Sentinels.h"

namespace {

// Object classes: ObjectRoot 0, RTIprivate 1, Vehicle 3 (Position 1, Name
// 2), Vehicle.Car 4 (Speed 3).
const char* const roadFed = R"((FED (Federation Road) (FEDversion v1.3) (spaces)
  (objects (class ObjectRoot (attribute privilegeToDelete reliable timestamp) (class RTIprivate)
    (class Vehicle (attribute Position best_effort receive) (attribute Name reliable receive)
      (class Car (attribute Speed best_effort receive)))))
  (interactions (class InteractionRoot best_effort receive (class RTIprivate best_effort receive)
    (class Horn best_effort receive (parameter Loudness)))))
)";

using Federate = DrivenFederate;
using Lines = std::vector<std::string>;
using sentinels::Path;

class ObjectFederation : public ::testing::TestWithParam<Deployment> {
protected:
  ObjectFederation() {
    Federate::names.clear();
    federation.dir().write("Road.fed", sentinels::withSentinelClass(roadFed));
  }
  void SetUp() override { ASSERT_TRUE(federation.started()); }
  // Whether an update of attributes of both transports comes in two.
  static bool apart() { return GetParam().reliable || GetParam().dataDistribution; }

  DeployedFederation federation{GetParam(), "(setq RTI_dumpFed 0)\n"};
};

TEST_P(ObjectFederation, ALatePublisherIsToldToStartRegisteringAndToStopWhenTheLastSubscriberLeaves) {
  Federate first, second, publisher;
  first.run({"create Road Road.fed", "join Road First", "subscribe Vehicle Position"});
  ASSERT_TRUE(federation.joinBystanders("Road"));
  second.run({"join Road Second", "subscribe Vehicle.Car Speed"});
  // It joins and publishes after both subscribed: their subscriptions come
  // again in answer to its publication, and it is told once.
  std::size_t mark = publisher.mark();
  publisher.run({"join Road Publisher", "publish Vehicle.Car Position Speed"});
  roundTrip(publisher, first);
  roundTrip(publisher, second);
  publisher.run({"wait startRegistrationForObjectClass"});
  EXPECT_EQ(publisher.callbacksSince(mark), Lines{"startRegistrationForObjectClass 4"});
  // Unpublished, it is told nothing (by its own RTI, at its next tick);
  // published again, it starts again, and the subscribers' answers to its
  // publication change nothing.
  EXPECT_EQ(publisher.run({"unpublish Vehicle.Car", "tick"}), Lines{});
  mark = publisher.mark();
  publisher.run({"publish Vehicle.Car Position Speed"});
  roundTrip(publisher, first);
  roundTrip(publisher, second);
  publisher.run({"wait startRegistrationForObjectClass"});
  EXPECT_EQ(publisher.callbacksSince(mark), Lines{"startRegistrationForObjectClass 4"});
  first.run({"unsubscribe Vehicle"});
  mark = publisher.mark();
  publisher.takeSentinelFrom(first);
  EXPECT_EQ(publisher.callbacksSince(mark), Lines{}) << "the subscriber of Car's speed is still there";
  second.run({"resign none"});
  EXPECT_EQ(publisher.run({"wait stopRegistrationForObjectClass"}), Lines{"stopRegistrationForObjectClass 4"});
  publisher.run({"resign none"});
  federation.resignBystanders();
  first.run({"resign none", "destroy Road"});
}

TEST_P(ObjectFederation, TwoFederatesGoTheMainRoadOfObjectManagement) {
  Federate owner, subscriber;
  owner.run({"create Road Road.fed", "join Road Owner", "attribute-advisory on", "publish Vehicle Position Name",
             "publish Vehicle.Car Position Name Speed"});
  ASSERT_TRUE(federation.joinBystanders("Road"));
  subscriber.run({"join Road Subscriber", "subscribe Vehicle Position Name"});
  // The car's class is relevant through the attributes it inherits.
  EXPECT_EQ(owner.run({"wait startRegistrationForObjectClass", "wait startRegistrationForObjectClass"}),
            (Lines{"startRegistrationForObjectClass 3", "startRegistrationForObjectClass 4"}));
  owner.run({"register Vehicle.Car car1"});
  owner.run({"register Vehicle"});
  std::string generated;
  for (const auto& [name, handle] : Federate::names) {
    if (name != "car1") generated = name;
  }
  // Discovered as the nearest subscribed class, under both names.
  EXPECT_EQ(subscriber.run({"wait discoverObjectInstance", "wait discoverObjectInstance"}),
            (Lines{"discoverObjectInstance {car1} 3 \"car1\"",
                   "discoverObjectInstance {" + generated + "} 3 \"{" + generated + "}\""}));
  EXPECT_EQ(owner.run({"wait turnUpdatesOnForObjectInstance", "wait turnUpdatesOnForObjectInstance"}),
            (Lines{"turnUpdatesOnForObjectInstance {car1} {1,2}",
                   "turnUpdatesOnForObjectInstance {" + generated + "} {1,2}"}));

  // Updates reach the subscriber with what it subscribed; where reliable
  // attributes go by TCP, or data distribution sends an update by its
  // attributes' transports, the best-effort one comes apart, in either
  // order.
  owner.run({"update car1 t1 Position=p1 Name=Herbie Speed=88"});
  const Lines reflected = apart() ? Lines{"reflectAttributeValues {car1} {1=\"p1\"} \"t1\"",
                                          "reflectAttributeValues {car1} {2=\"Herbie\"} \"t1\""}
                                  : Lines{"reflectAttributeValues {car1} {1=\"p1\",2=\"Herbie\"} \"t1\""};
  Lines seen;
  for (std::size_t i = 0; i < reflected.size(); ++i) {
    for (const std::string& line : subscriber.run({"wait reflectAttributeValues"})) seen.push_back(line);
  }
  std::sort(seen.begin(), seen.end());
  EXPECT_EQ(seen, reflected);

  // Both requests, answered by the owner with what it owns.
  subscriber.run({"request-object car1 Name", "request-class Vehicle Position"});
  EXPECT_EQ(owner.run({"wait provideAttributeValueUpdate", "wait provideAttributeValueUpdate",
                       "wait provideAttributeValueUpdate"}),
            (Lines{"provideAttributeValueUpdate {car1} {2}", "provideAttributeValueUpdate {car1} {1}",
                   "provideAttributeValueUpdate {" + generated + "} {1}"}));

  // Updates off when the subscriber leaves, on when it comes back.
  subscriber.run({"unsubscribe Vehicle"});
  EXPECT_EQ(owner.run({"wait turnUpdatesOffForObjectInstance", "wait turnUpdatesOffForObjectInstance",
                       "wait stopRegistrationForObjectClass", "wait stopRegistrationForObjectClass"}),
            (Lines{"turnUpdatesOffForObjectInstance {car1} {1,2}",
                   "turnUpdatesOffForObjectInstance {" + generated + "} {1,2}", "stopRegistrationForObjectClass 3",
                   "stopRegistrationForObjectClass 4"}));
  subscriber.run({"subscribe Vehicle Position"});
  EXPECT_EQ(
      owner.run({"wait turnUpdatesOnForObjectInstance", "wait turnUpdatesOnForObjectInstance",
                 "wait startRegistrationForObjectClass", "wait startRegistrationForObjectClass"}),
      (Lines{"turnUpdatesOnForObjectInstance {car1} {1}", "turnUpdatesOnForObjectInstance {" + generated + "} {1}",
             "startRegistrationForObjectClass 3", "startRegistrationForObjectClass 4"}));

  // Deleted at the owner, removed at the subscriber.
  owner.run({"delete car1 bye"});
  EXPECT_EQ(subscriber.run({"wait removeObjectInstance"}), Lines{"removeObjectInstance {car1} \"bye\""});

  // Forgotten here, announced again by its owner.
  subscriber.run({"local-delete " + generated});
  EXPECT_EQ(subscriber.command("request-object " + generated + " Position"),
            "error request-object ObjectNotKnown \"\"");
  owner.takeSentinelFrom(subscriber);  // the owner answers the local deletion
  EXPECT_EQ(subscriber.run({"wait discoverObjectInstance"}),
            Lines{"discoverObjectInstance {" + generated + "} 3 \"{" + generated + "}\""});

  // Resigning: with delete, its objects go.
  owner.run({"resign delete"});
  EXPECT_EQ(subscriber.run({"wait removeObjectInstance"}),
            Lines{"removeObjectInstance {" + generated + "} \"Resign action was delete.\""});

  // An object whose privilege to delete its owner gave up is orphaned when
  // the owner resigns deleting its objects.
  owner.run({"join Road Owner", "publish Vehicle Position Name", "register Vehicle orphan",
             "divest orphan privilegeToDelete", "register Vehicle deleted", "resign delete-and-release"});
  EXPECT_EQ(subscriber.run({"wait removeObjectInstance", "wait removeObjectInstance"}),
            (Lines{"discoverObjectInstance {orphan} 3 \"orphan\"", "discoverObjectInstance {deleted} 3 \"deleted\"",
                   "removeObjectInstance {deleted} \"Resign action was delete.\"",
                   "removeObjectInstance {orphan} \"Appears to have been orphaned.\""}));

  // With release, its objects stay known: after its resignation, sent
  // again, nothing removes it.
  const std::size_t mark = subscriber.mark();
  owner.run({"join Road Owner", "publish Vehicle Position Name", "register Vehicle kept", "resign release",
             "join Road Owner"});
  subscriber.takeSentinelFrom(owner);
  subscriber.run({"wait discoverObjectInstance"});
  EXPECT_EQ(subscriber.callbacksSince(mark), Lines{"discoverObjectInstance {kept} 3 \"kept\""});
  EXPECT_EQ(subscriber.command("object kept"), "ok object {kept}");
  owner.run({"resign none"});
  federation.resignBystanders();
  subscriber.run({"resign none", "destroy Road"});
}

TEST_P(ObjectFederation, OfThreeFederatesTheSubscriberKnowsTheFirstObjectOfANameAndIgnoresTheSecond) {
  Federate first, subscriber, second;
  first.run({"create Road Road.fed", "join Road First", "publish Vehicle Position"});
  ASSERT_TRUE(federation.joinBystanders("Road"));
  second.run({"join Road Second", "publish Vehicle Position"});
  subscriber.run({"join Road Subscriber", "subscribe Vehicle Position"});
  first.run({"wait startRegistrationForObjectClass"});
  second.run({"wait startRegistrationForObjectClass"});

  first.run({"register Vehicle twin"});
  const std::string firstTwin = Federate::names["twin"];
  EXPECT_EQ(subscriber.run({"wait discoverObjectInstance"}), Lines{"discoverObjectInstance {twin} 3 \"twin\""});
  // The second federate cannot know of the first one's object: it may take
  // the name, but the subscriber ignores its object for good.
  second.run({"register Vehicle twin"});
  const std::string secondTwin = Federate::names["twin"];
  EXPECT_NE(firstTwin, secondTwin);
  second.run({"update twin - Position=second"});
  Federate::names["first"] = firstTwin;
  first.run({"update " + firstTwin + " - Position=first"});
  // The second one's object and its update (best effort) have come too.
  const std::size_t mark = subscriber.mark();
  subscriber.run({"wait reflectAttributeValues"});
  subscriber.takeSentinelFrom(second);
  subscriber.takeSentinelFrom(second, Path::BestEffort);
  EXPECT_EQ(subscriber.callbacksSince(mark), Lines{"reflectAttributeValues {first} {1=\"first\"} \"\""});
  EXPECT_EQ(subscriber.command("object twin"), "ok object {first}");
  for (Federate* f : {&first, &second, &subscriber}) f->run({"resign delete"});
}

// Everything a program prints, and its exit status, once it has ended.
struct ProgramOutput {
  std::vector<std::string> lines;
  int status = -1;
};

ProgramOutput readToTheEnd(std::FILE* program) {
  ProgramOutput output;
  char line[4096];
  while (program && std::fgets(line, sizeof line, program)) {
    std::string text(line);
    if (!text.empty() && text.back() == '\n') text.pop_back();
    output.lines.push_back(text);
  }
  const int status = program ? pclose(program) : -1;
  output.status = status >= 0 && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return output;
}

TEST_P(ObjectFederation, AFederateWrittenAgainstTheStandardHeadersExchangesUpdatesAndInteractionsWithTheScriptedOne) {
  Federate scripted;
  scripted.run({"create Road Road.fed", "join Road Scripted"});
  ASSERT_TRUE(federation.joinBystanders("Road"));
  scripted.run({"publish Vehicle Position Name", "subscribe Vehicle Position Name", "register Vehicle scripted-car",
                "publish-interaction Horn", "subscribe-interaction Horn"});
  // It runs by itself: it updates its car and sounds its horn until it
  // reflected three updates of the scripted car and heard three horns, with
  // which the scripted federate answers its own.
  std::FILE* standard = popen(QLX_STANDARD_FEDERATE " Road Road.fed Standard 20", "r");
  ASSERT_NE(standard, nullptr);
  const Lines seen =
      scripted.run({"on reflectAttributeValues update scripted-car - Position=answer Name=Scripted",
                    "on receiveInteraction send-interaction Horn - Loudness=loud", "wait removeObjectInstance 20",
                    "off reflectAttributeValues", "off receiveInteraction"});
  const ProgramOutput output = readToTheEnd(standard);
  EXPECT_EQ(output.status, 0) << ::testing::PrintToString(output.lines);
  // Its own lines, among those of the RTI's diagnostics: three answers of
  // each kind at least (two may come in one tick).
  std::map<std::string, int> own;
  for (const std::string& line : output.lines) ++own[line];
  EXPECT_EQ(own["discovered scripted-car"], 1);
  EXPECT_GE(own["reflected scripted-car answer"], 3);
  EXPECT_GE(own["received Horn loud"], 3);
  EXPECT_EQ(own["done"], 1);
  EXPECT_EQ(output.lines.back(), "done");

  Lines objects;
  for (const std::string& line : seen) {
    if (std::regex_match(line, std::regex("(discover|reflect|remove).*"))) objects.push_back(line);
  }
  const std::regex horn("receiveInteraction \\d+ \\{0=\"at-\\d+\"\\} \"standard\"");
  const auto heard = [&](const std::string& line) { return std::regex_match(line, horn); };
  EXPECT_TRUE(std::any_of(seen.begin(), seen.end(), heard)) << ::testing::PrintToString(seen);
  ASSERT_GE(objects.size(), 3u) << ::testing::PrintToString(seen);
  EXPECT_TRUE(std::regex_match(objects.front(), std::regex("discoverObjectInstance \\d+ 3 \"Standard-car\"")))
      << objects.front();
  // Its first update, whose reliable attribute comes apart where it goes by
  // TCP or by a transport of its own.
  const std::string firstUpdate = apart() ? "(1=\"at-1\"|2=\"Standard\")" : "1=\"at-1\",2=\"Standard\"";
  EXPECT_TRUE(
      std::regex_match(objects[1], std::regex("reflectAttributeValues \\d+ \\{" + firstUpdate + "\\} \"standard\"")))
      << objects[1];
  EXPECT_TRUE(std::regex_match(objects.back(), std::regex("removeObjectInstance \\d+ \"leaving\""))) << objects.back();
  scripted.run({"resign delete"});
  federation.resignBystanders();
  scripted.run({"destroy Road"});
}

INSTANTIATE_TEST_SUITE_P(Deployments, ObjectFederation, ::testing::ValuesIn(everyDeployment), deploymentName);
INSTANTIATE_TEST_SUITE_P(DataDistribution, ObjectFederation, ::testing::ValuesIn(withDataDistribution), deploymentName);

}  // namespace
