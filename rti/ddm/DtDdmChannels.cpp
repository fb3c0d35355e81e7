#include "ddm/DtDdmChannels.h"

#include <algorithm>

#include "net/DtConnectionMgr.h"

namespace {

void appendOnce(std::vector<std::uint32_t>& sets, std::uint32_t set) {
  if (std::find(sets.begin(), sets.end(), set) == sets.end()) sets.push_back(set);
}

void erase(std::vector<std::uint32_t>& sets, std::uint32_t set) { std::erase(sets, set); }

}  // namespace

DtDdmChannels::DtDdmChannels(DtConnectionMgr* connectMgr, std::uint32_t minChannel, std::uint32_t maxChannel)
    : connectMgr_(connectMgr), min_(minChannel), max_(maxChannel), next_(minChannel) {}

std::uint32_t DtDdmChannels::freeChannel() {
  const std::uint32_t channel = next_;
  if (channel == 0) return 0;
  // Compared as host-order numbers; the last address of all wraps too.
  next_ = channel >= max_ ? min_ : channel + 1;
  return channel;
}

void DtDdmChannels::arrived(std::uint32_t channel, bool inOtherTable) {
  if (channel != 0 && !inOtherTable && connectMgr_) connectMgr_->listenToMulticastGroup(channel);
}

void DtDdmChannels::left(std::uint32_t channel, bool inOtherTable) {
  if (channel != 0 && !inOtherTable && connectMgr_) connectMgr_->dropMulticastGroup(channel);
}

void DtDdmChannels::joinObjectRegionSet(std::uint32_t channel, std::uint32_t regionSet) {
  ObjectChannel* filed = objects_.find(channel);
  const bool isNew = filed == nullptr;
  if (isNew) {
    objects_.put({channel, {}});
    filed = objects_.find(channel);
  }
  appendOnce(filed->sets, regionSet);
  if (isNew) arrived(channel, interactions_.contains(channel));
}

void DtDdmChannels::dropObjectRegionSet(std::uint32_t channel, std::uint32_t regionSet) {
  ObjectChannel* filed = objects_.find(channel);
  if (!filed) return;
  erase(filed->sets, regionSet);
  if (!filed->sets.empty()) return;
  objects_.take(channel);
  left(channel, interactions_.contains(channel));
}

void DtDdmChannels::joinInteractionRegionSet(std::uint32_t channel, std::uint32_t interactionClass,
                                             std::uint32_t regionSet) {
  InteractionChannel* filed = interactions_.find(channel);
  const bool isNew = filed == nullptr;
  if (isNew) {
    interactions_.put({channel, {}});
    filed = interactions_.find(channel);
  }
  ClassSets* sets = filed->classes.find(interactionClass);
  if (!sets) {
    filed->classes.put({interactionClass, {}});
    sets = filed->classes.find(interactionClass);
  }
  appendOnce(sets->sets, regionSet);
  if (isNew) arrived(channel, objects_.contains(channel));
}

void DtDdmChannels::dropInteractionRegionSet(std::uint32_t channel, std::uint32_t interactionClass,
                                             std::uint32_t regionSet) {
  InteractionChannel* filed = interactions_.find(channel);
  ClassSets* sets = filed ? filed->classes.find(interactionClass) : nullptr;
  if (!sets) return;
  erase(sets->sets, regionSet);
  if (!sets->sets.empty()) return;
  filed->classes.take(interactionClass);
  if (!filed->classes.empty()) return;
  interactions_.take(channel);
  left(channel, objects_.contains(channel));
}

bool DtDdmChannels::inUse(std::uint32_t channel) const {
  return channel != 0 && (objects_.contains(channel) || interactions_.contains(channel));
}

void DtDdmChannels::clear(bool leave) {
  if (leave && connectMgr_) {
    for (const std::uint32_t channel : objects_.handles()) {
      if (channel != 0) connectMgr_->dropMulticastGroup(channel);
    }
    for (const std::uint32_t channel : interactions_.handles()) {
      if (channel != 0 && !objects_.contains(channel)) connectMgr_->dropMulticastGroup(channel);
    }
  }
  objects_.clear();
  interactions_.clear();
}

std::vector<DtDdmChannels::Filed> DtDdmChannels::interactionChannels() const {
  std::vector<Filed> filed;
  for (const InteractionChannel& channel : interactions_) {
    for (const ClassSets& sets : channel.classes) filed.push_back({sets.handle, channel.handle, sets.sets});
  }
  return filed;
}

std::vector<DtDdmChannels::Filed> DtDdmChannels::objectChannels() const {
  std::vector<Filed> filed;
  for (const ObjectChannel& channel : objects_) filed.push_back({0, channel.handle, channel.sets});
  return filed;
}
