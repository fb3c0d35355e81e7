// The object data distribution manager in a federation save: every kind of
// region set written after the object manager's records and read back into
// another federate's managers (passive sets passive), and the damaged or
// foreign records its restore refuses before it makes a set.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "ObjectDdmSupport.h"
#include "SaveRecordFiles.h"
#include "ddm/DtObjRegionSetPacket.h"
#include "objects/DtAttrInfo.h"
#include "rti/config/ConfigTestFiles.h"
#include "rti/util/NotifyCapture.h"
#include "save/DtRtiSaveFile.h"

namespace {

using namespace objddm;
using ddmtest::Records;
using Lines = std::vector<std::string>;

constexpr const char* theRefusal = "DDMObjMgr received an incorrect save packet, restore aborted\n";

std::string handles(const DtRegionSetList& list) {
  std::string out;
  for (const std::uint32_t h : list.handles()) out += (out.empty() ? "" : ",") + std::to_string(h);
  return out.empty() ? "-" : out;
}

std::string bytesOf(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// What a federate's manager holds beyond the records it writes: each set's
// overlaps and match-overlaps, the regions' lists of sets, the attributes'
// subscription and passive sets, the objects' publication sets, the
// classes' subscriptions by set and the channels joined.
Lines derived(DdmFederate& f) {
  Lines lines;
  const DtObjectDataDistMgr& m = *f.objects;
  const auto sets = [&](const char* kind, const DtRegionSetList& table) {
    for (const DtRegionSetEntry& entry : table) {
      const auto* set = static_cast<const DtObjectRegionSet*>(entry.set);
      lines.push_back(std::string(kind) + " " + std::to_string(entry.handle) + " overlaps " +
                      handles(set->overlapList()) + " match-overlaps " + handles(set->matchOverlapList()));
    }
  };
  sets("pub", m.pubRegionSets());
  sets("sub", m.subRegionSets());
  sets("pas", m.pasRegionSets());
  sets("rpub", m.remotePubRegionSets());
  sets("rsub", m.remoteSubRegionSets());
  std::vector<const DtRegion*> regions = f.ddm->localRegions();
  regions.push_back(&f.ddm->defaultRegion());
  for (const std::uint32_t federate : f.ddm->remoteFederates()) {
    for (const DtRegion* r : f.ddm->remoteRegionsOf(federate)) regions.push_back(r);
  }
  for (const DtRegion* r : regions) {
    lines.push_back("region " + std::to_string(r->handle()) + " pub " + handles(r->objPubRegSetList()) + " sub " +
                    handles(r->objSubRegSetList()) + " pas " + handles(r->objPasRegSetList()));
  }
  for (const RTI::ObjectClassHandle c : {platform, aircraft}) {
    const DtObjectClassInfo& cls = f.cls(c);
    for (RTI::AttributeHandle a = 0; a < cls.numAttributes(); ++a) {
      const DtAttrInfo* info = cls.attrByHandle(a);
      const auto handle = [](const DtSubRegionSet* s) { return s ? std::to_string(s->regionSetHandle()) : "-"; };
      lines.push_back("class " + std::to_string(c) + " attr " + std::to_string(a) + " sub " +
                      handle(info->subRegionSet()) + " pas " + handle(info->pasRegionSet()));
    }
    for (const auto& [key, attributes] : cls.getSubscribeByRegionList()) {
      lines.push_back("class " + std::to_string(c) + " by set " + std::to_string(key) + " {" + text(attributes) + "}");
    }
  }
  for (DtListItem* item = m.allObjects().head(); item; item = item->next()) {
    const auto* object = static_cast<const DtRtiObject*>(item->data());
    for (RTI::AttributeHandle a = 0; a < 4; ++a) {
      if (object->regionSet(a)) {
        lines.push_back("object " + std::to_string(object->objHandle()) + " attr " + std::to_string(a) + " set " +
                        std::to_string(object->regionSetHandle(a)));
      }
    }
  }
  for (const DtDdmChannels::Filed& filed : f.ddm->channels().objectChannels()) {
    std::string line = "channel " + DottedAddress(filed.channel);
    for (const std::uint32_t set : filed.sets) line += " " + std::to_string(set);
    lines.push_back(line);
  }
  return lines;
}

// A (3) and B (21) on one bus. A publishes an object whose Position is
// associated with R1, subscribes Aircraft's Altitude with R1 and passively
// Platform's Speed with R2 and the default region; B does the same the
// other way, so that A holds B's publication and subscription sets.
class ObjectDdmSave : public ::testing::Test, public DdmPair {
protected:
  void SetUp() override {
    DtRegion& r1 = a.region({0, 10}, {0, 10});     // 300001
    DtRegion& r2 = a.region({20, 30}, {0, 10});    // 300002
    DtRegion& theirs = b.region({5, 25}, {0, 5});  // 2100001
    DtRtiObject& ours = a.publishedObject(platform, attrs({0, position, speed}));
    DtRtiObject& plane = b.publishedObject(aircraft, attrs({0, altitude}));
    settle();
    a.associate(ours, attrs({position}), r1);
    a.subscribe(aircraft, attrs({altitude}), r1);
    a.subscribe(platform, attrs({speed}), r2, nullptr, true);
    a.subscribe(aircraft, attrs({speed}), a.ddm->defaultRegion(), nullptr, true);
    b.associate(plane, attrs({altitude}), theirs);
    b.subscribe(platform, attrs({position}), theirs);
    settle();
  }
  // The class tree, the regions and the object manager, as the federate's
  // save stages write them.
  std::string saved(DdmFederate& f, const std::string& name) {
    const std::string path = dir.path() + "/" + name;
    DtRtiSaveFile file(path.c_str(), false);
    EXPECT_TRUE(f.fom->save(file) && f.ddm->save(file) && f.objects->save(file));
    return path;
  }
  static bool restore(DdmFederate& f, const std::string& path) {
    DtRtiSaveFile file(path.c_str(), true);
    return f.fom->restore(file) && f.ddm->restore(file) && f.objects->restore(file);
  }
  // The file with the object manager's region-set records replaced.
  std::string withSetRecords(const std::string& path, const Records& sets) {
    Records records;
    for (const std::string& r : ddmtest::readRecords(path)) {
      if (ddmtest::u32At(r, 4) != DtRegionSetPacketType) records.push_back(r);
    }
    records.insert(records.end(), sets.begin(), sets.end());
    const std::string out = path + ".edited";
    ddmtest::writeRecords(out, records);
    return out;
  }
  static Records setRecords(const std::string& path) {
    Records sets;
    for (const std::string& r : ddmtest::readRecords(path)) {
      if (ddmtest::u32At(r, 4) == DtRegionSetPacketType) sets.push_back(r);
    }
    return sets;
  }

  ScratchDirectory dir;
};

TEST_F(ObjectDdmSave, EveryKindOfSetComesBackAsItWasAndSavesTheSameBytesAgain) {
  const std::string first = saved(a, "first.sav");
  const Records sets = setRecords(first);
  // Local publication (default, R1), subscription (default, R1), passive
  // (default, R2), remote publication (default, B's), remote subscription
  // (default, B's), the end.
  Lines kinds;
  for (const std::string& r : sets) {
    kinds.push_back(std::to_string(ddmtest::u32At(r, 8)) + " " + std::to_string(ddmtest::u32At(r, 12)));
  }
  EXPECT_EQ(kinds, (Lines{"1 0", "1 300002", "3 0", "3 300003", "4 1", "4 300004", "2 0", "2 2100002", "5 0",
                          "5 2100003", "0 0"}));

  Bus quiet;
  DdmFederate again(3, &quiet);
  ASSERT_TRUE(restore(again, first));
  EXPECT_EQ(derived(again), derived(a));
  EXPECT_EQ(bytesOf(saved(again, "second.sav")), bytesOf(first));
  EXPECT_EQ(again.conn->takeSent(), Lines{});

  // The passive sets are passive: filed in their regions' passive lists and
  // as the attributes' passive sets, never among the subscription sets.
  DtSubRegionSet* passive = again.objects->getPasRegionSet(300004);
  ASSERT_NE(passive, nullptr);
  EXPECT_EQ(again.objects->getSubRegionSet(300004), nullptr);
  DtRegion* r2 = again.ddm->localRegion(300002);
  ASSERT_NE(r2, nullptr);
  EXPECT_TRUE(r2->objPasRegSetList().isMember(300004));
  EXPECT_FALSE(r2->objSubRegSetList().isMember(300004));
  EXPECT_EQ(again.cls(platform).attrByHandle(speed)->pasRegionSet(), passive);
  EXPECT_EQ(again.cls(platform).attrByHandle(speed)->subRegionSet(), nullptr);
  EXPECT_EQ(again.cls(aircraft).attrByHandle(speed)->pasRegionSet(), again.objects->defaultPasRegionSet());
  EXPECT_TRUE(again.ddm->defaultRegion().objPasRegSetList().isMember(1));
  EXPECT_FALSE(again.ddm->defaultRegion().objSubRegSetList().isMember(1));
  // A set made after the restore takes a handle of its own.
  EXPECT_EQ(again.objects->uniqueRegionSetHandle(), 300005U);
}

TEST_F(ObjectDdmSave, ADamagedOrForeignRecordFailsTheRestoreBeforeAnySetIsMade) {
  const std::string path = saved(a, "good.sav");
  const Records good = setRecords(path);
  const std::string subscription = good[3];  // kind 3, 300003, one class record
  ASSERT_EQ(ddmtest::u32At(subscription, 8), 3U);
  const auto crafted = [](DtRtiSaveRegionSetTypes kind, std::uint32_t handle,
                          std::vector<DtObjRegionSetRecord::Entry> associations,
                          std::vector<DtObjRegionSetRecord::Entry> unowned = {}) {
    DtObjRegionSetRecord record;
    record.kind = kind;
    record.setHandle = handle;
    record.associations = std::move(associations);
    record.unowned = std::move(unowned);
    const DtSavePacketBuilder packet = *DtObjRegionSetPacket::build(record);
    return std::string(packet.bytes().data(), packet.bytes().size());
  };
  const std::string end = good.back();
  const std::uint32_t ours = 300001;  // A's object, of Platform (attributes 0-2)
  struct Case {
    const char* what;
    Records sets;
  };
  const Case cases[] = {
      {"another record type", {ddmtest::withU32(subscription, 4, DtRegionPacketType), end}},
      {"a kind past the last", {ddmtest::withU32(subscription, 8, 6), end}},
      {"a region more than the record holds", {ddmtest::withU32(subscription, 24, 2), end}},
      {"a region less", {ddmtest::withU32(subscription, 24, 0), end}},
      {"an association more", {ddmtest::withU32(subscription, 28, 2), end}},
      {"an unowned record more", {ddmtest::withU32(subscription, 32, 1), end}},
      {"counts that wrap 32 bits to the length", {ddmtest::withU32(subscription, 24, 0x40000001), end}},
      {"a record shorter than its fixed part", {ddmtest::be32(8) + ddmtest::be32(DtRegionSetPacketType), end}},
      {"an unknown class", {crafted(DT_LOCAL_SUBSCRIBE, 300009, {{99, attrs({1})}}), end}},
      {"an attribute the class lacks", {crafted(DT_PASSIVE_SUBSCRIBE, 300009, {{platform, attrs({altitude})}}), end}},
      {"a remote subscription's unknown class", {crafted(DT_REMOTE_SUBSCRIBE, 2100009, {{99, attrs({1})}}), end}},
      {"an object's attribute its class lacks", {crafted(DT_LOCAL_PUBLISH, 300009, {{ours, attrs({altitude})}}), end}},
      {"an unowned attribute the class lacks",
       {crafted(DT_LOCAL_PUBLISH, 300009, {}, {{ours, attrs({altitude})}}), end}},
      {"no end record", {good[0], good[1]}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Bus quiet;
    DdmFederate again(3, &quiet);
    NotifyCapture notes(1);
    EXPECT_FALSE(restore(again, withSetRecords(path, c.sets)));
    EXPECT_NE(notes.text().find(theRefusal), std::string::npos) << notes.text();
    // Nothing of the file was taken: the default sets alone.
    EXPECT_EQ(handles(again.objects->pubRegionSets()) + " " + handles(again.objects->subRegionSets()) + " " +
                  handles(again.objects->pasRegionSets()) + " " + handles(again.objects->remotePubRegionSets()),
              "0 0 1 -");
  }
}

TEST_F(ObjectDdmSave, ADuplicateSetIsReportedAndPassedOver) {
  const std::string path = saved(a, "good.sav");
  Records sets = setRecords(path);
  const std::string end = sets.back();
  sets.pop_back();
  // The passive set again, and a subscription set under the passive set's
  // handle; objects the federate does not have are passed over.
  sets.push_back(sets[5]);
  sets.push_back(ddmtest::withU32(sets[3], 12, 300004));
  DtObjRegionSetRecord stranger;
  stranger.kind = DT_LOCAL_PUBLISH;
  stranger.setHandle = 300009;
  stranger.associations = {{777, attrs({7})}};
  const DtSavePacketBuilder packet = *DtObjRegionSetPacket::build(stranger);
  sets.emplace_back(packet.bytes().data(), packet.bytes().size());
  sets.push_back(end);

  Bus quiet;
  DdmFederate again(3, &quiet);
  NotifyCapture notes(1);
  ASSERT_TRUE(restore(again, withSetRecords(path, sets)));
  EXPECT_EQ(notes.text(),
            "Restore DT_PASSIVE_SUBSCRIBE discarding duplicate region set 300004\n"
            "Restore DT_LOCAL_SUBSCRIBE discarding duplicate region set 300004\n");
  EXPECT_EQ(handles(again.objects->subRegionSets()) + " " + handles(again.objects->pasRegionSets()),
            "0,300003 1,300004");
  ASSERT_NE(again.objects->getPubRegionSet(300009), nullptr);
  EXPECT_TRUE(again.objects->getPubRegionSet(300009)->objectAssociations().empty());
}

}  // namespace
