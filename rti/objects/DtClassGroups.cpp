#include "objects/DtClassGroups.h"

#include "net/DtConnectionMgr.h"

void DtClassGroups::use(DtConnectionMgr* connectMgr, std::uint32_t group) {
  if (group == 0) return;
  if (uses_[group]++ == 0 && connectMgr) connectMgr->listenToMulticastGroup(group);
}

void DtClassGroups::release(DtConnectionMgr* connectMgr, std::uint32_t group) {
  const auto counted = uses_.find(group);
  if (group == 0 || counted == uses_.end()) return;
  if (--counted->second > 0) return;
  if (connectMgr) connectMgr->dropMulticastGroup(group);
  uses_.erase(counted);
}

void DtClassGroups::leaveAll(DtConnectionMgr* connectMgr) {
  if (connectMgr) {
    for (const auto& [group, uses] : uses_) connectMgr->dropMulticastGroup(group);
  }
  uses_.clear();
}
