// The execution's time management in its save file: the next-event cycle's
// values, the time records and the lists, and reading them back.
#include <algorithm>
#include <map>
#include <memory>
#include <vector>

#include "exec/DtExecSaveFile.h"
#include "exec/DtExecTimeMgr.h"
#include "exec/DtTimeInfo.h"
#include "util/DtNotify.h"

namespace {

DtTimeInfoItem* nextOf(DtTimeInfoItem* item) { return static_cast<DtTimeInfoItem*>(item->next()); }

std::string encoded(const RTI::FedTime& time) {
  std::string bytes(static_cast<std::size_t>(time.encodedLength()), '\0');
  time.encode(bytes.data());
  return bytes;
}

// The time of exactly these bytes; null when they are not one.
std::unique_ptr<RTI::FedTime> decoded(const std::string& bytes) {
  std::unique_ptr<RTI::FedTime> time(RTI::FedTimeFactory::decode(bytes.data(), static_cast<RTI::ULong>(bytes.size())));
  if (time && static_cast<std::size_t>(time->encodedLength()) != bytes.size()) time.reset();
  return time;
}

std::vector<std::uint32_t> handlesOf(const DtTimeInfoList& list) {
  std::vector<std::uint32_t> handles;
  for (DtTimeInfoItem* item = list.first(); item; item = nextOf(item))
    handles.push_back(item->info()->federateHandle());
  return handles;
}

// The index of the list of held regulation requests among the saved lists,
// whose records are their own.
constexpr std::size_t pendingRegulationList = 4;

}  // namespace

void DtExecTimeMgr::saveState(DtExecSavedState& state) const {
  state.cycleMinNerFederate = cycleMinNerFederate_;
  // Kept in the file for its readers; a cycle needs no such flags.
  state.nerSetChanged = false;
  state.nerChangedInCycle = false;
  state.nerCycle = nerCycle_;
  state.cycleMinNerLbts = encoded(*cycleMinNerLbts_);
  state.cycleLagNerLbts = encoded(*cycleLagNerLbts_);
  state.timeRecords.clear();
  for (const DtTimeInfo* info : ownedRecords()) {
    state.timeRecords.push_back({info->federateHandle(), info->constrained(), info->regulating(), info->timeAvailable(),
                                 info->nerPending(), encoded(info->time()), encoded(info->lookahead()),
                                 encoded(info->nerTime()), encoded(info->nerLookahead())});
  }
  const DtTimeInfoList* lists[] = {&regulatingByLbts_,  &constrainedByTime_,   &pendingConstrained_, &savedTimeList_,
                                   &pendingRegulation_, &regulatingByNerLbts_, &nerRequesters_,      &nerAwaited_};
  for (std::size_t k = 0; k < state.timeLists.size(); ++k) state.timeLists[k] = handlesOf(*lists[k]);
  state.constrainedSyncWaiting.clear();
  for (const DtListItem* item = constrainedSyncWaiting_.head(); item; item = item->next()) {
    state.constrainedSyncWaiting.push_back(static_cast<const DtTimeInfo*>(item->data())->federateHandle());
  }
}

void DtExecTimeMgr::restoreState(const DtExecSavedState& state) {
  deleteAllRecords();
  lbtsSent_ = false;
  cycleMinNerFederate_ = state.cycleMinNerFederate;
  // A cycle that ran at the save commits nothing (its records' answers
  // are not of it): the next one asks again.
  departedFloor_->setPositiveInfinity();
  nerCycle_ = state.nerCycle;
  for (auto [bytes, time] : {std::pair{&state.cycleMinNerLbts, cycleMinNerLbts_.get()},
                             std::pair{&state.cycleLagNerLbts, cycleLagNerLbts_.get()}}) {
    if (const std::unique_ptr<RTI::FedTime> read = decoded(*bytes)) {
      *time = *read;
    } else {
      DtNotifyError("A next-event bound of the save is not a time: taken as zero\n");
      time->setZero();
    }
  }
  // The records of each federate in the file's order: its own first, a held
  // regulation request's after it.
  std::vector<std::unique_ptr<DtTimeInfo>> made;
  std::multimap<std::uint32_t, DtTimeInfo*> byHandle;
  for (const DtExecSavedTimeRecord& saved : state.timeRecords) {
    const auto time = decoded(saved.time);
    const auto lookahead = decoded(saved.lookahead);
    const auto nerTime = decoded(saved.nerTime);
    const auto nerLookahead = decoded(saved.nerLookahead);
    if (!time || !lookahead || !nerTime || !nerLookahead) {
      DtNotifyError("Failed to read time info in set\n");
      continue;
    }
    auto info = std::make_unique<DtTimeInfo>(saved.handle, *time, *lookahead);
    info->setNerTime(*nerTime);
    info->setNerLookahead(*nerLookahead);
    info->setConstrained(saved.constrained != 0);
    info->setRegulating(saved.regulating != 0);
    info->setTimeAvailable(saved.timeAvailable != 0);
    info->setNerPending(saved.nerPending != 0);
    byHandle.emplace(saved.handle, info.get());
    made.push_back(std::move(info));
  }
  auto recordFor = [&](std::uint32_t handle, bool heldRequest) -> DtTimeInfo* {
    const auto [first, end] = byHandle.equal_range(handle);
    if (first == end) {
      DtNotifyError("Time info not found for federate handle %lu\n", static_cast<unsigned long>(handle));
      return nullptr;
    }
    return heldRequest ? std::prev(end)->second : first->second;
  };
  const std::array<DtTimeInfoList*, 8> lists = allLists();
  for (std::size_t k = 0; k < lists.size(); ++k) {
    for (const std::uint32_t handle : state.timeLists[k]) {
      if (DtTimeInfo* info = recordFor(handle, k == pendingRegulationList)) lists[k]->add(info);
    }
  }
  for (const std::uint32_t handle : state.constrainedSyncWaiting) {
    if (DtTimeInfo* info = recordFor(handle, false)) constrainedSyncWaiting_.append(info);
  }
  // The lists that own records now own these; a record none of them holds
  // goes (out of the other lists first).
  const std::vector<DtTimeInfo*> owned = ownedRecords();
  for (std::unique_ptr<DtTimeInfo>& info : made) {
    if (std::find(owned.begin(), owned.end(), info.get()) != owned.end()) {
      static_cast<void>(info.release());  // its list owns it
      continue;
    }
    const std::uint32_t handle = info->federateHandle();
    for (DtTimeInfoList* list : {&regulatingByNerLbts_, &nerRequesters_, &nerAwaited_}) {
      if (list->findInfo(handle) == info.get()) list->remove(handle);
    }
    while (DtListItem* entry = constrainedSyncWaiting_.find(info.get())) constrainedSyncWaiting_.remove(entry);
  }
}

void DtExecTimeMgr::announceBounds() {
  if (regulatingByLbts_.count() == 0) return;
  rememberLbts(minLbts(), lagLbts());
  sendLbtsMsg(minLbtsFederate(), minLbts(), lagLbts());
}
