#pragma once
// What the object data distribution tests share: federates whose object
// manager is the data distribution form, over one bus (a message sent by
// one reaches every member's dispatch, its sender's too), with their data
// distribution manager; the region-set messages written down as lines; and
// the steps the association services will take (subscribe, associate), done
// by hand through the manager's queues.

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "../objects/ObjectMgrTestSupport.h"
#include "RegionTestSupport.h"
#include "ddm/DtDataDistMakers.h"
#include "ddm/DtDataDistMgr.h"
#include "ddm/DtObjectDataDistMgr.h"
#include "ddm/DtPubRegionSet.h"
#include "ddm/DtRegion.h"
#include "ddm/DtRemoteRegionSet.h"
#include "ddm/DtSubRegionSet.h"
#include "msg/DtRegionMsgs.h"
#include "msg/DtRegionSetMsgs.h"
#include "objects/DtFomClassMgr.h"
#include "objects/DtObjectClassInfo.h"

namespace objddm {

using namespace objtest;

constexpr RTI::AttributeHandle position = 1, speed = 2, altitude = 3;

inline std::string regionsText(const DtRegionSet& set) {
  std::string out;
  for (const DtRegionEntry& entry : set.regionList()) out += (out.empty() ? "" : ",") + std::to_string(entry.handle);
  return out.empty() ? "-" : out;
}

// "pubset 300002 @224.0.0.1 regions 300001", "subset 300003 regions 0,300001",
// "assoc 300002 obj 300001 class 5 {1}", "unassoc ...", "subassoc 300003
// class 5 {1}", "region 300001", the rest as the object tests write them.
class DdmConnectionMgr : public TestConnectionMgr {
public:
  using TestConnectionMgr::TestConnectionMgr;

protected:
  std::string line(const DtRtiMsg& msg, DtTransportType transport, unsigned long address) const override {
    if (const auto* set = dynamic_cast<const DtObjRegSetMsg*>(&msg)) {
      std::string text = set->regionSetType() == DtObjPubRegionSet ? "pubset " : "subset ";
      text += std::to_string(set->regionSetHandle());
      if (set->address()) text += " @" + DottedAddress(static_cast<std::uint32_t>(set->address()));
      text += " regions";
      const std::uint32_t* regions = set->regions();
      for (unsigned long i = 0; regions && i < set->numberRegions(); ++i) {
        text += (i ? "," : " ") + std::to_string(regions[i]);
      }
      return text;
    }
    if (const auto* assoc = dynamic_cast<const DtAssocPubRegMsg*>(&msg)) {
      return std::string(assoc->isRemoveAssociation() ? "unassoc " : "assoc ") +
             std::to_string(assoc->regionSetHandle()) + " obj " + std::to_string(assoc->objectHandle()) + " class " +
             std::to_string(assoc->classHandle()) + " {" + text(assoc->attrHandles()) + "}";
    }
    if (const auto* assoc = dynamic_cast<const DtAssocSubRegMsg*>(&msg)) {
      return "subassoc " + std::to_string(assoc->regionSetHandle()) + " class " + std::to_string(assoc->classHandle()) +
             " {" + text(assoc->attrHandles()) + "}";
    }
    if (const auto* notify = dynamic_cast<const DtNotifyRegMsg*>(&msg)) {
      return "region " + std::to_string(notify->regionHandle());
    }
    return TestConnectionMgr::line(msg, transport, address);
  }
  // A registration under data distribution is announced by its
  // associations: the plain announcement stays off the bus.
  void posted(const DtRtiMsg& msg) override {
    if (msg.msgKind() != DtRegObjMsgKind) TestConnectionMgr::posted(msg);
  }
};

// The manager with its protected steps open to the tests.
class TestObjects : public DtObjectDataDistMgr {
public:
  using DtObjectDataDistMgr::DtObjectDataDistMgr;
  using DtObjectDataDistMgr::evalMatchAfterLocalRemove;
  using DtObjectDataDistMgr::evaluateMatchingAfterAdd;
  using DtObjectDataDistMgr::evaluateRegionOverlap;
  using DtObjectDataDistMgr::fileNewObject;

