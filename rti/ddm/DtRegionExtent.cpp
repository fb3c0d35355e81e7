#include "ddm/DtRegionExtent.h"

#include <algorithm>

#include "util/DtNotify.h"

DtRegionExtent::DtRegionExtent(const DtRegionExtent& other) { *this = other; }

DtRegionExtent& DtRegionExtent::operator=(const DtRegionExtent& other) {
  if (this == &other) return *this;
  setDimensionCount(other.dimensionCount());
  for (std::uint32_t d = 0; d < other.dimensionCount(); ++d) setExtent(other.getExtent(d));
  return *this;
}

void DtRegionExtent::setDimensionCount(std::uint32_t count) {
  const std::uint32_t old = dimensionCount();
  if (count == old) return;
  dims_.resize(count);
  for (std::uint32_t d = old; d < count; ++d) dims_[d].setDimension(d);
}

bool DtRegionExtent::has(std::uint32_t dimension, const char* operation) const {
  if (dimension < dimensionCount()) return true;
  DtNotifyError("%s: Dimension not in this region\n", operation);
  return false;
}

std::uint32_t DtRegionExtent::getLowerBound(std::uint32_t dimension) const {
  return has(dimension, "getLowerBound") ? dims_[dimension].getLowerBound() : DtRangeBounds::theMinBound;
}

std::uint32_t DtRegionExtent::getUpperBound(std::uint32_t dimension) const {
  return has(dimension, "getUpperBound") ? dims_[dimension].getUpperBound() : DtRangeBounds::theMaxBound;
}

void DtRegionExtent::setLowerBound(std::uint32_t dimension, std::uint32_t value) {
  if (has(dimension, "setLowerBound")) dims_[dimension].setLowerBound(value);
}

void DtRegionExtent::setUpperBound(std::uint32_t dimension, std::uint32_t value) {
  if (has(dimension, "setUpperBound")) dims_[dimension].setUpperBound(value);
}

DtExtentDim DtRegionExtent::getExtent(std::uint32_t dimension) const {
  return has(dimension, "getExtent") ? dims_[dimension] : DtExtentDim::theDefault;
}

void DtRegionExtent::setExtent(const DtExtentDim& entry) {
  if (has(entry.dimension(), "setExtent")) dims_[entry.dimension()] = entry;
}

bool DtRegionExtent::overlap(const DtRegionExtent& other) const {
  if (dimensionCount() != other.dimensionCount()) return false;
  for (std::uint32_t d = 0; d < dimensionCount(); ++d) {
    if (!dims_[d].overlap(other.dims_[d])) return false;
  }
  return true;
}

bool DtRegionExtent::valid() const {
  return std::all_of(dims_.begin(), dims_.end(),
                     [](const DtExtentDim& entry) { return entry.boundsCheck() == DtBothBoundsSet; });
}
