#pragma once
// The region messages, from a federate to the others: a region of the
// sender's created or changed, with all its extents (kind 25), and a region
// withdrawn (kind 26). The data distribution manager sends them stamped and
// handed over for deletion, and is their only receiver.
//
// Both are read as their counts say and nothing more: a received body must
// be exactly 20 + 8 x E x D bytes (kind 25) or 12 bytes (kind 26).

#include <cstdint>
#include <span>

#include "RTI.hh"
#include "msg/DtExactBody.h"
#include "msg/DtMsgClass.h"

// ---- bodies

// Kind 25:
//   8  u32  region handle
//  12  u32  routing space handle (a signed number on the API side)
//  16  u16  number of extents E
//  18  u16  number of dimensions D of every extent
//  20  E x D x 8  per extent, per dimension: lower bound, upper bound (u32)
struct DtNetNotifyRegMsg : DtNetMsgHeader {
  static constexpr DtU32At regionHandle{8};
  static constexpr DtU32At spaceHandle{12};
  static constexpr DtU16At extentCount{16};
  static constexpr DtU16At dimensionCount{18};
  static constexpr DtField fields[] = {{"RegionHandle:", regionHandle},
                                       {"SpaceHandle:", spaceHandle, DtShow::Hidden},
                                       {"ExtentCount:", extentCount},
                                       {"DimensionCount:", dimensionCount}};
  static constexpr DtPart parts[] = {{"Bounds:", DtPartType::Ranges, extentCount.offset, 2, DtShow::Hidden}};
  static constexpr DtMsgLayout layout{"DtNetNotifyRegMsg", 20, false, fields, parts};
};

// Kind 26: the region handle at 8.
struct DtNetDeleteRegMsg : DtNetMsgHeader {
  static constexpr DtU32At regionHandle{8};
  static constexpr DtField fields[] = {{"RegionHandle:", regionHandle}};
  static constexpr DtMsgLayout layout{"DtNetDeleteRegMsg", 12, false, fields, {}};
};

static_assert(DtLayoutValid(DtNetNotifyRegMsg::layout) && DtLayoutValid(DtNetDeleteRegMsg::layout));

// ---- classes

// Federate to federates: this region of mine, with its extents, as
// committed.
class DtNotifyRegMsg : public DtMsgClass<DtNotifyRegMsg, DtExactBody<DtRtiMsg>, DtNetNotifyRegMsg, DtNotifyRegMsgKind> {
public:
  static constexpr int theFixedSize = 20;
  static constexpr int theBoundsSize = 8;  // a lower and an upper bound

  using DtMsgClass::DtMsgClass;
  DtNotifyRegMsg(unsigned long regionHandle, RTI::SpaceHandle spaceHandle, DtBufferPlaceHolder* where = nullptr);

  // Whether a message can carry extents x dimensions bounds: both counts
  // fit their 16 bits and the message its 65535 bytes.
  static bool fits(std::uint64_t extents, std::uint64_t dimensions);

  virtual void set(unsigned long regionHandle, RTI::SpaceHandle spaceHandle);
  virtual void setRegionHandle(unsigned long h) { putChecked(DtNetNotifyRegMsg::regionHandle, h, "region handle"); }
  virtual unsigned long regionHandle() const { return get(DtNetNotifyRegMsg::regionHandle); }
  // A handle that fits no 32 bits is refused with a message.
  virtual void setSpaceHandle(RTI::SpaceHandle h);
  virtual RTI::SpaceHandle spaceHandle() const;
  virtual unsigned long numberExtents() const { return get(DtNetNotifyRegMsg::extentCount); }
  virtual unsigned long numberDimensions() const { return get(DtNetNotifyRegMsg::dimensionCount); }

  // Writes E extents of D dimensions: `bounds` holds 2 x E x D numbers,
  // extent by extent, dimension by dimension, the lower before the upper.
  // The message becomes exactly as long as they need. False, with a
  // message and nothing changed, when they do not fit (see fits) or the
  // bounds are not as many as the counts call for.
  virtual bool setExtents(std::uint32_t extents, std::uint32_t dimensions, std::span<const std::uint32_t> bounds);
  // A bound of the body; 0 for one the body does not hold.
  virtual std::uint32_t lowerBound(std::uint32_t extent, std::uint32_t dimension) const;
  virtual std::uint32_t upperBound(std::uint32_t extent, std::uint32_t dimension) const;
  // Whether the body holds every bound its counts call for.
  virtual bool holdsBounds() const;

  static constexpr int minSize() { return theFixedSize; }
  void printData() const override;

protected:
  // The first bound of extent 0, dimension 0.
  virtual char* netExtents() const { return data() + theFixedSize; }

private:
  // The offset of a bound pair; -1 when the body does not hold it.
  long boundsAt(std::uint32_t extent, std::uint32_t dimension) const;
};

// Federate to federates: this region of mine is gone.
class DtDeleteRegMsg : public DtMsgClass<DtDeleteRegMsg, DtExactBody<DtRtiMsg>, DtNetDeleteRegMsg, DtDeleteRegMsgKind> {
public:
  using DtMsgClass::DtMsgClass;
  DtDeleteRegMsg(unsigned long regionHandle, DtBufferPlaceHolder* where) : DtDeleteRegMsg(where) {
    setRegionHandle(regionHandle);
  }
  virtual void set(unsigned long regionHandle) { setRegionHandle(regionHandle); }
  virtual void setRegionHandle(unsigned long h) { putChecked(DtNetDeleteRegMsg::regionHandle, h, "region handle"); }
  virtual unsigned long regionHandle() const { return get(DtNetDeleteRegMsg::regionHandle); }
  static constexpr int minSize() { return 12; }
};
