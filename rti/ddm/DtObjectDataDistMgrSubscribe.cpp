// The object data distribution manager's subscribing side: the sets through
// which this federate subscribes each attribute of a class, actively or
// passively (a region is never in both sets of one attribute), the
// subscription announced again to a new publisher, and the class as which a
// remote object is discovered.
#include "ddm/DtDataDistMgr.h"
#include "ddm/DtObjectDataDistMgr.h"
#include "ddm/DtRegion.h"
#include "ddm/DtSubRegionSet.h"
#include "objects/DtObjectClassInfo.h"
#include "util/DtNotify.h"

namespace {

// Which of an attribute's two sets a step works on, with its queues.
struct Side {
  DtSubRegionSet* (DtAttrInfo::*get)() const;
  void (DtAttrInfo::*put)(DtSubRegionSet*);
  DtSubRegionSet* (DtObjectDataDistMgr::*add)(DtRegion&, DtSubRegionSet*);
  DtSubRegionSet* (DtObjectDataDistMgr::*remove)(DtRegion&, DtSubRegionSet*);
  void (DtObjectDataDistMgr::*queueAdd)(DtObjectRegionSet&, DtObjectClassInfo&, RTI::AttributeHandle);
  void (DtObjectDataDistMgr::*queueRemove)(DtObjectRegionSet&, DtObjectClassInfo&, RTI::AttributeHandle);
  void (DtObjectDataDistMgr::*queueUnassoc)(DtObjectRegionSet&, DtObjectClassInfo&, RTI::AttributeHandle);
};

constexpr Side theActive{&DtAttrInfo::subRegionSet,
                         &DtAttrInfo::setSubRegionSet,
                         &DtObjectDataDistMgr::addSubRegion,
                         &DtObjectDataDistMgr::removeSubRegion,
                         &DtObjectDataDistMgr::addPendingAssocSubRegAdd,
                         &DtObjectDataDistMgr::addPendingAssocSubRegRemove,
                         &DtObjectDataDistMgr::addPendingUnassocSubReg};
constexpr Side thePassive{&DtAttrInfo::pasRegionSet,
                          &DtAttrInfo::setPasRegionSet,
                          &DtObjectDataDistMgr::addPasRegion,
                          &DtObjectDataDistMgr::removePasRegion,
                          &DtObjectDataDistMgr::addPendingAssocPasRegAdd,
                          &DtObjectDataDistMgr::addPendingAssocPasRegRemove,
                          &DtObjectDataDistMgr::addPendingUnassocPasReg};

bool holds(const DtSubRegionSet* set, const DtRegion& region) { return set && set->isMemberRegion(region.handle()); }

// The attribute's set of that side gains the region.
void addRegion(DtObjectDataDistMgr& mgr, const Side& side, DtObjectClassInfo& cls, DtAttrInfo& info, DtRegion& region,
               RTI::AttributeHandle attribute) {
  DtSubRegionSet* old = (info.*side.get)();
  DtSubRegionSet* next = (mgr.*side.add)(region, old);
  (info.*side.put)(next);
  if (next == old) return;
  if (old) {
    old->removeAttribute(cls.handle(), attribute);
    (mgr.*side.queueRemove)(*old, cls, attribute);
  }
  if (!next) {
    DtNotifyError("Could not create a region set when adding %u\n", static_cast<unsigned>(region.handle()));
  } else if (!next->isMemberAttributes(cls.handle(), attribute)) {
    next->addAttribute(&cls, attribute);
    (mgr.*side.queueAdd)(*next, cls, attribute);
  }
}

// The attribute's set of that side loses the region (when it has it).
bool removeRegion(DtObjectDataDistMgr& mgr, const Side& side, DtObjectClassInfo& cls, DtAttrInfo& info,
                  DtRegion& region, RTI::AttributeHandle attribute) {
  DtSubRegionSet* old = (info.*side.get)();
  if (!holds(old, region)) return false;
  DtSubRegionSet* next = (mgr.*side.remove)(region, old);
  (info.*side.put)(next);
  if (next == old) return true;
  old->removeAttribute(cls.handle(), attribute);
  (mgr.*side.queueRemove)(*old, cls, attribute);
  if (next) {
    next->addAttribute(&cls, attribute);
    (mgr.*side.queueAdd)(*next, cls, attribute);
  } else {
    (mgr.*side.queueUnassoc)(*old, cls, attribute);
  }
  return true;
}

}  // namespace

