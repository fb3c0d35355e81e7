#pragma once
// DtRegionPacket: the save record of one region (type 12) in a federate's
// save file. Numbers are big-endian; offsets count from the record's first
// byte.
//
//   0  u32  length: 28 + extents x dimensions x 16
//   4  u32  record type, 12
//   8  u8   was committed
//   9  u8   valid for service
//  10  u16  number of extents E
//  12  u16  dimension count D (of the first extent; 0 without extents)
//  14  u8   1 when working extents follow the committed ones, else 0
//  15  u8   0
//  16  u32  owner tag (see DtRegion::save)
//  20  u32  region handle
//  24  u32  routing space handle
//  28       committed extents: per extent, per dimension, lower then upper
//           bound (u32 each)
//  after    working extents in the same form, or as many zero bytes
//
// The length counts both blocks whether or not working extents are kept.
// The bounds' set masks are not kept.

#include <cstdint>

#include "save/DtSavePackets.h"

struct DtRegionPacket {
  static constexpr std::uint32_t theType = DtRegionPacketType;
  static constexpr std::uint32_t fixedLength = 28;
  static constexpr std::uint32_t wasCommitedAt = 8;      // u8
  static constexpr std::uint32_t validForServiceAt = 9;  // u8
  static constexpr std::uint32_t extentCountAt = 10;     // u16
  static constexpr std::uint32_t dimensionCountAt = 12;  // u16
  static constexpr std::uint32_t hasWorkingAt = 14;      // u8
  static constexpr std::uint32_t ownerTagAt = 16;        // u32
  static constexpr std::uint32_t regionAt = 20;          // u32
  static constexpr std::uint32_t spaceAt = 24;           // u32
  static constexpr std::uint32_t extentsAt = 28;
  static constexpr std::uint32_t boundsSize = 8;  // a lower and an upper bound

  // The record's length for E extents of D dimensions (64 bits, so that
  // any pair of counts can be asked about).
  static std::uint64_t length(std::uint64_t extents, std::uint64_t dimensions) {
    return fixedLength + 2 * extents * dimensions * boundsSize;
  }
  // Where a bound pair lies in the committed (block 0) or working (block 1)
  // extents.
  static std::uint32_t boundsAt(std::uint32_t block, std::uint32_t extent, std::uint32_t dimension,
                                std::uint32_t extents, std::uint32_t dimensions) {
    return extentsAt + ((block * extents + extent) * dimensions + dimension) * boundsSize;
  }
  // The record holds exactly the fixed part and the bounds its counts call
  // for.
  static bool complete(const DtSavePacket& packet) {
    return packet.whole(fixedLength) &&
           length(packet.u16(extentCountAt), packet.u16(dimensionCountAt)) == packet.size();
  }
};
