#include "objects/DtObjectClassInfo.h"

#include <cstring>

#include "objects/DtFomLimits.h"
#include "objects/DtObjectAdvisorySink.h"
#include "save/DtRtiSaveFile.h"
#include "save/DtSavePackets.h"
#include "util/DtNotify.h"

namespace {

constexpr const char rootPrefix[] = "objectroot";

DtAttributeHandleSet copyOf(const RTI::AttributeHandleSet& attributes) {
  return DtAttributeHandleSet().setUnion(attributes);
}

}  // namespace

const DtAttributeHandleSet DtObjectClassInfo::theEmptySet;

DtObjectClassInfo::DtObjectClassInfo(const char* name, DtObjectClassInfo* base, std::uint32_t handle)
    : name_(name), handle_(handle), baseClass_(base), attrs_(DtFomLimits::maxAttributes) {
  tallies_.setHandle(handle);
  if (!base) return;
  // The base's attributes, under its handles; their names are unique there
  // and are looked up there.
  for (std::uint32_t i = 0; i < base->numAttributes(); ++i) {
    auto attribute = std::make_unique<DtAttrInfo>(base->attrName(i), i);
    attribute->setTransport(base->attrTransport(i));
    attribute->setOrder(base->attrOrder(i));
    attribute->setSpace(base->attrSpace(i));
    attrs_.put(i, std::move(attribute));
    allAttrs_.add(i);
  }
  numAttrs_ = inheritedCount_ = base->numAttributes();
  base->addSubclass(this);
}

DtObjectClassInfo::DtObjectClassInfo(const DtObjectClassInfo& other)
    : name_(other.name_),
      handle_(other.handle_),
      subscribed_(other.subscribed_),
      published_(other.published_),
      passive_(other.passive_),
      baseClass_(nullptr),
      remoteSubscriptions_(other.remoteSubscriptions_),
      tallies_(other.tallies_),
      classRelevant_(other.classRelevant_),
      attrs_(DtFomLimits::maxAttributes),
      numAttrs_(other.numAttrs_),
      allAttrs_(other.allAttrs_),
      subscribedAttrs_(other.subscribedAttrs_),
      publishedAttrs_(other.publishedAttrs_),
      relevantAttrs_(other.relevantAttrs_),
      destinationAddress_(other.destinationAddress_),
      subscribeByRegion_(other.subscribeByRegion_),
      pubs_(other.pubs_),
      subs_(other.subs_),
      collectedSubscription_(other.collectedSubscription_) {
  tallies_.setHandle(handle_);
  // Without a base to ask, the copy looks every attribute up itself.
  for (std::uint32_t i = 0; i < numAttrs_; ++i) {
    indexAttribute(*attrs_.put(i, std::make_unique<DtAttrInfo>(*other.attrs_.at(i))));
  }
}

DtObjectClassInfo::~DtObjectClassInfo() = default;

bool DtObjectClassInfo::isName(const char* text) const {
  if (!text) return false;
  if (name_.equalNoCase(text)) return true;
  if (std::strncmp(text, rootPrefix, sizeof rootPrefix - 1) == 0) return false;
  return name_.equalNoCase(DtString("objectroot.") + text);
}

bool DtObjectClassInfo::isOfClass(std::uint32_t classHandle) const {
  for (const DtObjectClassInfo* c = this; c; c = c->baseClass_) {
    if (c->handle_ == classHandle) return true;
  }
  return false;
}

// Attributes ------------------------------------------------------------------

void DtObjectClassInfo::indexAttribute(const DtAttrInfo& attribute) {
  // Attribute 0 answers to both names of the privilege to delete (and only
  // to them), as DtAttrInfo::isName has it.
  if (attribute.handle() == 0) {
    ownNames_.add(DtAttrInfo::thePrivilegeToDelete.string(), 0);
    ownNames_.add(DtAttrInfo::thePrivilegeToDeleteObject.string(), 0);
  } else {
    ownNames_.add(attribute.name(), attribute.handle());
  }
}

