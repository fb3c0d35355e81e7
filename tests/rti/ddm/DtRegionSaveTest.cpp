// A region's save record (type 12): its bytes, the round trip through a
// save file, and the records it refuses.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "RegionTestSupport.h"
#include "ddm/DtRegionPacket.h"
#include "objects/DtFomClassMgr.h"
#include "rti/config/ConfigTestFiles.h"
#include "rti/util/NotifyCapture.h"
#include "save/DtRtiSaveFile.h"
#include "save/DtSavePackets.h"

namespace {

using std::string;

string bytesOf(const DtSavePacketBuilder& record) { return string(record.bytes().data(), record.bytes().size()); }
DtSavePacket packetOf(const string& bytes) { return DtSavePacket(std::span<const char>(bytes.data(), bytes.size())); }

// The spaces as a FED file would give them: Geo (1) of X and Y, Radio (2)
// of Freq.
class RegionSave : public ::testing::Test {
protected:
  RegionSave() {
    fom.addSpace("Geo");
    fom.addDimension("Geo", "X");
    fom.addDimension("Geo", "Y");
    fom.addSpace("Radio");
    fom.addDimension("Radio", "Freq");
  }
  const DtSpaceInfo* geo() const { return fom.spaceByHandle(1); }

  // Region 7 of Geo, one extent, committed at X [1,2) Y [3,4); with
  // working extents its X lower bound is set to 5 afterwards.
  std::unique_ptr<DtRegion> sample(bool working) const {
    auto region = std::make_unique<DtRegion>(7, geo(), 1);
    if (working) {
      commitBounds(*region, {{{1, 2}, {3, 4}}});
      region->setRangeLowerBound(0, 0, 5);
    } else {
      const DtRegionExtent given[] = {extentOf({{1, 2}, {3, 4}})};
      region->setExtents(given, 1);
    }
    return region;
  }

