// Attribute updates (kinds 1 and 46) and their reflection at the
// subscribers; requests for attribute values (kind 18) and the owner's
// provideAttributeValueUpdate.
//
// The fast path: with FOM data reliable, time management and data
// distribution all off, every attribute of an update travels the same way,
// so the caller's set goes out as one message, written straight from the
// set. Otherwise the values are grouped by transport, order and region set,
// one message per group, all groups of one update sharing one retraction
// serial.
#include "msg/DtObjectMsgs.h"
#include "msg/DtUpdateMsgs.h"
#include "objects/DtAddrMap.h"
#include "objects/DtAttrSetSorter.h"
#include "objects/DtFomClassMgr.h"
#include "objects/DtObjectClassInfo.h"
#include "objects/DtObjectMgr.h"
#include "objects/DtObjectMgrMsg.h"
#include "objects/DtRtiObject.h"
#include "objects/DtTimedDelivery.h"

// Sending ---------------------------------------------------------------------

std::uint32_t DtObjectMgr::sendUpdate(RTI::ObjectHandle object, const RTI::AttributeHandleValuePairSet& values,
                                      const RTI::FedTime* time, const char* tag) {
  DtRtiObject& o = knownObject(object);
  const RTI::ULong count = values.size();
  if (count == 0) return 0;
  if (settings().errorChecking) {
    const DtObjectClassInfo* actual = o.actualClass();
    for (RTI::ULong i = 0; i < count; ++i) {
      const RTI::AttributeHandle h = values.getHandle(i);
      if (!actual || !actual->allAttrs().isMember(h)) throw RTI::AttributeNotDefined("");
      if (!o.owned(h)) throw RTI::AttributeNotOwned("");
    }
  }
  return sendUpdate(&o, values, time, tag, DtNormalUpdate);
}

std::uint32_t DtObjectMgr::sendUpdate(DtRtiObject* object, const RTI::AttributeHandleValuePairSet& values,
                                      const RTI::FedTime* time, const char* tag, DtUpdateType type) {
  const Settings& rid = settings();
  if (!rid.fomDataReliable && !rid.timeMgmt && !rid.dataDistMgmt) {
    sendBestEffortUpdateMsg(object, values, DtReceiveOrder, time, tag, 0, 0, type);
    return 0;
  }
  const bool regulating = time && timeMgr_ && timeMgr_->regulating();
  DtAttrSetSorter sorter(values.size());
  for (RTI::ULong i = 0; i < values.size(); ++i) {
    RTI::ULong length = 0;
    const char* value = values.getValuePointer(i, length);
    // An empty value says nothing; it is not sent.
    if (length == 0) continue;
    const RTI::AttributeHandle h = values.getHandle(i);
    const DtOrderType order = regulating ? object->attrOrder(h) : DtReceiveOrder;
    sorter.add(h, value, length, object->attrTransport(h), order, object->regionSetHandle(h));
  }
  // One serial for the whole update, taken before any group goes out, so
  // that every group of it carries the same serial whatever their order.
  std::uint32_t serial = 0;
  if (time && timeMgr_) {
    for (const auto& set : sorter.sets()) {
      if (set->orderType() == DtTimestampOrder && set->size() > 0) {
        serial = timeMgr_->takeSerialNumber();
        break;
      }
    }
  }
  for (const auto& set : sorter.sets()) {
    if (set->size() == 0) continue;
    const auto order = static_cast<DtOrderType>(set->orderType());
    if (set->transportType() == DtReliable && rid.fomDataReliable) {
      sendReliableUpdateMsg(object, *set, order, time, tag, serial, type);
    } else {
      const std::uint32_t address = addrMap_->localAddrMap(set->regionSet());
      sendBestEffortUpdateMsg(object, *set, order, time, tag, serial, address, type);
    }
  }
  return serial;
}

DtUpdateMsg* DtObjectMgr::fillUpdate(const DtRtiObject& object, const RTI::AttributeHandleValuePairSet& values,
                                     DtOrderType order, const RTI::FedTime* time, const char* tag, std::uint32_t serial,
                                     DtUpdateType type, std::unique_ptr<DtUpdateMsg>& made) {
  if (time) {
    auto msg = makeMsg<DtUpdateTsoMsg>(DtUpdateTsoMsg::currentKind());
    if (!msg) return nullptr;
    msg->set(object.objHandle(), object.objName(), object.actualClassHandle(), values, order, *time, tag, serial);
    made = std::move(msg);
    return made.get();
  }
  // A local update is reflected at once, and the federate may update again
  // from inside that reflection: it gets a message of its own.
  std::unique_ptr<DtUpdateRoMsg> local;
  std::unique_ptr<DtUpdateRoMsg>& msg = type == DtLocalUpdate ? local : reusedUpdate_;
  const int kind = DtUpdateRoMsg::currentKind();
  if (!msg || msg->msgKind() != kind) msg = makeMsg<DtUpdateRoMsg>(kind);
  if (!msg) return nullptr;
  msg->set(object.objHandle(), object.objName(), object.actualClassHandle(), values, tag);
  if (type == DtLocalUpdate) made = std::move(local);
  return type == DtLocalUpdate ? made.get() : reusedUpdate_.get();
}