DtAttrInfo* DtObjectClassInfo::addAttr(const char* name, DtTransportType transport, DtOrderType order,
                                       std::int32_t space) {
  if (attrByName(name)) throw RTI::RTIinternalError("two attributes with the same name\n");
  if (numAttrs_ >= DtAttributeHandleSet::handleLimit) {
    throw RTI::RTIinternalError("more attributes in one class than attribute handle sets hold\n");
  }
  DtAttrInfo* attribute = attrs_.put(numAttrs_, std::make_unique<DtAttrInfo>(name, numAttrs_));
  attribute->setTransport(transport);
  attribute->setOrder(order);
  attribute->setSpace(space);
  indexAttribute(*attribute);
  allAttrs_.add(numAttrs_);
  ++numAttrs_;
  return attribute;
}

const DtAttrInfo* DtObjectClassInfo::attrByName(const char* name) const {
  if (const auto own = ownNames_.find(name)) return attrs_.at(*own);
  if (baseClass_ && inheritedCount_ > 0) {
    const DtAttrInfo* inherited = baseClass_->attrByName(name);
    if (inherited && inherited->handle() < inheritedCount_) return attrs_.at(inherited->handle());
  }
  return nullptr;
}

DtAttrInfo* DtObjectClassInfo::attrByName(const char* name) {
  return const_cast<DtAttrInfo*>(static_cast<const DtObjectClassInfo*>(this)->attrByName(name));
}

const DtAttrInfo* DtObjectClassInfo::attrByHandle(RTI::AttributeHandle attribute) const {
  return attribute < numAttrs_ ? attrs_.at(static_cast<std::uint32_t>(attribute)) : nullptr;
}

DtAttrInfo* DtObjectClassInfo::attrByHandle(RTI::AttributeHandle attribute) {
  return const_cast<DtAttrInfo*>(static_cast<const DtObjectClassInfo*>(this)->attrByHandle(attribute));
}

const char* DtObjectClassInfo::memberName(RTI::ULong attribute) const {
  const DtAttrInfo* found = attrByHandle(attribute);
  return found ? found->name() : nullptr;
}

std::uint32_t DtObjectClassInfo::attrHandle(const char* name) const {
  const DtAttrInfo* attribute = attrByName(name);
  if (!attribute) throw RTI::NameNotFound("");
  return attribute->handle();
}

const char* DtObjectClassInfo::attrName(RTI::AttributeHandle attribute) const {
  const DtAttrInfo* found = attrByHandle(attribute);
  if (!found) throw RTI::AttributeNotDefined("");
  return found->name();
}

DtTransportType DtObjectClassInfo::attrTransport(RTI::AttributeHandle attribute) const {
  const DtAttrInfo* found = attrByHandle(attribute);
  return found ? found->transport() : DtBestEffort;
}

DtOrderType DtObjectClassInfo::attrOrder(RTI::AttributeHandle attribute) const {
  const DtAttrInfo* found = attrByHandle(attribute);
  return found ? found->order() : DtReceiveOrder;
}

std::int32_t DtObjectClassInfo::attrSpace(RTI::AttributeHandle attribute) const {
  const DtAttrInfo* found = attrByHandle(attribute);
  return found ? found->space() : 0;
}

std::span<const std::unique_ptr<DtAttrInfo>> DtObjectClassInfo::attrs() const { return attrs_.slots(numAttrs_); }

void DtObjectClassInfo::throwIfNotDefined(const RTI::AttributeHandleSet& attributes) const {
  for (RTI::ULong i = 0; i < attributes.size(); ++i) {
    if (attributes.getHandle(i) >= numAttrs_) throw RTI::AttributeNotDefined("");
  }
}

// This federate's declarations ------------------------------------------------

