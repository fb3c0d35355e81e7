// The answers to other federates' ownership messages (kind 20): requests to
// acquire and their cancellation, offers, queries and their answers, the
// completion of this federate's acquisitions, owner changes and free
// attributes handed to this federate's component.
//
// A message about an object this federate does not know is dropped without
// a word; the answers addressed to another federate are not looked at.
// Callbacks come after the state has changed and the answers are sent.
#include <cerrno>
#include <cstdlib>
#include <optional>

#include "msg/DtOwnershipMsg.h"
#include "objects/DtFomClassMgr.h"
#include "objects/DtObjectClassInfo.h"
#include "objects/DtObjectMgr.h"
#include "objects/DtObjectMgrMsg.h"
#include "objects/DtRtiObject.h"
#include "util/DtNotify.h"

void DtObjectMgr::processOwnership(const DtOwnershipMsg& msg) {
  const auto object = static_cast<RTI::ObjectHandle>(msg.objHandle());
  const std::uint32_t sender = msg.federateHandle();
  const bool toMe = msg.recipientFederate() == fedHandle();
  const DtAttributeHandleSet attributes(msg.attrHandles());
  const RTI::AttributeHandle first = attributes.isEmpty() ? 0 : attributes.getHandle(0);
  switch (msg.ownerMsgKind()) {
    case DtAcquire:
    case DtAcquireIfAvail:
      processAcquire(object, attributes, sender, msg.ownerMsgKind() == DtAcquireIfAvail, msg.tag());
      return;
    case DtCancelAcquire: processCancelAcquire(object, attributes, sender, msg.tag()); return;
    case DtCancelNegotiatedDivest: return;  // never sent: a cancelled offer concerns nobody else
    case DtNegotiatedDivest: processDivest(object, attributes, sender, true, msg.tag()); return;
    case DtUncondDivest: processDivest(object, attributes, sender, false, nullptr); return;
    case DtQueryOwner: processQueryOwner(object, first, sender); return;
    case DtNotOwned:
    case DtOwnedByRti:
    case DtOwnershipUnavail:
    case DtInformOwner:
      if (toMe) processOwnershipAnswer(msg.ownerMsgKind(), object, attributes, sender);
      return;
    case DtNotifyAcquire:
      if (!toMe) return;
      sendTakenOver(object, attributes);
      processNotifyAcquire(object, attributes);
      return;
    case DtConfirmCancelAcquire:
      if (toMe) processConfirmCancelAcquire(object, attributes, msg.tag());
      return;
    case DtGiveToLRC: {
      if (!toMe) return;
      sendTakenOver(object, attributes);
      const char* name = msg.tag();
      processGiveToLrc(object, attributes, name ? name : "", msg.classHandle());
      return;
    }
    case DtResetOwner: resetOwner(object, msg.recipientFederate()); return;
    case DtTakenOver: return;  // for the rtiexec
  }
  DtNotifyError("Received DtOwnershipMsg of unknown kind: %d\n", static_cast<int>(msg.ownerMsgKind()));
}

void DtObjectMgr::processOwnershipAnswer(int ownerMsgKind, RTI::ObjectHandle object,
                                         const DtAttributeHandleSet& attributes, std::uint32_t sender) {
  DtRtiObject* o = knownObj(object);
  RTI::FederateAmbassador* amb = fedAmb();
  if (!o || !amb || attributes.isEmpty()) return;
  const RTI::AttributeHandle first = attributes.getHandle(0);
  const CallbackScope scope(*this);
  switch (ownerMsgKind) {
    case DtNotOwned: amb->attributeIsNotOwned(object, first); return;
    case DtOwnedByRti: amb->attributeOwnedByRTI(object, first); return;
    case DtInformOwner: amb->informAttributeOwnership(object, first, sender); return;
    case DtOwnershipUnavail: {
      // The answer ends the if-available request: the owner recorded none.
      const DtAttributeHandleSet ended = attributes.setIntersection(o->ifAvailRequestedAttrs());
      o->removeRequest(ended);
      amb->attributeOwnershipUnavailable(object, attributes);
      return;
    }
    default: return;
  }
}

