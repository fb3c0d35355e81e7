// The end of the object data distribution manager's region sets: after
// destroyRegionLists, and after the manager itself is deleted, no region
// keeps a set, no class keeps a region-set entry and no object names a
// publication set (checked under ASan, which also sees any set touched after
// its end).
#include <gtest/gtest.h>

#include "ObjectDdmSupport.h"

namespace {

using namespace objddm;

std::size_t setsFiled(const DtRegion& r) {
  return r.objPubRegSetList().count() + r.objSubRegSetList().count() + r.objPasRegSetList().count();
}

// Two federates with sets of every kind, matched both ways.
struct Busy {
  Busy() {
    DtRegion& mine = a.region({0, 10}, {0, 10});
    DtRegion& passive = a.region({0, 10}, {0, 10});
    a.subscribe(platform, attrs({position}), mine);
    a.subscribe(aircraft, attrs({altitude}), passive, nullptr, true);
    DtRtiObject& object = a.publishedObject(platform, attrs({0, position, speed}));
    a.associate(object, attrs({position, speed}), mine);
    DtRegion& theirs = b.region({5, 15}, {5, 15});
    b.subscribe(platform, attrs({position}), theirs);
    DtRtiObject& their = b.publishedObject(aircraft, attrs({0, position, altitude}));
    // With the privilege to delete: the owner is known from it.
    theirSet = b.associate(their, attrs({0, position, altitude}), theirs).regionSetHandle();
    settle();
  }
  void settle() { deliverAll(bus); }
  std::vector<const DtRegion*> regionsOfA() {
    std::vector<const DtRegion*> all = a.ddm->localRegions();
    all.push_back(&a.ddm->defaultRegion());
    for (const DtRegion* r : a.ddm->remoteRegionsOf(21)) all.push_back(r);
    return all;
  }
  Bus bus;
  DdmFederate a{3, &bus};
  DdmFederate b{21, &bus};
  std::uint32_t theirSet = 0;  // B's publication set
};

TEST(ObjectDdmTeardown, DestroyingTheRegionListsLeavesNoSetInARegionAClassOrAnObject) {
  Busy federation;
  DdmFederate& a = federation.a;
  ASSERT_GT(a.objects->remotePubRegionSets().count(), 0u);
  ASSERT_GT(a.objects->subMatchOverlaps().count(), 0u) << "the scenario matched";
  a.objects->destroyRegionLists();
  for (const DtRegion* r : federation.regionsOfA()) EXPECT_EQ(setsFiled(*r), 0u) << r->handle();
  for (const RTI::ObjectClassHandle c : {platform, aircraft}) {
    const DtObjectClassInfo& cls = a.cls(c);
    EXPECT_TRUE(cls.matchingPubs().empty() && cls.overlapPubs().empty() && cls.matchingSubs().empty() &&
                cls.overlapSubs().empty() && cls.getSubscribeByRegionList().empty())
        << c;
    for (const auto& attribute : cls.attrs()) {
      EXPECT_EQ(attribute->subRegionSet(), nullptr);
      EXPECT_EQ(attribute->pasRegionSet(), nullptr);
    }
  }
  for (DtListItem* item = a.objects->allObjects().head(); item; item = item->next()) {
    const auto* object = static_cast<const DtRtiObject*>(item->data());
    for (RTI::AttributeHandle h = 0; h < object->numAttributes(); ++h) EXPECT_EQ(object->regionSet(h), nullptr);
  }
  EXPECT_TRUE(a.objects->regionTables().empty());
  EXPECT_EQ(a.objects->pubRegionSets().count() + a.objects->subRegionSets().count() +
                a.objects->pasRegionSets().count() + a.objects->remotePubRegionSets().count() +
                a.objects->remoteSubRegionSets().count(),
            0u);
  // The default sets come back with the manager.
  a.objects->setDdmMgr(a.ddm.get());
  EXPECT_EQ(setsFiled(a.ddm->defaultRegion()), 3u);
  federation.settle();
}

TEST(ObjectDdmTeardown, DeletingTheManagerLeavesNoSetInAnyRegion) {
  Busy federation;
  const std::vector<const DtRegion*> regions = federation.regionsOfA();
  std::size_t before = 0;
  for (const DtRegion* r : regions) before += setsFiled(*r);
  ASSERT_GT(before, 4u);
  federation.a.objects.reset();
  for (const DtRegion* r : regions) EXPECT_EQ(setsFiled(*r), 0u) << r->handle();
}

TEST(ObjectDdmTeardown, AResignationDropsTheFederatesSubscriptionsAndItsOrphanedObjectsLeaveEveryTable) {
  Busy federation;
  DdmFederate& a = federation.a;
  const RTI::ObjectHandle theirs = 2100001;
  ASSERT_NE(a.objects->knownObj(theirs), nullptr) << "discovered through the overlapping sets";
  const auto* remoteSet = a.objects->getRemotePubRegionSet(federation.theirSet);
  ASSERT_NE(remoteSet, nullptr);
  ASSERT_TRUE(remoteSet->isMemberObject(theirs));
  ASSERT_FALSE(a.objects->regionTables().empty());

  DtResignMsg own("Fixture", 3, RTI::DELETE_OBJECTS, nullptr);
  own.setFederateHandle(3);
  a.objects->processResign(own);
  EXPECT_NE(a.objects->knownObj(theirs), nullptr) << "this federate's own resignation changes nothing";
  EXPECT_FALSE(a.objects->regionTables().empty());

  DtResignMsg gone("Fixture", 21, RTI::DELETE_OBJECTS, nullptr);
  gone.setFederateHandle(21);
  a.objects->processResign(gone);
  EXPECT_EQ(a.objects->knownObj(theirs), nullptr);
  EXPECT_FALSE(remoteSet->isMemberObject(theirs));
  EXPECT_TRUE(a.objects->regionTables().empty());
}

TEST(ObjectDdmTeardown, ARemoteSetDiscoversEachOfItsObjectsOnce) {
  Busy federation;
  DdmFederate& a = federation.a;
  const auto* remoteSet = a.objects->getRemotePubRegionSet(federation.theirSet);
  ASSERT_NE(remoteSet, nullptr);
  // Known as the subscribed class nearest to its own (Aircraft, passively).
  EXPECT_EQ(a.amb.take(), (std::vector<std::string>{"discover 2100001 6 2100001"}));
  remoteSet->discoverObjects(*a.objects);
  remoteSet->discoverObjects(*a.objects);
  EXPECT_EQ(a.amb.take(), std::vector<std::string>{});
}

}  // namespace
