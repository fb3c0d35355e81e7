#include "ddm/DtRegion.h"

#include <algorithm>
#include <string>

#include "ddm/DtObjectRegionSet.h"
#include "msg/DtRegionMsgs.h"
#include "objects/DtSpaceInfo.h"

namespace {

void requireSpace(const DtSpaceInfo* space) {
  if (!space) throw RTI::RTIinternalError("Attempt to construct region with null space.");
}

// A federate's region must fit the message that announces it.
void requireAnnounceable(std::uint32_t extents, const DtSpaceInfo& space) {
  const std::uint32_t dimensions = space.dimensionCount();
  if (DtNotifyRegMsg::fits(extents, dimensions)) return;
  std::string reason = "createRegion: " + std::to_string(extents) + " extents of " + std::to_string(dimensions) +
                       " dimensions cannot be announced: ";
  if (extents > 0xFFFF || dimensions > 0xFFFF) {
    reason += "a region message counts at most 65535 of each";
  } else {
    const std::uint64_t bytes =
        DtNotifyRegMsg::theFixedSize + std::uint64_t{DtNotifyRegMsg::theBoundsSize} * extents * dimensions;
    reason += "their region message would be " + std::to_string(bytes) + " bytes long, more than the largest (" +
              std::to_string(DtRtiMsg::theMaxSize) + ")";
  }
  throw RTI::RTIinternalError(reason.c_str());
}

}  // namespace

DtRegion::DtRegion() = default;

DtRegion::DtRegion(std::uint32_t handle, const DtSpaceInfo* space, std::uint32_t numberOfExtents)
    : handle_(handle), space_(space) {
  requireSpace(space);
  requireAnnounceable(numberOfExtents, *space);
  extents_ = shapedBy(space, numberOfExtents);
  validForService_ = true;
}

DtRegion::DtRegion(std::uint32_t handle, const DtSpaceInfo* space, const DtRegionExtent* extents, std::uint32_t count)
    : handle_(handle), space_(space) {
  requireSpace(space);
  if (count != 0) setExtents(extents, count);
}

DtRegion::~DtRegion() = default;

std::vector<DtRegionExtent> DtRegion::shapedBy(const DtSpaceInfo* space, std::uint32_t count) {
  std::vector<DtRegionExtent> extents(count);
  for (DtRegionExtent& extent : extents) extent.setDimensionCount(space->dimensionCount());
  return extents;
}

// ---- RTI::Region

const DtRegionExtent& DtRegion::checkedExtent(RTI::ExtentIndex extent, RTI::DimensionHandle dimension) const {
  if (extent >= extents_.size() || dimension >= extents_[extent].dimensionCount()) {
    throw RTI::ArrayIndexOutOfBounds("");
  }
  return extents_[extent];
}

RTI::ULong DtRegion::getRangeLowerBound(RTI::ExtentIndex extent, RTI::DimensionHandle dimension) const {
  return checkedExtent(extent, dimension).getLowerBound(static_cast<std::uint32_t>(dimension));
}

RTI::ULong DtRegion::getRangeUpperBound(RTI::ExtentIndex extent, RTI::DimensionHandle dimension) const {
  return checkedExtent(extent, dimension).getUpperBound(static_cast<std::uint32_t>(dimension));
}

DtRegionExtent* DtRegion::workingEntry(RTI::ExtentIndex extent, RTI::DimensionHandle dimension, RTI::ULong bound) {
  checkedExtent(extent, dimension);
  if (bound > MAX_EXTENT) {
    const std::string reason =
        "bound " + std::to_string(bound) + " is above MAX_EXTENT (" + std::to_string(MAX_EXTENT) + ")";
    throw RTI::InvalidExtents(reason.c_str());
  }
  // Made on the first set; made again should the committed extents have
  // changed in number since (a region whose extents were replaced).
  if (!working_ || working_->size() != extents_.size()) createWorkingExtents();
  // Without a space there is nothing to shape working extents by.
  return working_ ? &(*working_)[extent] : nullptr;
}

