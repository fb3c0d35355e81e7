// Attribute ownership services: acquisition (plain and if available) and
// its cancellation, divestiture (negotiated and unconditional) and its
// cancellation, the release response and the ownership query; the
// divestitures that publication changes make and what a resigning federate
// does with what it owns. The answers to other federates' ownership
// messages are in the receiving half.
//
// Every service checks all of its arguments before anything changes. The
// callbacks a service makes during the call come after its changes, so that
// a federate that calls another service from one finds the state complete.
#include <cstring>
#include <string>

#include "msg/DtOwnershipMsg.h"
#include "objects/DtFomClassMgr.h"
#include "objects/DtObjectClassInfo.h"
#include "objects/DtObjectMgr.h"
#include "objects/DtObjectMgrMsg.h"
#include "objects/DtRtiObject.h"

namespace {

// Runs check(h) for each handle of the set in ascending order.
template <class Check>
void checkEach(const RTI::AttributeHandleSet& attributes, Check&& check) {
  const DtAttributeHandleSet ascending(attributes);
  for (RTI::ULong i = 0; i < ascending.size(); ++i) check(ascending.getHandle(i));
}

bool definedIn(const DtRtiObject& object, RTI::AttributeHandle attribute) {
  const DtObjectClassInfo* known = object.knownClass();
  return known && known->allAttrs().isMember(attribute);
}

}  // namespace

// ---- acquisition

void DtObjectMgr::acquireAttrs(RTI::ObjectHandle object, const RTI::AttributeHandleSet& attributes, bool ifAvailable,
                               const char* tag) {
  DtRtiObject& o = knownObject(object);
  checkEach(attributes, [&](RTI::AttributeHandle h) {
    if (o.owned(h)) throw RTI::FederateOwnsAttributes("");
    if (!definedIn(o, h)) throw RTI::AttributeNotDefined("");
    if (!o.knownClass()->published()) throw RTI::ObjectClassNotPublished("");
    if (!o.knownClass()->publishedAttrs().isMember(h)) throw RTI::AttributeNotPublished("");
    if (ifAvailable && o.pendingUncondRequest(h)) throw RTI::AttributeAlreadyBeingAcquired("");
  });
  const DtAttributeHandleSet wanted(attributes);
  const DtAttributeHandleSet held = wanted.setIntersection(o.lrcManagedAttrs());  // free, held here
  const DtAttributeHandleSet rtiOwned = wanted.setIntersection(o.rtiOwnedAttrs());
  const DtAttributeHandleSet asked = wanted.removeSetIntersection(held).removeSetIntersection(rtiOwned);
  const CallbackScope scope(*this);
  if (!held.isEmpty()) {
    // Nobody owns them and this component holds them: taken at once.
    const DtAttributeHandleSet before = o.updateOnAttrs();
    o.takeFromLrc(held);
    const DtAttributeHandleSet turnedOn = tookOwnership(o, held, before);
    // The advice reaches the federate at the next tick.
    if (!turnedOn.isEmpty()) addPendingStartUpdates(object, turnedOn);
  }
  if (!asked.isEmpty()) {
    sendOwnershipMsg(ifAvailable ? DtAcquireIfAvail : DtAcquire, object, asked, 0, tag);
    o.addRequest(asked, ifAvailable);
    o.numberRequest(asked);
  }
  RTI::FederateAmbassador* amb = fedAmb();
  if (amb && !held.isEmpty()) amb->attributeOwnershipAcquisitionNotification(object, held);
  // A plain acquisition drops the RTI's attributes without a word.
  if (amb && ifAvailable && !rtiOwned.isEmpty() && knownObj(object) == &o) {
    amb->attributeOwnershipUnavailable(object, rtiOwned);
  }
}

DtAttributeHandleSet DtObjectMgr::tookOwnership(DtRtiObject& o, const DtAttributeHandleSet& taken,
                                                const DtAttributeHandleSet& before) {
  const RTI::ObjectHandle object = o.objHandle();
  if (fileByOwnership(o)) sendRequestDiscoverMsg(object);
  acquireAssociateRegionForUpdates(object, taken);
  if (fom_) o.acquireRemoteSubscriptions(taken, *fom_);
  // Subscribers that have not discovered the object yet hear of it again.
  const DtObjectClassInfo* known = o.knownClass();
  if (!settings().dataDistMgmt && known && !known->relevantAttrs().setIntersection(taken).isEmpty()) {
    addPendingRegisterForObject(object);
  }
  if (!attributeRelevanceSwitch()) return {};
  return o.updateOnAttrs().removeSetIntersection(before);
}

void DtObjectMgr::cancelAcquire(RTI::ObjectHandle object, const RTI::AttributeHandleSet& attributes) {
  DtRtiObject& o = knownObject(object);
  checkEach(attributes, [&](RTI::AttributeHandle h) {
    if (o.owned(h)) throw RTI::AttributeAlreadyOwned("");
    if (!definedIn(o, h)) throw RTI::AttributeNotDefined("");
    if (!o.pendingUncondRequest(h)) throw RTI::AttributeAcquisitionWasNotRequested("");
  });
  // The request stays until the owner confirms the cancellation: an answer
  // giving the attributes may already be on its way. The cancellation names
  // the requests it withdraws, so that its confirmation leaves one asked
  // for again meanwhile.
  const std::string serial = std::to_string(o.lastRequestSerial());
  sendOwnershipMsg(DtCancelAcquire, object, attributes, 0, serial.c_str());
}