  DtFomClassMgr fom;
};

const string theHead = string("\x00\x00\x00\x3C\x00\x00\x00\x0C", 8);
const string theCommittedBounds = string("\x00\x00\x00\x01\x00\x00\x00\x02\x00\x00\x00\x03\x00\x00\x00\x04", 16);

TEST_F(RegionSave, TheRecordIsFixedByteByByte) {
  // Length 60, type 12, committed, valid for service, 1 extent, 2
  // dimensions, working extents, owner tag, region 7, space 1.
  const string withWorking = theHead + string("\x01\x01\x00\x01\x00\x02\x01\x00", 8) + "\x0A\x0B\x0C\x0D" +
                             string("\x00\x00\x00\x07\x00\x00\x00\x01", 8) + theCommittedBounds +
                             string("\x00\x00\x00\x05\x00\x00\x00\x02\x00\x00\x00\x03\x00\x00\x00\x04", 16);
  EXPECT_EQ(bytesOf(sample(true)->saveRecord(0x0A0B0C0D)), withWorking);
  // Without: not committed, the working block left zero.
  const string without = theHead + string("\x00\x01\x00\x01\x00\x02\x00\x00", 8) + string(4, '\0') +
                         string("\x00\x00\x00\x07\x00\x00\x00\x01", 8) + theCommittedBounds + string(16, '\0');
  EXPECT_EQ(bytesOf(sample(false)->saveRecord(0)), without);
  // A region without extents is the fixed part alone.
  const DtRegion empty(3, geo(), 0);
  EXPECT_EQ(bytesOf(empty.saveRecord(0)).size(), DtRegionPacket::fixedLength);
}

TEST_F(RegionSave, RegionsComeBackThroughTheSaveFileAsTheyWere) {
  ScratchDirectory dir;
  const string path = dir.path() + "/fed.sav";
  const auto own = sample(true);
  const auto other = sample(false);
  const DtRegionExtent far[] = {extentOf({{100, 200}})};
  const DtRegion radio(500003, fom.spaceByHandle(2), far, 1);
  {
    DtRtiSaveFile file(path.c_str(), false);
    EXPECT_TRUE(own->save(file, 0));
    EXPECT_TRUE(other->save(file, 41));
    EXPECT_TRUE(radio.save(file, 42));
  }
  DtRtiSaveFile file(path.c_str(), true);
  for (const auto& [original, tag] :
       {std::pair<const DtRegion*, std::uint32_t>{own.get(), 0}, {other.get(), 41}, {&radio, 42}}) {
    DtRegion restored;
    std::uint32_t ownerTag = 99;
    ASSERT_TRUE(restored.restore(file, ownerTag, fom));
    EXPECT_EQ(ownerTag, tag);
    EXPECT_EQ(describe(restored), describe(*original));
    EXPECT_EQ(restored.space(), original->space());
  }
  NotifyCapture capture(1);
  DtRegion past;
  std::uint32_t ownerTag = 0;
  EXPECT_FALSE(past.restore(file, ownerTag, fom));  // no record left
  EXPECT_EQ(capture.text(), "DataDistMgr received an incorrect save packet, restore aborted\n");
}

TEST_F(RegionSave, ARestoredRegionCommitsItsWorkingBounds) {
  DtRegion restored;
  std::uint32_t tag = 0;
  ASSERT_TRUE(restored.restoreRecord(sample(true)->saveRecord(0).packet(), tag, fom));
  restored.commitModifications();
  EXPECT_EQ(restored.getRangeLowerBound(0, 0), 5u);
}

TEST_F(RegionSave, ARecordThatCannotBeTheRegionsIsRefusedAndChangesNothing) {
  const string good = bytesOf(sample(true)->saveRecord(0));
  const auto edited = [&](std::function<void(DtSavePacketBuilder&)> edit, std::uint32_t length = 60) {
    DtSavePacketBuilder record(DtRegionPacketType, length);
    record.setBytes(0, good.data(), std::min<std::uint32_t>(length, static_cast<std::uint32_t>(good.size())));
    record.setU32(DtSavePacket::lengthAt, length);
    edit(record);
    return bytesOf(record);
  };
  struct Case {
    const char* what;
    string bytes;
  };
  const Case cases[] = {
      {"another type", edited([](DtSavePacketBuilder& r) { r.setU32(DtSavePacket::typeAt, DtRegionSetPacketType); })},
      {"a space the model does not have", edited([](DtSavePacketBuilder& r) { r.setU32(DtRegionPacket::spaceAt, 9); })},
      {"a negative space", edited([](DtSavePacketBuilder& r) { r.setU32(DtRegionPacket::spaceAt, 0xFFFFFFFF); })},
      {"more extents than bounds", edited([](DtSavePacketBuilder& r) { r.setU16(DtRegionPacket::extentCountAt, 2); })},
      {"more dimensions than bounds",
       edited([](DtSavePacketBuilder& r) { r.setU16(DtRegionPacket::dimensionCountAt, 3); })},
      {"the largest counts", edited([](DtSavePacketBuilder& r) {
         r.setU16(DtRegionPacket::extentCountAt, 0xFFFF);
         r.setU16(DtRegionPacket::dimensionCountAt, 0xFFFF);
       })},
      {"cut short", edited([](DtSavePacketBuilder&) {}, 52)},
      {"longer than its counts", edited([](DtSavePacketBuilder&) {}, 64)},
      {"a length other than its size", edited([](DtSavePacketBuilder& r) { r.setU32(DtSavePacket::lengthAt, 0x3D); })},
      {"the header alone", edited([](DtSavePacketBuilder&) {}, 8)},
  };
  NotifyCapture capture(1);
  for (const Case& c : cases) {
    DtRegion region(3, geo(), 2);
    commitBounds(region, {{{8, 9}, {8, 9}}, {{6, 7}, {6, 7}}});
    const string before = describe(region);
    std::uint32_t tag = 5;
    capture.clear();
    EXPECT_FALSE(region.restoreRecord(packetOf(c.bytes), tag, fom)) << c.what;
    EXPECT_EQ(capture.text(), "DataDistMgr received an incorrect save packet, restore aborted\n") << c.what;
    EXPECT_EQ(describe(region), before) << c.what;
    EXPECT_EQ(tag, 5u) << c.what;
  }
}

TEST_F(RegionSave, MoreDimensionsThanTheSpaceHasAreReportedAndLeftOut) {
  // A record of Radio (one dimension) that carries two: the second is
  // reported and dropped.
  const DtRegionExtent two[] = {extentOf({{1, 2}, {3, 4}})};
  DtSpaceInfo wide("Radio", 2);
  wide.addDim("Freq");
  wide.addDim("Power");
  const DtRegion saved(9, &wide, two, 1);
  NotifyCapture capture(1);
  DtRegion restored;
  std::uint32_t tag = 0;
  ASSERT_TRUE(restored.restoreRecord(saved.saveRecord(0).packet(), tag, fom));
  EXPECT_EQ(describeExtents(restored.getExtents(), 1), "[1,2)3");
  EXPECT_EQ(capture.text(),
            "setLowerBound: Dimension not in this region\n"
            "setUpperBound: Dimension not in this region\n");
}

}  // namespace
