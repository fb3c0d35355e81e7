// The interaction data distribution manager in a federation save: its sets
// of every kind written and read back into another federate manager's
// managers, and the damaged records it refuses.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "DdmTestSupport.h"
#include "SaveRecordFiles.h"
#include "ddm/DtInterDdmRecords.h"
#include "ddm/DtInteractionRegionSet.h"
#include "msg/DtRegionSetMsgs.h"
#include "objects/DtInteractionClassInfo.h"
#include "rti/config/ConfigTestFiles.h"
#include "rti/util/NotifyCapture.h"
#include "save/DtRtiSaveFile.h"

namespace {

using namespace ddmtest;
using Lines = std::vector<std::string>;

std::string regionsText(const DtRegionSet& set) {
  std::string text = "[";
  for (const DtRegionEntry& entry : set.regionList()) {
    text += (text.size() > 1 ? " " : "") + std::to_string(entry.handle) + (entry.region ? "" : "?");
  }
  return text + "]";
}

class InterDdmSave : public DdmFixture {
protected:
  void SetUp() override {
    DdmFixture::SetUp();
    radioClass = static_cast<std::uint32_t>(fom->interactionHandle("Radio"));
    encodedClass = static_cast<std::uint32_t>(fom->interactionHandle("Radio.Encoded"));
  }
  DtRegion* radioRegion(std::uint32_t lo, std::uint32_t hi) {
    DtRegion* r = ddm->createRegion(radio, 1);
    setBounds(*r, 0, {{lo, hi}});
    ddm->notifyAboutRegionModification(*r);
    return r;
  }
  void remoteSet(DtInterRegSetType type, std::uint32_t set, std::vector<std::uint32_t> regions, std::uint32_t from,
                 std::uint32_t theClass) {
    DtInterRegSetMsg msg(type, set, theClass, 0xE0000101 + set % 16, regions);
    msg.setFederateHandle(from);
    interactions->processRegionSet(msg);
  }
  // Sets of every kind: an active set with two regions and the default
  // region, a passive set, a default passive set, other federates'
  // publication sets (one overlapping, one of a region not known) and
  // subscription sets.
  void fill() {
    DtRegion* a = radioRegion(0, 10);
    DtRegion* b = radioRegion(40, 50);
    DtRegion* c = radioRegion(100, 110);
    interactions->subscribeInteractionClassWithRegion(radioClass, *a, RTI::RTI_TRUE);
    interactions->subscribeInteractionClassWithRegion(radioClass, ddm->defaultRegion(), RTI::RTI_TRUE);
    interactions->subscribeInteractionClassWithRegion(radioClass, *b, RTI::RTI_TRUE);
    interactions->subscribeInteractionClassWithRegion(radioClass, *c, RTI::RTI_FALSE);
    interactions->subscribeInteractionClassWithRegion(encodedClass, ddm->defaultRegion(), RTI::RTI_FALSE);
    conn->processMsg(notifyFrom(other, 2100001, radio, 1, 1, {5, 15}));
    conn->processMsg(notifyFrom(third, 2200001, radio, 1, 1, {200, 300}));
    remoteSet(DtInterPubRegionSet, 2100002, {2100001}, other, radioClass);
    remoteSet(DtInterPubRegionSet, 2200002, {2200001}, third, radioClass);
    remoteSet(DtInterPubRegionSet, 2200003, {2200009}, third, encodedClass);
    remoteSet(DtInterSubRegionSet, 2100003, {2100001, 0}, other, radioClass);
    remoteSet(DtInterSubRegionSet, 2200004, {2200001}, third, encodedClass);
    conn->takeSent();
    conn->takeGroups();
  }
  // Everything the manager holds, as lines.
  Lines tables() const {
    Lines lines;
    for (const std::uint32_t k : {radioClass, encodedClass}) {
      const DtInteractionClassInfo* cls = fom->interactionByHandle(k);
      if (const DtInteractionRegionSet* s = interactions->localSubRegSet(k)) {
        lines.push_back("sub " + std::to_string(k) + " " + std::to_string(s->regionSetHandle()) + " " +
                        regionsText(*s) + (cls->subRegionSet() == s ? "" : " not the class's"));
      }
      if (const DtInteractionRegionSet* s = interactions->passiveRegSet(k)) {
        lines.push_back("pas " + std::to_string(k) + " " + std::to_string(s->regionSetHandle()) + " " +
                        regionsText(*s) + (cls->pasRegionSet() == s ? "" : " not the class's"));
      }
      for (const std::uint32_t set : {2100002u, 2200002u, 2200003u}) {
        if (const DtInteractionRegionSet* s = interactions->remotePubRegSet(k, set)) {
          lines.push_back("rpub " + std::to_string(k) + " " + std::to_string(set) + " of " +
                          std::to_string(s->federateHandle()) + " @" + DottedAddress(s->address()) + " " +
                          regionsText(*s) + (interactions->acceptInteractionChannel(k, set) ? " heard" : ""));
        }
      }
      for (const std::uint32_t federate : {other, third}) {
        if (const DtInteractionRegionSet* s = interactions->remoteSubRegSet(federate, k)) {
          lines.push_back(
              "rsub " + std::to_string(k) + " " + std::to_string(s->regionSetHandle()) + " of " +
              std::to_string(federate) + " " + regionsText(*s) +
              (cls->remoteFederateIsSubscribedWithRegion(federate, s->regionSetHandle()) ? " counted" : ""));
        }
      }
    }
    lines.push_back("counters " + std::to_string(interactions->pubHandlePool().counter()) + " " +
                    std::to_string(interactions->subHandlePool().counter()));
    return lines;
  }
  std::string save(bool withRegions = true) {
    const std::string path = dir.path() + "/fed.sav";
    DtRtiSaveFile file(path.c_str(), false);
    if (withRegions) {
      EXPECT_TRUE(ddm->save(file));
    }
    EXPECT_TRUE(interactions->save(file));
    return path;
  }

