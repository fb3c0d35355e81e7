#pragma once
// The object data distribution manager's save record: one per object region
// set, then an end record. Numbers are big-endian; offsets count from the
// record's first byte.
//
// Type 13, a set (36 + 4 x R + 48 x (A + U) bytes):
//   0  u32  length
//   4  u32  record type, 13
//   8  u32  set kind (DtRtiSaveRegionSetTypes); 0 ends the list
//  12  u32  region-set handle
//  16  u32  federate handle of the set
//  20  u32  channel of the set
//  24  u32  R, regions
//  28  u32  A, association records
//  32  u32  U, unowned records
//  36  R x u32  region handles, in the set's order
//  then A x 48  association records: u32 handle, then the 44-byte encoded
//           attribute set. The handle is an object's for the publication
//           kinds (the object's associated attributes), a class's for the
//           subscription kinds (the class's associated attributes)
//  then U x 48  unowned records: u32 object handle, then the 44-byte
//           encoded attribute set
//
// The end record is a set record of kind 0 with every other field 0.

#include <cstdint>
#include <optional>
#include <vector>

#include "api/DtAttributeHandleSet.h"
#include "ddm/DtRegionSetSaveKind.h"
#include "save/DtSavePackets.h"

// One set's record, decoded.
struct DtObjRegionSetRecord {
  struct Entry {
    std::uint32_t handle;  // the object or the class
    DtAttributeHandleSet attributes;
  };
  DtRtiSaveRegionSetTypes kind = DT_END_REGION_SETS;
  std::uint32_t setHandle = 0;
  std::uint32_t federate = 0;
  std::uint32_t address = 0;
  std::vector<std::uint32_t> regions;
  std::vector<Entry> associations;
  std::vector<Entry> unowned;

  // The association handles name objects (else classes).
  bool byObject() const { return kind == DT_LOCAL_PUBLISH || kind == DT_REMOTE_PUBLISH; }
};

struct DtObjRegionSetPacket {
  static constexpr std::uint32_t theType = DtRegionSetPacketType;
  static constexpr std::uint32_t fixedLength = 36;
  static constexpr std::uint32_t entryLength = 4 + DtAttributeHandleSet::encodedSize;  // 48
  static constexpr std::uint32_t kindAt = 8;
  static constexpr std::uint32_t setAt = 12;
  static constexpr std::uint32_t federateAt = 16;
  static constexpr std::uint32_t addressAt = 20;
  static constexpr std::uint32_t regionCountAt = 24;
  static constexpr std::uint32_t associationCountAt = 28;
  static constexpr std::uint32_t unownedCountAt = 32;
  static constexpr std::uint32_t regionsAt = 36;

  // The record of the set; none when it would not fit a record's length.
  static std::optional<DtSavePacketBuilder> build(const DtObjRegionSetRecord& record);
  static DtSavePacketBuilder endRecord();
  // The record read back, when it is one: of this type, of a known kind,
  // exactly as long as its header and its three counts say. None
  // otherwise (nothing of it is believed then).
  static std::optional<DtObjRegionSetRecord> read(const DtSavePacket& packet);
};
