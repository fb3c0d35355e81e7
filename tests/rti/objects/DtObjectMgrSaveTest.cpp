// The object manager's share of a federation save: its record and its end
// byte for byte, the objects that are saved (not those whose privilege to
// delete the RTI holds), everything back on its lists after a restore with
// the class groups of the restored subscriptions, and damaged saves refused
// without reading outside the file.

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "ObjectMgrTestSupport.h"
#include "objects/DtObjectClassInfo.h"
#include "rti/config/ConfigTestFiles.h"
#include "rti/util/NotifyCapture.h"
#include "save/DtRtiSaveFile.h"
#include "save/DtSavePackets.h"

using namespace objtest;

namespace {

constexpr std::uint32_t self = 3, other = 21;

const char* const groups = "(RTI-addDMObjectMulticastAddr \"ObjectRoot.Platform\" \"239.7.1.1\" \"inclusive\")\n";

class ObjectMgrSave : public ::testing::Test {
protected:
  // What the manager holds, one object a line ("handle name known/owned/held").
  static std::string contents(const DtObjectMgr& mgr) {
    std::string out;
    for (const DtListItem* item = mgr.allObjects().head(); item; item = item->next()) {
      const auto* o = static_cast<const DtRtiObject*>(item->data());
      out += std::to_string(o->objHandle()) + " " + o->objName() + (mgr.knownObj(o->objHandle()) ? " known" : "") +
             (mgr.ownedObj(o->objHandle()) ? " owned" : "") + (mgr.lrcManagedObj(o->objHandle()) ? " held" : "") + "\n";
    }
    return out;
  }
  std::string saveOf(const DtObjectMgr& mgr) const {
    const std::string path = dir.path() + "/objects.sav";
    DtRtiSaveFile file(path.c_str(), false);
    EXPECT_TRUE(mgr.save(file));
    EXPECT_TRUE(file.close());
    return readWholeFile(path);
  }
  bool restore(DtObjectMgr& mgr, const std::string& bytes) const {
    const std::string path = dir.write("restore.sav", bytes);
    DtRtiSaveFile file(path.c_str(), true);
    return mgr.restore(file);
  }

