// The object services with regions between federates on one bus:
// registration groups the published attributes by the regions named with
// them and announces each group (its new set first); association and
// unassociation move attributes between sets; subscription keeps a region in
// one set of an attribute; the name check is plain registration's; a
// deleted object leaves every table; an attribute acquired under data
// distribution is announced by its new owner and still reflected.
#include <gtest/gtest.h>

#include <functional>

#include "ObjectDdmSupport.h"

namespace {

using namespace objddm;

void settle(Bus& bus, std::initializer_list<DdmFederate*> members) {
  for (int round = 0; round < 20; ++round) {
    const int moved = bus.deliver();
    for (DdmFederate* member : members) {
      member->ddm->tick();
      member->objects->tick();
    }
    if (moved == 0 && bus.idle()) return;
  }
  ADD_FAILURE() << "the federation did not settle";
}

// The region-set and association messages among the lines.
std::vector<std::string> ddmLines(std::vector<std::string> lines) {
  std::erase_if(lines, [](const std::string& line) {
    return line.rfind("pubset", 0) != 0 && line.rfind("subset", 0) != 0 && line.rfind("assoc", 0) != 0 &&
           line.rfind("unassoc", 0) != 0 && line.rfind("subassoc", 0) != 0 && line.rfind("region", 0) != 0;
  });
  return lines;
}

// Which set carries each attribute of the object: "0:0 1:300002 ...".
std::string carriers(const DtRtiObject& object) {
  std::string out;
  for (RTI::AttributeHandle a = 0; a < object.numAttributes(); ++a) {
    const DtPubRegionSetView* set = object.regionSet(a);
    out += (out.empty() ? "" : " ") + std::to_string(a) + ":" + (set ? std::to_string(set->regionSetHandle()) : "-");
  }
  return out;
}

TEST(ObjectDdmServices, RegistrationGroupsThePublishedAttributesByTheirRegionsAndAnnouncesEachGroup) {
  struct Case {
    const char* name;
    std::vector<RTI::AttributeHandle> attributes;
    std::vector<int> regions;  // 1: R1, 2: R2
    std::string outcome;
    std::vector<std::string> sent;
    std::string carried;
  };
  const Case cases[] = {
      {"{a, a, b} with {R1, R2, R1}",
       {position, position, altitude},
       {1, 2, 1},
       "ok",
       {"assoc 0 obj 300001 class 6 {0,2}", "pubset 300002 @224.0.0.1 regions 300001",
        "assoc 300002 obj 300001 class 6 {3}", "pubset 300003 @224.0.0.2 regions 300001,300002",
        "assoc 300003 obj 300001 class 6 {1}"},
       "0:0 1:300003 2:0 3:300002"},
      {"count 0", {}, {}, "ok", {"assoc 0 obj 300001 class 6 {0,1,2,3}"}, "0:0 1:0 2:0 3:0"},
      {"one region for two attributes",
       {position, altitude},
       {2, 2},
       "ok",
       {"assoc 0 obj 300001 class 6 {0,2}", "pubset 300002 @224.0.0.1 regions 300002",
        "assoc 300002 obj 300001 class 6 {1,3}"},
       "0:0 1:300002 2:0 3:300002"},
      {"an attribute not published", {position, 4}, {1, 1}, "throws AttributeNotDefined", {}, ""},
      {"an attribute of the class not published", {position, 3}, {1, 1}, "throws AttributeNotPublished", {}, ""},
      {"a region of another space", {speed}, {1}, "throws InvalidRegionContext", {}, ""},
      {"the default region (space 0) for a Geo attribute", {position}, {0}, "throws InvalidRegionContext", {}, ""},
      {"no region", {position}, {-1}, "throws RegionNotKnown", {}, ""},
      {"another federate's region", {position}, {3}, "throws RegionNotKnown", {}, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Bus bus;
    DdmFederate a(3, &bus);
    DdmFederate b(21, &bus);
    // Aircraft: 0 privilege, 1 Position (Geo), 2 Speed (no space), 3
    // Altitude (Geo); the last one published only when the case uses it.
    const bool all = c.outcome != "throws AttributeNotPublished";
    a.objects->publish(aircraft, all ? attrs({0, position, speed, altitude}) : attrs({0, position, speed}));
    DtRegion& r1 = a.region({0, 10}, {0, 10});
    DtRegion& r2 = a.region({20, 30}, {0, 10});
    DtRegion& theirs = b.region({0, 10}, {0, 10});
    settle(bus, {&a, &b});
    a.conn->takeSent();
    std::vector<RTI::AttributeHandle> attributes = c.attributes;
    std::vector<RTI::Region*> regions;
    for (const int r : c.regions) {
      regions.push_back(r == 1   ? static_cast<RTI::Region*>(&r1)
                        : r == 2 ? &r2
                        : r == 0 ? &a.ddm->defaultRegion()
                        : r == 3 ? &theirs
                                 : nullptr);
    }
    const std::string result = outcome([&] {
      a.objects->registerObjectInstanceWithRegion(aircraft, attributes.data(), regions.data(),
                                                  static_cast<RTI::ULong>(attributes.size()));
      return std::string("ok");
    });
    EXPECT_EQ(result, c.outcome);
    EXPECT_EQ(ddmLines(a.conn->takeSent()), c.sent);
    const DtRtiObject* object = a.objects->ownedObj(static_cast<RTI::ObjectHandle>(300001));
    EXPECT_EQ(object ? carriers(*object) : "", c.carried);
    if (c.outcome != "ok") {
      EXPECT_EQ(a.objects->allObjects().count(), 0u) << "nothing is filed";
      EXPECT_EQ(a.objects->handleCounter(), 1u) << "no handle is used up";
    }
  }
}

TEST(ObjectDdmServices, TheNameCheckGivesTheSameAnswersForThePlainAndTheRegionForms) {
  struct Case {
    const char* name;
    const char* objectName;
    bool prefix;
    RTI::ObjectClassHandle cls;
    std::string outcome;  // the registered name, or the exception
  };
  const Case cases[] = {
      {"a free name", "Alpha", false, platform, "Alpha"},
      {"a null name is the empty name", nullptr, false, platform, ""},
      {"a name of this federate's object", "Taken", false, platform, "throws ObjectAlreadyRegistered"},
      {"a name of a discovered object", "Theirs", false, platform, "throws ObjectAlreadyRegistered"},
      {"an HLA prefix while the RTI prefixes names", "hlaThing", true, platform, "throws ObjectAlreadyRegistered"},
      {"an HLA prefix while it does not", "hlaThing", false, platform, "hlaThing"},
      {"a class the model lacks", "Alpha", false, 99, "throws ObjectClassNotDefined"},
      {"a class not published", "Alpha", false, aircraft, "throws ObjectClassNotPublished"},
  };
  const bool prefixBefore = DtObjectMgr::useHlaNamePrefix();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<std::string> answers;
    for (const bool withRegion : {false, true}) {
      Bus bus;
      DdmFederate a(3, &bus);
      DdmFederate b(21, &bus);
      a.objects->subscribe(platform, attrs({position}), RTI::RTI_TRUE);
      a.objects->publish(platform, attrs({0, position}));
      b.objects->publish(platform, attrs({0, position}));
      a.objects->registerObj(platform, "Taken");
      b.objects->registerObj(platform, "Theirs");
      settle(bus, {&a, &b});
      ASSERT_NE(a.objects->knownObj("Theirs"), nullptr);
      DtObjectMgr::setHlaNamePrefix(c.prefix);
      answers.push_back(outcome([&] {
        const RTI::ObjectHandle handle =
            withRegion ? a.objects->registerObjectInstanceWithRegion(c.cls, c.objectName, nullptr, nullptr, 0)
                       : a.objects->registerObj(c.cls, c.objectName);
        return std::string(a.objects->objectName(handle));
      }));
      DtObjectMgr::setHlaNamePrefix(prefixBefore);
    }
    EXPECT_EQ(answers, std::vector<std::string>(2, c.outcome));
  }
}

TEST(ObjectDdmServices, AssociatingMovesAttributesBetweenSetsAndTheOtherFederateFollows) {
  Bus bus;
  DdmFederate a(3, &bus);
  DdmFederate b(21, &bus);
  a.objects->publish(aircraft, attrs({0, position, speed, altitude}));
  DtRegion& r1 = a.region({0, 10}, {0, 10});
  DtRegion& mine = b.region({0, 10}, {0, 10});
  b.objects->subscribeObjectClassAttributesWithRegion(aircraft, mine, attrs({position, altitude}), RTI::RTI_TRUE);
  const RTI::ObjectHandle handle = a.objects->registerObj(aircraft);
  DtRtiObject& object = *a.objects->ownedObj(handle);
  settle(bus, {&a, &b});
  a.conn->takeSent();
  const auto bHolds = [&](std::uint32_t set) {
    const DtRemoteRegionSet* remote =
        set == 0 ? b.objects->defaultRemotePubRegionSet() : b.objects->getRemotePubRegionSet(set);
    const DtAttributeHandleSet* held = remote ? remote->objectAttributes(handle) : nullptr;
    return held ? text(*held) : "-";
  };

  struct Step {
    const char* what;
    std::function<void()> run;
    std::vector<std::string> sent;
    std::string carried;
    std::string bHoldsSet;  // what B's copy of the region's set holds of the object
  };
  const Step steps[] = {
      {"associate {a, b}",
       [&] {
         a.objects->associateRegionForUpdates(r1, handle, attrs({position, altitude}), 0);
       },
       {"pubset 300002 @224.0.0.1 regions 300001", "assoc 300002 obj 300001 class 6 {1,3}"},
       "0:0 1:300002 2:0 3:300002",
       "1,3"},
      {"then {a}: b goes back to the default set",
       [&] { a.objects->associateRegionForUpdates(r1, handle, attrs({position}), 0); },
       {"assoc 0 obj 300001 class 6 {3}"},
       "0:0 1:300002 2:0 3:0",
       "1"},
      {"again {a}: nothing changes",
       [&] { a.objects->associateRegionForUpdates(r1, handle, attrs({position}), 0); },
       {},
       "0:0 1:300002 2:0 3:0",
       "1"},
      {"unassociate: every attribute leaves the region",
       [&] { a.objects->unassociateRegionForUpdates(r1, handle); },
       {"assoc 0 obj 300001 class 6 {1}"},
       "0:0 1:0 2:0 3:0",
       "-"},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.what);
    step.run();
    EXPECT_EQ(ddmLines(a.conn->takeSent()), step.sent);
    EXPECT_EQ(carriers(object), step.carried);
    settle(bus, {&a, &b});
    EXPECT_EQ(bHolds(300002), step.bHoldsSet);
  }
  EXPECT_EQ(bHolds(0), "-") << "the default set keeps no object records";
  EXPECT_NE(b.objects->knownObj(handle), nullptr);

