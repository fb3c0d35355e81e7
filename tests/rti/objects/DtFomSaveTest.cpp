// The class records of a federation save: written through the save file in
// the record layouts, read back into a manager of the same model, and
// refused with their messages when the file holds something else.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "FomTestSupport.h"
#include "msg/DtNetNumber.h"
#include "objects/DtInteractionClassInfo.h"
#include "objects/DtObjectClassInfo.h"
#include "rti/util/BigEndianBytes.h"
#include "rti/util/NotifyCapture.h"
#include "save/DtRtiSaveFile.h"

namespace {

DtAttributeHandleSet attrs(std::initializer_list<RTI::AttributeHandle> handles) {
  DtAttributeHandleSet set;
  for (RTI::AttributeHandle h : handles) set.add(h);
  return set;
}

std::uint32_t u32At(const std::string& bytes, std::size_t at) { return DtNetU32::read(bytes.data() + at); }

// The fixture's model with some of everything a save keeps.
std::unique_ptr<DtFomClassMgr> busyModel(RecordingObjectSink& objects, RecordingInteractionSink& interactions) {
  auto fom = fomFromText(fixtureFed);
  DtObjectClassInfo* federate = fom->classByName("Manager.Federate");  // 4: three attributes
  federate->publish(attrs({1, 2}), &objects);
  federate->subscribe(attrs({0, 2}), false);
  federate->remoteSubscribe(attrs({1}), 21, &objects);
  federate->remoteSubscribe(attrs({1, 2}), 22, &objects);
  federate->remoteSubscribe(attrs({2}), 23, 230, &objects);  // with a region: not saved
  federate->subscribeByRegion(5, attrs({1}));                // region lists: not saved
  federate->tallySet().setTally(7, RTI::RTI_FALSE, DtBestEffort);
  federate->tallySet().setTally(8, RTI::RTI_FALSE, DtReliable);
  federate->tallySet().setTally(9, RTI::RTI_TRUE, DtBestEffort);
  federate->tallySet().setTally(10, RTI::RTI_TRUE, DtReliable);
  DtInteractionClassInfo* radio = fom->interactionByName("Radio");  // 6
  radio->publish(&interactions);
  radio->subscribe(false);
  for (std::uint32_t f : {31u, 32u, 33u}) radio->remoteSubscribe(f, &interactions);
  radio->remoteSubscribe(34, 340, &interactions);
  radio->tallySet().setTally(3, RTI::RTI_TRUE, DtReliable);
  return fom;
}

class FomSave : public ::testing::Test {
protected:
  FomSave() : quiet(1), path(dir.path() + "/fed.sav") {
    auto fom = busyModel(objectSink, interactionSink);
    DtRtiSaveFile file(path.c_str(), false);
    EXPECT_TRUE(fom->save(file));
    bytes = readWholeFile(path);
  }

  // Restores a fresh model of the same FED file from `content`.
  bool restore(const std::string& content, std::unique_ptr<DtFomClassMgr>* restored = nullptr) {
    const std::string file = dir.write("restore.sav", content);
    auto fom = fomFromText(fixtureFed);
    DtRtiSaveFile save(file.c_str(), true);
    const bool result = fom->restore(save);
    if (restored) *restored = std::move(fom);
    return result;
  }

