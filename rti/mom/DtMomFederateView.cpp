#include "mom/DtMomFederateView.h"

#include <memory>

#include "mom/DtMomFederate.h"
#include "mom/DtMomHandleList.h"
#include "mom/DtMomMgr.h"
#include "mom/DtMomObjectInfo.h"
#include "mom/DtMomTallyList.h"
#include "objects/DtAttrInfo.h"
#include "objects/DtFomClassMgr.h"
#include "objects/DtInteractionClassInfo.h"
#include "objects/DtObjectClassInfo.h"
#include "objects/DtObjectMgr.h"
#include "objects/DtRtiObject.h"
#include "port/DtProcess.h"

namespace {

RTI::Boolean boolean(bool value) { return value ? RTI::RTI_TRUE : RTI::RTI_FALSE; }

template <class Fn>
void forEachObjectClass(const DtFomClassMgr& fom, Fn fn) {
  for (int h = 0; h < fom.numClasses(); ++h) {
    if (DtObjectClassInfo* cls = fom.classByHandle(static_cast<RTI::ObjectClassHandle>(h))) fn(*cls);
  }
}

template <class Fn>
void forEachInteractionClass(const DtFomClassMgr& fom, Fn fn) {
  for (int h = 0; h < fom.numInteractions(); ++h) {
    if (DtInteractionClassInfo* cls = fom.interactionByHandle(static_cast<RTI::InteractionClassHandle>(h))) fn(*cls);
  }
}

// An attribute of the class's subscription is passive when a passive region
// set carries it, or when the class subscribed it passively without a region
// and no active region set carries it as well.
bool subscribedPassively(const DtObjectClassInfo& cls, const DtAttrInfo& attribute) {
  if (attribute.pasRegionSet()) return true;
  return cls.isPassive() && cls.subscribedAttrs().isMember(attribute.handle()) && !attribute.subRegionSet();
}

bool subscribedPassively(const DtInteractionClassInfo& cls) {
  if (cls.pasRegionSet()) return true;
  return cls.subscribed() == DtInteractionClassInfo::subscribedPassively && !cls.subRegionSet();
}

bool subscribedActively(const DtInteractionClassInfo& cls) {
  return cls.subscribed() == DtInteractionClassInfo::subscribedActively || cls.subRegionSet();
}

}  // namespace

DtMomInspector::DtMomInspector(DtFomClassMgr* fom, DtMomFederate* federate, DtObjectMgr* objMgr,
                               DtInteractionMgr* interMgr, DtMomMgr* momMgr)
    : fom_(fom), federate_(federate), objMgr_(objMgr), interMgr_(interMgr), momMgr_(momMgr) {}

// ---- Manager.Federate

DtString DtMomInspector::getFEDid() const { return federate_->fedFile(); }

DtString DtMomInspector::getFederateType() const { return federate_->federateType(); }

RTI::FedTime* DtMomInspector::getLookahead(RTI::FedTime* time) const {
  federate_->queryLookahead(*time);
  return time;
}

DtMomFederateStates DtMomInspector::getFederateState() const {
  if (federate_->saveInitiated()) return DtMomSavePending;
  if (federate_->saveBegun()) return DtMomSaving;
  if (federate_->restoreBegun()) return DtMomRestoring;
  return DtMomRunning;
}

RTI::Boolean DtMomInspector::getTimeConstrained() const { return boolean(federate_->timeConstrained()); }

std::int32_t DtMomInspector::objectTotal(void (DtObjectMgr::*count)(DtTallySink&) const) const {
  DtMomTallyList counts(true);
  (objMgr_->*count)(counts);
  return counts.total(RTI::RTI_FALSE);
}

std::int32_t DtMomInspector::getObjectsUpdated() const { return objectTotal(&DtObjectMgr::getObjectsUpdated); }

std::int32_t DtMomInspector::getReflectionsReceived() const {
  DtMomTallyList tallies;
  getDetailedUpdatesTally(tallies);
  return tallies.total(RTI::RTI_TRUE);
}

DtString DtMomInspector::getFederateHost() const { return DtString(DtHostName().c_str()); }

std::int32_t DtMomInspector::getUpdatesSent() const {
  DtMomTallyList tallies;
  getDetailedUpdatesTally(tallies);
  return tallies.total(RTI::RTI_FALSE);
}

RTI::FedTime* DtMomInspector::getFederateTime(RTI::FedTime* time) const {
  federate_->queryFederateTime(*time);
  return time;
}

std::int32_t DtMomInspector::getTSOlength() const {
  return static_cast<std::int32_t>(federate_->queuedTimestampedCount());
}

std::int32_t DtMomInspector::getROlength() const {
  return static_cast<std::int32_t>(federate_->queuedReceiveOrderCount());
}

std::int32_t DtMomInspector::getInteractionsReceived() const {
  DtMomTallyList tallies;
  getDetailedInteractionsTally(tallies);
  return tallies.total(RTI::RTI_TRUE);
}

