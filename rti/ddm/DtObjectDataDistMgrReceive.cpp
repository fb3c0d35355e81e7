// The object data distribution manager's receiving side: the region sets
// the other federates announce (kind 29) and the attributes they associate
// with them (kinds 27 and 28), matched against this federate's sets; a
// remote publication set's channel is joined once it overlaps and matches,
// and the objects it carries are discovered and put in scope.
#include <algorithm>

#include "ddm/DtDataDistMgr.h"
#include "ddm/DtObjectDataDistMgr.h"
#include "ddm/DtRegion.h"
#include "ddm/DtRemoteRegionSet.h"
#include "objects/DtAddrMap.h"
#include "objects/DtFomClassMgr.h"
#include "objects/DtObjectClassInfo.h"
#include "objects/DtRtiObject.h"
#include "util/DtNotify.h"

DtRemoteRegionSet* DtObjectDataDistMgr::takeRemoteSet(const DtObjRegSetMsg& msg, DtRegionSetList& table,
                                                      bool publication) {
  auto set = std::make_unique<DtRemoteRegionSet>();
  set->setRegionSetHandle(static_cast<std::uint32_t>(msg.regionSetHandle()));
  set->setFederateHandle(msg.federateHandle());
  if (publication) set->setAddress(static_cast<std::uint32_t>(msg.address()));
  // Only the handles the message holds, whatever its count says.
  const long room = (static_cast<long>(msg.size()) - DtObjRegSetMsg::minSize()) / 4;
  const std::size_t held = room <= 0 ? 0 : std::min<std::size_t>(msg.numberRegions(), static_cast<std::size_t>(room));
  const std::uint32_t* handles = held ? msg.regions() : nullptr;
  for (std::size_t i = 0; handles && i < held; ++i) {
    const std::uint32_t handle = handles[i];
    // A region not announced yet is kept by handle until it is.
    DtRegion* region = nullptr;
    if (ddmMgr_) region = handle == 0 ? &ddmMgr_->defaultRegion() : ddmMgr_->remoteRegion(handle);
    takeRemoteRegion(*set, handle, region, publication);
  }
  DtRemoteRegionSet* taken = set.get();
  table.add(taken->regionSetHandle(), set.release());  // the table owns it now
  return taken;
}

void DtObjectDataDistMgr::processPubRegionSet(const DtObjRegSetMsg& msg) {
  const auto handle = static_cast<std::uint32_t>(msg.regionSetHandle());
  // The first announcement wins; this federate's own come back and are not
  // another's.
  if (msg.federateHandle() == fedHandle() || remotePubRegionSets_.isMember(handle)) return;
  DtRemoteRegionSet* set = takeRemoteSet(msg, remotePubRegionSets_, true);
  if (addrMap()) addrMap()->addRemoteAddrMap(handle, set->address());
  evaluateRegionSetOverlap(subRegionSets_, subOverlaps_, subMatchOverlaps_, *set, false, false);
  evaluateRegionSetOverlap(pasRegionSets_, subOverlaps_, subMatchOverlaps_, *set, false, false);
  if (acceptObjectChannel(handle) && ddmMgr_) ddmMgr_->joinObjectRegionSet(set->address(), handle);
}

void DtObjectDataDistMgr::processSubRegionSet(const DtObjRegSetMsg& msg) {
  const auto handle = static_cast<std::uint32_t>(msg.regionSetHandle());
  if (msg.federateHandle() == fedHandle() || remoteSubRegionSets_.isMember(handle)) return;
  DtRemoteRegionSet* set = takeRemoteSet(msg, remoteSubRegionSets_, false);
  evaluateRegionSetOverlap(pubRegionSets_, pubOverlaps_, pubMatchOverlaps_, *set, false, false);
}