  ObjectMgrDefaultsGuard defaults;
  ScratchDirectory dir;
};

TEST_F(ObjectMgrSave, AManagerWithoutObjectsIsItsRecordAndTheEnd) {
  Federate fed(self, "");
  fed.mgr->disableClassRelevanceSwitch();
  fed.mgr->enableAttributeScopeSwitch();
  fed.mgr->uniqueHandle();
  EXPECT_EQ(saveOf(*fed.mgr), std::string("\0\0\0\x10\0\0\0\x04\0\0\x01\0\0\0\0\x02"
                                          "\0\0\0\x08\0\0\x03\xe6",
                                          24));
}

TEST_F(ObjectMgrSave, ARestoredManagerHoldsTheSavedObjectsOnTheirListsAndTheirClassesGroups) {
  Federate saved(self, groups);
  DtObjectMgr& mgr = *saved.mgr;
  mgr.publish(platform, attrs({0, 1, 2}));
  mgr.subscribe(platform, attrs({1}), RTI::RTI_TRUE);
  mgr.registerObj(platform, "mine");
  mgr.registerObj(platform, "mine too");
  DtRegObjMsg theirs(2100001, "theirs", platform, attrs({1}), nullptr);
  receiveFrom(*saved.conn, theirs, other);
  // Attributes handed to this federate's component: saved.
  DtOwnershipMsg handOver(DtGiveToLRC, 2100002, 0, self, "orphan");
  handOver.setClassHandle(platform);
  receiveFrom(*saved.conn, handOver, other);
  // An object whose privilege to delete the RTI holds: no federate's.
  DtRegObjMsg rtis(2100003, "the RTI's", platform, attrs({1}), nullptr);
  receiveFrom(*saved.conn, rtis, other);
  mgr.allObj(2100003)->giveToRti(attrs({0}));
  mgr.enableAttributeRelevanceSwitch();
  ASSERT_EQ(contents(mgr),
            "300001 mine known owned\n300002 mine too known owned\n2100001 theirs known\n"
            "2100002 orphan held\n2100003 the RTI's known\n");
  const std::string bytes = saveOf(mgr);
  // Restored, the manager only unlists the RTI's record: it is still its
  // maker's (the MOM's publisher), who deletes it.
  const std::unique_ptr<DtRtiObject> rtisRecord(mgr.allObj(2100003));
  ASSERT_TRUE(restore(mgr, bytes));
  EXPECT_EQ(mgr.allObj(2100003), nullptr);
  EXPECT_EQ(mgr.knownObj(2100003), nullptr);
  EXPECT_STREQ(rtisRecord->objName(), "the RTI's");
  EXPECT_EQ(saveOf(mgr), bytes);

  Federate restored(self, groups);
  DtObjectMgr& back = *restored.mgr;
  // The class records come back first, from the class tree's own save.
  restored.fom->classByHandle(platform)->subscribe(attrs({1}), false);
  back.publish(aircraft, attrs({0}));
  back.registerObj(aircraft, "gone");
  restored.conn->takeGroups();
  ASSERT_TRUE(restore(back, bytes));
  EXPECT_EQ(contents(back),
            "300001 mine known owned\n300002 mine too known owned\n2100001 theirs known\n"
            "2100002 orphan held\n");
  EXPECT_EQ(back.knownObj("mine too")->objHandle(), 300002u);
  EXPECT_TRUE(back.attributeRelevanceSwitch());
  EXPECT_EQ(back.uniqueHandle(), 300003u);
  EXPECT_EQ(restored.conn->takeGroups(), std::vector<std::string>{"join 239.7.1.1"});
  EXPECT_EQ(back.classMulticastCounts().at(0xEF070101u), 2u);
}

TEST_F(ObjectMgrSave, ADamagedSaveIsRefusedWithinTheFile) {
  Federate saved(self, "");
  saved.mgr->publish(platform, attrs({0, 1}));
  saved.mgr->registerObj(platform, "a");
  saved.mgr->registerObj(platform, "b");
  const std::string good = saveOf(*saved.mgr);
  const std::size_t firstObject = 16;
  const std::size_t objectSize = DtObjectPacket::length(0, 0, 2);
  const std::string header = good.substr(0, firstObject);
  const std::string objectA = good.substr(firstObject, objectSize);
  const std::string end = good.substr(good.size() - 8);
  std::string unknownClass = objectA;
  unknownClass[DtObjectPacket::actualClassAt + 3] = 99;
  std::string badCount = objectA;
  badCount[DtObjectPacket::discoveredCountAt + 3] = 5;
  std::string rtiHeld = objectA;
  DtAttributeHandleSet heldByTheRti;
  heldByTheRti.add(0);
  heldByTheRti.encode(rtiHeld.data() + DtObjectPacket::rtiOwnedAt);
  struct Case {
    const char* what;
    std::string bytes;
    const char* printed;
    std::size_t objectsAfter;
  };
  const Case cases[] = {
      {"a first record of another type", objectA + end, "ObjMgr received an incorrect save packet, restore aborted\n",
       1},
      {"a manager record of another length", std::string("\0\0\0\x0c\0\0\0\x04\0\0\0\0", 12) + end,
       "ObjMgr received a damaged save packet (12 bytes)", 1},
      {"the end of the file before the end record", header + objectA,
       "ObjMgr: the save file ends before the end of the objects", 1},
      {"another type among the objects", header + objectA + std::string("\0\0\0\x0c\0\0\0\x02\0\0\0\0", 12) + end,
       "Bad packet type found when restoring objects\n", 1},
      {"an object of a class the model lacks", header + unknownClass + end, "names class 99", 0},
      {"counts that do not add up", header + badCount + end, "Damaged object record", 0},
      {"an object whose privilege to delete the RTI holds", header + rtiHeld + end,
       "ObjMgr: object 300001 (a) is the RTI's, restore aborted", 0},
      {"an object saved twice", header + objectA + objectA + end, "ObjMgr: object 300001 (a) is saved twice", 1},
      {"a length past the end of the file", header + std::string("\xff\xff\xff\xf0\0\0\0\x05", 8),
       "runs past the end of the file", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Federate fed(self, "");
    fed.mgr->publish(platform, attrs({0, 1}));
    fed.mgr->registerObj(platform, "kept");
    NotifyCapture capture(1);
    EXPECT_FALSE(restore(*fed.mgr, c.bytes));
    EXPECT_NE(capture.text().find(c.printed), std::string::npos) << capture.text();
    // A refused first record changes nothing; later, what was read stays.
    EXPECT_EQ(fed.mgr->allObjects().count(), c.objectsAfter);
  }
}

}  // namespace
