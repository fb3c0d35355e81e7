// The MOM interaction factory over a FOM, and the FED files that every
// federate of this project reads: each declares every MOM class with the
// parameters and attributes that the MOM uses.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "MomClasses.h"
#include "MomTestSupport.h"
#include "mom/DtMomAdjustInteractions.h"
#include "mom/DtMomInteractionFactory.h"
#include "objects/DtObjectClassInfo.h"
#include "rti/config/ConfigTestFiles.h"

namespace {

std::unique_ptr<DtMomInteraction> made(const DtMomInteractionFactory& factory, const DtFomClassMgr& fom,
                                       const char* className) {
  return std::unique_ptr<DtMomInteraction>(
      factory.create(static_cast<std::uint32_t>(fom.interactionHandle(className))));
}

TEST(DtMomInteractionFactory, MakesEachReceivedClassAndItsSubclassesButNoReport) {
  const auto fom = loadFom(momTestFed);
  ASSERT_TRUE(fom);
  const DtMomInteractionFactory factory(fom.get());
  EXPECT_EQ(factory.handleMapper(), fom.get());
  for (const char* name : receivedMomClasses) {
    const auto interaction = made(factory, *fom, name);
    ASSERT_TRUE(interaction) << name;
    EXPECT_STREQ(interaction->name(), name);
    EXPECT_EQ(interaction->handleMapper(), nullptr);
  }
  // A class under SetTiming is taken for a SetTiming.
  const auto hurried = made(factory, *fom, "Manager.Federate.Adjust.SetTiming.Hurried");
  EXPECT_NE(dynamic_cast<DtSetTimingInteraction*>(hurried.get()), nullptr);
  for (const SentMomClass& report : sentMomClasses) EXPECT_FALSE(made(factory, *fom, report.name)) << report.name;
  for (const char* other : {"Horn", "Manager.Federate", "Manager.Federate.Adjust"}) {
    EXPECT_FALSE(made(factory, *fom, other)) << other;
  }
  EXPECT_EQ(factory.create(99999), nullptr);
}

TEST(DtMomInteractionFactory, AFomWithoutTheMomMapsNothing) {
  ScratchDirectory dir;
  const auto fom = loadFom(dir.write("plain.fed", R"((FED (Federation Plain) (FEDversion v1.3) (spaces)
    (objects (class ObjectRoot (attribute privilegeToDelete reliable timestamp) (class RTIprivate)))
    (interactions (class InteractionRoot reliable receive (class RTIprivate reliable receive)
                                                          (class Ping reliable receive)))))"));
  ASSERT_TRUE(fom);
  const DtMomInteractionFactory factory(fom.get());
  for (std::uint32_t handle = 0; handle < static_cast<std::uint32_t>(fom->numInteractions()); ++handle) {
    EXPECT_EQ(factory.create(handle), nullptr);
  }
}

// The attributes of the MOM's two objects.
const std::vector<std::string> federateAttributes = {"FEDid",
                                                     "FederateType",
                                                     "Lookahead",
                                                     "FederateState",
                                                     "TimeConstrained",
                                                     "ObjectsUpdated",
                                                     "ReflectionsReceived",
                                                     "FederateHost",
                                                     "UpdatesSent",
                                                     "FederateTime",
                                                     "TSOlength",
                                                     "ROlength",
                                                     "InteractionsReceived",
                                                     "InteractionsSent",
                                                     "TimeManagerState",
                                                     "MinNextEventTime",
                                                     "TimeRegulating",
                                                     "RTIversion",
                                                     "ObjectsReflected",
                                                     "ObjectsOwned",
                                                     "AsynchronousDelivery",
                                                     "LBTS",
                                                     "FederateHandle"};
const std::vector<std::string> federationAttributes = {
    "FederationName", "NextSaveTime", "NextSaveName", "FederatesInFederation",
    "LastSaveTime",   "LastSaveName", "FEDid",        "RTIversion"};

class MomFedFile : public testing::TestWithParam<std::string> {};

TEST_P(MomFedFile, DeclaresEveryMomClassWithItsParametersAndAttributes) {
  const auto fom = loadFom(GetParam());
  ASSERT_TRUE(fom);
  const DtMomInteractionFactory factory(fom.get());
  std::vector<std::unique_ptr<DtMomInteraction>> all;
  for (const char* name : receivedMomClasses) all.push_back(made(factory, *fom, name));
  for (const SentMomClass& report : sentMomClasses) all.emplace_back(report.create());
  ASSERT_EQ(all.size(), 60u);
  for (const auto& interaction : all) {
    ASSERT_TRUE(interaction);
    SCOPED_TRACE(interaction->name());
    interaction->setHandleMapper(fom.get());
    const ClassPairs pairs(*fom, interaction->name());
    std::vector<std::string> encoded;
    for (const auto& [name, value] : pairs.read(interaction->phvps())) encoded.push_back(name);
    // A DeleteObjectInstance carries its time only when it has one.
    std::vector<std::string> declared = pairs.parameterNames();
    if (std::string(interaction->name()) == "Manager.Federate.Service.DeleteObjectInstance") declared.pop_back();
    EXPECT_EQ(encoded, declared);
    EXPECT_EQ(interaction->parameterCount(), static_cast<int>(declared.size()));
  }
  for (const auto& [className, attributes] :
       {std::pair{"Manager.Federate", &federateAttributes}, {"Manager.Federation", &federationAttributes}}) {
    const DtObjectClassInfo* objectClass = fom->classByName(className);
    ASSERT_TRUE(objectClass) << className;
    for (const std::string& attribute : *attributes) {
      EXPECT_NO_THROW(fom->attrHandle(attribute.c_str(), objectClass->handle())) << className << "." << attribute;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(AllFedFiles, MomFedFile,
                         testing::Values(QLX_SOURCE_ROOT "/rti/config/sample.fed",
                                         QLX_SOURCE_ROOT "/monitor/hla/qlxRprFom10.fed", momTestFed));

}  // namespace
