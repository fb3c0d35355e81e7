#include "ddm/DtObjRegionSetPacket.h"

namespace {

std::uint64_t lengthFor(std::uint64_t regions, std::uint64_t entries) {
  return DtObjRegionSetPacket::fixedLength + 4 * regions + DtObjRegionSetPacket::entryLength * entries;
}

void putEntries(DtSavePacketBuilder& builder, std::uint32_t at, const std::vector<DtObjRegionSetRecord::Entry>& list) {
  for (const DtObjRegionSetRecord::Entry& entry : list) {
    builder.setU32(at, entry.handle);
    builder.setHandleSet(at + 4, entry.attributes);
    at += DtObjRegionSetPacket::entryLength;
  }
}

std::vector<DtObjRegionSetRecord::Entry> takeEntries(const DtSavePacket& packet, std::uint32_t at,
                                                     std::uint32_t count) {
  std::vector<DtObjRegionSetRecord::Entry> list;
  list.reserve(count);
  for (std::uint32_t i = 0; i < count; ++i, at += DtObjRegionSetPacket::entryLength) {
    list.push_back({packet.u32(at), packet.handleSet(at + 4)});
  }
  return list;
}

}  // namespace

std::optional<DtSavePacketBuilder> DtObjRegionSetPacket::build(const DtObjRegionSetRecord& record) {
  const std::uint64_t length = lengthFor(record.regions.size(), record.associations.size() + record.unowned.size());
  if (length > UINT32_MAX) return std::nullopt;
  DtSavePacketBuilder builder(theType, static_cast<std::uint32_t>(length));
  builder.setU32(kindAt, record.kind);
  builder.setU32(setAt, record.setHandle);
  builder.setU32(federateAt, record.federate);
  builder.setU32(addressAt, record.address);
  builder.setU32(regionCountAt, static_cast<std::uint32_t>(record.regions.size()));
  builder.setU32(associationCountAt, static_cast<std::uint32_t>(record.associations.size()));
  builder.setU32(unownedCountAt, static_cast<std::uint32_t>(record.unowned.size()));
  builder.setU32s(regionsAt, record.regions);
  const std::uint32_t entriesAt = regionsAt + 4 * static_cast<std::uint32_t>(record.regions.size());
  putEntries(builder, entriesAt, record.associations);
  putEntries(builder, entriesAt + entryLength * static_cast<std::uint32_t>(record.associations.size()), record.unowned);
  return builder;
}

DtSavePacketBuilder DtObjRegionSetPacket::endRecord() { return DtSavePacketBuilder(theType, fixedLength); }

std::optional<DtObjRegionSetRecord> DtObjRegionSetPacket::read(const DtSavePacket& packet) {
  if (packet.type() != theType || !packet.whole(fixedLength)) return std::nullopt;
  const std::uint32_t kind = packet.u32(kindAt);
  if (kind > DT_REMOTE_SUBSCRIBE) return std::nullopt;
  const std::uint32_t regions = packet.u32(regionCountAt);
  const std::uint32_t associations = packet.u32(associationCountAt);
  const std::uint32_t unowned = packet.u32(unownedCountAt);
  // Counted in 64 bits: three counts near 2^32 must not wrap to the length.
  if (lengthFor(regions, std::uint64_t{associations} + unowned) != packet.size()) return std::nullopt;
  DtObjRegionSetRecord record;
  record.kind = static_cast<DtRtiSaveRegionSetTypes>(kind);
  record.setHandle = packet.u32(setAt);
  record.federate = packet.u32(federateAt);
  record.address = packet.u32(addressAt);
  record.regions = packet.u32s(regionsAt, regions);
  const std::uint32_t entriesAt = regionsAt + 4 * regions;
  record.associations = takeEntries(packet, entriesAt, associations);
  record.unowned = takeEntries(packet, entriesAt + entryLength * associations, unowned);
  return record;
}
