// The time manager's share of a federation save (its record and the queued
// time-stamped messages, and reading them back), and the save around an
// advance: a timed save's time, the save point, the deferred save.
#include <optional>
#include <string>
#include <vector>

#include "core/DtFederateMgr.h"
#include "core/DtTimeMgr.h"
#include "msg/DtNetNumber.h"
#include "msg/DtRtiMsg.h"
#include "msg/DtSaveMsgs.h"
#include "net/DtConnectionMgr.h"
#include "save/DtRtiSaveFile.h"
#include "save/DtSavePackets.h"
#include "save/DtSavedMessages.h"
#include "util/DtNotify.h"

namespace {

using Record = DtTimeMgrPacket;

void putU32(std::vector<char>& out, std::uint32_t value) {
  char bytes[4];
  DtNetU32::write(bytes, value);
  out.insert(out.end(), bytes, bytes + 4);
}

void putTime(std::vector<char>& out, const RTI::FedTime& time) {
  const auto size = static_cast<std::uint32_t>(time.encodedLength());
  putU32(out, size);
  const std::size_t at = out.size();
  out.resize(at + size);
  time.encode(out.data() + at);
}

// The variable part of a record, read in order within its bytes.
class Reader {
public:
  Reader(const DtSavePacket& record, std::uint32_t at) : record_(record), at_(at) {}
  std::optional<std::uint32_t> u32() {
    if (!record_.holds(at_, 4)) return std::nullopt;
    at_ += 4;
    return record_.u32(at_ - 4);
  }
  // A time of exactly its size's bytes.
  std::unique_ptr<RTI::FedTime> time() {
    const std::optional<std::uint32_t> size = u32();
    if (!size || !record_.holds(at_, *size)) return nullptr;
    std::unique_ptr<RTI::FedTime> read(RTI::FedTimeFactory::decode(record_.bytes().data() + at_, *size));
    at_ += *size;
    if (read && static_cast<std::uint32_t>(read->encodedLength()) != *size) read.reset();
    return read;
  }
  bool atEnd() const { return at_ == record_.size(); }

private:
  const DtSavePacket& record_;
  std::uint32_t at_;
};

}  // namespace

std::array<RTI::FedTime*, 10> DtTimeMgr::savedTimes() const {
  return {lbts_.get(),
          timePlusLookahead_.get(),
          constrainedLbts_.get(),
          federateTime_.get(),
          lookahead_.get(),
          requestedTime_.get(),
          targetLookahead_.get(),
          reducingLookahead_.get(),
          pendingGrantTime_.get(),
          nerBound_.get()};
}

std::uint32_t DtTimeMgr::packetLength() const {
  std::uint32_t length = Record::fixedLength;
  for (const RTI::FedTime* time : savedTimes()) length += 4 + static_cast<std::uint32_t>(time->encodedLength());
  for (const DtRetractInfo* info : retracts_.records()) {
    length += 8 + static_cast<std::uint32_t>(info->time().encodedLength());
  }
  return length;
}

bool DtTimeMgr::saveState(DtRtiSaveFile& file) {
  const std::vector<const DtRtiMsg*> queued = queue_.queuedMsgs();
  const std::vector<const DtRetractInfo*> retractions = retracts_.records();
  std::vector<char> times;
  for (const RTI::FedTime* time : savedTimes()) putTime(times, *time);
  for (const DtRetractInfo* info : retractions) {
    putU32(times, info->serialNumber());
    putTime(times, info->time());
  }
  DtSavePacketBuilder record(Record::theType, Record::fixedLength + static_cast<std::uint32_t>(times.size()));
  const bool flags[Record::flagCount] = {constrained_,       regulating_,    regulationPending_, constrainedPending_,
                                         tarPending_,        nerPending_,    checkNeeded_,       flushPending_,
                                         advancePending_,    timeAvailable_, epsilonLookahead_,  epsilonReducing_,
                                         tsoEventDelivered_, grantsHeld_,    lookaheadReducing_, queue_.asyncDelivery(),
                                         nerAfterSave_,      grantPending_,  nerEventFound_,     zeroLookaheadRestored_,
                                         nerFirstPass_};
  for (std::uint32_t f = 0; f < Record::flagCount; ++f) {
    record.setU8(Record::flagAt(static_cast<Record::Flag>(f)), flags[f] ? 1 : 0);
  }
  record.setU32(Record::stateVersionAt, stateVersion_);
  record.setU32(Record::nerCycleAt, nerCycle_);
  record.setU32(Record::retractCountAt, static_cast<std::uint32_t>(retractions.size()));
  record.setU32(Record::queuedCountAt, static_cast<std::uint32_t>(queued.size()));
  record.setBytes(Record::timesAt, times.data(), static_cast<std::uint32_t>(times.size()));
  const bool written = file.writePacket(record);
  return DtWriteSavedMessages(file, queued) && written;
}