  std::uint32_t radioClass = 0, encodedClass = 0;
  ScratchDirectory dir;
};

TEST_F(InterDdmSave, EveryKindOfSetComesBackAsItWasWithItsRegionsPairingsAndCounters) {
  fill();
  const Lines before = tables();
  ASSERT_EQ(before.size(), 9u) << ::testing::PrintToString(before);
  const std::string path = save();

  // The managers of another federate manager of the same federate.
  make("");
  {
    NotifyCapture capture(3);
    DtRtiSaveFile file(path.c_str(), true);
    ASSERT_TRUE(ddm->restore(file));
    ASSERT_TRUE(interactions->restore(file));
    // Only the region never announced is missing; its set keeps its handle.
    const std::string text = capture.text();
    EXPECT_NE(text.find("Could not restore region 2200009 for region set 2200003\n"), std::string::npos);
    EXPECT_EQ(text.find("Could not restore"), text.rfind("Could not restore")) << text;
  }
  EXPECT_EQ(tables(), before);
  // The group of the overlapping publication set is joined again.
  EXPECT_EQ(conn->takeGroups(), (Lines{"join 224.0.1.3"}));
  EXPECT_EQ(conn->takeSent(), Lines{}) << "nothing is announced";
  // A region of the sets knows them again: its deletion is refused while
  // the active set holds it.
  DtRegion* a = ddm->localRegion(300001);
  EXPECT_EQ(outcomeOf([&] { ddm->deleteRegion(a); }), "throws RegionInUse");
  // The first send with a region after it takes the restored counter.
  interactions->publish(radioClass);
  RTI::ParameterHandleValuePairSet* params = RTI::ParameterSetFactory::create(0);
  interactions->send(radioClass, *params, nullptr, "", *a);
  delete params;
  EXPECT_NE(interactions->localPubRegSet(radioClass, 300002), nullptr);
}

TEST_F(InterDdmSave, AFederateWithoutSetsSavesAHeaderAndAnEndRecord) {
  const Records records = readRecords(save(false));
  const std::uint32_t classes = static_cast<std::uint32_t>(fom->numInteractions());
  ASSERT_EQ(records.size(), 3u);
  EXPECT_EQ(records[1],
            be32(20 + 8 * classes) + be32(3) + be32(classes) + be32(2) + be32(2) + std::string(8 * classes, '\0'));
  EXPECT_EQ(records[2], be32(32) + be32(13) + std::string(24, '\0'));
}

TEST_F(InterDdmSave, ADamagedRecordFailsTheRestoreWithItsMessageAndLeavesNoSets) {
  fill();
  const Records good = readRecords(save(false));
  const Lines counters{tables().back()};
  ASSERT_GE(good.size(), 5u);
  const std::size_t last = good.size() - 1;
  const std::uint32_t classes = static_cast<std::uint32_t>(fom->numInteractions());
  struct Case {
    const char* what;
    Records records;
  };
  const auto with = [&](std::size_t i, std::string record) {
    Records records = good;
    records[i] = std::move(record);
    return records;
  };
  Records noEnd = good;
  noEnd.pop_back();
  Records twice = good;
  twice.insert(twice.begin() + 3, good[2]);
  const Case cases[] = {
      {"a header of another type", with(1, withU32(good[1], 4, 4))},
      {"a header for another model", with(1, withU32(good[1], 8, classes + 1))},
      {"a header longer than its classes", with(1, withU32(good[1] + be32(0), 0, 24 + 8 * classes))},
      {"a set record of another type", with(2, withU32(good[2], 4, 12))},
      {"a set of kind 6", with(2, withU32(good[2], 8, 6))},
      {"regions counted past the record", with(2, withU32(good[2], 28, 1000))},
      {"a region count short of the record", with(2, withU32(good[2], 28, 0))},
      {"an unknown class", with(2, withU32(good[2], 20, 999))},
      {"an end record with regions", with(last, withU32(good[last] + be32(7), 0, 36))},
      {"no end record", noEnd},
      {"a set saved twice", twice},
  };
  for (const Case& c : cases) {
    writeRecords(dir.path() + "/bad.sav", c.records);
    NotifyCapture capture(3);
    DtRtiSaveFile file((dir.path() + "/bad.sav").c_str(), true);
    EXPECT_FALSE(interactions->restore(file)) << c.what;
    EXPECT_NE(capture.text().find("DDMIntMgr received an incorrect save packet, restore aborted\n"), std::string::npos)
        << c.what;
    EXPECT_EQ(tables(), counters) << c.what;
  }
}

}  // namespace
