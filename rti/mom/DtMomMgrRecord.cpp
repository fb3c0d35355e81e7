#include "mom/DtMomMgrRecord.h"

#include "util/DtNotify.h"

DtSavePacketBuilder DtMomMgrRecord::encode() const {
  DtSavePacketBuilder record(Layout::momType, Layout::theLength);
  record.setU8(Layout::firstSwitchAt, serviceReporting);
  record.setU8(Layout::secondSwitchAt, exceptionLogging);
  record.setU8(Layout::thirdSwitchAt, exceptionReports);
  record.setU32(Layout::counterAt, static_cast<std::uint32_t>(nextAlertId));
  return record;
}

std::optional<DtMomMgrRecord> DtMomMgrRecord::decode(const DtSavePacket& packet) {
  if (packet.type() != Layout::momType) {
    DtNotifyError("MomMgr received an incorrect save packet, restore aborted\n");
    return std::nullopt;
  }
  if (packet.size() != Layout::theLength || packet.length() != Layout::theLength) {
    DtNotifyError("MomMgr received a damaged save packet (%u bytes), restore aborted\n", packet.size());
    return std::nullopt;
  }
  DtMomMgrRecord record;
  record.serviceReporting = packet.u8(Layout::firstSwitchAt);
  record.exceptionLogging = packet.u8(Layout::secondSwitchAt);
  record.exceptionReports = packet.u8(Layout::thirdSwitchAt);
  record.nextAlertId = static_cast<std::int32_t>(packet.u32(Layout::counterAt));
  return record;
}