std::int32_t DtMomInspector::getInteractionsSent() const {
  DtMomTallyList tallies;
  getDetailedInteractionsTally(tallies);
  return tallies.total(RTI::RTI_FALSE);
}

DtMomTimeManagerStates DtMomInspector::getTimeManagerState() const {
  return federate_->timeAdvancePending() ? DtMomAdvancePending : DtMomIdle;
}

RTI::FedTime* DtMomInspector::getMinNextEventTime(RTI::FedTime* time) const {
  federate_->queryMinNextEventTime(*time);
  return time;
}

RTI::Boolean DtMomInspector::getTimeRegulating() const { return boolean(federate_->timeRegulating()); }

DtString DtMomInspector::getRTIversion() const { return DtString(theRtiVersion); }

std::int32_t DtMomInspector::getObjectsReflected() const { return objectTotal(&DtObjectMgr::getObjectsReflected); }

std::int32_t DtMomInspector::getObjectsOwned() const { return objectTotal(&DtObjectMgr::getObjectsOwned); }

RTI::Boolean DtMomInspector::getAsynchronousDelivery() const { return boolean(federate_->asynchronousDelivery()); }

RTI::FedTime* DtMomInspector::getLBTS(RTI::FedTime* time) const {
  federate_->queryLBTS(*time);
  return time;
}

std::uint32_t DtMomInspector::getFederateHandle() const {
  return static_cast<std::uint32_t>(federate_->federateHandle());
}

// ---- Manager.Federation

DtString DtMomInspector::getFederationName() const { return federate_->federationName(); }

RTI::FedTime* DtMomInspector::getNextSaveTime(RTI::FedTime* time) const {
  federate_->nextSaveTime(*time);
  return time;
}

DtString DtMomInspector::getNextSaveName() const { return federate_->nextSaveName(); }

const DtMomHandleList* DtMomInspector::getFederatesInFederation() const {
  return momMgr_ ? momMgr_->federateList() : nullptr;
}

RTI::FedTime* DtMomInspector::getLastSaveTime(RTI::FedTime* time) const {
  federate_->lastSaveTime(*time);
  return time;
}

DtString DtMomInspector::getLastSaveName() const { return federate_->lastSaveName(); }

// ---- the reports' contents

void DtMomInspector::getInteractionSubscription(DtMomHandleList* out, RTI::Boolean active) const {
  forEachInteractionClass(*fom_, [&](const DtInteractionClassInfo& cls) {
    if (active ? subscribedActively(cls) : subscribedPassively(cls)) out->append(cls.handle());
  });
}

void DtMomInspector::getInteractionPublication(DtMomHandleList* out) const {
  forEachInteractionClass(*fom_, [&](const DtInteractionClassInfo& cls) {
    if (cls.published()) out->append(cls.handle());
  });
}

void DtMomInspector::getObjectPublication(DtMomPublicationList& out) const {
  forEachObjectClass(*fom_, [&](const DtObjectClassInfo& cls) {
    if (cls.publishedAttrs().isEmpty()) return;
    auto entry = std::make_unique<DtMomHandleList>(cls.publishedAttrs());
    entry->setClassHandle(cls.handle());
    out.append(entry.release());
  });
}

void DtMomInspector::getObjectSubscription(DtMomSubscriptionList& out) const {
  forEachObjectClass(*fom_, [&](const DtObjectClassInfo& cls) {
    const DtAttributeHandleSet& subscribed = cls.subscribedAttrs(0);
    if (subscribed.isEmpty()) return;
    auto active = std::make_unique<DtMomHandleList>();
    auto passive = std::make_unique<DtMomHandleList>();
    for (RTI::ULong i = 0; i < subscribed.size(); ++i) {
      const RTI::AttributeHandle handle = subscribed.getHandle(i);
      const DtAttrInfo* attribute = cls.attrByHandle(handle);
      (attribute && subscribedPassively(cls, *attribute) ? passive : active)->append(handle);
    }
    for (auto* entry : {&active, &passive}) {
      if ((*entry)->count() == 0) continue;
      (*entry)->setClassHandle(cls.handle());
      (*entry)->setActive(entry == &active ? RTI::RTI_TRUE : RTI::RTI_FALSE);
      out.append(entry->release());
    }
  });
}

void DtMomInspector::getObjectInformation(DtMomObjectInfo& info, const char* objectName) const {
  const DtRtiObject* object = objMgr_->knownObj(objectName ? objectName : "");
  if (!object) return;
  info.setActualClass(object->actualClassHandle());
  info.setKnownClass(object->knownClassHandle());
  info.setOwned(object->ownedAttrs());
}

void DtMomInspector::getDetailedUpdatesTally(DtMomTallyList& out) const {
  forEachObjectClass(*fom_, [&](const DtObjectClassInfo& cls) { out.append(&cls.tallySet()); });
}

void DtMomInspector::getDetailedInteractionsTally(DtMomTallyList& out) const {
  forEachInteractionClass(*fom_, [&](const DtInteractionClassInfo& cls) { out.append(&cls.tallySet()); });
}