void DtObjectClassInfo::publish(const RTI::AttributeHandleSet& attributes, DtObjectAdvisorySink* sink) {
  throwIfNotDefined(attributes);
  publishedAttrs_ = copyOf(attributes);
  published_ = !publishedAttrs_.isEmpty();
  for (std::uint32_t i = 0; i < numAttrs_; ++i) {
    if (publishedAttrs_.isMember(i)) {
      attrs_.at(i)->publish();
    } else {
      attrs_.at(i)->unpublish();
    }
  }
  const bool now = !relevantAttrs_.setIntersection(publishedAttrs_).isEmpty();
  if (now != classRelevant_ && sink) {
    if (now) {
      sink->addPendingStartReg(handle_);
    } else {
      sink->addPendingStopReg(handle_);
    }
  }
  classRelevant_ = now;
}

void DtObjectClassInfo::unpublish(DtObjectAdvisorySink* sink) { publish(theEmptySet, sink); }

void DtObjectClassInfo::subscribe(const RTI::AttributeHandleSet& attributes, bool passive) {
  throwIfNotDefined(attributes);
  const DtAttributeHandleSet wanted = copyOf(attributes);
  passive_ = passive;
  subscribed_ = !wanted.isEmpty();
  subscribedAttrs_ = wanted;
  for (std::uint32_t i = 0; i < numAttrs_; ++i) {
    if (wanted.isMember(i)) {
      attrs_.at(i)->subscribe();
    } else {
      attrs_.at(i)->unsubscribe();
    }
  }
  collectSubscribedAttributes();
}

void DtObjectClassInfo::unsubscribe() { subscribe(theEmptySet, passive_); }

const DtAttributeHandleSet& DtObjectClassInfo::subscribedAttrs(std::uint32_t regionSet) const {
  if (regionSet == 0) return collectedSubscription_;
  const DtAttributeHandleSet* overlap = pubs_.overlap().find(regionSet);
  return overlap ? *overlap : theEmptySet;
}

// Remote subscriptions and relevance ------------------------------------------

bool DtObjectClassInfo::newlyServed(const DtAttrInfo& attribute, std::uint32_t federate) const {
  return attribute.published() && !attribute.remoteFederateIsSubscribed(federate) &&
         !attribute.remoteFederateIsSubscribedWithRegion(federate);
}

void DtObjectClassInfo::addRemoteSubscription(std::uint32_t federate, RTI::AttributeHandle attribute) {
  remoteSubscriptions_.findOrAdd(federate).add(attribute);
}

void DtObjectClassInfo::addRemoteSubscription(std::uint32_t federate, const DtAttributeHandleSet& attributes) {
  remoteSubscriptions_.put(federate, attributes);
}

void DtObjectClassInfo::deleteRemoteSubscription(std::uint32_t federate) { remoteSubscriptions_.remove(federate); }

void DtObjectClassInfo::remoteSubscribe(const DtAttributeHandleSet& attributes, std::uint32_t federate,
                                        DtObjectAdvisorySink* sink) {
  if (attributes.isEmpty()) {
    deleteRemoteSubscription(federate);
  } else {
    addRemoteSubscription(federate, attributes);
  }
  bool served = false;
  for (std::uint32_t i = 0; i < numAttrs_; ++i) {
    DtAttrInfo& attribute = *attrs_.at(i);
    if (!attributes.isMember(i)) {
      attribute.deleteRemoteSubscription(federate);
    } else {
      served = served || newlyServed(attribute, federate);
      attribute.addRemoteSubscription(federate);
    }
  }
  if (served && sink) sink->addPendingRegister(handle_);
  updateRelevance(federate, sink, served);
}