bool DtTimeMgr::restoreState(DtRtiSaveFile& file) {
  const DtSavePacket* record = file.readNextPacket();
  if (!record || record->type() != Record::theType) {
    DtNotifyError("TimeMgr received an incorrect save packet, restore aborted\n");
    return false;
  }
  if (!record->whole(Record::fixedLength) || !takeRecord(*record)) {
    DtNotifyError("TimeMgr received a damaged save packet (%u bytes), restore aborted\n", record->size());
    return false;
  }
  return takeQueuedMsgs(file, record->u32(Record::queuedCountAt));
}

bool DtTimeMgr::takeRecord(const DtSavePacket& record) {
  // Everything is read before anything changes.
  Reader reader(record, Record::timesAt);
  std::vector<std::unique_ptr<RTI::FedTime>> times;
  for (std::uint32_t k = 0; k < Record::timeCount; ++k) {
    times.push_back(reader.time());
    if (!times.back()) return false;
  }
  std::vector<std::unique_ptr<DtRetractInfo>> retractions;
  const std::uint32_t count = record.u32(Record::retractCountAt);
  for (std::uint32_t k = 0; k < count; ++k) {
    const std::optional<std::uint32_t> serial = reader.u32();
    const std::unique_ptr<RTI::FedTime> time = serial ? reader.time() : nullptr;
    if (!time) return false;
    retractions.push_back(std::make_unique<DtRetractInfo>(*serial, *time));
  }
  if (!reader.atEnd()) return false;

  auto flag = [&](Record::Flag f) { return record.u8(Record::flagAt(f)) != 0; };
  constrained_ = flag(Record::constrained);
  regulating_ = flag(Record::regulating);
  regulationPending_ = flag(Record::regulationPending);
  constrainedPending_ = flag(Record::constrainedPending);
  tarPending_ = flag(Record::tarPending);
  nerPending_ = flag(Record::nerPending);
  checkNeeded_ = flag(Record::checkNeeded);
  flushPending_ = flag(Record::flushPending);
  advancePending_ = flag(Record::advancePending);
  timeAvailable_ = flag(Record::timeAvailable);
  epsilonLookahead_ = flag(Record::epsilonLookahead);
  epsilonReducing_ = flag(Record::epsilonReducing);
  tsoEventDelivered_ = flag(Record::tsoEventDelivered);
  grantsHeld_ = flag(Record::grantsHeld);
  lookaheadReducing_ = flag(Record::lookaheadReducing);
  nerAfterSave_ = flag(Record::nerAfterSave);
  grantPending_ = flag(Record::grantPending);
  nerEventFound_ = flag(Record::nerEventFound);
  zeroLookaheadRestored_ = flag(Record::zeroLookaheadRestored);
  nerFirstPass_ = flag(Record::nerFirstPass);
  stateVersion_ = record.u32(Record::stateVersionAt);
  nerCycle_ = record.u32(Record::nerCycleAt);
  saveTimeKnown_ = false;
  saveTimeAdvanceDue_ = false;
  saveDeferred_ = false;
  deferredSaveStarted_ = false;
  savePointReached_ = false;
  const std::array<RTI::FedTime*, 10> mine = savedTimes();
  for (std::size_t k = 0; k < mine.size(); ++k) *mine[k] = *times[k];
  retracts_.clear();
  for (std::unique_ptr<DtRetractInfo>& info : retractions) retracts_.addRecord(std::move(info));
  // The queue starts again from the restored state: what it holds goes, it
  // is constrained since the restored time.
  queue_.clear();
  queue_.setConstrainedSince(*federateTime_);
  queue_.setQueueLookahead(effectiveLookahead());
  queue_.setRegulating(regulating_);
  queue_.setConstrained(constrained_);
  queue_.setAsyncDelivery(flag(Record::queueAsyncDelivery));
  queue_.setTimeAvailable(timeAvailable_);
  queue_.setHeldLbts(*lbts_);
  queue_.setGranted(*federateTime_, true);
  return true;
}