// ---- divestiture and release

void DtObjectMgr::divestOwnership(RTI::ObjectHandle object, const RTI::AttributeHandleSet& attributes, bool negotiated,
                                  const char* tag) {
  DtRtiObject& o = knownObject(object);
  checkEach(attributes, [&](RTI::AttributeHandle h) {
    if (!o.owned(h)) throw RTI::AttributeNotOwned("");
    if (!definedIn(o, h)) throw RTI::AttributeNotDefined("");
    if (negotiated && o.divestingAttrs().isMember(h)) throw RTI::AttributeAlreadyBeingDivested("");
  });
  const DtAttributeHandleSet divested(attributes);
  std::vector<DtAttributeHandleSet> notified;
  DtAttributeHandleSet gone = releaseToRequesters(o, divested, &notified);
  const DtAttributeHandleSet offered = divested.removeSetIntersection(gone);  // what nobody asked for
  if (!offered.isEmpty()) {
    if (negotiated) {
      sendOwnershipMsg(DtNegotiatedDivest, object, offered, 0, tag);
      o.addDivesting(offered);
    } else {
      // Nobody owns them now: this federate's component holds them.
      gone = gone.setUnion(offered);
      sendOwnershipMsg(DtUncondDivest, object, offered, 0, nullptr);
      o.giveToLrc(offered);
    }
  }
  leftOwnership(o, gone, negotiated);
  notifyDivested(object, notified);
}

RTI::AttributeHandleSet* DtObjectMgr::releaseResponse(RTI::ObjectHandle object,
                                                      const RTI::AttributeHandleSet& attributes) {
  DtRtiObject& o = knownObject(object);
  checkEach(attributes, [&](RTI::AttributeHandle h) {
    if (!o.owned(h)) throw RTI::AttributeNotOwned("");
    if (!definedIn(o, h)) throw RTI::AttributeNotDefined("");
    if (!o.pendingRemoteRequest(h) && !o.isRequestCanceled(h)) throw RTI::FederateWasNotAskedToReleaseAttribute("");
  });
  const DtAttributeHandleSet released = releaseToRequesters(o, DtAttributeHandleSet(attributes), nullptr);
  leftOwnership(o, released, true);
  // Attributes nobody asked for (cancelled requests) stay owned.
  return new DtAttributeHandleSet(released);
}

DtAttributeHandleSet DtObjectMgr::releaseToRequesters(DtRtiObject& o, const DtAttributeHandleSet& attributes,
                                                      std::vector<DtAttributeHandleSet>* notified) {
  DtAttributeHandleSet gone;
  DtAttributeHandleSet released;
  while (const std::uint32_t requester = o.releaseRequested(attributes, &released, nullptr)) {
    sendNotifyAcquire(o, released, requester);
    if (notified) notified->push_back(released);
    gone = gone.setUnion(released);
  }
  return gone;
}

void DtObjectMgr::leftOwnership(DtRtiObject& o, const DtAttributeHandleSet& gone, bool negotiated) {
  if (!gone.isEmpty()) {
    unassociateRegionForDivested(o, gone, negotiated);
    o.divestRemoteSubscriptions(gone);
  }
  fileByOwnership(o);
}

void DtObjectMgr::notifyDivested(RTI::ObjectHandle object, const std::vector<DtAttributeHandleSet>& notified) {
  if (notified.empty()) return;
  const CallbackScope scope(*this);
  for (const DtAttributeHandleSet& released : notified) {
    RTI::FederateAmbassador* amb = fedAmb();
    if (amb) amb->attributeOwnershipDivestitureNotification(object, released);
  }
}

bool DtObjectMgr::fileByOwnership(DtRtiObject& o) {
  const RTI::ObjectHandle object = o.objHandle();
  bool joined = false;
  if (o.ownedAttrs().isEmpty()) {
    removeOwnedObj(object);
  } else if (!ownedObj(object)) {
    addOwnedObj(&o);
    joined = true;
  }
  if (o.lrcManagedAttrs().isEmpty()) {
    removeLrcManagedObj(object);
  } else if (!lrcManagedObj(object)) {
    addLrcManagedObj(&o);
  }
  return joined;
}

void DtObjectMgr::cancelDivest(RTI::ObjectHandle object, const RTI::AttributeHandleSet& attributes) {
  DtRtiObject& o = knownObject(object);
  checkEach(attributes, [&](RTI::AttributeHandle h) {
    if (!o.owned(h)) throw RTI::AttributeNotOwned("");
    if (!definedIn(o, h)) throw RTI::AttributeNotDefined("");
    if (!o.divestingAttrs().isMember(h)) throw RTI::AttributeDivestitureWasNotRequested("");
  });
  o.removeDivesting(attributes);
}

