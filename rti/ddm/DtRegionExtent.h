#pragma once
// DtRegionExtent: one extent of a region, a range per dimension of its
// routing space; entry i stands for dimension i.
//
// A dimension index the extent does not have is inconsistent input (a save
// record or a message of another shape): it is reported at notify level 1
// and the access falls back (a default range, nothing stored) rather than
// failing.

#include <cstdint>
#include <vector>

#include "ddm/DtExtentDim.h"

class DtRegionExtent {
public:
  DtRegionExtent() = default;
  // Copying goes entry by entry through setExtent, so that each entry lands
  // at the index its own dimension field names.
  DtRegionExtent(const DtRegionExtent& other);
  DtRegionExtent& operator=(const DtRegionExtent& other);

  std::uint32_t dimensionCount() const { return static_cast<std::uint32_t>(dims_.size()); }
  // Keeps the first entries; new ones take the default range and their own
  // index.
  void setDimensionCount(std::uint32_t count);

  // 0 for a dimension the extent does not have.
  std::uint32_t getLowerBound(std::uint32_t dimension) const;
  // 0xFFFFFFFF for a dimension the extent does not have.
  std::uint32_t getUpperBound(std::uint32_t dimension) const;
  void setLowerBound(std::uint32_t dimension, std::uint32_t value);
  void setUpperBound(std::uint32_t dimension, std::uint32_t value);
  // A copy of the entry; the default entry for a dimension the extent does
  // not have.
  DtExtentDim getExtent(std::uint32_t dimension) const;
  // Stores the entry at the index its dimension field names.
  void setExtent(const DtExtentDim& entry);

  // Same dimension count and every dimension's ranges overlap; two extents
  // without dimensions overlap.
  bool overlap(const DtRegionExtent& other) const;
  // Both bounds of every dimension were set.
  bool valid() const;

private:
  bool has(std::uint32_t dimension, const char* operation) const;

  std::vector<DtExtentDim> dims_;
};
