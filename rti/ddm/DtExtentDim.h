#pragma once
// DtExtentDim: one dimension of an extent, its range and the index of the
// dimension it stands for.

#include <cstdint>

#include "ddm/DtRangeBounds.h"

class DtExtentDim : public DtRangeBounds {
public:
  // Lower 0, upper 0xFFFFFFFF, nothing set, dimension 0: what an extent
  // answers for a dimension it does not have.
  static const DtExtentDim theDefault;

  DtExtentDim() = default;
  std::uint32_t dimension() const { return dimension_; }
  void setDimension(std::uint32_t index) { dimension_ = index; }

private:
  std::uint32_t dimension_ = 0;
};
