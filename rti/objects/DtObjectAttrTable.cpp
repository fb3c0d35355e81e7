#include "objects/DtObjectAttrTable.h"

#include <algorithm>

#include "objects/DtObjectClassInfo.h"

DtObjectAttrTable::DtObjectAttrTable(const DtObjectClassInfo& cls) : count_(cls.numAttributes()) {
  for (RTI::AttributeHandle a = 0; a < count_; ++a) {
    setTransport(a, cls.attrTransport(a));
    setOrder(a, cls.attrOrder(a));
  }
}

DtObjectAttrTable::DtObjectAttrTable(const DtObjectClassInfo& cls, const DtAttributeHandleSet& reliable,
                                     const DtAttributeHandleSet& timestamp)
    : count_(cls.numAttributes()),
      reliable_(reliable.setIntersection(cls.allAttrs())),
      timestamp_(timestamp.setIntersection(cls.allAttrs())) {}

DtObjectAttrTable DtObjectAttrTable::withoutSubscribers() const {
  DtObjectAttrTable copy;
  copy.count_ = count_;
  copy.reliable_ = reliable_;
  copy.timestamp_ = timestamp_;
  copy.regionSets_ = regionSets_;
  return copy;
}

DtTransportType DtObjectAttrTable::transport(RTI::AttributeHandle attribute) const {
  return reliable_.isMember(attribute) ? DtReliable : DtBestEffort;
}

void DtObjectAttrTable::setTransport(RTI::AttributeHandle attribute, DtTransportType transport) {
  if (transport == DtReliable) {
    reliable_.add(attribute);
  } else {
    reliable_.remove(attribute);
  }
}

DtOrderType DtObjectAttrTable::order(RTI::AttributeHandle attribute) const {
  return timestamp_.isMember(attribute) ? DtTimestampOrder : DtReceiveOrder;
}

void DtObjectAttrTable::setOrder(RTI::AttributeHandle attribute, DtOrderType order) {
  if (order == DtTimestampOrder) {
    timestamp_.add(attribute);
  } else {
    timestamp_.remove(attribute);
  }
}

DtPubRegionSetView* DtObjectAttrTable::regionSet(RTI::AttributeHandle attribute) const {
  for (const auto& [a, set] : regionSets_)
    if (a == attribute) return set;
  return nullptr;
}

void DtObjectAttrTable::setRegionSet(RTI::AttributeHandle attribute, DtPubRegionSetView* set) {
  const auto at = std::find_if(regionSets_.begin(), regionSets_.end(),
                               [attribute](const auto& entry) { return entry.first == attribute; });
  if (at != regionSets_.end()) regionSets_.erase(at);
  if (set && contains(attribute)) regionSets_.emplace_back(static_cast<std::uint32_t>(attribute), set);
}

bool DtObjectAttrTable::addTo(DtAttrSetTable& table, std::uint32_t key, RTI::AttributeHandle attribute) {
  DtAttributeHandleSet& entry = table.findOrAdd(key);
  if (entry.isMember(attribute)) return false;
  entry.add(attribute);
  return true;
}

bool DtObjectAttrTable::removeFrom(DtAttrSetTable& table, std::uint32_t key, RTI::AttributeHandle attribute) {
  DtAttributeHandleSet* entry = table.find(key);
  if (!entry || !entry->isMember(attribute)) return false;
  entry->remove(attribute);
  if (entry->isEmpty()) table.remove(key);
  return true;
}

bool DtObjectAttrTable::anyHolds(const DtAttrSetTable& table, RTI::AttributeHandle attribute) {
  return std::any_of(table.begin(), table.end(),
                     [attribute](const auto& entry) { return entry.second.isMember(attribute); });
}

bool DtObjectAttrTable::addSubscriber(std::uint32_t federate, RTI::AttributeHandle attribute) {
  return addTo(subscribers_, federate, attribute);
}

bool DtObjectAttrTable::removeSubscriber(std::uint32_t federate, RTI::AttributeHandle attribute) {
  return removeFrom(subscribers_, federate, attribute);
}

bool DtObjectAttrTable::addRegionSubscription(std::uint32_t regionSet, RTI::AttributeHandle attribute) {
  return addTo(regionSubscriptions_, regionSet, attribute);
}

bool DtObjectAttrTable::removeRegionSubscription(std::uint32_t regionSet, RTI::AttributeHandle attribute) {
  return removeFrom(regionSubscriptions_, regionSet, attribute);
}

bool DtObjectAttrTable::subscribed(RTI::AttributeHandle attribute) const {
  return anyHolds(subscribers_, attribute) || anyHolds(regionSubscriptions_, attribute);
}

void DtObjectAttrTable::dropSubscriptions(RTI::AttributeHandle attribute) {
  DtAttributeHandleSet one;
  one.add(attribute);
  for (DtAttrSetTable* table : {&subscribers_, &regionSubscriptions_}) {
    std::vector<std::uint32_t> keys;
    for (const auto& entry : *table) keys.push_back(entry.first);
    for (std::uint32_t key : keys) table->removeSet(key, one);
  }
}
