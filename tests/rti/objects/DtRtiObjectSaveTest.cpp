// The object record's save record (type 5): written, read back, and refused
// when it cannot be right.

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ObjectRecordSupport.h"
#include "msg/DtNetNumber.h"
#include "rti/util/NotifyCapture.h"
#include "save/DtRtiSaveFile.h"
#include "save/DtSavePackets.h"

namespace {

// Everything a save record keeps, as text.
std::string describe(const DtRtiObject& o) {
  std::string s = "object " + std::to_string(o.objHandle()) + " owner " + std::to_string(o.ownerHandle()) +
                  " classes " + std::to_string(o.actualClassHandle()) + "/" + std::to_string(o.knownClassHandle()) +
                  (o.isKnown() ? " known" : " unknown") + " name '" + o.objName() + "'\n" + ownership(o) + "\nscope " +
                  text(o.inScopeAttrs()) + " updates " + text(o.updateOnAttrs()) + "/" +
                  std::to_string(o.isUpdateOn()) + " cancelled " + text(o.requests().canceledRequestSet()) +
                  "\nrequests";
  const DtAttributeHandleSet& requested = o.requests().requestedAttrs();
  for (RTI::ULong i = 0; i < requested.size(); ++i) {
    s += " " + std::to_string(requested.getHandle(i)) + ":" +
         std::to_string(o.pendingRemoteRequest(requested.getHandle(i)));
  }
  s += "\ndiscovered";
  for (const auto& [federate, cls] : o.discoveredClasses())
    s += " " + std::to_string(federate) + ":" + std::to_string(cls);
  s += "\ntravel ";
  for (RTI::AttributeHandle a = 0; a < o.numAttributes(); ++a) {
    s += o.attrTransport(a) == DtReliable ? "R" : "b";
    s += o.attrOrder(a) == DtTimestampOrder ? "T" : "r";
  }
  return s;
}

std::string bytesOf(const DtSavePacketBuilder& record) {
  return std::string(record.bytes().data(), record.bytes().size());
}

DtSavePacket packetOf(const std::string& bytes) {
  return DtSavePacket(std::span<const char>(bytes.data(), bytes.size()));
}

class ObjectSaveRecord : public ::testing::Test, public RecordFom {
protected:
  ObjectSaveRecord() : discovered_(true) {}

  // A wide object (41 attributes) with something in every part of the
  // record, the maps' overrides on both sides of the first word's end.
  std::unique_ptr<DtRtiObject> rich(const std::string& name) {
    narrow->publish(attrs({0, 1, 31, 32, 33, 35, 40}), &sink);
    wide->remoteSubscribe(attrs({33}), 7, &sink);
    auto o = std::make_unique<DtRtiObject>(300004, name.c_str(), narrow);
    o->setKnownClass(wide);
    o->setOwnerHandle(5);
    o->setIsKnown(true);
    o->setAttrTransport(32, DtReliable);
    o->setAttrOrder(33, DtTimestampOrder);
    o->setAttrTransport(3, DtBestEffort);
    o->setAttrOrder(40, DtReceiveOrder);
    o->giveToRti(attrs({40}));
    o->addRequest(attrs({36}), false);
    o->addRequest(attrs({37}), true);
    o->addDivesting(attrs({1}));
    o->addToScope(attrs({31, 32}));
    o->addRemoteRequest(attrs({31, 35}), 7);
    o->addRemoteRequest(attrs({0}), 9);
    o->cancelRemoteRequest(attrs({1}));
    o->setDiscoveredClass(7, wide->handle());
    o->setDiscoveredClass(9, narrow->handle());
    o->remoteSubscribe(7, attrs({33}));
    return o;
  }

