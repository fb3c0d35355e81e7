// The MOM manager's share of a federate's save: its record (type 9), then
// the Manager.Federation and the Manager.Federate object records (type 5),
// read back in that order.
#include <vector>

#include "mom/DtMomFederatePublisher.h"
#include "mom/DtMomFederationPublisher.h"
#include "mom/DtMomMgr.h"
#include "mom/DtMomMgrRecord.h"
#include "save/DtRtiSaveFile.h"
#include "util/DtNotify.h"

namespace {

bool saveObject(DtRtiSaveFile& file, const DtMomPublisher* publisher, std::vector<char>& buffer) {
  const std::uint32_t length = publisher ? publisher->encodedLength() : 0;
  if (length == 0) {
    DtNotifyError("MomMgr: a MOM object has no record to save\n");
    return false;
  }
  if (buffer.size() < length) buffer.resize(length);
  publisher->encode(buffer.data());
  return file.writePacket(buffer.data(), static_cast<int>(length));
}

bool restoreObject(DtRtiSaveFile& file, DtMomPublisher* publisher, const char* wrongType) {
  const DtSavePacket* packet = file.readNextPacket();
  if (!packet || packet->type() != DtObjectPacket::theType) {
    DtNotifyError("%s", wrongType);
    return false;
  }
  return publisher && publisher->decode(*packet);
}

}  // namespace

bool DtMomMgr::save(DtRtiSaveFile& file) {
  DtMomMgrRecord record;
  record.serviceReporting = static_cast<std::uint8_t>(serviceReporting_);
  record.exceptionLogging = static_cast<std::uint8_t>(exceptionLogging_);
  record.exceptionReports = static_cast<std::uint8_t>(exceptionReports_);
  record.nextAlertId = nextAlertId_;
  if (!file.writePacket(record.encode())) return false;
  std::vector<char> buffer;
  return saveObject(file, federationPublisher_.get(), buffer) && saveObject(file, federatePublisher_.get(), buffer);
}

bool DtMomMgr::restore(DtRtiSaveFile& file) {
  const DtSavePacket* packet = file.readNextPacket();
  if (!packet) {
    DtNotifyError("MomMgr received an incorrect save packet, restore aborted\n");
    return false;
  }
  const std::optional<DtMomMgrRecord> record = DtMomMgrRecord::decode(*packet);
  if (!record) return false;
  setServiceReporting(record->serviceReporting);
  exceptionLogging_ = record->exceptionLogging;
  exceptionReports_ = record->exceptionReports;
  ++exceptionReportsSettings_;
  nextAlertId_ = record->nextAlertId;
  federateList_.clear();
  return restoreObject(file, federationPublisher_.get(),
                       "Bad packet type found when restoring MOM Federation object\n") &&
         restoreObject(file, federatePublisher_.get(), "Bad packet type found when restoring MOM Federate object\n");
}