  NotifyCapture quiet;
  ScratchDirectory dir;
  std::string path;
  std::string bytes;
  RecordingObjectSink objectSink;
  RecordingInteractionSink interactionSink;
};

TEST_F(FomSave, RecordsInTheDocumentedLayouts) {
  // Every record's (type, length), in file order.
  std::vector<std::pair<std::uint32_t, std::uint32_t>> layout;
  for (std::size_t at = 0; at + 8 <= bytes.size(); at += u32At(bytes, at)) {
    layout.emplace_back(u32At(bytes, at + 4), u32At(bytes, at));
  }
  const std::pair<std::uint32_t, std::uint32_t> classRecord{6, 164}, end{998, 20}, attribute{7, 20};
  EXPECT_EQ(layout, (std::vector<std::pair<std::uint32_t, std::uint32_t>>{
                        classRecord, attribute, end,                                   // ObjectRoot
                        classRecord, attribute, end,                                   // RTIprivate
                        classRecord, attribute, end,                                   // Manager
                        classRecord, attribute, {7, 28},   {7, 24},   end,             // Manager.Federate
                        classRecord, attribute, attribute, attribute, end,             // Platform
                        classRecord, attribute, attribute, attribute, attribute, end,  // Aircraft
                        {8, 40},     {8, 40},   {8, 40},   {8, 40},   {8, 52},   {8, 40}}));

  // Manager.Federate's class record starts after three classes of three records.
  const std::size_t federate = 3 * (164 + 20 + 20);
  EXPECT_EQ(u32At(bytes, federate + 8), 4u);
  EXPECT_EQ(bytes.substr(federate + 12, 4), std::string("\1\1\0\1", 4));  // published, subscribed, active, relevant
  EXPECT_EQ(u32At(bytes, federate + 16), 7u);                             // sent best effort
  EXPECT_EQ(u32At(bytes, federate + 28), 10u);                            // received reliable
  EXPECT_EQ(u32At(bytes, federate + 32), 2u);                             // two subscribed attributes
  EXPECT_EQ(u32At(bytes, federate + 36), 0b101u);                         // 0 and 2
  EXPECT_EQ(u32At(bytes, federate + 124), 0b110u);                        // relevant: 1 and 2
  // Attribute 1: published, not subscribed, relevant, federates 21 and 22.
  const std::size_t attribute1 = federate + 164 + 20;
  EXPECT_EQ(bytes.substr(attribute1 + 8, 5), std::string("\0\1\1\0\1", 5));
  EXPECT_EQ(u32At(bytes, attribute1 + 16), 2u);
  EXPECT_EQ(u32At(bytes, attribute1 + 20), 21u);
  EXPECT_EQ(u32At(bytes, attribute1 + 24), 22u);
  // Radio: passive, published, best effort, time stamp, relevant; three
  // subscribers without region.
  const std::size_t radio = bytes.size() - 40 - 52;
  EXPECT_EQ(u32At(bytes, radio + 8), 6u);
  EXPECT_EQ(bytes.substr(radio + 12, 5), std::string("\2\1\0\1\1", 5));
  EXPECT_EQ(u32At(bytes, radio + 32), 3u);  // received reliable
  EXPECT_EQ(u32At(bytes, radio + 36), 3u);
  EXPECT_EQ(u32At(bytes, radio + 48), 33u);
}

TEST_F(FomSave, RestoringGivesBackWhatWasSaved) {
  std::unique_ptr<DtFomClassMgr> fom;
  ASSERT_TRUE(restore(bytes, &fom));
  EXPECT_EQ(quiet.text(), "");
  const DtObjectClassInfo* federate = fom->classByHandle(4);
  EXPECT_TRUE(federate->published());
  EXPECT_TRUE(federate->subscribed());
  EXPECT_FALSE(federate->isPassive());
  EXPECT_TRUE(federate->classRelevant());
  EXPECT_TRUE(federate->publishedAttrs().isMember(2));
  EXPECT_TRUE(federate->relevant(1));
  EXPECT_TRUE(federate->attrByHandle(2)->subscribed());
  EXPECT_TRUE(federate->attrByHandle(1)->published());
  EXPECT_EQ(std::vector<std::uint32_t>(federate->attrByHandle(1)->subscribedFederates().begin(),
                                       federate->attrByHandle(1)->subscribedFederates().end()),
            (std::vector<std::uint32_t>{21, 22}));
  EXPECT_TRUE(federate->remoteSubscription(22)->isMember(2));
  EXPECT_FALSE(federate->attrByHandle(2)->remoteFederateIsSubscribedWithRegion(23));
  EXPECT_EQ(federate->subscribedWithRegions(), 0u);
  EXPECT_TRUE(federate->subscribedAttrs(0).isMember(2));  // the subscription without region counts
  EXPECT_FALSE(federate->subscribedAttrs(0).isMember(1));
  EXPECT_EQ(federate->tallySet().tally(RTI::RTI_FALSE, DtBestEffort), 7);
  EXPECT_EQ(federate->tallySet().tally(RTI::RTI_TRUE, DtReliable), 10);
  const DtInteractionClassInfo* radio = fom->interactionByHandle(6);
  EXPECT_EQ(radio->subscribed(), DtInteractionClassInfo::subscribedPassively);
  EXPECT_TRUE(radio->published());
  EXPECT_TRUE(radio->relevant());
  EXPECT_EQ(radio->numRemoteFederatesSubscribed(), 3u);  // the one with a region is not saved
  EXPECT_EQ(radio->tallySet().tally(RTI::RTI_TRUE, DtReliable), 3);
  EXPECT_EQ(radio->order(), DtTimestampOrder);
}

struct Mutation {
  const char* what;
  std::function<void(std::string&)> change;
  bool restored;
  std::string errors;
};

void putU32(std::string& bytes, std::size_t at, std::uint32_t value) { DtNetU32::write(bytes.data() + at, value); }

const std::size_t federateAt = 3 * (164 + 20 + 20);
// The interaction records close the file: four of 40 bytes, Radio's of 52, one of 40.
std::size_t interactionsAt(const std::string& b) { return b.size() - 5 * 40 - 52; }

const Mutation mutations[] = {
    {"nothing at all", [](std::string& b) { b.clear(); }, false,
     "RtiFom received an incorrect object class save packet (0), restore aborted\n"},
    {"an attribute record where a class record belongs", [](std::string& b) { putU32(b, 4, 7); }, false,
     "RtiFom received an incorrect object class save packet (0), restore aborted\n"},
    {"an interaction record among a class's attributes", [](std::string& b) { putU32(b, federateAt + 164 + 4, 8); },
     false, "RtiFom received an incorrect object class(4) attributesave packet, restore aborted\n"},
    {"a class's records without their end", [](std::string& b) { b.resize(federateAt + 164 + 20); }, false,
     "RtiFom received an incorrect object class(4) attributesave packet, restore aborted\n"},
    {"an object record where an interaction record belongs",
     [](std::string& b) { putU32(b, interactionsAt(b) + 4, 6); }, false,
     "RtiFom received an incorrect interaction class save packet(0), restore aborted\n"},
    {"a class record cut short",
     [](std::string& b) { b = std::string("\0\0\0\x0c\0\0\0\x06\0\0\0\0", 12) + b.substr(164); }, false,
     "RtiFom received a damaged object class save packet (0), restore aborted\n"},
    {"an attribute record counting more federates than it holds",
     [](std::string& b) { putU32(b, federateAt + 164 + 20 + 16, 3); }, false,
     "RtiFom received a damaged object class(4) attribute save packet, restore aborted\n"},
    {"an interaction record counting more federates than it holds",
     [](std::string& b) { putU32(b, b.size() - 40 - 52 + 36, 0x40000000); }, false,
     "RtiFom received a damaged interaction class save packet(6), restore aborted\n"},
    {"a record for another class", [](std::string& b) { putU32(b, federateAt + 8, 5); }, true,
     "Error restoring fom class, handle mismatch.\n"},
    {"an attribute the class does not have", [](std::string& b) { b[federateAt + 164 + 9] = 9; }, true, ""},
};

// The 44-byte handle set: a count, then ten words of membership bits.
std::string handleSet(std::uint32_t count, std::uint32_t firstWord) {
  return be32(count) + be32(firstWord) + std::string(36, '\0');
}

TEST_F(FomSave, TheRecordsOfAClassAndAnInteractionByteForByte) {
  const std::string zero(1, '\0');
  // Manager.Federate: its record, one record per attribute, the end record.
  const std::string federateRun =
      be32(164) + be32(6) + be32(4) + "\1\1" + zero + "\1" +  // published, subscribed, not passive, relevant
      be32(7) + be32(8) + be32(9) + be32(10) +                // sent best effort, reliable; received the same
      handleSet(2, 0b101) + handleSet(2, 0b110) + handleSet(2, 0b110) +  // subscribed, published, relevant
      be32(20) + be32(7) + be16(0) + zero + "\1" + zero + zero + be16(0) + be32(0) + be32(28) + be32(7) + be16(1) +
      "\1" + zero + "\1" + zero + be16(0) + be32(2) + be32(21) + be32(22) + be32(24) + be32(7) + be16(2) + "\1\1\1" +
      zero + be16(0) + be32(1) + be32(22) +  // 23 has a region
      be32(20) + be32(998) + std::string(12, '\0');
  EXPECT_EQ(bytes.substr(federateAt, federateRun.size()), federateRun);
  // Radio (subscribed passively, published, best effort, time-stamp order,
  // relevant; three subscribers without region), then Radio.Encoded, which
  // nobody declared: relevant through Radio's subscribers.
  const std::string interactions = be32(52) + be32(8) + be32(6) + "\2\1" + zero + "\1\1" + zero + be16(0) + be32(0) +
                                   be32(0) + be32(0) + be32(3) + be32(3) + be32(31) + be32(32) + be32(33) + be32(40) +
                                   be32(8) + be32(7) + std::string(4, '\0') + "\1" + std::string(23, '\0');
  EXPECT_EQ(bytes.substr(bytes.size() - 52 - 40), interactions);
}

TEST_F(FomSave, RecordsOfTheWrongKindAreRefusedWithTheirMessages) {
  for (const Mutation& m : mutations) {
    std::string content = bytes;
    m.change(content);
    quiet.clear();
    EXPECT_EQ(restore(content), m.restored) << m.what;
    EXPECT_EQ(quiet.text(), m.errors) << m.what;
  }
}

}  // namespace