// ---- query

void DtObjectMgr::queryOwnership(RTI::ObjectHandle object, RTI::AttributeHandle attribute) {
  const DtRtiObject& o = knownObject(object);
  if (!o.knownClass() || !o.knownClass()->attrByHandle(attribute)) throw RTI::AttributeNotDefined("");
  RTI::FederateAmbassador* amb = fedAmb();
  const CallbackScope scope(*this);
  if (o.owned(attribute)) {
    if (amb) amb->informAttributeOwnership(object, attribute, fedHandle());
  } else if (o.rtiOwned(attribute)) {
    if (amb) amb->attributeOwnedByRTI(object, attribute);
  } else if (o.lrcManaged(attribute)) {
    if (amb) amb->attributeIsNotOwned(object, attribute);
  } else {
    sendOwnershipMsg(DtQueryOwner, object, attribute, 0, nullptr);
  }
}

// ---- what publication changes and resignation do

void DtObjectMgr::throwIfAcquisitionPending(RTI::ObjectClassHandle theClass,
                                            const RTI::AttributeHandleSet& attributes) {
  for (const DtListItem* item = all_.list().head(); item; item = item->next()) {
    const auto* object = static_cast<const DtRtiObject*>(item->data());
    if (object->knownClassHandle() != theClass) continue;
    if (!object->uncondRequestedAttrs().setIntersection(attributes).isEmpty() ||
        !object->ifAvailRequestedAttrs().setIntersection(attributes).isEmpty()) {
      throw RTI::OwnershipAcquisitionPending("");
    }
  }
}

void DtObjectMgr::divestAllInstances() {
  owned_.forEach([this](DtRtiObject& object) {
    divestOwnership(object.objHandle(), DtAttributeHandleSet(object.ownedAttrs()), false, nullptr);
  });
}

void DtObjectMgr::divestAllInstances(RTI::ObjectClassHandle theClass, const RTI::AttributeHandleSet& attributes) {
  if (attributes.isEmpty()) return;
  owned_.forEach([&](DtRtiObject& object) {
    if (object.knownClassHandle() != theClass) return;
    const DtAttributeHandleSet divested = object.ownedAttrs().setIntersection(attributes);
    if (!divested.isEmpty()) divestOwnership(object.objHandle(), divested, false, nullptr);
  });
}

void DtObjectMgr::releaseAllAttributes(DtRtiObject& object) {
  if (!object.rtiOwnedAttrs().isEmpty()) return;
  const DtAttributeHandleSet held = object.ownedAttrs().setUnion(object.lrcManagedAttrs());
  if (held.isEmpty()) return;
  // For the rtiexec to hand to a federate that stays; without one nobody
  // takes them.
  if (auto msg = makeMsg<DtOwnershipMsg>(DtOwnershipMsgKind)) {
    msg->set(DtGiveToLRC, object.objHandle(), held, 0, object.objName());
    msg->setClassHandle(object.actualClassHandle());
    sendInternal(std::move(msg));
  }
}

void DtObjectMgr::deleteAllOwnedObjects() {
  owned_.forEach([this](DtRtiObject& object) {
    if (object.ownPriviledgeToDelete()) deleteObj(object.objHandle(), nullptr, "");
  });
}

// ---- sending

void DtObjectMgr::sendNotifyAcquire(const DtRtiObject& object, const RTI::AttributeHandleSet& attributes,
                                    std::uint32_t recipient) {
  auto msg = makeMsg<DtOwnershipMsg>(DtOwnershipMsgKind);
  if (!msg) return;
  const char* name = object.objName();
  const bool nameFits = name && std::strlen(name) <= static_cast<std::size_t>(DtOwnershipMsg::theMaxTagLength);
  msg->set(DtNotifyAcquire, object.objHandle(), attributes, recipient, nameFits ? name : nullptr);
  msg->setClassHandle(object.actualClassHandle());
  sendInternal(std::move(msg));
}

void DtObjectMgr::sendTakenOver(RTI::ObjectHandle object, const RTI::AttributeHandleSet& attributes) {
  if (settings().useRtiExec && !attributes.isEmpty()) sendOwnershipMsg(DtTakenOver, object, attributes, 0, nullptr);
}

void DtObjectMgr::sendOwnershipMsg(int ownerMsgKind, RTI::ObjectHandle object, RTI::AttributeHandle attribute,
                                   std::uint32_t recipient, const char* tag) {
  DtAttributeHandleSet one;
  one.add(attribute);
  sendOwnershipMsg(ownerMsgKind, object, one, recipient, tag);
}

void DtObjectMgr::sendOwnershipMsg(int ownerMsgKind, RTI::ObjectHandle object,
                                   const RTI::AttributeHandleSet& attributes, std::uint32_t recipient,
                                   const char* tag) {
  if (auto msg = makeMsg<DtOwnershipMsg>(DtOwnershipMsgKind)) {
    msg->set(static_cast<DtOwnerMsgKind>(ownerMsgKind), object, attributes, recipient, tag);
    sendInternal(std::move(msg));
  }
}
