#pragma once
// DtRegion: the library's RTI::Region, a region of a routing space: a number
// of extents, each a range per dimension of the space. Every region a
// federate holds comes from the RTI, so the RTI takes the regions it is
// given to be its own.
//
// A federate's region (made with a number of extents, valid for service)
// keeps two sets of extents: the committed ones, which matching and the
// wire see and the RTI::Region getters answer, and the working ones, which
// the RTI::Region setters write and commitModifications makes committed.
// The working extents are made, at their defaults, by the first setter, and
// the first commit after that needs both bounds of every dimension of every
// extent; they stay afterwards, so later commits need only the bounds that
// changed. A region another federate announced is built from its extents
// and cannot be committed here.
//
// The region also keeps back-references to the region sets that contain it,
// never owning them, so that a change of the region finds every set whose
// matching it affects. Object sets are filed by region-set handle;
// interaction sets by the handle of their interaction class.
//
// Regions are not copied. Used on the federate's thread only.

#include <cstdint>
#include <optional>
#include <vector>

#include "RTI.hh"
#include "ddm/DtHandleIndex.h"
#include "ddm/DtRegionExtent.h"
#include "ddm/DtRegionSetList.h"
#include "ddm/DtRegionSetListByClass.h"

class DtFomClassMgr;
class DtObjectRegionSet;
class DtRegionSet;
class DtRtiSaveFile;
class DtSavePacket;
class DtSavePacketBuilder;
class DtSpaceInfo;

class DtRegion : public RTI::Region {
public:
  // Handle 0, no space, no extents (a region to restore into).
  DtRegion();
  // A federate's region: the extents at the default bounds, one range per
  // dimension of the space. RTI::RTIinternalError for a null space, and for
  // more extents and dimensions than one region message can carry.
  DtRegion(std::uint32_t handle, const DtSpaceInfo* space, std::uint32_t numberOfExtents);
  // A region built from given extents (another federate's).
  // RTI::RTIinternalError for a null space.
  DtRegion(std::uint32_t handle, const DtSpaceInfo* space, const DtRegionExtent* extents, std::uint32_t count);
  DtRegion(const DtRegion&) = delete;
  DtRegion& operator=(const DtRegion&) = delete;
  ~DtRegion() override;

  // The committed bounds. RTI::ArrayIndexOutOfBounds ("") for an extent or
  // a dimension the region does not have.
  RTI::ULong getRangeLowerBound(RTI::ExtentIndex extent, RTI::DimensionHandle dimension) const override;
  RTI::ULong getRangeUpperBound(RTI::ExtentIndex extent, RTI::DimensionHandle dimension) const override;
  // Write the working extents, made on the first call. The same index
  // errors as the getters; RTI::InvalidExtents for a bound above
  // MAX_EXTENT. Nothing changes on an error.
  void setRangeLowerBound(RTI::ExtentIndex extent, RTI::DimensionHandle dimension, RTI::ULong bound) override;
  void setRangeUpperBound(RTI::ExtentIndex extent, RTI::DimensionHandle dimension, RTI::ULong bound) override;
  // 0 without a space.
  RTI::SpaceHandle getSpaceHandle() const override;
  RTI::ULong getNumberOfExtents() const override;
  RTI::ULong getRangeLowerBoundNotificationLimit(RTI::ExtentIndex extent,
                                                 RTI::DimensionHandle dimension) const override;
  RTI::ULong getRangeUpperBoundNotificationLimit(RTI::ExtentIndex extent,
                                                 RTI::DimensionHandle dimension) const override;

  // The token that names the region between federates (0: the default
  // region).
  virtual std::uint32_t handle() const { return handle_; }
  virtual void setHandle(std::uint32_t handle) { handle_ = handle; }
  virtual const DtSpaceInfo* space() const { return space_; }
  // The committed extents take the space's dimension count.
  virtual void setSpace(const DtSpaceInfo* space);
  // The working extents become the committed ones. RTI::InvalidExtents
  // ("InvalidExtents") for a region not valid for service, without working
  // extents, or with a bound not set; the committed extents stay.
  virtual void commitModifications();
  // Some object publication or subscription set, or interaction
  // subscription set, that contains the region is in use.
  virtual bool inUse() const;
  // Replaces the committed extents by copies of these.
  virtual void setExtents(const DtRegionExtent* extents, std::uint32_t count);
  // The committed extents; null when there are none.
  virtual const DtRegionExtent* getExtents() const;
  // Appends copies of these to the committed extents.
  virtual void addExtents(const DtRegionExtent* extents, std::uint32_t count);
  // Regions meet when either has no space or the space of handle 0 (which
  // meets everything), or when both are of one space and some committed
  // extent of one overlaps some committed extent of the other.
  virtual bool intersect(const DtRegion& other) const;

