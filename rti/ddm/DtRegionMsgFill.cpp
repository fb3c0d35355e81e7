#include "ddm/DtRegionMsgFill.h"

#include "ddm/DtRegion.h"
#include "ddm/DtRegionSet.h"
#include "util/DtNotify.h"

bool DtFillNotifyRegMsg(DtNotifyRegMsg& msg, const DtRegion& region) {
  msg.set(region.handle(), region.getSpaceHandle());
  const auto count = static_cast<std::uint32_t>(region.getNumberOfExtents());
  const std::uint32_t dimensions = count ? region.extent(0).dimensionCount() : 0;
  if (!DtNotifyRegMsg::fits(count, dimensions)) {
    DtNotifyError("Region %u: %u extents of %u dimensions do not fit a region message; not announced\n",
                  region.handle(), count, dimensions);
    return false;
  }
  std::vector<std::uint32_t> bounds;
  bounds.reserve(2 * std::size_t{count} * dimensions);
  for (std::uint32_t e = 0; e < count; ++e) {
    const DtRegionExtent& extent = region.extent(e);
    for (std::uint32_t d = 0; d < dimensions; ++d) {
      // A dimension an extent lacks travels at the default range.
      const DtExtentDim range = d < extent.dimensionCount() ? extent.getExtent(d) : DtExtentDim::theDefault;
      bounds.push_back(range.getLowerBound());
      bounds.push_back(range.getUpperBound());
    }
  }
  return msg.setExtents(count, dimensions, bounds);
}

std::vector<DtRegionExtent> DtNotifyRegMsgExtents(const DtNotifyRegMsg& msg) {
  if (!msg.holdsBounds()) return {};
  const auto count = static_cast<std::uint32_t>(msg.numberExtents());
  const auto dimensions = static_cast<std::uint32_t>(msg.numberDimensions());
  std::vector<DtRegionExtent> extents(count);
  for (std::uint32_t e = 0; e < count; ++e) {
    extents[e].setDimensionCount(dimensions);
    for (std::uint32_t d = 0; d < dimensions; ++d) {
      extents[e].setLowerBound(d, msg.lowerBound(e, d));
      extents[e].setUpperBound(d, msg.upperBound(e, d));
    }
  }
  return extents;
}

void DtFillObjRegSetMsg(DtObjRegSetMsg& msg, DtObjRegSetType type, const DtRegionSet& set) {
  msg.set(type, set.regionSetHandle(), set.address(), {});
  set.fillInRegions(&msg);
}

void DtFillInterRegSetMsg(DtInterRegSetMsg& msg, DtInterRegSetType type, const DtRegionSet& set,
                          std::uint32_t classHandle) {
  msg.set(type, set.regionSetHandle(), classHandle, set.address(), {});
  set.fillInRegions(&msg);
}