bool DtTimeMgr::takeQueuedMsgs(DtRtiSaveFile& file, std::uint32_t count) {
  // Taken back as queued, whatever the advance under way has delivered,
  // and none is late: each was in the queue at the save.
  queue_.setAdvancePending(false);
  queue_.setLateCheck(false);
  bool restored = true;
  for (std::uint32_t k = 0; k < count && restored && connectMgr_; ++k) {
    std::unique_ptr<DtRtiMsg> msg;
    const DtSavedMessageRead read =
        DtReadSavedMessage(file, *connectMgr_->msgFactory(), connectMgr_->fedExHandle(), &msg);
    if (read == DtSavedMessageRead::NotSaved) {
      DtNotifyError("TimeMgr received an incorrect save packet, restore aborted\n");
      restored = false;
    } else if (msg && !queue_.queueIfNeeded(*msg)) {
      // The queue keeps a copy of what it takes.
      DtNotifyError("Restored message was not put back on queue\n");
    }
  }
  queue_.setAdvancePending(advancePending_);
  queue_.setLateCheck(true);
  return restored;
}

// ---- the save around an advance

void DtTimeMgr::processSaveTime(const DtSaveTimeMsg& msg) {
  *saveTime_ = msg.time();
  saveTimeKnown_ = true;
  saveTimeAdvanceDue_ = true;
  // A federate already waiting past the save time stops there now.
  checkNeeded_ = true;
}

bool DtTimeMgr::isSaveTimeReached(const RTI::FedTime& t) const {
  if (!constrained_ || !saveTimeKnown_) return false;
  return *saveTime_ < t || (timeAvailable_ && *saveTime_ == t);
}

void DtTimeMgr::saveTarget(const RTI::FedTime& t, RTI::FedTime& target) const {
  target = t;
  if (!saveTimeKnown_ || !(*saveTime_ < t)) return;
  target = *saveTime_;
  if (timeAvailable_) target += *epsilonTime_;
}

void DtTimeMgr::setPendingGrantTime(const RTI::FedTime& t) {
  *pendingGrantTime_ = t;
  grantPending_ = true;
}

void DtTimeMgr::holdAtSavePoint(const RTI::FedTime& t) {
  if (!constrained_) return;
  setPendingGrantTime(t);
  savePointReached_ = true;
}

bool DtTimeMgr::startDeferredSave() {
  if (!saveDeferred_) return false;
  // The save starts once; the advance waits until it is over.
  if (!deferredSaveStarted_) {
    deferredSaveStarted_ = true;
    if (owner_) owner_->initiateSave();
  }
  return true;
}

void DtTimeMgr::saveInitiated() {
  if (constrained_ && !advancePending_) {
    saveDeferred_ = true;
    deferredSaveStarted_ = false;
    return;
  }
  if (owner_) owner_->initiateSave();
}

void DtTimeMgr::saveCompleted() {
  const bool resume = saveDeferred_ || saveTimeKnown_;
  saveDeferred_ = false;
  deferredSaveStarted_ = false;
  saveTimeKnown_ = false;
  saveTimeAdvanceDue_ = false;
  savePointReached_ = false;
  if (resume) {
    checkAdvance(true);
  } else if (nerAfterSave_) {
    processNextEvent(*constrainedLbts_, true);
  } else if (grantPending_) {
    // A grant held at a save point, after a restore: its advance step runs
    // again, so that the events up to it come first and the LBTS rule
    // holds; only a held grant without a request is given as it stands.
    if (tarPending_ || flushPending_ || nerPending_) {
      checkAdvance(true);
    } else {
      grant(*pendingGrantTime_);
    }
  }
}