  // The errors, each before any change.
  DtRegion& theirs = b.region({0, 10}, {0, 10});
  EXPECT_EQ(outcomeOf([&] { a.objects->unassociateRegionForUpdates(r1, handle); }), "throws InvalidRegionContext");
  EXPECT_EQ(outcomeOf([&] { a.objects->unassociateRegionForUpdates(r1, 999); }), "throws ObjectNotKnown");
  EXPECT_EQ(outcomeOf([&] { a.objects->associateRegionForUpdates(r1, 999, attrs({position}), 0); }),
            "throws ObjectNotKnown");
  EXPECT_EQ(outcomeOf([&] { a.objects->associateRegionForUpdates(theirs, handle, attrs({position}), 0); }),
            "throws RegionNotKnown");
  EXPECT_EQ(outcomeOf([&] { a.objects->associateRegionForUpdates(r1, handle, attrs({speed}), 0); }),
            "throws InvalidRegionContext");
  EXPECT_EQ(outcomeOf([&] { a.objects->associateRegionForUpdates(r1, handle, attrs({7}), 0); }),
            "throws AttributeNotDefined");
  EXPECT_EQ(ddmLines(a.conn->takeSent()), std::vector<std::string>{});
  // A region of space 0 fits every attribute; the default region, too,
  // ends up carrying exactly the attributes given: the others leave every
  // set.
  EXPECT_EQ(outcomeOf([&] { a.objects->associateRegionForUpdates(a.ddm->defaultRegion(), handle, attrs({speed}), 0); }),
            "ok");
  EXPECT_EQ(ddmLines(a.conn->takeSent()), std::vector<std::string>{"unassoc 0 obj 300001 class 6 {0,1,3}"});
  EXPECT_EQ(carriers(object), "0:- 1:- 2:0 3:-");
}

