#include "exec/DtFederate.h"

#include "util/DtNotify.h"

DtFederate::DtFederate(const char* name, unsigned long handle, unsigned long connectionHandle,
                       const DtSyncHashlist* executionPoints)
    : name_(name ? name : ""),
      handle_(static_cast<std::uint32_t>(handle)),
      connectionHandle_(static_cast<std::uint32_t>(connectionHandle)) {
  if (!executionPoints) return;
  for (const DtSyncPt* point : executionPoints->list()) {
    if (point->federates().empty()) syncPoints_.addSyncPoint(std::make_unique<DtSyncPt>(point->name(), point->tag()));
  }
}

DtFederate::~DtFederate() = default;

bool DtFederate::setFederateSyncPtAchieved(const std::string& label) {
  DtSyncPt* point = syncPoints_.lookupSyncPoint(label);
  if (!point) {
    DtNotifyError("SyncPoint %s not found.\n", label.c_str());
    return false;
  }
  point->setAchieved(true);
  return true;
}

bool DtFederate::federateSyncPtAchieved(const std::string& label, bool quiet) const {
  const DtSyncPt* point = syncPoints_.lookupSyncPoint(label);
  if (!point && !quiet) DtNotifyError("SyncPoint %s not found.\n", label.c_str());
  return point && point->achieved();
}

void DtFederate::addFederateSyncPt(std::unique_ptr<DtSyncPt> point) { syncPoints_.addSyncPoint(std::move(point)); }

std::unique_ptr<DtSyncPt> DtFederate::removeFederateSyncPt(const std::string& label) {
  return syncPoints_.remove(label);
}