  UseDiscoveredClassGuard discovered_;
};

TEST_F(ObjectSaveRecord, AnObjectComesBackAsItWasSaved) {
  struct Case {
    const char* what;
    std::function<std::unique_ptr<DtRtiObject>()> make;
  };
  const std::string longName(200, 'n');
  const std::vector<Case> cases = {
      {"a discovered radio without a name", [&] { return std::make_unique<DtRtiObject>(500001, "", radio, root); }},
      {"a registered radio",
       [&] {
         radio->publish(attrs({0, 2}), &sink);
         return std::make_unique<DtRtiObject>(300001, "HLA_300001", radio);
       }},
      {"a wide object with every part used", [&] { return rich("Wide.1"); }},
      {"the same with a long name", [&] { return rich(longName); }},
  };
  for (const Case& c : cases) {
    const std::unique_ptr<DtRtiObject> original = c.make();
    const DtSavePacketBuilder record = original->saveRecord();
    const std::string bytes = bytesOf(record);
    ASSERT_EQ(bytes.size(), original->encodedLength()) << c.what;
    std::vector<char> encoded(original->encodedLength());
    original->encode(encoded.data());
    EXPECT_EQ(std::string(encoded.begin(), encoded.end()), bytes) << c.what;
    EXPECT_EQ(packetOf(bytes).u32(DtObjectPacket::nameSizeAt), std::strlen(original->objName()) + 1) << c.what;

    DtRtiObject restored;
    ASSERT_TRUE(restored.decode(packetOf(bytes), *fom)) << c.what;
    EXPECT_EQ(describe(restored), describe(*original)) << c.what;
    EXPECT_EQ(restored.actualClass(), original->actualClass()) << c.what;
    EXPECT_EQ(restored.knownClass(), original->knownClass()) << c.what;
    EXPECT_EQ(bytesOf(restored.saveRecord()), bytes) << c.what;
  }
}

TEST_F(ObjectSaveRecord, TheLayoutIsFixedFieldByField) {
  const auto o = rich("ab");
  const std::string bytes = bytesOf(o->saveRecord());
  const DtSavePacket p = packetOf(bytes);
  EXPECT_EQ(p.length(), 516u + 8 * (2 + 3) + 3);
  EXPECT_EQ(p.type(), 5u);
  EXPECT_EQ(p.u32(DtObjectPacket::objectAt), 300004u);
  EXPECT_EQ(p.u32(DtObjectPacket::ownerAt), 5u);
  EXPECT_EQ(p.u32(DtObjectPacket::actualClassAt), 5u);
  EXPECT_EQ(p.u32(DtObjectPacket::knownClassAt), 4u);
  EXPECT_EQ(p.u32(DtObjectPacket::knownAt), 1u);
  // Order map: the privilege, w5, w10, ... w35 and w33 (set); w40 cleared.
  EXPECT_EQ(p.u32(DtObjectPacket::orderMapAt), 0x42108421u);
  EXPECT_EQ(p.u32(DtObjectPacket::orderMapAt + 4), 0x00000002u | 0x8u);  // w33, w35
  // Transport map: the privilege and every third, w3 cleared, w32 set.
  EXPECT_EQ(p.u32(DtObjectPacket::transportMapAt), 0x49249241u);
  EXPECT_EQ(p.u32(DtObjectPacket::transportMapAt + 4), 0x00000093u);  // w32, w33, w36, w39
  for (std::uint32_t k = 2; k < 10; ++k) {
    EXPECT_EQ(p.u32(DtObjectPacket::orderMapAt + 4 * k), 0u);
    EXPECT_EQ(p.u32(DtObjectPacket::transportMapAt + 4 * k), 0u);
  }
  EXPECT_EQ(text(p.handleSet(DtObjectPacket::ownedAt)), "0,1,31,32,33,35");
  EXPECT_EQ(text(p.handleSet(DtObjectPacket::rtiOwnedAt)), "40");
  EXPECT_EQ(text(p.handleSet(DtObjectPacket::divestingAt)), "1");
  EXPECT_EQ(text(p.handleSet(DtObjectPacket::inScopeAt)), "31,32");
  EXPECT_EQ(text(p.handleSet(DtObjectPacket::updatesOnAt)), "33");
  EXPECT_EQ(text(p.handleSet(DtObjectPacket::uncondRequestedAt)), "36");
  EXPECT_EQ(text(p.handleSet(DtObjectPacket::ifAvailRequestedAt)), "37");
  EXPECT_EQ(text(p.handleSet(DtObjectPacket::cancelledAt)), "1");
  EXPECT_EQ(p.u32(DtObjectPacket::discoveredCountAt), 2u);
  EXPECT_EQ(p.u32(DtObjectPacket::requestCountAt), 3u);
  const std::vector<std::uint32_t> entries = {7, 4, 9, 5, 0, 9, 31, 7, 35, 7};
  for (std::size_t k = 0; k < entries.size(); ++k)
    EXPECT_EQ(p.u32(516 + 4 * static_cast<std::uint32_t>(k)), entries[k]) << k;
  EXPECT_EQ(bytes.substr(bytes.size() - 3), std::string("ab\0", 3));
}

TEST_F(ObjectSaveRecord, ARecordThatCannotBeRightIsRefusedAndChangesNothing) {
  const std::string good = bytesOf(rich("Wide.1")->saveRecord());
  auto with = [&](std::uint32_t offset, std::uint32_t value) {
    std::string b = good;
    DtNetU32::write(b.data() + offset, value);
    return b;
  };
  const std::uint32_t size = static_cast<std::uint32_t>(good.size());
  struct Case {
    const char* what;
    std::string bytes;
    const char* message;
  };
  const Case cases[] = {
      {"another type", with(4, 6), "Bad packet type found when restoring object\n"},
      {"a length field that disagrees", with(0, size + 1), "Damaged object record"},
      {"one discovered entry more", with(DtObjectPacket::discoveredCountAt, 3), "Damaged object record"},
      {"a request count past any record", with(DtObjectPacket::requestCountAt, 0xFFFFFFFFu), "Damaged object record"},
      {"a name size one short", with(DtObjectPacket::nameSizeAt, 6), "Damaged object record"},
      {"a name size of 0", with(DtObjectPacket::nameSizeAt, 0), "Damaged object record"},
      {"a name without its zero",
       [&] {
         std::string b = good;
         b.back() = 'x';
         return b;
       }(),
       "Damaged object record"},
      {"shorter than the fixed part",
       [&] {
         std::string b = good.substr(0, 100);
         DtNetU32::write(b.data(), 100);
         return b;
       }(),
       "Damaged object record"},
      {"an unknown actual class", with(DtObjectPacket::actualClassAt, 2), "names class 2"},
      {"an unknown known class", with(DtObjectPacket::knownClassAt, 77), "names class 77"},
  };
  for (const Case& c : cases) {
    NotifyCapture capture(1);
    DtRtiObject target(500002, "target", radio, radio);
    target.addToScope(attrs({1}));
    const std::string before = describe(target);
    EXPECT_FALSE(target.decode(packetOf(c.bytes), *fom)) << c.what;
    EXPECT_EQ(describe(target), before) << c.what;
    EXPECT_NE(capture.text().find(c.message), std::string::npos) << c.what << ": " << capture.text();
  }
}

TEST_F(ObjectSaveRecord, DiscoveredEntriesOfUnknownClassesAndForeignAttributesAreLeftOut) {
  radio->publish(attrs({0, 1}), &sink);
  DtRtiObject o(300001, "r", radio);
  o.setDiscoveredClass(7, 2);  // names no class
  o.setDiscoveredClass(8, radio->handle());
  o.takeAttrs(attrs({30}));  // beyond the radio's attributes
  o.addRemoteRequest(attrs({1, 30}), 9);
  DtRtiObject restored;
  ASSERT_TRUE(restored.decode(o.saveRecord().packet(), *fom));
  EXPECT_EQ(restored.discoveredClasses().size(), 1u);
  EXPECT_EQ(restored.discoveredClass(8), radio->handle());
  EXPECT_EQ(text(restored.ownedAttrs()), "0,1");
  EXPECT_EQ(restored.requestCount(), 1);
  EXPECT_EQ(restored.pendingRemoteRequest(1), 9u);
}

TEST_F(ObjectSaveRecord, ARecordGoesThroughTheSaveFile) {
  ScratchDirectory directory;
  const std::string name = directory.write("fed.sav", "");
  const auto original = rich("through a file");
  {
    DtRtiSaveFile file(name.c_str(), false);
    ASSERT_TRUE(file.writePacket(original->saveRecord()));
  }
  DtRtiSaveFile file(name.c_str(), true);
  const DtSavePacket* packet = file.readNextPacket();
  ASSERT_NE(packet, nullptr);
  DtRtiObject restored;
  ASSERT_TRUE(restored.decode(*packet, *fom));
  EXPECT_EQ(describe(restored), describe(*original));
  // Federate 7 knows it as a Wide, whose record says what 7 subscribes.
  const DtAttributeHandleSet* subscribed = restored.attributeTable().subscribers().find(7);
  ASSERT_NE(subscribed, nullptr);
  EXPECT_EQ(text(*subscribed), "33");
  EXPECT_EQ(file.readNextPacket(), nullptr);
}

}  // namespace