TEST(ObjectDdmServices, ARegionIsInOneSetOfAnAttributeAndEndsUpSubscribingExactlyTheGivenAttributes) {
  DdmFederate a(3, nullptr);
  DtRegion& r = a.region({0, 10}, {0, 10});
  DtObjectClassInfo& cls = a.cls(aircraft);
  // "A/P" per attribute 1 and 3: the regions of its active / passive set.
  const auto sets = [&] {
    std::string out;
    for (const RTI::AttributeHandle h : {position, altitude}) {
      const DtAttrInfo* info = cls.attrByHandle(h);
      out += (out.empty() ? "" : " ") + std::to_string(h) + ":" +
             (info->subRegionSet() ? regionsText(*info->subRegionSet()) : "-") + "/" +
             (info->pasRegionSet() ? regionsText(*info->pasRegionSet()) : "-");
    }
    return out;
  };
  struct Step {
    const char* what;
    std::function<void()> run;
    std::string outcome;
    std::string sets;
  };
  const Step steps[] = {
      {"passive {a}",
       [&] { a.objects->subscribeObjectClassAttributesWithRegion(aircraft, r, attrs({position}), RTI::RTI_FALSE); },
       "ok", "1:-/300001 3:-/-"},
      {"active {a}: out of the passive set",
       [&] { a.objects->subscribeObjectClassAttributesWithRegion(aircraft, r, attrs({position}), RTI::RTI_TRUE); },
       "ok", "1:300001/- 3:-/-"},
      {"active {a, b}",
       [&] {
         a.objects->subscribeObjectClassAttributesWithRegion(aircraft, r, attrs({position, altitude}), RTI::RTI_TRUE);
       },
       "ok", "1:300001/- 3:300001/-"},
      {"active {b}: a loses the region",
       [&] { a.objects->subscribeObjectClassAttributesWithRegion(aircraft, r, attrs({altitude}), RTI::RTI_TRUE); },
       "ok", "1:-/- 3:300001/-"},
      {"the default region fits a Geo attribute",
       [&] {
         a.objects->subscribeObjectClassAttributesWithRegion(aircraft, a.ddm->defaultRegion(), attrs({altitude}),
                                                             RTI::RTI_TRUE);
       },
       "ok", "1:-/- 3:300001,0/-"},
      {"a Geo region for an attribute of no space",
       [&] { a.objects->subscribeObjectClassAttributesWithRegion(aircraft, r, attrs({speed}), RTI::RTI_TRUE); },
       "throws InvalidRegionContext", "1:-/- 3:300001,0/-"},
      {"an attribute the class lacks",
       [&] { a.objects->subscribeObjectClassAttributesWithRegion(aircraft, r, attrs({9}), RTI::RTI_TRUE); },
       "throws AttributeNotDefined", "1:-/- 3:300001,0/-"},
      {"a class the model lacks",
       [&] { a.objects->subscribeObjectClassAttributesWithRegion(99, r, attrs({position}), RTI::RTI_TRUE); },
       "throws ObjectClassNotDefined", "1:-/- 3:300001,0/-"},
      {"unsubscribe the region", [&] { a.objects->unsubscribeObjectClassWithRegion(aircraft, r); }, "ok",
       "1:-/- 3:0/-"},
      {"unsubscribe it again", [&] { a.objects->unsubscribeObjectClassWithRegion(aircraft, r); },
       "throws ObjectClassNotSubscribed", "1:-/- 3:0/-"},
      {"unsubscribe a class the model lacks", [&] { a.objects->unsubscribeObjectClassWithRegion(99, r); },
       "throws ObjectClassNotDefined", "1:-/- 3:0/-"},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.what);
    EXPECT_EQ(outcomeOf(step.run), step.outcome);
    EXPECT_EQ(sets(), step.sets);
  }
}

