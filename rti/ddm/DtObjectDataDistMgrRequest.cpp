// Update requests under data distribution: a class-wide request sent from
// the subscription set of a region, and the requests this federate answers.
// A request from another federate's subscription set is taken only when a
// publication set of this federate overlaps it, and then provides only the
// attributes that have no publication set or whose set overlaps the
// requesting one.
#include "ddm/DtDataDistMgr.h"
#include "ddm/DtObjectDataDistMgr.h"
#include "ddm/DtPubRegionSet.h"
#include "ddm/DtRegion.h"
#include "ddm/DtRemoteRegionSet.h"
#include "ddm/DtSubRegionSet.h"
#include "msg/DtObjectMsgs.h"
#include "objects/DtFomClassMgr.h"
#include "objects/DtObjectClassInfo.h"
#include "objects/DtRtiObject.h"
#include "objects/DtSpaceInfo.h"

void DtObjectDataDistMgr::requestClassAttributeValueUpdateWithRegion(RTI::ObjectClassHandle theClass,
                                                                     const RTI::AttributeHandleSet& attributes,
                                                                     const RTI::Region& theRegion) {
  DtObjectClassInfo* cls = fom_ ? fom_->classByHandle(theClass) : nullptr;
  if (!cls) throw RTI::ObjectClassNotDefined("");
  // Only a region this federate has: another's (or a stale one) has no
  // subscription set here to ask from.
  const auto* region = dynamic_cast<const DtRegion*>(&theRegion);
  if (region && (!ddmMgr_ || ddmMgr_->localRegion(region->handle()) != region)) region = nullptr;
  const std::int32_t space = region && region->space() ? region->space()->handle() : 0;
  for (RTI::ULong i = 0; i < attributes.size(); ++i) {
    const RTI::AttributeHandle attribute = attributes.getHandle(i);
    if (!cls->attrByHandle(attribute)) throw RTI::AttributeNotDefined("");
    if (region && space != 0 && cls->attrSpace(attribute) != space) throw RTI::RegionNotKnown("");
  }
  if (!region) throw RTI::RegionNotKnown("");
  DtSubRegionSet* set = addSubRegion(*ddmMgr_->localRegion(region->handle()), nullptr);
  if (!set) throw RTI::RTIinternalError("");
  requestClassUpdate(theClass, attributes, set->regionSetHandle());
}

void DtObjectDataDistMgr::processRequest(const DtRequestMsg& msg) {
  const auto regionSet = static_cast<std::uint32_t>(msg.regionSet());
  if (!acceptRequestChannel(regionSet)) return;
  if (msg.requestType() == DtRequestById) {
    DtObjectMgr::processRequest(msg);
    return;
  }
  const DtRemoteRegionSet* requester = regionSet != 0 ? getRemoteSubRegionSet(regionSet) : nullptr;
  if (!requester) {
    DtObjectMgr::processRequest(msg);
    return;
  }
  const RTI::AttributeHandleSet& attributes = msg.attrHandles();
  const auto theClass = static_cast<std::uint32_t>(msg.objectClassHandle());
  for (DtListItem* item = ownedObjects().head(); item; item = item->next()) {
    const auto* object = static_cast<const DtRtiObject*>(item->data());
    if (object->isOfActualClass(theClass)) provideAttrValueUpdate(object, attributes, *requester);
  }
}

void DtObjectDataDistMgr::provideAttrValueUpdate(const DtRtiObject* object, const RTI::AttributeHandleSet& attributes,
                                                 const DtRemoteRegionSet& requester) {
  const DtAttributeHandleSet owned = object->ownedAttrs().setIntersection(attributes);
  DtAttributeHandleSet provided;
  for (RTI::ULong i = 0; i < owned.size(); ++i) {
    const RTI::AttributeHandle attribute = owned.getHandle(i);
    const auto* set = dynamic_cast<const DtPubRegionSet*>(object->regionSet(attribute));
    if (!object->regionSet(attribute) || (set && set->isOverlap(requester.regionSetHandle()))) provided.add(attribute);
  }
  RTI::FederateAmbassador* amb = provided.isEmpty() ? nullptr : fedAmb();
  if (amb) amb->provideAttributeValueUpdate(object->objHandle(), provided);
}