void DtRegion::setRangeLowerBound(RTI::ExtentIndex extent, RTI::DimensionHandle dimension, RTI::ULong bound) {
  if (DtRegionExtent* entry = workingEntry(extent, dimension, bound)) {
    entry->setLowerBound(static_cast<std::uint32_t>(dimension), static_cast<std::uint32_t>(bound));
  }
}

void DtRegion::setRangeUpperBound(RTI::ExtentIndex extent, RTI::DimensionHandle dimension, RTI::ULong bound) {
  if (DtRegionExtent* entry = workingEntry(extent, dimension, bound)) {
    entry->setUpperBound(static_cast<std::uint32_t>(dimension), static_cast<std::uint32_t>(bound));
  }
}

RTI::SpaceHandle DtRegion::getSpaceHandle() const { return space_ ? space_->handle() : 0; }

RTI::ULong DtRegion::getNumberOfExtents() const { return extents_.size(); }

RTI::ULong DtRegion::getRangeLowerBoundNotificationLimit(RTI::ExtentIndex extent,
                                                         RTI::DimensionHandle dimension) const {
  return getRangeLowerBound(extent, dimension);
}

RTI::ULong DtRegion::getRangeUpperBoundNotificationLimit(RTI::ExtentIndex extent,
                                                         RTI::DimensionHandle dimension) const {
  return getRangeUpperBound(extent, dimension);
}

// ---- extents

void DtRegion::setSpace(const DtSpaceInfo* space) {
  space_ = space;
  if (!space) return;
  for (DtRegionExtent& extent : extents_) extent.setDimensionCount(space->dimensionCount());
}

void DtRegion::createWorkingExtents() {
  if (extents_.empty() || !space_) return;
  working_ = shapedBy(space_, static_cast<std::uint32_t>(extents_.size()));
}

bool DtRegion::validExtents() const {
  return working_ && std::all_of(working_->begin(), working_->end(), [](const DtRegionExtent& e) { return e.valid(); });
}

void DtRegion::commitModifications() {
  if (!validForService_ || !validExtents() || working_->size() != extents_.size()) {
    throw RTI::InvalidExtents("InvalidExtents");
  }
  wasCommited_ = true;
  for (std::size_t i = 0; i < extents_.size(); ++i) extents_[i] = (*working_)[i];
}

void DtRegion::setExtents(const DtRegionExtent* extents, std::uint32_t count) {
  if (!extents) count = 0;
  if (extents_.size() != count) extents_.assign(count, DtRegionExtent());
  for (std::uint32_t i = 0; i < count; ++i) extents_[i] = extents[i];
}

const DtRegionExtent* DtRegion::getExtents() const { return extents_.empty() ? nullptr : extents_.data(); }

void DtRegion::addExtents(const DtRegionExtent* extents, std::uint32_t count) {
  if (!extents) return;
  extents_.insert(extents_.end(), extents, extents + count);
}

const DtRegionExtent& DtRegion::extent(std::uint32_t i) const {
  if (i >= extents_.size()) throw RTI::ArrayIndexOutOfBounds("");
  return extents_[i];
}

const DtRegionExtent* DtRegion::workingExtents() const {
  return working_ && !working_->empty() ? working_->data() : nullptr;
}

bool DtRegion::intersect(const DtRegion& other) const {
  const RTI::SpaceHandle mine = getSpaceHandle();
  const RTI::SpaceHandle theirs = other.getSpaceHandle();
  if (mine == 0 || theirs == 0) return true;
  if (mine != theirs) return false;
  for (const DtRegionExtent& outer : other.extents_) {
    for (const DtRegionExtent& inner : extents_) {
      if (inner.overlap(outer)) return true;
    }
  }
  return false;
}

// ---- the sets that contain the region