void DtObjectClassInfo::remoteSubscribe(const DtAttributeHandleSet& attributes, std::uint32_t federate,
                                        std::uint32_t region, DtObjectAdvisorySink* sink) {
  bool served = false;
  for (std::uint32_t i = 0; i < numAttrs_; ++i) {
    if (!attributes.isMember(i)) continue;
    DtAttrInfo& attribute = *attrs_.at(i);
    if (region == 0) {
      attribute.deleteRemoteSubscriptionWithRegion(federate);
    } else {
      served = served || newlyServed(attribute, federate);
      attribute.addRemoteSubscriptionWithRegion(federate, region);
    }
  }
  if (served && sink) sink->addPendingRegister(handle_);
  updateRelevance(federate, sink, served);
}

void DtObjectClassInfo::remotePassiveSubscribe(const DtAttributeHandleSet& attributes, std::uint32_t federate,
                                               bool replacement, DtObjectAdvisorySink* sink) {
  for (RTI::ULong i = 0; i < attributes.size(); ++i) {
    const DtAttrInfo* attribute = attrByHandle(attributes.getHandle(i));
    if (attribute && newlyServed(*attribute, federate)) {
      if (sink) sink->addPendingRegister(handle_);
      break;
    }
  }
  for (DtObjectClassInfo* subclass : subclasses_) {
    subclass->remotePassiveSubscribe(attributes, federate, replacement, sink);
  }
  if (replacement) remoteSubscribe(theEmptySet, federate, sink);
}

void DtObjectClassInfo::remoteUnsubscribe(std::uint32_t federate, DtObjectAdvisorySink* sink) {
  remoteSubscribe(theEmptySet, federate, sink);
}

std::uint32_t DtObjectClassInfo::remoteRegionSubscription(std::uint32_t federate,
                                                          RTI::AttributeHandle attribute) const {
  const DtAttrInfo* found = attrByHandle(attribute);
  return found ? found->remoteRegionSubscription(federate) : 0;
}

bool DtObjectClassInfo::relevant(RTI::AttributeHandle attribute) const {
  const DtAttrInfo* found = attrByHandle(attribute);
  return found && found->relevant();
}

void DtObjectClassInfo::updateRelevance(std::uint32_t federate, DtObjectAdvisorySink* sink, bool registerQueued) {
  bool newSubscriber = false;
  for (std::uint32_t i = 0; i < numAttrs_; ++i) {
    DtAttrInfo& attribute = *attrs_.at(i);
    const bool wanted = attribute.numRemoteFederatesSubscribed() > 0 ||
                        attribute.numRemoteFederatesSubscribedWithRegion() > 0 ||
                        (baseClass_ && baseClass_->relevant(i));
    if (wanted && !attribute.relevant()) {
      relevantAttrs_.add(i);
      attribute.setRelevant(true);
    } else if (wanted) {
      // Relevant already, but perhaps not yet for this federate.
      if (attribute.published() && !attribute.remoteFederateIsSubscribed(federate) &&
          !attribute.remoteFederateIsSubscribedWithRegion(federate)) {
        newSubscriber = true;
      }
    } else if (attribute.relevant()) {
      relevantAttrs_.remove(i);
      attribute.setRelevant(false);
    }
  }
  const bool now = !relevantAttrs_.setIntersection(publishedAttrs_).isEmpty();
  if (sink && !registerQueued && (newSubscriber || (now && !classRelevant_))) sink->addPendingRegister(handle_);
  updateClassRelevance(sink, now);
  // After this class, so that a subclass sees its base's new relevance.
  for (DtObjectClassInfo* subclass : subclasses_) subclass->updateRelevance(federate, sink);
}

void DtObjectClassInfo::updateClassRelevance(DtObjectAdvisorySink* sink, bool now) {
  if (sink && now && !classRelevant_) sink->addPendingStartReg(handle_);
  if (sink && !now && classRelevant_) sink->addPendingStopReg(handle_);
  classRelevant_ = now;
}

// Destinations ----------------------------------------------------------------

void DtObjectClassInfo::setDestination(std::uint32_t address, bool inclusive, std::uint32_t previous) {
  if (destinationAddress_ == previous) destinationAddress_ = address;
  if (!inclusive) return;
  for (DtObjectClassInfo* subclass : subclasses_) subclass->setDestination(address, inclusive, previous);
}

