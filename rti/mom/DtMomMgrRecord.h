#pragma once
// DtMomMgrRecord: the MOM manager's record in a federate's save file (type
// 9, 16 bytes): its three switches, one byte each, and the ID of the next
// Alert. The fourth switch byte is written as 0 and not read.

#include <cstdint>
#include <optional>

#include "save/DtSavePackets.h"

struct DtMomMgrRecord {
  using Layout = DtObjectMgrPacket;  // the object manager's layout, type 9
  std::uint8_t serviceReporting = 0;
  std::uint8_t exceptionLogging = 0;
  std::uint8_t exceptionReports = 0;
  std::int32_t nextAlertId = 1;

  DtSavePacketBuilder encode() const;
  // Null for a record of another type or length (the reason at level 1).
  static std::optional<DtMomMgrRecord> decode(const DtSavePacket& packet);
};
