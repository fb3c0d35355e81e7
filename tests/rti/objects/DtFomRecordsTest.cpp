// The small records of the model: routing spaces and their dimensions,
// attribute records, message tallies.
#include <gtest/gtest.h>

#include <string>

#include "FomTestSupport.h"
#include "objects/DtAttrInfo.h"
#include "objects/DtDimInfo.h"
#include "objects/DtMtallySet.h"
#include "objects/DtSpaceInfo.h"

namespace {

TEST(DtSpaceInfo, DimensionsAreNumberedInOrderAndFoundByName) {
  DtSpaceInfo space("Geo", 1);
  for (const char* name : {"x", "y", "z", "t", "u", "v", "w", "s", "r", "X"}) space.addDim(name);
  EXPECT_EQ(space.dimensionCount(), 10u);
  EXPECT_STREQ(space.dimName(8), "r");
  EXPECT_EQ(space.dimHandle("Y"), 1u);
  EXPECT_EQ(space.dimHandle("x"), 9u);  // of two, the one added last
  EXPECT_EQ(outcome([&] { return std::to_string(space.dimHandle("q")); }), "throws NameNotFound");
  EXPECT_EQ(outcome([&] { return std::string(space.dimName(10)); }), "throws DimensionNotDefined");
  EXPECT_EQ(space.dimByName(nullptr), nullptr);
  EXPECT_TRUE(space.isName("GEO"));

  DtSpaceInfo copy(space);
  EXPECT_TRUE(copy == space);
  copy.dimByHandle(0)->setName("X0");
  EXPECT_TRUE(copy != space);
}

TEST(DtDimInfo, NamesCompareWithCaseButAreFoundWithout) {
  const DtDimInfo lower("alt", 0);
  DtDimInfo upper("ALT", 0);
  EXPECT_NE(lower, upper);
  EXPECT_TRUE(lower.isName("ALT"));
  upper.setName(nullptr);
  EXPECT_STREQ(upper.name(), "ALT");
}

TEST(DtAttrInfo, ThePrivilegeAnswersToBothNames) {
  const DtAttrInfo privilege("anything", 0);
  const DtAttrInfo other("Speed", 3);
  EXPECT_TRUE(privilege.isName("privilegeToDelete"));
  EXPECT_TRUE(privilege.isName("PRIVILEGETODELETEOBJECT"));
  EXPECT_FALSE(privilege.isName("anything"));
  EXPECT_TRUE(other.isName("speed"));
  EXPECT_FALSE(other.isName(nullptr));
}

TEST(DtAttrInfo, RemoteSubscribersAndWhatACopyKeeps) {
  DtAttrInfo attribute("Speed", 3);
  attribute.addRemoteSubscription(5);
  attribute.addRemoteSubscription(5);
  attribute.addRemoteSubscription(2);
  attribute.addRemoteSubscriptionWithRegion(9, 90);
  attribute.addRemoteSubscriptionWithRegion(9, 91);
  EXPECT_EQ(attribute.numRemoteFederatesSubscribed(), 2u);
  EXPECT_EQ(attribute.remoteRegionSubscription(9), 91u);
  EXPECT_EQ(attribute.remoteRegionSubscription(5), 0u);
  attribute.subscribe();
  EXPECT_TRUE(attribute.subscribed());
  const DtAttrInfo copy(attribute);
  EXPECT_EQ(std::vector<std::uint32_t>(copy.subscribedFederates().begin(), copy.subscribedFederates().end()),
            (std::vector<std::uint32_t>{5, 2}));
  EXPECT_FALSE(copy.remoteFederateIsSubscribedWithRegion(9));
  EXPECT_TRUE(copy.subscribed());
  attribute.deleteRemoteSubscription(7);  // not filed: nothing happens
  EXPECT_EQ(attribute.numRemoteFederatesSubscribed(), 2u);
}

TEST(DtMtallySet, CountsByDirectionAndTransport) {
  const struct {
    RTI::Boolean received;
    DtTransportType transport;
    int index;
  } cases[] = {
      {RTI::RTI_TRUE, DtReliable, 0},
      {RTI::RTI_TRUE, DtBestEffort, 1},
      {RTI::RTI_FALSE, DtReliable, 2},
      {RTI::RTI_FALSE, DtBestEffort, 3},
      {RTI::RTI_TRUE, static_cast<DtTransportType>(5), 1},  // anything but reliable is best effort
  };
  DtMtallySet tallies;
  for (const auto& c : cases) {
    EXPECT_EQ(DtMtallySet::index(c.received, c.transport), c.index);
    tallies.increment(c.received, c.transport);
  }
  EXPECT_EQ(tallies.tally(RTI::RTI_TRUE, DtBestEffort), 2);
  tallies.setTally(40, RTI::RTI_FALSE, DtReliable);
  tallies.setHandle(12);
  const DtMtallySet copy(tallies);
  EXPECT_EQ(copy.tally(RTI::RTI_FALSE, DtReliable), 40);
  EXPECT_EQ(copy.handle(), 0u);  // the counts, not the class
}

}  // namespace