void DtObjectMgr::sendBestEffortUpdateMsg(DtRtiObject* object, const RTI::AttributeHandleValuePairSet& values,
                                          DtOrderType order, const RTI::FedTime* time, const char* tag,
                                          std::uint32_t serial, std::uint32_t address, DtUpdateType type) {
  std::unique_ptr<DtUpdateMsg> made;
  if (DtUpdateMsg* msg = fillUpdate(*object, values, order, time, tag, serial, type, made)) {
    sendUpdateMessage(*msg, object->actualClass(), type, DtBestEffort, address);
  }
}

void DtObjectMgr::sendReliableUpdateMsg(DtRtiObject* object, const RTI::AttributeHandleValuePairSet& values,
                                        DtOrderType order, const RTI::FedTime* time, const char* tag,
                                        std::uint32_t serial, DtUpdateType type) {
  std::unique_ptr<DtUpdateMsg> made;
  if (DtUpdateMsg* msg = fillUpdate(*object, values, order, time, tag, serial, type, made)) {
    sendUpdateMessage(*msg, object->actualClass(), type, DtReliable, 0);
  }
}

void DtObjectMgr::sendUpdateMessage(DtUpdateMsg& msg, DtObjectClassInfo* cls, DtUpdateType type,
                                    DtTransportType transport, std::uint32_t address) {
  if (type == DtLocalUpdate) {
    msg.setTransportType(transport);
    processUpdate(msg);
    return;
  }
  if (!connectMgr_) return;
  if (transport == DtBestEffort && address == 0 && settings().useDMFiltering && cls) {
    address = cls->destinationAddress();
  }
  if (type == DtAnonymousUpdate) {
    connectMgr_->sendStampedAnonymous(msg, transport, address);
    return;
  }
  connectMgr_->sendStamped(msg, transport, address);
  if (settings().momServiceAvailable && cls) incrementSentTally(cls->handle(), transport);
}

void DtObjectMgr::incrementSentTally(RTI::ObjectClassHandle theClass, DtTransportType transport) {
  DtObjectClassInfo* cls = fom_ ? fom_->classByHandle(theClass) : nullptr;
  if (cls) cls->tallySet().increment(RTI::RTI_FALSE, transport);
}

void DtObjectMgr::incrementReceivedTally(RTI::ObjectClassHandle theClass, DtTransportType transport) {
  DtObjectClassInfo* cls = fom_ ? fom_->classByHandle(theClass) : nullptr;
  if (cls) cls->tallySet().increment(RTI::RTI_TRUE, transport);
}

// Reflection --------------------------------------------------------------------

void DtObjectMgr::processUpdate(const DtUpdateMsg& msg) {
  if (msg.federateHandle() == fedHandle()) return;
  const auto channel = static_cast<std::uint32_t>(msg.channel());
  if (!acceptObjectChannel(channel)) return;
  const auto handle = static_cast<std::uint32_t>(msg.objHandle());
  DtRtiObject* object = knownObj(handle);
  if (!object) {
    if (!settings().processUnknownUpdatesForDiscovery) return;
    object = processNewObj(handle, static_cast<RTI::ObjectClassHandle>(msg.classHandle()), msg.objName(), msg.attrs(),
                           channel);
    if (!object) return;
  }
  const RTI::AttributeHandleValuePairSet& reflected = object->filterExpected(msg.attrs(), channel);
  calculateRegionSet(channel, reflected);
  if (reflected.size() == 0) return;
  RTI::FederateAmbassador* amb = fedAmb();
  if (!amb) return;
  const char* tag = msg.tag();
  if (!tag) tag = "";  // the sender gave none; a federate's callback gets a text
  // Counted before the callback, which may delete the object or resign.
  const auto theClass = static_cast<RTI::ObjectClassHandle>(msg.classHandle());
  if (settings().momServiceAvailable) {
    incrementReceivedTally(theClass, static_cast<DtTransportType>(msg.transportType()));
  }
  // The reflected set may be the record's own: it outlives the callback.
  const CallbackScope scope(*this);
  DtNoteDelivered(msg, timeMgr_);
  if (DtDeliversTimed(msg, timeMgr_)) {
    amb->reflectAttributeValues(handle, reflected, msg.time(), tag, DtRetractionHandleOf(msg));
  } else {
    amb->reflectAttributeValues(handle, reflected, tag);
  }
}

// Update requests -----------------------------------------------------------------

