// The 46 MOM interactions that a federate sends to a MOM (adjustments,
// requests, services): their defaults, a round trip of every one through
// its parameter set, and the rules of the walk over a received set.
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "MomClasses.h"
#include "MomTestSupport.h"
#include "mom/DtMomAdjustInteractions.h"
#include "mom/DtMomFederationServiceInteractions.h"
#include "mom/DtMomInteractionFactory.h"
#include "mom/DtMomObjectServiceInteractions.h"
#include "mom/DtMomRequestInteractions.h"
#include "mom/DtMomTimeServiceInteractions.h"
#include "rti/config/ConfigTestFiles.h"
#include "rti/util/NotifyCapture.h"

using namespace std::string_literals;

namespace {

class MomInteractions : public testing::Test {
protected:
  MomInteractions() : fom(loadFom(momTestFed)), factory(fom.get()) {}

  // A new interaction of the class, with the FOM as its handle mapper.
  std::unique_ptr<DtMomInteraction> make(const char* className) {
    std::unique_ptr<DtMomInteraction> interaction(
        factory.create(static_cast<std::uint32_t>(fom->interactionHandle(className))));
    if (interaction) interaction->setHandleMapper(fom.get());
    return interaction;
  }
  template <class C>
  std::unique_ptr<C> make() {
    auto interaction = std::make_unique<C>();
    interaction->setHandleMapper(fom.get());
    return interaction;
  }
  NamedValues encoded(DtMomInteraction& interaction) {
    return ClassPairs(*fom, interaction.name()).read(interaction.phvps());
  }
  // A set of the class holding these pairs (name, bytes).
  std::unique_ptr<RTI::ParameterHandleValuePairSet> setOf(
      const DtMomInteraction& interaction, const std::vector<std::pair<std::string, std::string>>& pairs) {
    return ClassPairs(*fom, interaction.name()).write(pairs);
  }