// Data distribution -----------------------------------------------------------

void DtObjectClassInfo::subscribeByRegion(std::uint32_t key, const DtAttributeHandleSet& attributes) {
  subscribeByRegion_.addSet(key, attributes);
  collectedSubscription_ = collectedSubscription_.setUnion(*subscribeByRegion_.find(key));
}

void DtObjectClassInfo::unsubscribeByRegion(std::uint32_t key, const DtAttributeHandleSet& attributes) {
  subscribeByRegion_.removeSet(key, attributes);
  collectSubscribedAttributes();
}

const DtAttributeHandleSet& DtObjectClassInfo::collectSubscribedAttributes() {
  collectedSubscription_ = subscribedAttrs_;
  for (const auto& [key, attributes] : subscribeByRegion_) {
    collectedSubscription_ = collectedSubscription_.setUnion(attributes);
  }
  return collectedSubscription_;
}

void DtObjectClassInfo::addMatchingPub(std::uint32_t key, const DtAttributeHandleSet& attributes) {
  pubs_.addMatching(key, attributes);
}
void DtObjectClassInfo::removeMatchingPub(std::uint32_t key, const DtAttributeHandleSet& attributes) {
  pubs_.remove(key, attributes);
}
void DtObjectClassInfo::moveToOverlapPub(std::uint32_t key) { pubs_.moveToOverlap(key); }
void DtObjectClassInfo::moveToMatchingPub(std::uint32_t key, const DtAttributeHandleSet& attributes) {
  pubs_.moveToMatching(key, attributes);
}
void DtObjectClassInfo::addOverlapPub(std::uint32_t key, const DtAttributeHandleSet& attributes) {
  pubs_.addOverlap(key, attributes);
}
void DtObjectClassInfo::addMatchingSub(std::uint32_t key, const DtAttributeHandleSet& attributes) {
  subs_.addMatching(key, attributes);
}
void DtObjectClassInfo::removeMatchingSub(std::uint32_t key, const DtAttributeHandleSet& attributes) {
  subs_.remove(key, attributes);
}
void DtObjectClassInfo::moveToOverlapSub(std::uint32_t key) { subs_.moveToOverlap(key); }
void DtObjectClassInfo::moveToMatchingSub(std::uint32_t key, const DtAttributeHandleSet& attributes) {
  subs_.moveToMatching(key, attributes);
}
void DtObjectClassInfo::addOverlapSub(std::uint32_t key, const DtAttributeHandleSet& attributes) {
  subs_.addOverlap(key, attributes);
}

bool DtObjectClassInfo::subscribeOverlaps(std::uint32_t key) const {
  if (key == 0) return !collectedSubscription_.isEmpty();
  return pubs_.overlap().contains(key);
}

void DtObjectClassInfo::emptyRegionLists() {
  subscribeByRegion_.clear();
  pubs_.clear();
  subs_.clear();
  collectedSubscription_.empty();
}

// Federation save ---------------------------------------------------------------

