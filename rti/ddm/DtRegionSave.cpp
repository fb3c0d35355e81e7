// A region's save record (type 12): writing it and reading it back.
#include <limits>

#include "ddm/DtRegion.h"
#include "ddm/DtRegionPacket.h"
#include "objects/DtFomClassMgr.h"
#include "objects/DtSpaceInfo.h"
#include "save/DtRtiSaveFile.h"
#include "util/DtNotify.h"

namespace {

constexpr const char* theRefusal = "DataDistMgr received an incorrect save packet, restore aborted\n";

// A dimension the extent does not have is written at the default range.
DtExtentDim boundsOf(const DtRegionExtent& extent, std::uint32_t dimension) {
  return dimension < extent.dimensionCount() ? extent.getExtent(dimension) : DtExtentDim::theDefault;
}

void writeBlock(DtSavePacketBuilder& record, std::uint32_t block, const DtRegionExtent* extents, std::uint32_t count,
                std::uint32_t dimensions) {
  for (std::uint32_t e = 0; e < count; ++e) {
    for (std::uint32_t d = 0; d < dimensions; ++d) {
      const DtExtentDim bounds = boundsOf(extents[e], d);
      const std::uint32_t at = DtRegionPacket::boundsAt(block, e, d, count, dimensions);
      record.setU32(at, bounds.getLowerBound());
      record.setU32(at + 4, bounds.getUpperBound());
    }
  }
}

// Extents shaped by the space, with the record's bounds of one block.
std::vector<DtRegionExtent> readBlock(const DtSavePacket& record, std::uint32_t block, const DtSpaceInfo& space,
                                      std::uint32_t count, std::uint32_t dimensions) {
  std::vector<DtRegionExtent> extents(count);
  for (std::uint32_t e = 0; e < count; ++e) {
    extents[e].setDimensionCount(space.dimensionCount());
    for (std::uint32_t d = 0; d < dimensions; ++d) {
      const std::uint32_t at = DtRegionPacket::boundsAt(block, e, d, count, dimensions);
      extents[e].setLowerBound(d, record.u32(at));
      extents[e].setUpperBound(d, record.u32(at + 4));
    }
  }
  return extents;
}

}  // namespace

DtSavePacketBuilder DtRegion::saveRecord(std::uint32_t ownerTag) const {
  using Record = DtRegionPacket;
  const auto count = static_cast<std::uint32_t>(extents_.size());
  const std::uint32_t dimensions = count ? extents_.front().dimensionCount() : 0;
  DtSavePacketBuilder record(Record::theType, static_cast<std::uint32_t>(Record::length(count, dimensions)));
  record.setU8(Record::wasCommitedAt, wasCommited_ ? 1 : 0);
  record.setU8(Record::validForServiceAt, validForService_ ? 1 : 0);
  record.setU16(Record::extentCountAt, static_cast<std::uint16_t>(count));
  record.setU16(Record::dimensionCountAt, static_cast<std::uint16_t>(dimensions));
  record.setU8(Record::hasWorkingAt, working_ ? 1 : 0);
  record.setU32(Record::ownerTagAt, ownerTag);
  record.setU32(Record::regionAt, handle_);
  record.setU32(Record::spaceAt, static_cast<std::uint32_t>(getSpaceHandle()));
  writeBlock(record, 0, extents_.data(), count, dimensions);
  if (working_) writeBlock(record, 1, working_->data(), count, dimensions);
  return record;
}

bool DtRegion::save(DtRtiSaveFile& file, std::uint32_t ownerTag) const {
  const std::uint32_t dimensions = extents_.empty() ? 0 : extents_.front().dimensionCount();
  if (extents_.size() > 0xFFFF || dimensions > 0xFFFF ||
      DtRegionPacket::length(extents_.size(), dimensions) > std::numeric_limits<std::uint32_t>::max()) {
    DtNotifyError("Region %u: %zu extents of %u dimensions do not fit a save record; not saved\n", handle_,
                  extents_.size(), dimensions);
    return false;
  }
  return file.writePacket(saveRecord(ownerTag));
}

bool DtRegion::restoreRecord(const DtSavePacket& record, std::uint32_t& ownerTag, const DtFomClassMgr& fom) {
  using Record = DtRegionPacket;
  const DtSpaceInfo* space =
      record.type() == Record::theType && Record::complete(record)
          ? fom.spaceByHandle(static_cast<RTI::SpaceHandle>(static_cast<std::int32_t>(record.u32(Record::spaceAt))))
          : nullptr;
  if (!space) {
    DtNotifyError("%s", theRefusal);
    return false;
  }
  const std::uint32_t count = record.u16(Record::extentCountAt);
  const std::uint32_t dimensions = record.u16(Record::dimensionCountAt);
  ownerTag = record.u32(Record::ownerTagAt);
  handle_ = record.u32(Record::regionAt);
  wasCommited_ = record.u8(Record::wasCommitedAt) != 0;
  validForService_ = record.u8(Record::validForServiceAt) != 0;
  space_ = space;
  extents_ = readBlock(record, 0, *space, count, dimensions);
  working_.reset();
  if (record.u8(Record::hasWorkingAt) == 1) working_ = readBlock(record, 1, *space, count, dimensions);
  return true;
}

bool DtRegion::restore(DtRtiSaveFile& file, std::uint32_t& ownerTag, const DtFomClassMgr& fom) {
  const DtSavePacket* record = file.readNextPacket();
  if (!record) {
    DtNotifyError("%s", theRefusal);
    return false;
  }
  return restoreRecord(*record, ownerTag, fom);
}