  // One of the federate's subscription sets' regions changed, as the region
  // hook will re-evaluate it: every subscription and passive set holding it.
  void subRegionChanged(DtRegion& region) {
    for (const DtRegionSetList* list : {&region.objSubRegSetList(), &region.objPasRegSetList()}) {
      for (const std::uint32_t handle : list->handles()) {
        auto* set = static_cast<DtObjectRegionSet*>(list->lookup(handle));
        evaluateRegionOverlap(remotePubRegionSets_, subOverlaps_, subMatchOverlaps_, *set, region, true, true, true);
      }
    }
  }
  void removeFromSubSet(DtSubRegionSet& set, DtObjectClassInfo& cls, const DtAttributeHandleSet& attributes) {
    set.removeAttributes(cls.handle(), attributes);
    evalMatchAfterLocalRemove(subMatches_, subMatchOverlaps_, set, cls, attributes, true);
  }
  void removeFromPubSet(DtPubRegionSet& set, DtRtiObject& object, const DtAttributeHandleSet& attributes) {
    set.removeAttributes(object.objHandle(), object.knownClass(), attributes);
    evalMatchAfterLocalRemove(pubMatches_, pubMatchOverlaps_, set, *object.knownClass(), attributes, false);
  }
};

// One federate: RID parameters with data distribution on, its own model, a
// recording connection manager on the bus, a recording ambassador, the
// object manager and the data distribution manager over it.
struct DdmFederate {
  DdmFederate(std::uint32_t handle, Bus* bus, const std::string& ridLines = "")
      : rid(ridWith("(setq RTI_dataDistMgmt 1)\n" + ridLines)),
        fom(fomFromText(fixtureFed, rid.get())),
        conn(std::make_unique<DdmConnectionMgr>(handle, bus)) {
    conn->ambassador = &amb;
    objects = std::make_unique<TestObjects>(conn.get(), fom.get(), rid.get());
    ddm = std::make_unique<DtDataDistMgr>(objects.get(), nullptr);
    objects->setDdmMgr(ddm.get());
  }
  // The object manager goes first: its sets point at the regions.
  ~DdmFederate() {
    objects.reset();
    ddm.reset();
    DtUpdateMsg::setChannelIncluded(0);
  }

  DtObjectClassInfo& cls(RTI::ObjectClassHandle handle) { return *fom->classByHandle(handle); }

  // A committed and announced region of Geo with one extent.
  DtRegion& region(Range x, Range y) {
    DtRegion* r = ddm->createRegion(1, 1);
    move(*r, x, y);
    return *r;
  }
  // New bounds, committed and announced.
  void move(DtRegion& r, Range x, Range y) {
    r.setRangeLowerBound(0, 0, x.first);
    r.setRangeUpperBound(0, 0, x.second);
    r.setRangeLowerBound(0, 1, y.first);
    r.setRangeUpperBound(0, 1, y.second);
    ddm->notifyAboutRegionModification(r);
  }

  // What the subscription service will do: the class's attributes move to
  // the set of `from`'s regions and `region` (the default set for none).
  DtSubRegionSet& subscribe(RTI::ObjectClassHandle theClass, const DtAttributeHandleSet& attributes, DtRegion& region,
                            DtSubRegionSet* from = nullptr, bool passive = false) {
    DtSubRegionSet* set = passive ? objects->addPasRegion(region, from) : objects->addSubRegion(region, from);
    DtObjectClassInfo& c = cls(theClass);
    set->addAttributes(&c, attributes);
    for (RTI::ULong i = 0; i < attributes.size(); ++i) {
      const RTI::AttributeHandle a = attributes.getHandle(i);
      if (passive) {
        c.attrByHandle(a)->setPasRegionSet(set);
        objects->addPendingAssocPasRegAdd(*set, c, a);
      } else {
        c.attrByHandle(a)->setSubRegionSet(set);
        objects->addPendingAssocSubRegAdd(*set, c, a);
      }
    }
    if (passive) {
      objects->processPendingPasRegAssoc();
    } else {
      objects->processPendingSubRegAssoc();
    }
    return *set;
  }

