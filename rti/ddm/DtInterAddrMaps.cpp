#include "ddm/DtInterAddrMaps.h"

#include "util/DtClock.h"

DtInterAddrMaps::DtInterAddrMaps() = default;

double DtInterAddrMaps::now() const { return clock_ ? clock_() : DtRealTime(); }

void DtInterAddrMaps::addLocal(std::uint32_t classHandle, std::uint32_t setHandle, std::uint32_t address) {
  local_[key(classHandle, setHandle)] = address;
  startDelay(classHandle, setHandle);
}

void DtInterAddrMaps::removeLocal(std::uint32_t classHandle, std::uint32_t setHandle) {
  local_.erase(key(classHandle, setHandle));
  stopDelay(classHandle, setHandle);
}

std::uint32_t DtInterAddrMaps::local(std::uint32_t classHandle, std::uint32_t setHandle) const {
  const auto found = local_.find(key(classHandle, setHandle));
  return found == local_.end() ? 0 : found->second;
}

void DtInterAddrMaps::addRemote(std::uint32_t classHandle, std::uint32_t setHandle, std::uint32_t address) {
  remote_[key(classHandle, setHandle)] = address;
}

void DtInterAddrMaps::removeRemote(std::uint32_t classHandle, std::uint32_t setHandle) {
  remote_.erase(key(classHandle, setHandle));
}

std::uint32_t DtInterAddrMaps::remote(std::uint32_t classHandle, std::uint32_t setHandle) const {
  const auto found = remote_.find(key(classHandle, setHandle));
  return found == remote_.end() ? 0 : found->second;
}

void DtInterAddrMaps::startDelay(std::uint32_t classHandle, std::uint32_t setHandle) {
  delays_[key(classHandle, setHandle)] = now();
}

void DtInterAddrMaps::stopDelay(std::uint32_t classHandle, std::uint32_t setHandle) {
  delays_.erase(key(classHandle, setHandle));
}

bool DtInterAddrMaps::delayExpired(std::uint32_t classHandle, std::uint32_t setHandle, double seconds) {
  const auto found = delays_.find(key(classHandle, setHandle));
  if (found == delays_.end()) return true;
  if (now() - found->second < seconds) return false;
  delays_.erase(found);
  return true;
}

void DtInterAddrMaps::clear() {
  local_.clear();
  remote_.clear();
  delays_.clear();
}