void DtObjectDataDistMgr::subscribeObjectClassAttributesWithRegion(RTI::ObjectClassHandle theClass, RTI::Region& region,
                                                                   const RTI::AttributeHandleSet& attributes,
                                                                   RTI::Boolean active) {
  DtObjectClassInfo& cls = definedClass(theClass);
  const auto space = static_cast<std::int64_t>(region.getSpaceHandle());
  for (RTI::ULong i = 0; i < attributes.size(); ++i) {
    const RTI::AttributeHandle attribute = attributes.getHandle(i);
    if (!cls.attrByHandle(attribute)) throw RTI::AttributeNotDefined("");
    if (space != 0 && cls.attrSpace(attribute) != space) throw RTI::InvalidRegionContext("");
  }
  DtRegion& own = ownRegion(&region);
  const DtAttributeHandleSet wanted(attributes);
  if (active == RTI::RTI_TRUE) {
    subscribeObjectClassAttributesWithRegionActive(cls, own, wanted);
  } else {
    subscribeObjectClassAttributesWithRegionPassive(cls, own, wanted);
  }
  const DtAttributeHandleSet others = subAttributesToRemove(own, cls, wanted);
  if (!others.isEmpty()) unsubscribeObjectClassWithRegion(cls, own, others);
}

void DtObjectDataDistMgr::subscribeObjectClassAttributesWithRegionActive(DtObjectClassInfo& cls, DtRegion& region,
                                                                         const DtAttributeHandleSet& attributes) {
  for (RTI::ULong i = 0; i < attributes.size(); ++i) {
    const RTI::AttributeHandle attribute = attributes.getHandle(i);
    DtAttrInfo* info = cls.attrByHandle(attribute);
    if (!info) continue;
    addRegion(*this, theActive, cls, *info, region, attribute);
    removeRegion(*this, thePassive, cls, *info, region, attribute);
  }
  processPendingSubRegAssoc();
  processPendingPasRegAssoc();
}

void DtObjectDataDistMgr::subscribeObjectClassAttributesWithRegionPassive(DtObjectClassInfo& cls, DtRegion& region,
                                                                          const DtAttributeHandleSet& attributes) {
  for (RTI::ULong i = 0; i < attributes.size(); ++i) {
    const RTI::AttributeHandle attribute = attributes.getHandle(i);
    DtAttrInfo* info = cls.attrByHandle(attribute);
    if (!info) continue;
    addRegion(*this, thePassive, cls, *info, region, attribute);
    removeRegion(*this, theActive, cls, *info, region, attribute);
  }
  processPendingPasRegAssoc();
  processPendingSubRegAssoc();
}

DtAttributeHandleSet DtObjectDataDistMgr::subAttributesToRemove(const DtRegion& region, const DtObjectClassInfo& cls,
                                                                const DtAttributeHandleSet& attributes) const {
  DtAttributeHandleSet others;
  for (const auto& info : cls.attrs()) {
    if (!info || attributes.isMember(info->handle())) continue;
    if (holds(info->subRegionSet(), region) || holds(info->pasRegionSet(), region)) others.add(info->handle());
  }
  return others;
}

void DtObjectDataDistMgr::unsubscribeObjectClassWithRegion(RTI::ObjectClassHandle theClass, RTI::Region& region) {
  DtObjectClassInfo& cls = definedClass(theClass);
  unsubscribeObjectClassWithRegion(cls, ownRegion(&region), cls.allAttrs());
}

void DtObjectDataDistMgr::unsubscribeObjectClassWithRegion(DtObjectClassInfo& cls, DtRegion& region,
                                                           const DtAttributeHandleSet& attributes) {
  bool subscribed = false;
  for (RTI::ULong i = 0; i < attributes.size(); ++i) {
    const RTI::AttributeHandle attribute = attributes.getHandle(i);
    DtAttrInfo* info = cls.attrByHandle(attribute);
    if (!info) continue;
    // The active subscription goes first; the passive one only when there
    // is no active one with the region.
    if (removeRegion(*this, theActive, cls, *info, region, attribute) ||
        removeRegion(*this, thePassive, cls, *info, region, attribute)) {
      subscribed = true;
    }
  }
  if (!subscribed) throw RTI::ObjectClassNotSubscribed("");
  processPendingSubRegAssoc();
  processPendingPasRegAssoc();
}

// ---- announced again, and the class of discovery --------------------------------------

void DtObjectDataDistMgr::collectPendingSubscribeWithRegion(DtObjectClassInfo& cls) {
  for (const auto& [handle, attributes] : cls.getSubscribeByRegionList()) {
    DtSubRegionSet* set = getSubRegionSet(handle);
    if (!set || attributes.isEmpty()) continue;
    if (ddmMgr_) ddmMgr_->addPendingNotifyRegion(*set);
    if (handle != 0) collectPendingSubRegSet(set);
    collectPendingAssocSubReg(*set, cls, attributes);
  }
}

void DtObjectDataDistMgr::checkForRegionalSubscribe(DtObjectClassInfo& cls) {
  if (cls.subscribedWithRegions() != 0) collectPendingSubscribeWithRegion(cls);
}

DtObjectClassInfo* DtObjectDataDistMgr::firstSubscribedClass(DtObjectClassInfo* cls, std::uint32_t regionSet) {
  for (DtObjectClassInfo* at = cls; at; at = at->baseClass()) {
    if (at->subscribeOverlaps(regionSet)) return at;
  }
  return nullptr;
}
