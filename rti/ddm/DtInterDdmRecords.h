#pragma once
// DtInterDdmRecords: the interaction data distribution manager's records in
// a federate's save file, after the interaction manager's own. Numbers are
// big-endian u32; offsets count from the record's first byte.
//
// Type 3, the header (20 + 8 x n bytes):
//   0  length   4  type 3   8  n, the interaction classes of the model
//  12  the publication set handle counter (the next serial)
//  16  the subscription set handle counter
//  20  8 x n zero bytes (ignored)
//
// Type 13, one region set (32 + 4 x m bytes), then one of kind 0 and
// length 32, all zero, at the end:
//   0  length   4  type 13   8  kind (DtRtiSaveRegionSetTypes)
//  12  region-set handle   16  owning federate   20  interaction class
//  24  channel   28  m, the regions   32  m x region handle (0: default)
//
// Reading checks everything before anything is taken: each length against
// the bytes held and the counts, the class count against the model, each
// kind, each class handle, and that no set is saved twice.

#include <cstdint>
#include <optional>
#include <vector>

#include "ddm/DtRegionSetSaveKind.h"
#include "save/DtSavePackets.h"

class DtFomClassMgr;
class DtRtiSaveFile;

struct DtInterRegionSetRecord {
  std::uint32_t kind = DT_END_REGION_SETS;
  std::uint32_t setHandle = 0;
  std::uint32_t federate = 0;
  std::uint32_t classHandle = 0;
  std::uint32_t address = 0;
  std::vector<std::uint32_t> regions;
};

struct DtInterDdmSaved {
  std::uint32_t pubCounter = 0;
  std::uint32_t subCounter = 0;
  std::vector<DtInterRegionSetRecord> sets;  // in file order, without the end
};

class DtInterDdmRecords {
public:
  static constexpr std::uint32_t theHeaderType = DtIntDataDistMgrPacketType;
  static constexpr std::uint32_t theSetType = DtRegionSetPacketType;
  static constexpr std::uint32_t theHeaderLength = 20;
  static constexpr std::uint32_t theSetLength = 32;

  static DtSavePacketBuilder header(std::uint32_t classes, std::uint32_t pubCounter, std::uint32_t subCounter);
  // None for a set whose record would not fit a length field.
  static std::optional<DtSavePacketBuilder> setRecord(const DtInterRegionSetRecord& set);
  static DtSavePacketBuilder endRecord() { return *setRecord({}); }

  // The records from the header to the end record. Anything wrong: the
  // level-1 message "DDMIntMgr received an incorrect save packet, restore
  // aborted" and none.
  static std::optional<DtInterDdmSaved> read(DtRtiSaveFile& file, const DtFomClassMgr& fom);
  // The same over one record each (the header, a set record).
  static bool readHeader(const DtSavePacket& record, const DtFomClassMgr& fom, DtInterDdmSaved& saved);
  static std::optional<DtInterRegionSetRecord> readSet(const DtSavePacket& record, const DtFomClassMgr& fom);
};