  std::unique_ptr<DtFomClassMgr> fom;
  DtMomInteractionFactory factory;
};

TEST_F(MomInteractions, EveryClassEncodesItsDefaultsInTheFomsParameterOrder) {
  const std::map<std::string, std::string> defaults = {{"Federate", "0"},
                                                       {"ObjectInstance", ""},
                                                       {"AttributeList", ""},
                                                       {"OrderingType", "receive"},
                                                       {"TransportationType", "Best effort"},
                                                       {"InteractionClass", "0"},
                                                       {"ObjectClass", "0"},
                                                       {"Tag", ""},
                                                       {"FederationTime", "time 0"},
                                                       {"Lookahead", "time 0"},
                                                       {"lookahead", "time 0"},
                                                       {"SuccessIndicator", "True"},
                                                       {"Label", ""},
                                                       {"ResignAction", "no action"},
                                                       {"Active", "True"},
                                                       {"Attribute", "0"},
                                                       {"AttributeState", "Owned"},
                                                       {"LoggingState", "False"},
                                                       {"ReportPeriod", "0"},
                                                       {"ReportingState", "False"}};
  // Where a class's default is its own: the instance names that start as
  // the number 0, and a deletion without a time.
  const std::map<std::string, NamedValues> ownDefaults = {
      {"Manager.Federate.Adjust.ModifyAttributeState",
       {{"Federate", "0"}, {"Attribute", "0"}, {"AttributeState", "Owned"}, {"ObjectInstance", "0"}}},
      {"Manager.Federate.Request.RequestObjectInformation", {{"Federate", "0"}, {"ObjectInstance", "0"}}},
      {"Manager.Federate.Service.DeleteObjectInstance", {{"Federate", "0"}, {"ObjectInstance", ""}, {"Tag", ""}}}};
  for (const char* name : receivedMomClasses) {
    const auto interaction = make(name);
    ASSERT_TRUE(interaction) << name;
    NamedValues expected;
    if (ownDefaults.contains(name)) {
      expected = ownDefaults.at(name);
    } else {
      for (const std::string& parameter : ClassPairs(*fom, name).parameterNames()) {
        expected.emplace_back(parameter, defaults.at(parameter));
      }
    }
    EXPECT_EQ(encoded(*interaction), expected) << name;
    EXPECT_EQ(encoded(*interaction), expected) << name << ", encoded again";
  }
}

TEST_F(MomInteractions, EveryClassReadsASetAndWritesTheSameBytesBack) {
  const std::map<std::string, std::string> values = {{"Federate", textBytes("7")},
                                                     {"ObjectInstance", textBytes("tank 1")},
                                                     {"AttributeList", textBytes("3,5")},
                                                     {"OrderingType", textBytes("timestamp")},
                                                     {"TransportationType", textBytes("Reliable")},
                                                     {"InteractionClass", textBytes("12")},
                                                     {"ObjectClass", textBytes("9")},
                                                     {"Tag", textBytes("tag")},
                                                     {"FederationTime", timeBytes(12.5)},
                                                     {"Lookahead", timeBytes(2.5)},
                                                     {"lookahead", timeBytes(3.5)},
                                                     {"SuccessIndicator", textBytes("False")},
                                                     {"Label", textBytes("ready")},
                                                     {"ResignAction", textBytes("delete objects")},
                                                     {"Active", textBytes("False")},
                                                     {"Attribute", textBytes("4")},
                                                     {"AttributeState", textBytes("Unowned")},
                                                     {"LoggingState", textBytes("True")},
                                                     {"ReportPeriod", textBytes("-5")},
                                                     {"ReportingState", textBytes("True")}};
  for (const char* name : receivedMomClasses) {
    SCOPED_TRACE(name);
    const ClassPairs pairs(*fom, name);
    std::vector<std::pair<std::string, std::string>> sent;
    for (const std::string& parameter : pairs.parameterNames()) sent.emplace_back(parameter, values.at(parameter));
    const auto received = make(name);
    received->setFromPhvps(*pairs.write(sent));
    EXPECT_EQ(received->refusedValues(), 0);
    EXPECT_EQ(received->federateHandle(), 7u);
    EXPECT_EQ(pairs.raw(received->phvps()), sent);
  }
}

TEST_F(MomInteractions, AbsentParametersKeepTheirValuesAndTheLaterOfTwoPairsWins) {
  const auto information = make<DtRequestObjectInformationInteraction>();
  information->setFromPhvps(*setOf(*information, {{"Federate", textBytes("3")}}));
  EXPECT_EQ(information->federateHandle(), 3u);
  EXPECT_STREQ(information->objectInstance().string(), "0");

  // Pairs of no parameter of the class are skipped.
  std::unique_ptr<RTI::ParameterHandleValuePairSet> set(RTI::ParameterSetFactory::create(4));
  const auto instance = fom->paramHandle("ObjectInstance", information->handle());
  set->add(instance, "first", 6);
  set->add(77, "7", 2);
  set->add(instance, "second", 7);
  information->setFromPhvps(*set);
  EXPECT_STREQ(information->objectInstance().string(), "second");
  EXPECT_EQ(information->federateHandle(), 3u);

  // A second time replaces the first, which is deleted (ASan watches).
  const auto flush = make<DtFlushQueueRequestInteraction>();
  flush->setFromPhvps(*setOf(*flush, {{"FederationTime", timeBytes(1)}, {"FederationTime", timeBytes(2)}}));
  EXPECT_EQ(static_cast<RTIfedTime&>(*flush->fedtime()).getTime(), 2.0);
}

TEST_F(MomInteractions, ARefusedValueIsCountedAndLeavesItsMemberAlone) {
  NotifyCapture capture(1);
  const auto timing = make<DtSetTimingInteraction>();
  timing->setReportPeriod(30);
  timing->setFromPhvps(
      *setOf(*timing, {{"Federate", textBytes("4294967296")}, {"ReportPeriod", textBytes("2147483648")}}));
  EXPECT_EQ(timing->refusedValues(), 2);
  EXPECT_EQ(timing->federateHandle(), 0u);
  EXPECT_EQ(timing->reportPeriod(), 30);
  EXPECT_EQ(capture.text(),
            "DtMomInteraction::genericDecodeHandle: Value 4294967296 of parameter Federate refused\n"
            "DtMomInteraction::genericDecodeLong: Value 2147483648 of parameter ReportPeriod refused\n");
  timing->setFromPhvps(*setOf(*timing, {{"ReportPeriod", textBytes("12ab")}}));
  EXPECT_EQ(timing->refusedValues(), 0);
  EXPECT_EQ(timing->reportPeriod(), 12);
}

TEST_F(MomInteractions, ADeletionCarriesItsTimeOnlyWhenItHasOne) {
  const auto deletion = make<DtDeleteObjectInstanceInteraction>();
  deletion->setInstance("tank 1");
  EXPECT_EQ(encoded(*deletion), (NamedValues{{"Federate", "0"}, {"ObjectInstance", "tank 1"}, {"Tag", ""}}));
  deletion->setFedtime(new RTIfedTime(4.5));
  EXPECT_TRUE(deletion->timeSpecified());
  EXPECT_EQ(
      encoded(*deletion),
      (NamedValues{{"Federate", "0"}, {"ObjectInstance", "tank 1"}, {"Tag", ""}, {"FederationTime", "time 4.5"}}));

  const auto untimed = make<DtDeleteObjectInstanceInteraction>();
  const auto threePairs =
      setOf(*untimed, {{"Federate", textBytes("1")}, {"ObjectInstance", textBytes("a")}, {"Tag", textBytes("t")}});
  untimed->setFromPhvps(*threePairs);
  EXPECT_FALSE(untimed->timeSpecified());
  EXPECT_EQ(untimed->fedtime(), nullptr);
  EXPECT_EQ(static_cast<int>(threePairs->size()), untimed->parameterCount());  // complete

  const auto timed = make<DtDeleteObjectInstanceInteraction>();
  timed->setFromPhvps(*setOf(*timed, {{"FederationTime", timeBytes(9)}}));
  ASSERT_TRUE(timed->timeSpecified());
  EXPECT_EQ(static_cast<RTIfedTime&>(*timed->fedtime()).getTime(), 9.0);
  timed->setFedtime(nullptr);
  EXPECT_FALSE(timed->timeSpecified());
}

TEST_F(MomInteractions, ResignActionsTravelAsTheirTexts) {
  const struct {
    std::string text;
    RTI::ResignAction read;
  } received[] = {{"release attributes", RTI::RELEASE_ATTRIBUTES},
                  {"DELETE OBJECTS", RTI::DELETE_OBJECTS},
                  {"Delete Objects And Release Attributes", RTI::DELETE_OBJECTS_AND_RELEASE_ATTRIBUTES},
                  {"no action", RTI::NO_ACTION},
                  {"NULL", RTI::NO_ACTION},
                  {"resign", RTI::NO_ACTION}};
  NotifyCapture capture(1);
  for (const auto& c : received) {
    const auto resign = make<DtResignFederationExecutionInteraction>();
    resign->setFromPhvps(*setOf(*resign, {{"ResignAction", textBytes(c.text)}}));
    EXPECT_EQ(resign->resignAction(), c.read) << c.text;
    EXPECT_EQ(resign->refusedValues(), 0);
  }
  EXPECT_EQ(capture.text(), "");  // a text outside the table is no error

  const auto resign = make<DtResignFederationExecutionInteraction>();
  const struct {
    int action;
    const char* text;
  } sent[] = {{RTI::NO_ACTION, "no action"}, {RTI::DELETE_OBJECTS, "delete objects"}, {0, "NULL"}, {7, ""}};
  for (const auto& c : sent) {
    resign->setResignAction(static_cast<RTI::ResignAction>(c.action));
    EXPECT_EQ(encoded(*resign), (NamedValues{{"Federate", "0"}, {"ResignAction", c.text}})) << c.action;
  }
}

TEST_F(MomInteractions, CopiesOwnTheirTimesAndSetsAndKeepTheirValues) {
  auto source = make<DtEnableTimeRegulationInteraction>();
  source->setFedtime(new RTIfedTime(10));
  source->setLookahead(new RTIfedTime(0.5));
  source->setFederateHandle(6);
  DtEnableTimeRegulationInteraction copy(*source);
  DtEnableTimeRegulationInteraction assigned;
  assigned = *source;
  for (DtEnableTimeRegulationInteraction* other : {&copy, &assigned}) {
    EXPECT_NE(other->fedtime(), source->fedtime());
    EXPECT_NE(other->lookahead(), source->lookahead());
  }
  source.reset();
  for (DtEnableTimeRegulationInteraction* other : {&copy, &assigned}) {
    EXPECT_EQ(static_cast<RTIfedTime&>(*other->fedtime()).getTime(), 10.0);
    EXPECT_EQ(static_cast<RTIfedTime&>(*other->lookahead()).getTime(), 0.5);
    EXPECT_EQ(other->federateHandle(), 6u);
    EXPECT_EQ(other->handleMapper(), fom.get());
    EXPECT_EQ(encoded(*other),
              (NamedValues{{"Federate", "6"}, {"FederationTime", "time 10"}, {"Lookahead", "time 0.5"}}));
  }

  // A copy of a deletion with a time has room for all four pairs; one of a
  // request read from a set has its values and a set of its own.
  auto deletion = make<DtDeleteObjectInstanceInteraction>();
  deletion->setFedtime(new RTIfedTime(1));
  DtDeleteObjectInstanceInteraction deletionCopy(*deletion);
  EXPECT_EQ(deletionCopy.phvps().size(), 4u);
  deletionCopy = DtDeleteObjectInstanceInteraction();
  EXPECT_FALSE(deletionCopy.timeSpecified());

  auto information = make<DtRequestObjectInformationInteraction>();
  information->setFromPhvps(*setOf(*information, {{"Federate", textBytes("2")}, {"ObjectInstance", textBytes("x")}}));
  DtRequestObjectInformationInteraction informationCopy(*information);
  EXPECT_NE(&informationCopy.phvps(), &information->phvps());
  EXPECT_EQ(encoded(informationCopy), encoded(*information));
}

TEST_F(MomInteractions, LookUpsNeedAMapperAndAFomThatHasTheClass) {
  DtSetTimingInteraction timing;
  EXPECT_EQ(timing.handle(), 0u);
  EXPECT_THROW(timing.phvps(), RTI::RTIinternalError);
  ScratchDirectory dir;
  const auto plain = loadFom(dir.write("plain.fed", R"((FED (Federation Plain) (FEDversion v1.3) (spaces)
    (objects (class ObjectRoot (attribute privilegeToDelete reliable timestamp) (class RTIprivate)))
    (interactions (class InteractionRoot reliable receive (class RTIprivate reliable receive)
      (class Manager reliable receive (class Federate reliable receive (parameter Federate)
        (class Adjust reliable receive (class SetTiming reliable receive))))))))"));
  ASSERT_TRUE(plain);
  timing.setHandleMapper(plain.get());
  EXPECT_NE(timing.handle(), 0u);
  EXPECT_THROW(timing.phvps(), RTI::NameNotFound);  // no ReportPeriod
  DtSetExceptionLoggingInteraction logging;
  logging.setHandleMapper(plain.get());
  EXPECT_THROW(logging.handle(), RTI::NameNotFound);
}

}  // namespace
