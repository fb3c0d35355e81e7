// The object data distribution manager's association queues between two
// federates on one bus: what each queue sends, in the order unassociate,
// remove, add whatever the order of queueing, and what the other federate's
// manager holds of it afterwards.
#include <gtest/gtest.h>

#include <functional>

#include "ObjectDdmSupport.h"

namespace {

using namespace objddm;

// The other federates' sets a manager holds: "pub 300002 obj 300001 {1}",
// "sub 300004 class 5 {1}", "-" for a set with nothing associated.
std::string held(const DtObjectDataDistMgr& m) {
  std::string out;
  const auto add = [&](const std::string& line) { out += (out.empty() ? "" : " | ") + line; };
  for (const DtRegionSetEntry& entry : m.remotePubRegionSets()) {
    const auto* set = static_cast<const DtRemoteRegionSet*>(entry.set);
    std::string line = "pub " + std::to_string(entry.handle);
    for (const auto& object : set->objectAssociations()) {
      line += " obj " + std::to_string(object.handle) + " {" + text(object.record.attributes()) + "}";
    }
    add(set->objectAssociations().empty() ? line + " -" : line);
  }
  for (const DtRegionSetEntry& entry : m.remoteSubRegionSets()) {
    const auto* set = static_cast<const DtRemoteRegionSet*>(entry.set);
    std::string line = "sub " + std::to_string(entry.handle);
    for (const auto& cls : set->attributeAssociations()) {
      line += " class " + std::to_string(cls.handle) + " {" + text(cls.assoc.attributes()) + "}";
    }
    add(set->attributeAssociations().empty() ? line + " -" : line);
  }
  return out.empty() ? "-" : out;
}

TEST(ObjectDdmPending, EachQueueSendsItsMessagesUnassociateRemoveAddAndTheOtherFederateHoldsTheResult) {
  Bus bus;
  DdmFederate a(3, &bus);
  DdmFederate b(21, &bus);
  const auto settle = [&] { deliverAll(bus); };
  DtRegion& r1 = a.region({0, 10}, {0, 10});                                   // 300001
  DtRegion& r2 = a.region({20, 30}, {0, 10});                                  // 300002
  DtRtiObject& o1 = a.publishedObject(platform, attrs({0, position, speed}));  // 300001
  DtRtiObject& o2 = a.publishedObject(platform, attrs({0, position, speed}));  // 300002
  DtRtiObject& theirs = b.publishedObject(aircraft, attrs({0, altitude}));     // 2100001
  DtRegion& theirRegion = b.region({0, 5}, {0, 5});
  settle();
  a.conn->takeSent();
  b.conn->takeSent();
  DtPubRegionSet* p1 = nullptr;
  DtPubRegionSet* p2 = nullptr;
  DtSubRegionSet* s1 = nullptr;
  DtSubRegionSet* s2 = nullptr;
  DtObjectClassInfo& plat = a.cls(platform);

  struct Step {
    const char* what;
    std::function<void()> run;
    std::vector<std::string> sent;  // by A
    std::string bHolds;
  };
  const Step steps[] = {
      {"o1 {Position} with R1",
       [&] { p1 = &a.associate(o1, attrs({position}), r1); },
       {"pubset 300002 @224.0.0.1 regions 300001", "assoc 300002 obj 300001 class 5 {1}"},
       "pub 300002 obj 300001 {1}"},
      {"o2 {Speed} with R1 (the set is there)",
       [&] { a.associate(o2, attrs({speed}), r1); },
       {"assoc 300002 obj 300002 class 5 {2}"},
       "pub 300002 obj 300001 {1} obj 300002 {2}"},
      {"o1 {Position} to R2 and o2 {Speed} released, queued add first",
       [&] {
         p2 = a.objects->addPubRegion(r2, nullptr);
         p1->removeAttributes(o1.objHandle(), &plat, attrs({position}));
         p1->removeAttributes(o2.objHandle(), &plat, attrs({speed}));
         p2->addAttributes(o1.objHandle(), o1.objName(), &plat, attrs({position}));
         a.objects->addPendingAssocPubRegAdd(*p2, o1, position);
         a.objects->addPendingAssocPubRegRemove(*p1, o1, position);
         a.objects->addPendingUnassocPubReg(*p1, o2, speed);
         a.objects->processPendingAssocPubReg();
       },
       {"pubset 300003 @224.0.0.2 regions 300002", "unassoc 300002 obj 300002 class 5 {2}",
        "assoc 300003 obj 300001 class 5 {1}"},
       "pub 300002 - | pub 300003 obj 300001 {1}"},
      {"Platform {Position} subscribed with R1",
       [&] { s1 = &a.subscribe(platform, attrs({position}), r1); },
       {"subset 300004 regions 300001", "subassoc 300004 class 5 {1}"},
       "pub 300002 - | pub 300003 obj 300001 {1} | sub 300004 class 5 {1}"},
      {"the subscription moved to R2, queued add first",
       [&] {
         s2 = a.objects->addSubRegion(r2, nullptr);
         s1->removeAttributes(platform, attrs({position}));
         s2->addAttributes(&plat, attrs({position}));
         a.objects->addPendingAssocSubRegAdd(*s2, plat, position);
         a.objects->addPendingAssocSubRegRemove(*s1, plat, position);
         a.objects->processPendingSubRegAssoc();
       },
       {"subset 300005 regions 300002", "subassoc 300005 class 5 {1}"},
       "pub 300002 - | pub 300003 obj 300001 {1} | sub 300004 - | sub 300005 class 5 {1}"},
      {"unsubscribed: back to the default set",
       [&] { a.unsubscribe(*s2, platform, attrs({position})); },
       {"subassoc 0 class 5 {1}"},
       "pub 300002 - | pub 300003 obj 300001 {1} | sub 300004 - | sub 300005 -"},
      {"Platform {Speed} passive with R1: announced as a plain passive subscription",
       [&] { a.subscribe(platform, attrs({speed}), r1, nullptr, true); },
       {"sub 5 passive 1 replace 0 {2}"},
       "pub 300002 - | pub 300003 obj 300001 {1} | sub 300004 - | sub 300005 -"},
      {"passive with the default region: the default passive set, nothing sent",
       [&] { a.subscribe(platform, attrs({speed}), a.ddm->defaultRegion(), nullptr, true); },
       {},
       "pub 300002 - | pub 300003 obj 300001 {1} | sub 300004 - | sub 300005 -"},
      {"B associates its object: A holds it",
       [&] { b.associate(theirs, attrs({altitude}), theirRegion); },
       {},
       "pub 300002 - | pub 300003 obj 300001 {1} | sub 300004 - | sub 300005 -"},
  };
  for (const Step& step : steps) {
    step.run();
    EXPECT_EQ(a.conn->takeSent(), step.sent) << step.what;
    settle();
    EXPECT_EQ(held(*b.objects), step.bHolds) << step.what;
  }
  EXPECT_EQ(held(*a.objects), "pub 2100002 obj 2100001 {3}");
  EXPECT_EQ(b.conn->takeSent(), (std::vector<std::string>{"pubset 2100002 @224.0.0.1 regions 2100001",
                                                          "assoc 2100002 obj 2100001 class 6 {3}"}));
}

TEST(ObjectDdmPending, CollectedAnnouncementsGoAtTheNextTickEachOnceAndTheDefaultSetNever) {
  DdmFederate a(3, nullptr);
  DtRegion& r1 = a.region({0, 10}, {0, 10});
  DtRtiObject& o1 = a.publishedObject(platform, attrs({0, position, speed}));
  DtPubRegionSet* p1 = a.objects->addPubRegion(r1, nullptr);
  a.conn->takeSent();
  a.objects->tick();
  EXPECT_EQ(a.conn->takeSent(), std::vector<std::string>{}) << "nothing collected";

  a.objects->collectPendingPubRegSet(p1);
  a.objects->collectPendingPubRegSet(p1);
  a.objects->collectPendingPubRegSet(a.objects->defaultPubRegionSet());
  a.objects->collectPendingAssocPubReg(*p1, o1, attrs({position}));
  a.objects->collectPendingAssocPubReg(*p1, o1, attrs({position, speed}));
  a.objects->collectPendingAssocPubReg(*a.objects->defaultPubRegionSet(), o1, attrs({0}));
  a.objects->collectPendingSubRegSet(a.objects->defaultSubRegionSet());
  a.objects->collectPendingAssocSubReg(*a.objects->defaultSubRegionSet(), a.cls(platform), attrs({speed}));
  EXPECT_EQ(a.conn->takeSent(), std::vector<std::string>{}) << "until the tick";
  a.objects->tick();
  EXPECT_EQ(a.conn->takeSent(), (std::vector<std::string>{"pubset 300002 @224.0.0.1 regions 300001",
                                                          "assoc 300002 obj 300001 class 5 {1,2}",
                                                          "assoc 0 obj 300001 class 5 {0}", "subassoc 0 class 5 {2}"}));
  a.objects->tick();
  EXPECT_EQ(a.conn->takeSent(), std::vector<std::string>{});
}

}  // namespace