// No set, table or region of the manager names the object.
std::string recordsOf(DdmFederate& f, std::uint32_t object) {
  std::string out;
  const auto note = [&](const std::string& where) { out += (out.empty() ? "" : " ") + where; };
  const DtObjectDataDistMgr& m = *f.objects;
  for (const DtRegionSetList* list : {&m.pubRegionSets(), &m.remotePubRegionSets()}) {
    for (const DtRegionSetEntry& entry : *list) {
      const auto* set = static_cast<const DtObjectRegionSet*>(entry.set);
      if (set->objectAttributes(object) || set->objectUnownedAttributes(object)) {
        note("set " + std::to_string(entry.handle));
      }
    }
  }
  if (m.defaultRemotePubRegionSet()->objectAttributes(object)) note("default remote set");
  if (m.regionTables().hasAttrPubRegionSets(object)) note("attribute table");
  if (!m.regionTables().defaultPubAttrs(object).isEmpty()) note("default table");
  for (const RTI::ObjectClassHandle c : {platform, aircraft}) {
    for (const DtRtiObject* o : m.regionTables().objectDefaultByClass(c)) {
      if (o->objHandle() == object) note("by class");
    }
  }
  for (const DtRegion* region : f.ddm->localRegions()) {
    if (region->isMemberObjPub(object)) note("region " + std::to_string(region->handle()));
  }
  if (f.objects->allObj(static_cast<RTI::ObjectHandle>(object))) note("record");
  return out.empty() ? "none" : out;
}

