#include "msg/DtRegionMsgs.h"

#include "util/DtPrintField.h"

DtNotifyRegMsg::DtNotifyRegMsg(unsigned long regionHandle, RTI::SpaceHandle spaceHandle, DtBufferPlaceHolder* where)
    : DtNotifyRegMsg(where) {
  set(regionHandle, spaceHandle);
}

bool DtNotifyRegMsg::fits(std::uint64_t extents, std::uint64_t dimensions) {
  return extents <= 0xFFFF && dimensions <= 0xFFFF &&
         theFixedSize + theBoundsSize * extents * dimensions <= static_cast<std::uint64_t>(theMaxSize);
}

void DtNotifyRegMsg::set(unsigned long regionHandle, RTI::SpaceHandle spaceHandle) {
  setRegionHandle(regionHandle);
  setSpaceHandle(spaceHandle);
}

void DtNotifyRegMsg::setSpaceHandle(RTI::SpaceHandle h) {
  if (h < INT32_MIN || h > static_cast<RTI::SpaceHandle>(UINT32_MAX)) {
    refuse("%s: space handle %ld does not fit its 32-bit field; not set\n", className(), static_cast<long>(h));
    return;
  }
  put(DtNetNotifyRegMsg::spaceHandle, static_cast<std::uint32_t>(h));
}

RTI::SpaceHandle DtNotifyRegMsg::spaceHandle() const {
  return static_cast<std::int32_t>(get(DtNetNotifyRegMsg::spaceHandle));
}

bool DtNotifyRegMsg::setExtents(std::uint32_t extents, std::uint32_t dimensions,
                                std::span<const std::uint32_t> bounds) {
  if (!fits(extents, dimensions)) {
    refuse("%s: %u extents of %u dimensions do not fit a message of at most %d bytes; not set\n", className(), extents,
           dimensions, theMaxSize);
    return false;
  }
  const std::size_t count = 2 * std::size_t{extents} * dimensions;
  if (bounds.size() != count) {
    refuse("%s: %zu bounds for %u extents of %u dimensions; not set\n", className(), bounds.size(), extents,
           dimensions);
    return false;
  }
  const int length = theFixedSize + static_cast<int>(count) * 4;
  setSize(length);
  if (size() != length) return false;  // caller memory too small, or no memory
  put(DtNetNotifyRegMsg::extentCount, static_cast<std::uint16_t>(extents));
  put(DtNetNotifyRegMsg::dimensionCount, static_cast<std::uint16_t>(dimensions));
  for (std::size_t i = 0; i < count; ++i) put(DtU32At{theFixedSize + static_cast<int>(4 * i)}, bounds[i]);
  return true;
}

long DtNotifyRegMsg::boundsAt(std::uint32_t extent, std::uint32_t dimension) const {
  const std::uint64_t dimensions = numberDimensions();
  if (extent >= numberExtents() || dimension >= dimensions) return -1;
  const std::uint64_t at = theFixedSize + theBoundsSize * (extent * dimensions + dimension);
  return at + theBoundsSize <= static_cast<std::uint64_t>(size()) ? static_cast<long>(at) : -1;
}

std::uint32_t DtNotifyRegMsg::lowerBound(std::uint32_t extent, std::uint32_t dimension) const {
  const long at = boundsAt(extent, dimension);
  return at < 0 ? 0 : get(DtU32At{static_cast<int>(at)});
}

std::uint32_t DtNotifyRegMsg::upperBound(std::uint32_t extent, std::uint32_t dimension) const {
  const long at = boundsAt(extent, dimension);
  return at < 0 ? 0 : get(DtU32At{static_cast<int>(at) + 4});
}

bool DtNotifyRegMsg::holdsBounds() const {
  return theFixedSize + theBoundsSize * std::uint64_t{numberExtents()} * numberDimensions() <=
         static_cast<std::uint64_t>(size());
}

void DtNotifyRegMsg::printData() const {
  DtPrintField("RegionHandle:", static_cast<unsigned>(regionHandle()));
  DtPrintField("ExtentCount:", static_cast<unsigned>(numberExtents()));
  DtPrintField("DimensionCount:", static_cast<unsigned>(numberDimensions()));
  // As far as the body holds bounds.
  for (std::uint32_t e = 0; e < numberExtents(); ++e) {
    if (numberDimensions() > 0 && boundsAt(e, 0) < 0) break;
    DtPrintField("    Extent:", static_cast<unsigned>(e));
    for (std::uint32_t d = 0; d < numberDimensions() && boundsAt(e, d) >= 0; ++d) {
      DtPrintField("    Dim:", static_cast<unsigned>(d));
      DtPrintField("        lower:", static_cast<unsigned>(lowerBound(e, d)));
      DtPrintField("        upper:", static_cast<unsigned>(upperBound(e, d)));
    }
  }
}