void DtObjectMgr::processAcquire(RTI::ObjectHandle object, const RTI::AttributeHandleSet& attributes,
                                 std::uint32_t sender, bool ifAvailable, const char* tag) {
  if (sender == fedHandle()) return;
  DtRtiObject* o = allObj(object);
  if (!o) return;
  const DtAttributeHandleSet asked(attributes);
  const DtAttributeHandleSet held = asked.setIntersection(o->lrcManagedAttrs());
  const DtAttributeHandleSet offered = asked.setIntersection(o->divestingAttrs());
  if (!offered.isEmpty()) {
    // A negotiated divestiture meets a request.
    unassociateRegionForDivested(*o, offered, true);
    o->divestRemoteSubscriptions(offered);
    o->releaseAttrs(offered);
  }
  o->lrcUnmanage(held);
  const DtAttributeHandleSet given = held.setUnion(offered);
  if (!given.isEmpty()) sendNotifyAcquire(*o, given, sender);
  // What this federate owns and does not offer: the requester gets it only
  // when the federate releases it, and is recorded for exactly that.
  const DtAttributeHandleSet kept = asked.setIntersection(o->ownedAttrs());
  if (!kept.isEmpty()) {
    if (ifAvailable) {
      sendOwnershipMsg(DtOwnershipUnavail, object, kept, sender, nullptr);
    } else {
      o->addRemoteRequest(kept, sender);
    }
  }
  fileByOwnership(*o);
  RTI::FederateAmbassador* amb = fedAmb();
  if (!amb) return;
  const CallbackScope scope(*this);
  if (!offered.isEmpty()) amb->attributeOwnershipDivestitureNotification(object, offered);
  if (!kept.isEmpty() && !ifAvailable && allObj(object) == o) {
    amb->requestAttributeOwnershipRelease(object, kept, tag ? tag : "");
  }
}

void DtObjectMgr::processNotifyAcquire(RTI::ObjectHandle object, const RTI::AttributeHandleSet& attributes) {
  DtRtiObject* o = allObj(object);
  if (!o) return;  // the object is gone
  const DtAttributeHandleSet requested =
      knownObj(object) == o ? o->uncondRequestedAttrs().setUnion(o->ifAvailRequestedAttrs()) : DtAttributeHandleSet();
  const DtAttributeHandleSet given = DtAttributeHandleSet(attributes).setIntersection(requested);
  const DtAttributeHandleSet unrequested = DtAttributeHandleSet(attributes).removeSetIntersection(requested);
  if (!unrequested.isEmpty()) {
    DtNotifyError("Orvek RTI: Received notifyAcquire with unrequested attrs.\n");
    // Its giver let go of them: thrown away here, nobody would have them.
    holdAndOffer(*o, unrequested);
  }
  if (given.isEmpty()) return;
  const bool hadPrivilege = o->ownPriviledgeToDelete();
  const DtAttributeHandleSet before = o->updateOnAttrs();
  o->takeAttrs(given);
  o->lrcUnmanage(given);  // an owned attribute is held by nobody
  if (!hadPrivilege && o->ownPriviledgeToDelete()) {
    // Every federate, this one included, records the new owner.
    o->setOwnerHandle(fedHandle());
    sendOwnershipMsg(DtResetOwner, object, RTI::AttributeHandle{0}, fedHandle(), nullptr);
  }
  const DtAttributeHandleSet turnedOn = tookOwnership(*o, given, before);
  RTI::FederateAmbassador* amb = fedAmb();
  if (!amb) return;
  const CallbackScope scope(*this);
  amb->attributeOwnershipAcquisitionNotification(object, given);
  if (!turnedOn.isEmpty() && knownObj(object) == o) amb->turnUpdatesOnForObjectInstance(object, turnedOn);
}

void DtObjectMgr::processCancelAcquire(RTI::ObjectHandle object, const RTI::AttributeHandleSet& attributes,
                                       std::uint32_t sender, const char* tag) {
  if (sender == fedHandle()) return;
  DtRtiObject* o = knownObj(object);
  if (!o) return;
  const DtAttributeHandleSet cancelled = o->requestedByFed(sender).setIntersection(attributes);
  if (cancelled.isEmpty()) return;
  o->cancelRemoteRequest(cancelled);
  sendOwnershipMsg(DtConfirmCancelAcquire, object, cancelled, sender, tag);
}

namespace {

// The serial a cancellation's tag names; none for a tag that names none.
std::optional<std::uint32_t> requestSerialOf(const char* tag) {
  if (!tag || !*tag) return std::nullopt;
  char* end = nullptr;
  errno = 0;
  const unsigned long serial = std::strtoul(tag, &end, 10);
  if (*end != '\0' || errno != 0 || serial > 0xFFFFFFFFul || *tag == '-') return std::nullopt;
  return static_cast<std::uint32_t>(serial);
}

}  // namespace