bool DtObjectClassInfo::save(DtRtiSaveFile& file) const {
  using Record = DtObjectClassPacket;
  DtSavePacketBuilder record(Record::theType, Record::theLength);
  record.setU32(Record::classHandleAt, handle_);
  record.setU8(Record::publishedAt, published_);
  record.setU8(Record::subscribedAt, subscribed_);
  record.setU8(Record::passiveAt, passive_);
  record.setU8(Record::classRelevantAt, classRelevant_);
  tallies_.saveTo(record, Record::sentBestEffortAt);
  record.setHandleSet(Record::subscribedAttrsAt, subscribedAttrs_);
  record.setHandleSet(Record::publishedAttrsAt, publishedAttrs_);
  record.setHandleSet(Record::relevantAttrsAt, relevantAttrs_);
  bool written = file.writePacket(record);

  using Attribute = DtAttrInfoPacket;
  for (std::uint32_t i = 0; i < numAttrs_; ++i) {
    const DtAttrInfo& attribute = *attrs_.at(i);
    const DtHandleList& federates = attribute.subscribedFederates();
    DtSavePacketBuilder entry(Attribute::theType, Attribute::length(federates.size()));
    entry.setU16(Attribute::attributeAt, static_cast<std::uint16_t>(i));
    entry.setU8(Attribute::publishedAt, attribute.published());
    entry.setU8(Attribute::subscribedAt, subscribedAttrs_.isMember(i));
    entry.setU8(Attribute::relevantAt, attribute.relevant());
    entry.setU32(Attribute::countAt, federates.size());
    entry.setU32s(Attribute::federatesAt, federates);
    written = file.writePacket(entry) && written;
  }
  return file.writePacket(DtSavePacketBuilder(DtEndPacket::theType, DtEndPacket::classEndLength)) && written;
}

bool DtObjectClassInfo::restore(const DtSavePacket& record, DtRtiSaveFile& file) {
  using Record = DtObjectClassPacket;
  if (record.u32(Record::classHandleAt) != handle_) DtNotifyError("Error restoring fom class, handle mismatch.\n");
  published_ = record.u8(Record::publishedAt) != 0;
  subscribed_ = record.u8(Record::subscribedAt) != 0;
  passive_ = record.u8(Record::passiveAt) != 0;
  classRelevant_ = record.u8(Record::classRelevantAt) != 0;
  // Handles the class does not have are not taken in.
  subscribedAttrs_ = record.handleSet(Record::subscribedAttrsAt).setIntersection(allAttrs_);
  publishedAttrs_ = record.handleSet(Record::publishedAttrsAt).setIntersection(allAttrs_);
  relevantAttrs_ = record.handleSet(Record::relevantAttrsAt).setIntersection(allAttrs_);
  tallies_.restoreFrom(record, Record::sentBestEffortAt);
  remoteSubscriptions_.clear();
  emptyRegionLists();
  // Without region lists the whole subscription is the one without region.
  collectSubscribedAttributes();

  // `record` lies in the file's buffer: the next read replaces it.
  for (;;) {
    const DtSavePacket* packet = file.readNextPacket();
    if (packet && packet->type() == DtEndPacket::theType) return true;
    if (!packet || packet->type() != DtAttrInfoPacket::theType) {
      DtNotifyError("RtiFom received an incorrect object class(%u) attributesave packet, restore aborted\n", handle_);
      return false;
    }
    if (!DtAttrInfoPacket::complete(*packet)) {
      DtNotifyError("RtiFom received a damaged object class(%u) attribute save packet, restore aborted\n", handle_);
      return false;
    }
    restoreAttribute(*packet);
  }
}

void DtObjectClassInfo::restoreAttribute(const DtSavePacket& record) {
  using Attribute = DtAttrInfoPacket;
  const std::uint32_t handle = record.u16(Attribute::attributeAt);
  DtAttrInfo* attribute = attrByHandle(handle);
  if (!attribute) return;
  attribute->emptyRemoteSubscription();
  attribute->emptyRemoteSubscriptionWithRegion();
  attribute->setSubRegionSet(nullptr);
  attribute->setPasRegionSet(nullptr);
  if (record.u8(Attribute::publishedAt)) {
    attribute->publish();
  } else {
    attribute->unpublish();
  }
  if (record.u8(Attribute::subscribedAt)) {
    attribute->subscribe();
  } else {
    attribute->unsubscribe();
  }
  attribute->setRelevant(record.u8(Attribute::relevantAt) != 0);
  const std::uint32_t count = record.u32(Attribute::countAt);
  for (std::uint32_t k = 0; k < count; ++k) {
    const std::uint32_t federate = record.u32(Attribute::federatesAt + 4 * k);
    addRemoteSubscription(federate, handle);
    attribute->addRemoteSubscription(federate);
  }
}
