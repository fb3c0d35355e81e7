#include "save/DtSavePackets.h"

#include <cstring>

#include "msg/DtNetNumber.h"

namespace {

// A record whose fixed part is there and whose n entries of `entrySize`
// bytes after it, as its count field says, are there too.
bool holdsCountedEntries(const DtSavePacket& packet, std::uint32_t fixedLength, std::uint32_t countAt,
                         std::uint32_t entrySize) {
  return packet.whole(fixedLength) && packet.u32(countAt) <= (packet.size() - fixedLength) / entrySize;
}

}  // namespace

std::uint8_t DtSavePacket::u8(std::uint32_t offset) const {
  return holds(offset, 1) ? static_cast<std::uint8_t>(bytes_[offset]) : 0;
}

std::uint16_t DtSavePacket::u16(std::uint32_t offset) const {
  return holds(offset, 2) ? DtNetU16::read(bytes_.data() + offset) : 0;
}

std::uint32_t DtSavePacket::u32(std::uint32_t offset) const {
  return holds(offset, 4) ? DtNetU32::read(bytes_.data() + offset) : 0;
}

std::vector<std::uint32_t> DtSavePacket::u32s(std::uint32_t offset, std::uint32_t count) const {
  std::vector<std::uint32_t> values;
  values.reserve(count);
  for (std::uint32_t i = 0; i < count; ++i, offset += 4) values.push_back(u32(offset));
  return values;
}

DtAttributeHandleSet DtSavePacket::handleSet(std::uint32_t offset) const {
  if (!holds(offset, DtAttributeHandleSet::encodedSize)) return DtAttributeHandleSet();
  return DtAttributeHandleSet::decoded(bytes_.data() + offset);
}

DtAttributeHandleSet DtSavePacket::handleMap(std::uint32_t offset) const {
  constexpr std::uint32_t mapSize = DtAttributeHandleSet::encodedSize - 4;
  if (!holds(offset, mapSize)) return DtAttributeHandleSet();
  char encoded[DtAttributeHandleSet::encodedSize] = {};
  std::memcpy(encoded + 4, bytes_.data() + offset, mapSize);
  return DtAttributeHandleSet::decoded(encoded);
}

DtSavePacketBuilder::DtSavePacketBuilder(std::uint32_t type, std::uint32_t length)
    : bytes_(length < DtSavePacket::headerSize ? DtSavePacket::headerSize : length, 0) {
  setU32(DtSavePacket::lengthAt, static_cast<std::uint32_t>(bytes_.size()));
  setU32(DtSavePacket::typeAt, type);
}

void DtSavePacketBuilder::setU8(std::uint32_t offset, std::uint8_t value) {
  if (packet().holds(offset, 1)) bytes_[offset] = static_cast<char>(value);
}

void DtSavePacketBuilder::setU16(std::uint32_t offset, std::uint16_t value) {
  if (packet().holds(offset, 2)) DtNetU16::write(bytes_.data() + offset, value);
}

void DtSavePacketBuilder::setU32(std::uint32_t offset, std::uint32_t value) {
  if (packet().holds(offset, 4)) DtNetU32::write(bytes_.data() + offset, value);
}

void DtSavePacketBuilder::setHandleSet(std::uint32_t offset, const DtAttributeHandleSet& set) {
  if (packet().holds(offset, DtAttributeHandleSet::encodedSize)) set.encode(bytes_.data() + offset);
}

void DtSavePacketBuilder::setHandleMap(std::uint32_t offset, const DtAttributeHandleSet& set) {
  constexpr std::uint32_t mapSize = DtAttributeHandleSet::encodedSize - 4;
  if (!packet().holds(offset, mapSize)) return;
  char encoded[DtAttributeHandleSet::encodedSize];
  set.encode(encoded);
  std::memcpy(bytes_.data() + offset, encoded + 4, mapSize);
}

void DtSavePacketBuilder::setBytes(std::uint32_t offset, const char* data, std::uint32_t length) {
  if (length > 0 && packet().holds(offset, length)) std::memcpy(bytes_.data() + offset, data, length);
}

DtSavePacketBuilder DtFedMgrPacket::build(std::uint32_t federate, const std::vector<std::string>& labels,
                                          std::uint32_t messages) {
  std::uint32_t length = fixedLength;
  for (const std::string& label : labels) length += static_cast<std::uint32_t>(label.size() + 1);
  DtSavePacketBuilder record(theType, length);
  record.setU32(federateAt, federate);
  record.setU32(labelCountAt, static_cast<std::uint32_t>(labels.size()));
  record.setU32(messageCountAt, messages);
  std::uint32_t at = labelsAt;
  for (const std::string& label : labels) {
    record.setBytes(at, label.c_str(), static_cast<std::uint32_t>(label.size() + 1));
    at += static_cast<std::uint32_t>(label.size() + 1);
  }
  return record;
}

std::optional<std::vector<std::string>> DtFedMgrPacket::labels(const DtSavePacket& packet) {
  if (!packet.whole(fixedLength)) return std::nullopt;
  const std::uint32_t count = packet.u32(labelCountAt);
  // Every label takes at least its zero.
  if (count > packet.size() - fixedLength) return std::nullopt;
  std::vector<std::string> labels;
  const char* at = packet.bytes().data() + labelsAt;
  const char* end = packet.bytes().data() + packet.size();
  for (std::uint32_t k = 0; k < count; ++k) {
    const void* zero = std::memchr(at, 0, static_cast<std::size_t>(end - at));
    if (!zero) return std::nullopt;
    labels.emplace_back(at, static_cast<const char*>(zero));
    at = static_cast<const char*>(zero) + 1;
  }
  if (at != end) return std::nullopt;
  return labels;
}

DtSavePacketBuilder DtSavedMessagePacket::build(const char* message, std::uint32_t size) {
  DtSavePacketBuilder record(theType, messageAt + size);
  record.setBytes(messageAt, message, size);
  return record;
}

bool DtObjectClassPacket::complete(const DtSavePacket& packet) { return packet.whole(theLength); }

bool DtAttrInfoPacket::complete(const DtSavePacket& packet) {
  return holdsCountedEntries(packet, fixedLength, countAt, 4);
}

bool DtInteractionClassPacket::complete(const DtSavePacket& packet) {
  return holdsCountedEntries(packet, fixedLength, countAt, 4);
}

bool DtObjectPacket::complete(const DtSavePacket& packet) {
  if (!packet.whole(fixedLength)) return false;
  const std::uint64_t entries = std::uint64_t{packet.u32(discoveredCountAt)} + packet.u32(requestCountAt);
  const std::uint64_t nameSize = packet.u32(nameSizeAt);
  return nameSize >= 1 && fixedLength + 8 * entries + nameSize == packet.size() && packet.u8(packet.size() - 1) == 0;
}