void DtObjectMgr::requestObjectUpdate(RTI::ObjectHandle object, const RTI::AttributeHandleSet& attributes) {
  const DtRtiObject& o = knownObject(object);
  const DtObjectClassInfo* known = o.knownClass();
  for (RTI::ULong i = 0; i < attributes.size(); ++i) {
    if (!known || !known->allAttrs().isMember(attributes.getHandle(i))) throw RTI::AttributeNotDefined("");
  }
  sendRequestMsg(DtRequestById, static_cast<std::uint32_t>(object), attributes,
                 static_cast<std::uint32_t>(DtRtiMsg::theDefaultRegionSetHandle));
}

void DtObjectMgr::requestClassUpdate(RTI::ObjectClassHandle theClass, const RTI::AttributeHandleSet& attributes) {
  requestClassUpdate(theClass, attributes, 0);
}

void DtObjectMgr::requestClassUpdate(RTI::ObjectClassHandle theClass, const RTI::AttributeHandleSet& attributes,
                                     std::uint32_t regionSet) {
  const DtObjectClassInfo& cls = definedClass(theClass);
  for (RTI::ULong i = 0; i < attributes.size(); ++i) {
    if (!cls.allAttrs().isMember(attributes.getHandle(i))) throw RTI::AttributeNotDefined("");
  }
  sendRequestMsg(DtRequestByClass, static_cast<std::uint32_t>(theClass), attributes, regionSet);
}

void DtObjectMgr::sendRequestMsg(int type, std::uint32_t handle, const RTI::AttributeHandleSet& attributes,
                                 std::uint32_t regionSet) {
  if (auto msg = makeMsg<DtRequestMsg>(DtRequestMsgKind)) {
    msg->set(type == DtRequestByClass ? DtRequestByClass : DtRequestById, handle, attributes, regionSet);
    sendInternal(std::move(msg));
  }
}

void DtObjectMgr::processRequest(const DtRequestMsg& msg) {
  const RTI::AttributeHandleSet& attributes = msg.attrHandles();
  if (msg.requestType() == DtRequestById) {
    if (const DtRtiObject* object = ownedObj(static_cast<RTI::ObjectHandle>(msg.id()))) {
      provideAttrValueUpdate(object, attributes);
    }
    return;
  }
  const auto theClass = static_cast<std::uint32_t>(msg.objectClassHandle());
  owned_.forEach([&](DtRtiObject& object) {
    if (object.isOfActualClass(theClass)) provideAttrValueUpdate(&object, attributes);
  });
}

void DtObjectMgr::provideAttrValueUpdate(const DtRtiObject* object, const RTI::AttributeHandleSet& attributes) {
  const DtAttributeHandleSet owned = object->ownedAttrs().setIntersection(attributes);
  RTI::FederateAmbassador* amb = owned.isEmpty() ? nullptr : fedAmb();
  if (amb) amb->provideAttributeValueUpdate(object->objHandle(), owned);
}

// Transport and order of this federate's updates ----------------------------------

namespace {

// Checked first, then changed: a refused change leaves every attribute as
// it was. An attribute the object does not have is refused whether error
// checking is on or not; ownership only while it is on.
template <class Set>
void changeEach(DtRtiObject& object, const RTI::AttributeHandleSet& attributes, bool checking, Set&& set) {
  const DtAttributeHandleSet ascending(attributes);
  for (RTI::ULong i = 0; i < ascending.size(); ++i) {
    const RTI::AttributeHandle h = ascending.getHandle(i);
    object.attrTransport(h);  // AttributeNotDefined
    if (checking && !object.owned(h)) throw RTI::AttributeNotOwned("");
  }
  for (RTI::ULong i = 0; i < ascending.size(); ++i) set(ascending.getHandle(i));
}

}  // namespace

void DtObjectMgr::setAttributeTransportType(RTI::ObjectHandle object, const RTI::AttributeHandleSet& attributes,
                                            DtTransportType type) {
  DtRtiObject& o = knownObject(object);
  if (attributes.isEmpty()) return;
  const bool checking = settings().errorChecking;
  if (checking && type != DtBestEffort && type != DtReliable) throw RTI::InvalidTransportationHandle("");
  changeEach(o, attributes, checking, [&](RTI::AttributeHandle h) { o.setAttrTransport(h, type); });
}

void DtObjectMgr::setAttributeOrderType(RTI::ObjectHandle object, const RTI::AttributeHandleSet& attributes,
                                        DtOrderType type) {
  DtRtiObject& o = knownObject(object);
  if (attributes.isEmpty()) return;
  const bool checking = settings().errorChecking;
  if (checking && type != DtReceiveOrder && type != DtTimestampOrder) throw RTI::InvalidOrderingHandle("");
  changeEach(o, attributes, checking, [&](RTI::AttributeHandle h) { o.setAttrOrder(h, type); });
}