namespace {

// Takes the entry of the set's handle (or class) out only when it is this
// set: a set filed in its place, or in another role, stays filed.
void removeIfFiled(DtRegionSetList& list, const DtRegionSet* set) {
  if (set && list.lookup(set->regionSetHandle()) == set) list.remove(set->regionSetHandle());
}

template <class Table>
void removeIfFiled(Table& table, std::uint32_t classHandle, const DtRegionSet* set) {
  const auto* entry = table.find(classHandle);
  if (set && entry && entry->set == set) table.take(classHandle);
}

}  // namespace

void DtRegion::addObjPubRegSet(DtObjectRegionSet* set) {
  if (set) objPub_.add(set->regionSetHandle(), set);
}

void DtRegion::addObjSubRegSet(DtObjectRegionSet* set) {
  if (set) objSub_.add(set->regionSetHandle(), set);
}

void DtRegion::addObjPasRegSet(DtObjectRegionSet* set) {
  if (set) objPas_.add(set->regionSetHandle(), set);
}

void DtRegion::removeObjPubRegSet(const DtRegionSet* set) { removeIfFiled(objPub_, set); }

void DtRegion::removeObjSubRegSet(const DtRegionSet* set) { removeIfFiled(objSub_, set); }

void DtRegion::removeObjPasRegSet(const DtRegionSet* set) { removeIfFiled(objPas_, set); }

void DtRegion::addInterPubRegSet(std::uint32_t classHandle, DtRegionSet* set) {
  interPub_.addRegionSet(classHandle, set);
}

void DtRegion::removeInterPubRegSet(std::uint32_t classHandle, const DtRegionSet* set) {
  if (!set) return;
  if (DtRegionSetList* sets = interPub_.lookup(classHandle)) removeIfFiled(*sets, set);
}

const DtRegionSetList* DtRegion::interPubRegSetList(std::uint32_t classHandle) const {
  return interPub_.lookup(classHandle);
}

void DtRegion::addInterSubRegSet(std::uint32_t classHandle, DtRegionSet* set) {
  if (set) interSub_.put({classHandle, set});
}

void DtRegion::addInterPasRegSet(std::uint32_t classHandle, DtRegionSet* set) {
  if (set) interPas_.put({classHandle, set});
}

void DtRegion::removeInterSubRegSet(std::uint32_t classHandle, const DtRegionSet* set) {
  removeIfFiled(interSub_, classHandle, set);
}

void DtRegion::removeInterPasRegSet(std::uint32_t classHandle, const DtRegionSet* set) {
  removeIfFiled(interPas_, classHandle, set);
}

DtRegionSet* DtRegion::interSubRegSet(std::uint32_t classHandle) const {
  const InterSetEntry* entry = interSub_.find(classHandle);
  return entry ? entry->set : nullptr;
}

DtRegionSet* DtRegion::interPasRegSet(std::uint32_t classHandle) const {
  const InterSetEntry* entry = interPas_.find(classHandle);
  return entry ? entry->set : nullptr;
}

bool DtRegion::isMemberObjPub(std::uint32_t object) const {
  // Only object region sets are filed here.
  return std::any_of(objPub_.begin(), objPub_.end(), [object](const DtRegionSetEntry& entry) {
    return static_cast<const DtObjectRegionSet*>(entry.set)->isMemberObject(object);
  });
}

bool DtRegion::inUse() const {
  const auto used = [](const auto& entry) { return entry.set->inUse(); };
  return std::any_of(objPub_.begin(), objPub_.end(), used) || std::any_of(objSub_.begin(), objSub_.end(), used) ||
         std::any_of(interSub_.begin(), interSub_.end(), used);
}

void DtRegion::removeAllRegSets() {
  objPub_.destroyAll();
  objSub_.destroyAll();
  objPas_.destroyAll();
  interPub_.destroyAll();
  interSub_.clear();
  interPas_.clear();
}