  // Object region sets that contain the region, by region-set handle. Null
  // does nothing; a set filed under the same handle is replaced.
  virtual void addObjPubRegSet(DtObjectRegionSet* set);
  virtual void addObjSubRegSet(DtObjectRegionSet* set);
  virtual void addObjPasRegSet(DtObjectRegionSet* set);
  virtual void removeObjPubRegSet(const DtRegionSet* set);
  virtual void removeObjSubRegSet(const DtRegionSet* set);
  virtual void removeObjPasRegSet(const DtRegionSet* set);
  virtual const DtRegionSetList& objPubRegSetList() const { return objPub_; }
  virtual const DtRegionSetList& objSubRegSetList() const { return objSub_; }
  virtual const DtRegionSetList& objPasRegSetList() const { return objPas_; }

  // Interaction region sets that contain the region, under the handle of
  // their interaction class: publication sets listed per class (a class's
  // list stays when it empties), one subscription and one passive set per
  // class (filing replaces). Null does nothing; a removal takes out only
  // the set given.
  virtual void addInterPubRegSet(std::uint32_t classHandle, DtRegionSet* set);
  virtual void addInterSubRegSet(std::uint32_t classHandle, DtRegionSet* set);
  virtual void addInterPasRegSet(std::uint32_t classHandle, DtRegionSet* set);
  virtual void removeInterPubRegSet(std::uint32_t classHandle, const DtRegionSet* set);
  virtual void removeInterSubRegSet(std::uint32_t classHandle, const DtRegionSet* set);
  virtual void removeInterPasRegSet(std::uint32_t classHandle, const DtRegionSet* set);
  // Null when there is none.
  virtual const DtRegionSetList* interPubRegSetList(std::uint32_t classHandle) const;
  virtual DtRegionSet* interSubRegSet(std::uint32_t classHandle) const;
  virtual DtRegionSet* interPasRegSet(std::uint32_t classHandle) const;

  // Some object publication set of the region has attributes of the object
  // associated.
  virtual bool isMemberObjPub(std::uint32_t object) const;
  // Forgets every set that contains the region (the sets stay as they are).
  virtual void removeAllRegSets();

  // Writes the region's record (type 12) with the tag, which restore hands
  // back: 0 for the federate's own regions, the remote-region table's key
  // for another federate's. False when the record cannot be written.
  virtual bool save(DtRtiSaveFile& file, std::uint32_t ownerTag) const;
  // Reads the next record into the region, its space from the FOM. A record
  // of another type, a damaged one, or one whose space the FOM does not have
  // is refused with "DataDistMgr received an incorrect save packet, restore
  // aborted" and false; the region is unchanged then.
  virtual bool restore(DtRtiSaveFile& file, std::uint32_t& ownerTag, const DtFomClassMgr& fom);
  // The record itself, and reading one; the same rules.
  DtSavePacketBuilder saveRecord(std::uint32_t ownerTag) const;
  bool restoreRecord(const DtSavePacket& record, std::uint32_t& ownerTag, const DtFomClassMgr& fom);

  // Every working extent has both bounds of every dimension set; false
  // without working extents.
  bool validExtents() const;
  // Working extents at the default bounds, one per committed extent, shaped
  // by the space (none without a space or extents).
  void createWorkingExtents();
  // Committed extent i; RTI::ArrayIndexOutOfBounds ("") past the last.
  const DtRegionExtent& extent(std::uint32_t i) const;
  // Null when there are none.
  const DtRegionExtent* workingExtents() const;
  bool wasCommited() const { return wasCommited_; }
  bool validForService() const { return validForService_; }

private:
  struct InterSetEntry {
    std::uint32_t handle;  // the interaction class
    DtRegionSet* set;
  };

  const DtRegionExtent& checkedExtent(RTI::ExtentIndex extent, RTI::DimensionHandle dimension) const;
  DtRegionExtent* workingEntry(RTI::ExtentIndex extent, RTI::DimensionHandle dimension, RTI::ULong bound);
  static std::vector<DtRegionExtent> shapedBy(const DtSpaceInfo* space, std::uint32_t count);

  std::uint32_t handle_ = 0;
  const DtSpaceInfo* space_ = nullptr;
  std::vector<DtRegionExtent> extents_;
  std::optional<std::vector<DtRegionExtent>> working_;
  bool wasCommited_ = false;
  bool validForService_ = false;
  DtRegionSetList objPub_;
  DtRegionSetList objSub_;
  DtRegionSetList objPas_;
  DtRegionSetListByClass interPub_;
  DtHandleIndex<InterSetEntry> interSub_;
  DtHandleIndex<InterSetEntry> interPas_;
};