TEST(ObjectDdmServices, ADeletedOrLocallyDeletedObjectLeavesEveryTable) {
  for (const bool local : {false, true}) {
    SCOPED_TRACE(local ? "local deletion" : "deletion");
    Bus bus;
    DdmFederate a(3, &bus);
    DdmFederate b(21, &bus);
    b.objects->enableAttributeScopeSwitch();
    DtRegion& r1 = a.region({0, 10}, {0, 10});
    DtRegion& mine = b.region({5, 15}, {5, 15});
    b.objects->subscribeObjectClassAttributesWithRegion(aircraft, mine, attrs({position, altitude}), RTI::RTI_TRUE);
    b.objects->subscribe(aircraft, attrs({speed}), RTI::RTI_TRUE);
    a.objects->publish(aircraft, attrs({0, position, speed, altitude}));
    RTI::AttributeHandle attributes[] = {position, altitude};
    RTI::Region* regions[] = {&r1, &r1};
    const RTI::ObjectHandle handle = a.objects->registerObjectInstanceWithRegion(aircraft, attributes, regions, 2);
    settle(bus, {&a, &b});
    ASSERT_NE(b.objects->knownObj(handle), nullptr);
    ASSERT_NE(recordsOf(b, handle), "none");

    if (local) {
      b.objects->localDeleteObj(handle);
      EXPECT_EQ(recordsOf(b, handle), "none");
      // The owner announces it again and it is discovered again.
      settle(bus, {&a, &b});
      EXPECT_NE(b.objects->knownObj(handle), nullptr);
      b.objects->localDeleteObj(handle);
    } else {
      a.objects->deleteObj(handle, nullptr, "gone");
      settle(bus, {&a, &b});
    }
    EXPECT_EQ(recordsOf(b, handle), "none");
    if (!local) {
      EXPECT_EQ(recordsOf(a, handle), "none");
    }
    // The sets and regions go on without the record (ASan watches).
    b.move(mine, {50, 60}, {50, 60});
    a.move(r1, {50, 60}, {50, 60});
    b.objects->subRegionChanged(mine);
    settle(bus, {&a, &b});
    b.objects->unsubscribeObjectClassWithRegion(aircraft, mine);
    settle(bus, {&a, &b});
  }
}

// The reflections a federate gets, with the lower X bound of the region the
// values carry: "reflect 2100001 1=v1 [2".
std::vector<std::string> reflections(DdmFederate& f) {
  std::vector<std::string> out;
  for (const std::string& line : f.amb.take()) {
    if (line.rfind("reflect", 0) == 0) out.push_back(line);
  }
  return out;
}