void DtObjectMgr::processConfirmCancelAcquire(RTI::ObjectHandle object, const RTI::AttributeHandleSet& attributes,
                                              const char* tag) {
  DtRtiObject* o = knownObj(object);
  if (!o) return;
  // A request asked for again after the cancellation was sent is not the
  // one confirmed: it stays, and the owner has it on record again.
  const std::optional<std::uint32_t> serial = requestSerialOf(tag);
  const DtAttributeHandleSet ended = serial ? o->requestsUpTo(attributes, *serial) : DtAttributeHandleSet(attributes);
  if (ended.isEmpty()) return;
  o->removeRequest(ended);
  const CallbackScope scope(*this);
  if (RTI::FederateAmbassador* amb = fedAmb()) amb->confirmAttributeOwnershipAcquisitionCancellation(object, ended);
}

void DtObjectMgr::processDivest(RTI::ObjectHandle object, const RTI::AttributeHandleSet& attributes,
                                std::uint32_t sender, bool, const char* tag) {
  // An offer and an unconditional divestiture ask the same of a publisher.
  if (sender == fedHandle()) return;
  const DtRtiObject* o = knownObj(object);
  if (!o || !o->knownClass()) return;
  const DtAttributeHandleSet assumable = o->knownClass()->publishedAttrs().setIntersection(attributes);
  RTI::FederateAmbassador* amb = fedAmb();
  if (!amb || assumable.isEmpty()) return;
  const CallbackScope scope(*this);
  amb->requestAttributeOwnershipAssumption(object, assumable, tag ? tag : "");
}

void DtObjectMgr::processQueryOwner(RTI::ObjectHandle object, RTI::AttributeHandle attribute, std::uint32_t sender) {
  const DtRtiObject* o = allObj(object);
  if (!o) return;
  if (o->owned(attribute)) {
    sendOwnershipMsg(DtInformOwner, object, attribute, sender, nullptr);
  } else if (o->rtiOwned(attribute)) {
    sendOwnershipMsg(DtOwnedByRti, object, attribute, sender, nullptr);
  } else if (o->lrcManaged(attribute)) {
    sendOwnershipMsg(DtNotOwned, object, attribute, sender, nullptr);
  }
}

void DtObjectMgr::resetOwner(RTI::ObjectHandle object, std::uint32_t owner) {
  if (DtRtiObject* o = allObj(object)) o->setOwnerHandle(owner);
}

void DtObjectMgr::processGiveToLrc(RTI::ObjectHandle object, const RTI::AttributeHandleSet& attributes,
                                   const char* name, RTI::ObjectClassHandle theClass) {
  DtNotifyVerbose("Giving attrs of %s to local lrc\n", name);
  DtRtiObject* o = allObj(object);
  if (!o) {
    DtObjectClassInfo* cls = fom_ ? fom_->classByHandle(theClass) : nullptr;
    if (!cls) {
      DtNotifyInfo("Orvek RTI: attributes of %s handed over with unknown class %lu; dropped\n", name,
                   static_cast<unsigned long>(theClass));
      return;
    }
    o = new DtRtiObject(static_cast<std::uint32_t>(object), name, cls, cls);
    addAllObj(o);
  }
  holdAndOffer(*o, attributes);
}

void DtObjectMgr::holdAndOffer(DtRtiObject& o, const RTI::AttributeHandleSet& attributes) {
  const RTI::ObjectHandle object = o.objHandle();
  // What this federate owns is not free, whatever the message says.
  const DtAttributeHandleSet freed = DtAttributeHandleSet(attributes).removeSetIntersection(o.ownedAttrs());
  if (freed.isEmpty()) return;
  o.giveToLrc(freed);
  fileByOwnership(o);
  if (freed.isMember(0)) sendOwnershipMsg(DtResetOwner, object, RTI::AttributeHandle{0}, fedHandle(), nullptr);
  // Every federate that publishes them, this one too, is asked to assume
  // them: the message goes out without a sender.
  if (auto msg = makeMsg<DtOwnershipMsg>(DtOwnershipMsgKind)) {
    msg->set(DtUncondDivest, object, freed, 0, nullptr);
    if (connectMgr_) connectMgr_->sendStampedAnonymousAndDelete(msg.release(), connectMgr_->internalTransportType(), 0);
  }
}