  // An object of the class (its attributes all published), filed as a
  // registration files it but neither associated with a set nor announced:
  // the tests below associate by hand.
  DtRtiObject& publishedObject(RTI::ObjectClassHandle theClass, const DtAttributeHandleSet& published) {
    objects->publish(theClass, published);
    const std::uint32_t handle = objects->uniqueHandle();
    return *objects->fileNewObject(cls(theClass), handle, objects->uniqueName(handle));
  }
  DtPubRegionSet& associate(DtRtiObject& object, const DtAttributeHandleSet& attributes, DtRegion& region) {
    DtPubRegionSet* set = objects->addPubRegion(region, nullptr);
    set->addAttributes(object.objHandle(), object.objName(), object.knownClass(), attributes);
    for (RTI::ULong i = 0; i < attributes.size(); ++i) {
      object.setRegionSet(attributes.getHandle(i), set);
      objects->addPendingAssocPubRegAdd(*set, object, attributes.getHandle(i));
    }
    objects->processPendingAssocPubReg();
    return *set;
  }

  // What the unsubscription and unassociation services will do: the
  // attributes leave the set for the default one.
  void unsubscribe(DtSubRegionSet& set, RTI::ObjectClassHandle theClass, const DtAttributeHandleSet& attributes) {
    DtObjectClassInfo& c = cls(theClass);
    set.removeAttributes(theClass, attributes);
    for (RTI::ULong i = 0; i < attributes.size(); ++i) {
      const RTI::AttributeHandle a = attributes.getHandle(i);
      c.attrByHandle(a)->setSubRegionSet(nullptr);
      objects->addPendingAssocSubRegRemove(set, c, a);
      objects->addPendingUnassocSubReg(set, c, a);
    }
    objects->processPendingSubRegAssoc();
  }
  void unassociate(DtRtiObject& object, const DtAttributeHandleSet& attributes, DtPubRegionSet& set) {
    set.removeAttributes(object.objHandle(), object.knownClass(), attributes);
    for (RTI::ULong i = 0; i < attributes.size(); ++i) {
      const RTI::AttributeHandle a = attributes.getHandle(i);
      object.setRegionSet(a, nullptr);
      objects->addPendingAssocPubRegRemove(set, object, a);
      objects->addPendingUnassocPubReg(set, object, a);
    }
    objects->processPendingAssocPubReg();
  }

  std::unique_ptr<DtRIDParameters> rid;
  std::unique_ptr<DtFomClassMgr> fom;
  std::unique_ptr<DdmConnectionMgr> conn;
  RecordingFedAmb amb;
  std::unique_ptr<TestObjects> objects;
  std::unique_ptr<DtDataDistMgr> ddm;
};

// The class's subscription tables of a publication set, as text:
// "matching 2100002 {1} overlap -" and the like.
inline std::string pubTables(const DtObjectClassInfo& c, std::uint32_t set) {
  const DtAttributeHandleSet* m = c.matchingPubs().find(set);
  const DtAttributeHandleSet* o = c.overlapPubs().find(set);
  return std::string("matching ") + (m ? text(*m) : "-") + " overlap " + (o ? text(*o) : "-");
}
inline std::string subTables(const DtObjectClassInfo& c, std::uint32_t set) {
  const DtAttributeHandleSet* m = c.matchingSubs().find(set);
  const DtAttributeHandleSet* o = c.overlapSubs().find(set);
  return std::string("matching ") + (m ? text(*m) : "-") + " overlap " + (o ? text(*o) : "-");
}

// Delivers what the bus holds until nothing moves, ticking no manager.
inline void deliverAll(Bus& bus) {
  while (bus.deliver() != 0) {
  }
}

// Federates 3 (A) and 21 (B) on one bus; settle() delivers until nothing
// moves, ticking both object managers after each round.
struct DdmPair {
  void settle() {
    for (int round = 0; round < 20 && bus.deliver() != 0; ++round) {
      a.objects->tick();
      b.objects->tick();
    }
  }

  Bus bus;
  DdmFederate a{3, &bus};
  DdmFederate b{21, &bus};
};

// The region sets whose channels the federate listens to: "2100002,..."
// ("-" for none).
inline std::string channelSets(const DtDataDistMgr& ddm) {
  std::string out;
  for (const DtDdmChannels::Filed& filed : ddm.channels().objectChannels()) {
    for (const std::uint32_t set : filed.sets) out += (out.empty() ? "" : ",") + std::to_string(set);
  }
  return out.empty() ? "-" : out;
}

}  // namespace objddm
