// A local region's deletion on the object side: a region that only passive
// sets hold is not in use and may go; the passive subscriptions through it
// move to the passive set of the other regions (or end), and the channel
// they alone carried is left. A region of an active subscription stays.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ObjectDdmSupport.h"
#include "objects/DtAttrInfo.h"

namespace {

using namespace objddm;

std::string subscribedBySet(const DtObjectClassInfo& cls) {
  std::string out;
  for (const auto& [key, attributes] : cls.getSubscribeByRegionList()) {
    out += (out.empty() ? "" : " ") + std::to_string(key) + " {" + text(attributes) + "}";
  }
  return out.empty() ? "-" : out;
}

std::string tableOf(const DtRegionSetList& table) {
  std::string out;
  for (const DtRegionSetEntry& entry : table) {
    out += (out.empty() ? "" : " ") + std::to_string(entry.handle) + "[" + regionsText(*entry.set) + "]";
  }
  return out;
}

// B publishes an Aircraft whose Altitude is associated with a region that
// A's R2 overlaps and R3 does not.
struct TwoFederates : DdmPair {
  TwoFederates() {
    DtRegion& theirs = b.region({5, 25}, {0, 5});
    DtRtiObject& plane = b.publishedObject(aircraft, attrs({0, altitude}));
    b.associate(plane, attrs({altitude}), theirs);
    settle();
  }
};

TEST(ObjectDdmRegionDeletion, APassiveOnlyRegionGoesAndItsSubscriptionsMoveToTheOtherRegionsOrEnd) {
  struct Case {
    const char* what;
    bool withDefault;
    bool withR3;
    std::string passiveAfter;  // the attribute's passive set
    std::string tableAfter;    // A's passive sets
    std::string bySetAfter;    // Aircraft's subscriptions by set
    std::string channelAfter;  // B's set's channel, joined or not
  };
  const Case cases[] = {
      {"R2 alone: the subscription ends, the channel is left", false, false, "-", "1[0]", "-", "-"},
      {"R2 and the default region: the default passive set carries on", true, false, "1", "1[0]", "1 {3}", "2100002"},
      {"R2 and R3: the set of R3, which B's region misses", false, true, "300005", "1[0] 300005[300003]", "300005 {3}",
       "-"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TwoFederates two;
    DdmFederate& a = two.a;
    DtRegion& r2 = a.region({20, 30}, {0, 10});     // 300001
    DtRegion& spare = a.region({50, 60}, {0, 10});  // 300002, for an active subscription
    DtRegion& r3 = a.region({100, 110}, {0, 10});   // 300003
    DtSubRegionSet* from = a.objects->addPasRegion(r2, nullptr);
    if (c.withDefault) from = a.objects->addPasRegion(a.ddm->defaultRegion(), from);
    if (c.withR3) from = a.objects->addPasRegion(r3, from);
    a.subscribe(aircraft, attrs({altitude}), r2, from, true);
    a.subscribe(platform, attrs({position}), spare);
    two.settle();
    ASSERT_EQ(channelSets(*a.ddm), "2100002");

    a.ddm->deleteRegion(&r2);

    const DtSubRegionSet* passive = a.cls(aircraft).attrByHandle(altitude)->pasRegionSet();
    EXPECT_EQ(passive ? std::to_string(passive->regionSetHandle()) : "-", c.passiveAfter);
    EXPECT_EQ(tableOf(a.objects->pasRegionSets()), c.tableAfter);
    EXPECT_EQ(subscribedBySet(a.cls(aircraft)), c.bySetAfter);
    EXPECT_EQ(channelSets(*a.ddm), c.channelAfter);
    EXPECT_EQ(a.ddm->localRegion(300001), nullptr);
    // The region of the active subscription is in use.
    EXPECT_THROW(a.ddm->deleteRegion(&spare), RTI::RegionInUse);
    a.conn->takeSent();
  }
}

}  // namespace