void DtObjectDataDistMgr::processAssocPubReg(const DtAssocPubRegMsg& msg) {
  const std::uint32_t sender = msg.federateHandle();
  if (sender == fedHandle()) {
    // Our own association heard back announces a registration as the plain
    // registration message does: with discovered classes off, the owner
    // gathers the subscriptions the others made before the object existed,
    // with regions and without.
    DtRtiObject* object = msg.isRemoveAssociation() ? nullptr : ownedObj(msg.objectHandle());
    if (object && !settings().sendDiscoveredClass) {
      if (!object->isUpdateOn()) collectRemoteSubscriptions(*object);
      collectRemoteRegionSubscriptions(*object);
    }
    return;
  }
  const auto handle = static_cast<std::uint32_t>(msg.regionSetHandle());
  DtRemoteRegionSet* set = getRemotePubRegionSet(handle);
  if (!set && handle == 0) set = defaultRemotePub_.get();
  if (!set) {
    DtNotifyInfo("Region Set does not exist for received Associate Region %u\n", static_cast<unsigned>(handle));
    return;
  }
  processAssocPubReg(sender, set, static_cast<std::uint32_t>(msg.objectHandle()), msg.objName(),
                     static_cast<std::uint32_t>(msg.classHandle()), DtAttributeHandleSet(msg.attrHandles()),
                     msg.isRemoveAssociation() != 0);
}

void DtObjectDataDistMgr::processAssocPubReg(std::uint32_t federate, DtRemoteRegionSet* set, std::uint32_t object,
                                             const char* name, std::uint32_t classHandle,
                                             const DtAttributeHandleSet& attributes, bool remove) {
  const std::uint32_t setHandle = set->regionSetHandle();
  DtRtiObject* known = knownObj(object);
  // The remote sets keep an object under the class its owner registered it
  // as, so that its later associations and releases find the same entries
  // (the class it is known as here may be a base class of that one).
  DtObjectClassInfo* cls = known ? publishedClass(*known) : (fom_ ? fom_->classByHandle(classHandle) : nullptr);
  if (cls) classHandle = cls->handle();
  if (!cls) {
    DtNotifyInfo("Class descriptor %u does not exist for received Associate Region %u\n",
                 static_cast<unsigned>(classHandle), static_cast<unsigned>(setHandle));
    return;
  }
  DtAttributeHandleSet added;
  if (!remove && setHandle != 0) {
    const DtAttributeHandleSet* held = set->objectAttributes(object);
    added = held ? attributes.removeSetIntersection(*held) : attributes;
  }
  evaluateRemotePubMatchingRemove(subMatches_, subMatchOverlaps_, set, object, cls, remove, attributes);
  if (!added.isEmpty()) {
    const bool wasAccepted = acceptObjectChannel(setHandle);
    set->addAttributes(object, name, cls, attributes);
    evaluateMatchingAfterAdd(subRegionSets_, subMatches_, subMatchOverlaps_, *set, cls, attributes, false, false);
    evaluateMatchingAfterAdd(pasRegionSets_, subMatches_, subMatchOverlaps_, *set, cls, attributes, false, false);
    if (!wasAccepted && acceptObjectChannel(setHandle) && ddmMgr_)
      ddmMgr_->joinObjectRegionSet(set->address(), setHandle);
  }
  RTI::FederateAmbassador* amb = scopeAmb();
  bool advise = amb != nullptr;
  CallbackScope scope(*this);
  if (!known) {
    if (remove || !acceptObjectChannel(setHandle)) return;
    known = processNewObj(object, static_cast<RTI::ObjectClassHandle>(classHandle), name, attributes, setHandle);
    if (!known) return;
    if (attributes.isMember(0)) known->setOwnerHandle(federate);
    // A new object hears nothing of its first scope.
    advise = false;
    amb = nullptr;
  }
  if (setHandle != 0) {
    if (remove) {
      set->evaluateScopeUpdates(*known, attributes, amb);
    } else {
      set->evaluateScopeUpdates(*known, amb);
    }
  } else {
    evaluateScopeUpdates(*known, remove ? attributes : DtAttributeHandleSet(), advise);
  }
}