TEST(ObjectDdmServices, AnAttributeAcquiredUnderRegionsIsAnnouncedByItsNewOwnerAndStillReflected) {
  Bus bus;
  DdmFederate a(3, &bus);   // acquires
  DdmFederate b(21, &bus);  // registers and divests
  DdmFederate c(40, &bus);  // subscribes with a region
  const auto all = [&] { settle(bus, {&a, &b, &c}); };
  std::vector<std::string> regionsSeen;
  c.amb.onReflect = [&](RTI::ObjectHandle, const RTI::AttributeHandleValuePairSet& v) {
    const auto* region = dynamic_cast<const DtRegion*>(v.getRegion(0));
    regionsSeen.push_back(!region                             ? "-"
                          : region->getNumberOfExtents() == 0 ? "no extents"
                                                              : std::to_string(region->getRangeLowerBound(0, 0)));
  };
  DtRegion& mine = c.region({0, 10}, {0, 10});
  c.objects->subscribeObjectClassAttributesWithRegion(aircraft, mine, attrs({position}), RTI::RTI_TRUE);
  // A plain subscription, as the ambassador makes it under data
  // distribution: with the default region too.
  a.objects->subscribe(aircraft, attrs({position}), RTI::RTI_TRUE);
  a.objects->subscribeObjectClassAttributesWithRegion(aircraft, a.ddm->defaultRegion(), attrs({position}),
                                                      RTI::RTI_TRUE);
  a.objects->publish(aircraft, attrs({0, position}));
  b.objects->publish(aircraft, attrs({0, position}));
  DtRegion& theirs = b.region({2, 8}, {2, 8});
  RTI::AttributeHandle attributes[] = {position};
  RTI::Region* regions[] = {&theirs};
  const RTI::ObjectHandle handle = b.objects->registerObjectInstanceWithRegion(aircraft, attributes, regions, 1);
  all();
  ASSERT_NE(a.objects->knownObj(handle), nullptr);
  ASSERT_NE(c.objects->knownObj(handle), nullptr);

  ASSERT_EQ(outcomeOf([&] { b.objects->sendUpdate(handle, *values({{position, "v1"}}), nullptr, "t"); }), "ok");
  all();
  EXPECT_EQ(reflections(c), std::vector<std::string>{"reflect 2100001 1=v1 t"});
  EXPECT_EQ(regionsSeen, std::vector<std::string>{"2"}) << "the publisher's region";

  ASSERT_EQ(outcomeOf([&] { b.objects->divestOwnership(handle, attrs({position}), false, nullptr); }), "ok");
  all();
  a.conn->takeSent();
  ASSERT_EQ(outcomeOf([&] { a.objects->acquireAttrs(handle, attrs({position}), true, nullptr); }), "ok");
  all();
  EXPECT_TRUE(a.objects->knownObj(handle)->owned(position));
  EXPECT_EQ(ddmLines(a.conn->takeSent()), std::vector<std::string>{"assoc 0 obj 2100001 class 6 {1}"});
  ASSERT_EQ(outcomeOf([&] { a.objects->sendUpdate(handle, *values({{position, "v2"}}), nullptr, "t"); }), "ok");
  all();
  EXPECT_EQ(reflections(c), std::vector<std::string>{"reflect 2100001 1=v2 t"}) << "from the new owner";
  EXPECT_EQ(regionsSeen, (std::vector<std::string>{"2", "no extents"})) << "the default region's";
  EXPECT_EQ(reflections(b), std::vector<std::string>{}) << "the old owner does not subscribe";
}

TEST(ObjectDdmServices, AnAttributeThatJoinsASetAlreadyMatchedIsReflectedThroughIt) {
  Bus bus;
  DdmFederate a(3, &bus);
  DdmFederate b(21, &bus);
  DtRegion& mine = b.region({0, 10}, {0, 10});
  b.objects->subscribeObjectClassAttributesWithRegion(aircraft, mine, attrs({position, altitude}), RTI::RTI_TRUE);
  a.objects->publish(aircraft, attrs({0, position, altitude}));
  DtRegion& r1 = a.region({5, 15}, {5, 15});
  RTI::AttributeHandle attributes[] = {position};
  RTI::Region* regions[] = {&r1};
  const RTI::ObjectHandle handle = a.objects->registerObjectInstanceWithRegion(aircraft, attributes, regions, 1);
  settle(bus, {&a, &b});
  // Altitude joins the set B matched already, with Position.
  a.objects->associateRegionForUpdates(r1, handle, attrs({position, altitude}), 0);
  settle(bus, {&a, &b});
  b.amb.take();
  a.objects->sendUpdate(handle, *values({{position, "p"}, {altitude, "h"}}), nullptr, "t");
  settle(bus, {&a, &b});
  EXPECT_EQ(reflections(b), std::vector<std::string>{"reflect 300001 1=p,3=h t"});
  EXPECT_EQ(pubTables(b.cls(aircraft), 300002), "matching - overlap 1,3");
}

}  // namespace
