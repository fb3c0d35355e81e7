#include "exec/DtExecSavedStateCheck.h"

#include <set>

#include "exec/DtExecSaveFile.h"

namespace {

std::string number(std::uint32_t value) { return std::to_string(value); }

}  // namespace

std::string DtExecSavedStateCheck::fault(const DtExecSavedState& state) {
  const std::uint32_t next = state.nextFederateHandle;
  if (next == 0) return "the next federate handle is 0";
  std::set<std::uint32_t> federates;
  for (const DtExecSavedFederate& federate : state.federates) {
    if (federate.handle == 0) return "federate " + federate.name + " has handle 0";
    if (federate.handle >= next) {
      return "federate " + federate.name + " has handle " + number(federate.handle) +
             ", not below the next federate handle " + number(next);
    }
    if (!federates.insert(federate.handle).second) return "two federates have handle " + number(federate.handle);
  }
  if (state.designated >= next) {
    return "the designated federate " + number(state.designated) + " is not below the next federate handle " +
           number(next);
  }
  if (state.cycleMinNerFederate >= next) {
    return "the least next-event federate " + number(state.cycleMinNerFederate) +
           " is not below the next federate handle " + number(next);
  }
  for (const DtExecSavedSyncPoint& point : state.syncPoints) {
    for (const std::uint32_t handle : point.federates) {
      if (handle == 0 || handle >= next) {
        return "synchronization point " + point.label + " names federate " + number(handle) +
               ", which the next federate handle " + number(next) + " has not given";
      }
    }
  }
  std::set<std::uint32_t> recorded;
  for (const DtExecSavedTimeRecord& record : state.timeRecords) {
    if (!federates.count(record.handle)) return "a time record of federate " + number(record.handle) + ", not saved";
    if (!recorded.insert(record.handle).second) return "two time records of federate " + number(record.handle);
  }
  for (std::size_t list = 0; list < state.timeLists.size(); ++list) {
    for (const std::uint32_t handle : state.timeLists[list]) {
      if (!federates.count(handle)) {
        return "time list " + number(static_cast<std::uint32_t>(list + 1)) + " names federate " + number(handle) +
               ", not saved";
      }
    }
  }
  for (const std::uint32_t handle : state.constrainedSyncWaiting) {
    if (!federates.count(handle)) return "the constrained sync waits for federate " + number(handle) + ", not saved";
  }
  return {};
}