void DtObjectDataDistMgr::processAssocSubReg(const DtAssocSubRegMsg& msg) {
  const std::uint32_t sender = msg.federateHandle();
  if (sender == fedHandle()) return;
  const auto handle = static_cast<std::uint32_t>(msg.regionSetHandle());
  DtRemoteRegionSet* set = handle == 0 ? defaultRemoteSub_.get() : getRemoteSubRegionSet(handle);
  if (!set) {
    DtNotifyInfo("Region Set does not exist for received (Un)Subscribe Region %u\n", static_cast<unsigned>(handle));
    return;
  }
  const auto classHandle = static_cast<std::uint32_t>(msg.classHandle());
  DtObjectClassInfo* cls = fom_ ? fom_->classByHandle(classHandle) : nullptr;
  if (!cls) {
    DtNotifyInfo("Class descriptor %u does not exist for received Associate Region %u\n",
                 static_cast<unsigned>(classHandle), static_cast<unsigned>(handle));
    return;
  }
  processAssocSubReg(set, cls, DtAttributeHandleSet(msg.attrHandles()), sender);
}

void DtObjectDataDistMgr::processAssocSubReg(DtRemoteRegionSet* set, DtObjectClassInfo* cls,
                                             const DtAttributeHandleSet& attributes, std::uint32_t federate) {
  const std::uint32_t setHandle = set->regionSetHandle();
  evaluateRemoteSubMatchingRemove(pubMatches_, pubMatchOverlaps_, federate, set, cls, attributes);
  if (setHandle != 0) {
    set->addAttributes(cls, attributes);
    evaluateMatchingAfterAdd(pubRegionSets_, pubMatches_, pubMatchOverlaps_, *set, cls, attributes, false, false);
    remoteSubscribeRegion(cls->handle(), attributes, federate, setHandle);
  } else {
    processRemoteUnsubscribeRegion();
  }
  cls->remoteSubscribe(attributes, federate, setHandle, this);
}

// ---- another federate's region goes ------------------------------------------------

void DtObjectDataDistMgr::processDeleteRegion(DtRegion& region) {
  remotePubRegions_.remove(region);
  remoteSubRegions_.remove(region);
  dropRemoteSets(region.objPubRegSetList(), remotePubRegionSets_, subMatches_, subOverlaps_, subMatchOverlaps_, true);
  dropRemoteSets(region.objSubRegSetList(), remoteSubRegionSets_, pubMatches_, pubOverlaps_, pubMatchOverlaps_, false);
}

void DtObjectDataDistMgr::dropRemoteSets(const DtRegionSetList& sets, DtRegionSetList& table,
                                         DtRegionMatchList& matches, DtRegionMatchList& overlaps,
                                         DtRegionMatchList& matchOverlaps, bool publication) {
  for (const std::uint32_t handle : sets.handles()) {
    if (table.lookup(handle) != sets.lookup(handle)) continue;  // not a remote set of this table
    const bool wasAccepted = publication && acceptObjectChannel(handle);
    std::unique_ptr<DtRemoteRegionSet> set(static_cast<DtRemoteRegionSet*>(table.remove(handle)));
    matches.remove(handle);
    overlaps.remove(handle);
    matchOverlaps.remove(handle);
    tables_.forgetSet(set.get());
    // The classes' tables keep nothing under the set's handle.
    for (int c = 0; fom_ && c < fom_->numClasses(); ++c) {
      DtObjectClassInfo* cls = fom_->classByHandle(static_cast<RTI::ObjectClassHandle>(c));
      if (!cls) continue;
      if (publication) {
        cls->removeMatchingPub(handle, cls->allAttrs());
      } else {
        cls->removeMatchingSub(handle, cls->allAttrs());
      }
    }
    if (wasAccepted && ddmMgr_) ddmMgr_->dropObjectRegionSet(set->address(), handle);
    // Its destructor leaves the local sets and every region it holds.
  }
}
