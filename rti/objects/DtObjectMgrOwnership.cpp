// Attribute ownership as far as declarations and resignation need it:
// divestiture (and its cancellation) with the offers and hand-overs it
// sends, the assumption requests and owner changes other federates' messages
// call for, the divestitures that publication changes make, and what a
// resigning federate does with what it owns. Acquisition and the ownership
// queries are still to come.
#include "api/DtNotImplemented.h"
#include "net/DtOwnershipMsg.h"
#include "objects/DtFomClassMgr.h"
#include "objects/DtObjectClassInfo.h"
#include "objects/DtObjectMgr.h"
#include "objects/DtObjectMgrMsg.h"
#include "objects/DtRtiObject.h"
#include "util/DtNotify.h"

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

void DtObjectMgr::acquireAttrs(RTI::ObjectHandle, const RTI::AttributeHandleSet&, bool ifAvailable, const char*) {
  DtNotImplemented(ifAvailable ? "attributeOwnershipAcquisitionIfAvailable" : "attributeOwnershipAcquisition");
}

void DtObjectMgr::cancelAcquire(RTI::ObjectHandle, const RTI::AttributeHandleSet&) {
  DtNotImplemented("cancelAttributeOwnershipAcquisition");
}

RTI::AttributeHandleSet* DtObjectMgr::releaseResponse(RTI::ObjectHandle, const RTI::AttributeHandleSet&) {
  DtNotImplemented("attributeOwnershipReleaseResponse");
}

void DtObjectMgr::queryOwnership(RTI::ObjectHandle, RTI::AttributeHandle) {
  DtNotImplemented("queryAttributeOwnership");
}

void DtObjectMgr::divestOwnership(RTI::ObjectHandle object, const RTI::AttributeHandleSet& attributes,
                                  bool negotiated, const char* tag) {
  DtRtiObject& o = knownObject(object);
  checkEach(attributes, [&](RTI::AttributeHandle h) {
    if (!o.owned(h)) throw RTI::AttributeNotOwned("");
    if (!definedIn(o, h)) throw RTI::AttributeNotDefined("");
    if (negotiated && o.divestingAttrs().isMember(h)) throw RTI::AttributeAlreadyBeingDivested("");
  });
  const bool ownedBefore = !o.ownedAttrs().isEmpty();
  const DtAttributeHandleSet divested(attributes);
  DtAttributeHandleSet offered(divested);  // what nobody asked for
  DtAttributeHandleSet gone;               // what leaves this federate
  DtAttributeHandleSet released;
  // Federates that asked for some of them get those at once.
  while (const std::uint32_t requester = o.releaseRequested(divested, &released, nullptr)) {
    if (RTI::FederateAmbassador* amb = fedAmb()) amb->attributeOwnershipDivestitureNotification(object, released);
    sendOwnershipMsg(DtNotifyAcquire, object, released, requester, nullptr);
    offered = offered.removeSetIntersection(released);
    gone = gone.setUnion(released);
  }
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
  if (!gone.isEmpty()) {
    unassociateRegionForDivested(o, gone, negotiated);
    o.divestRemoteSubscriptions(gone);
  }
  if (ownedBefore && o.ownedAttrs().isEmpty()) removeOwnedObj(object);
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

void DtObjectMgr::sendOwnershipMsg(int ownerMsgKind, RTI::ObjectHandle object,
                                   const RTI::AttributeHandleSet& attributes, std::uint32_t recipient,
                                   const char* tag) {
  if (auto msg = makeMsg<DtOwnershipMsg>(DtOwnershipMsgKind)) {
    msg->set(static_cast<DtOwnerMsgKind>(ownerMsgKind), object, attributes, recipient, tag);
    sendInternal(std::move(msg));
  }
}

void DtObjectMgr::processOwnership(const DtOwnershipMsg& msg) {
  const auto object = static_cast<RTI::ObjectHandle>(msg.objHandle());
  const std::uint32_t sender = msg.federateHandle();
  switch (msg.ownerMsgKind()) {
    case DtNegotiatedDivest:
      processDivest(object, msg.attrHandles(), sender, msg.tag());
      return;
    case DtUncondDivest:
      processDivest(object, msg.attrHandles(), sender, nullptr);
      return;
    case DtResetOwner:
      resetOwner(object, msg.recipientFederate());
      return;
    case DtAcquire:
    case DtAcquireIfAvail:
    case DtCancelAcquire:
    case DtCancelNegotiatedDivest:
    case DtQueryOwner:
    case DtNotOwned:
    case DtOwnedByRti:
    case DtNotifyAcquire:
    case DtOwnershipUnavail:
    case DtConfirmCancelAcquire:
    case DtInformOwner:
    case DtGiveToLRC:
      // Answered once acquisition and the ownership queries are built.
      return;
  }
  DtNotifyError("Received DtOwnershipMsg of unknown kind: %d\n", static_cast<int>(msg.ownerMsgKind()));
}

void DtObjectMgr::processDivest(RTI::ObjectHandle object, const RTI::AttributeHandleSet& attributes,
                                std::uint32_t sender, const char* tag) {
  if (sender == fedHandle()) return;
  const DtRtiObject* o = knownObj(object);
  if (!o || !o->knownClass()) return;
  const DtAttributeHandleSet assumable = o->knownClass()->publishedAttrs().setIntersection(attributes);
  RTI::FederateAmbassador* amb = fedAmb();
  if (amb && !assumable.isEmpty()) amb->requestAttributeOwnershipAssumption(object, assumable, tag ? tag : "");
}

void DtObjectMgr::resetOwner(RTI::ObjectHandle object, std::uint32_t owner) {
  if (DtRtiObject* o = allObj(object)) o->setOwnerHandle(owner);
}
