#pragma once
// The data distribution manager's save records in a federate's save file.
// Numbers are big-endian; offsets count from the record's first byte.
//
// Type 10, the manager (32 bytes):
//   0  u32  length, 32
//   4  u32  record type, 10
//   8  u32  next channel
//  12  u32  region counter (the serial of the next region handle)
//  16  u32  local regions saved (the default region is not)
//  20  u32  remote regions saved
//  24  u32  interaction channel records that follow (one per channel and
//           interaction class)
//  28  u32  object channel records that follow (one per channel)
//
// Type 11, a channel (20 + 4 x n bytes):
//   0  u32  length, 20 + 4 x n
//   4  u32  record type, 11
//   8  u32  interaction class handle (0 in object channel records)
//  12  u32  channel
//  16  u32  n, the region sets filed under it
//  20  n x u32  their region-set handles, in filing order
//
// The channel records follow the type-10 record, the interaction ones
// first; then a region record (type 12) for each local region, then one for
// each remote region.

#include <cstdint>
#include <vector>

#include "save/DtSavePackets.h"

struct DtDataDistMgrPacket {
  static constexpr std::uint32_t theType = DtDataDistMgrPacketType;
  static constexpr std::uint32_t theLength = 32;
  static constexpr std::uint32_t nextChannelAt = 8;
  static constexpr std::uint32_t regionCounterAt = 12;
  static constexpr std::uint32_t localRegionsAt = 16;
  static constexpr std::uint32_t remoteRegionsAt = 20;
  static constexpr std::uint32_t interactionChannelsAt = 24;
  static constexpr std::uint32_t objectChannelsAt = 28;

  // The record is one of these, exactly as long as its length says.
  static bool complete(const DtSavePacket& packet) {
    return packet.type() == theType && packet.size() == theLength && packet.length() == theLength;
  }
};

struct DtRegionChannelPacket {
  static constexpr std::uint32_t theType = DtDataDistMgrCompanionPacketType;
  static constexpr std::uint32_t fixedLength = 20;
  static constexpr std::uint32_t classAt = 8;
  static constexpr std::uint32_t channelAt = 12;
  static constexpr std::uint32_t countAt = 16;
  static constexpr std::uint32_t setsAt = 20;

  // The record for these region sets, when they fit one; none otherwise.
  static std::optional<DtSavePacketBuilder> build(std::uint32_t classHandle, std::uint32_t channel,
                                                  const std::vector<std::uint32_t>& sets) {
    const std::uint64_t length = fixedLength + 4 * std::uint64_t{sets.size()};
    if (length > UINT32_MAX) return std::nullopt;
    DtSavePacketBuilder record(theType, static_cast<std::uint32_t>(length));
    record.setU32(classAt, classHandle);
    record.setU32(channelAt, channel);
    record.setU32(countAt, static_cast<std::uint32_t>(sets.size()));
    record.setU32s(setsAt, sets);
    return record;
  }
  // The record is one of these, exactly as long as its count of region
  // sets calls for.
  static bool complete(const DtSavePacket& packet) {
    if (packet.type() != theType || !packet.whole(fixedLength)) return false;
    return fixedLength + 4 * std::uint64_t{packet.u32(countAt)} == packet.size();
  }
  // The region sets of a complete record.
  static std::vector<std::uint32_t> sets(const DtSavePacket& packet) {
    return packet.u32s(setsAt, packet.u32(countAt));
  }
};
