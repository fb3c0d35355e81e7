#include "objects/DtAddrMap.h"

#include "util/DtClock.h"

DtAddrMap::DtAddrMap(std::uint32_t handle, float delaySeconds) : delay_(delaySeconds), ownHandle_(handle) {
  addLocalAddrMap(handle, 0);
}

void DtAddrMap::addLocalAddrMap(std::uint32_t handle, std::uint32_t address) {
  local_[handle] = address;
  addAddrMapDelay(handle);
}

void DtAddrMap::removeLocalAddrMap(std::uint32_t handle) {
  local_.erase(handle);
  removeAddrMapDelay(handle);
}

std::uint32_t DtAddrMap::localAddrMap(std::uint32_t handle) {
  if (!addrMapDelayExpired(handle)) return 0;
  const auto found = local_.find(handle);
  return found == local_.end() ? 0 : found->second;
}

std::uint32_t DtAddrMap::remoteAddrMap(std::uint32_t handle) const {
  const auto found = remote_.find(handle);
  return found == remote_.end() ? 0 : found->second;
}

void DtAddrMap::addAddrMapDelay(std::uint32_t handle) { delayStarts_[handle] = DtRealTime(); }

bool DtAddrMap::addrMapDelayExpired(std::uint32_t handle) {
  const auto found = delayStarts_.find(handle);
  if (found == delayStarts_.end()) return true;
  if (DtRealTime() - found->second < static_cast<double>(delay_)) return false;
  delayStarts_.erase(found);
  return true;
}

void DtAddrMap::empty() {
  local_.clear();
  remote_.clear();
  delayStarts_.clear();
}
