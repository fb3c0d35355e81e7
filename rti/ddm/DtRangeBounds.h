#pragma once
// DtRangeBounds: one range of one dimension of a region, [lower, upper), and
// which of its bounds were set since it was made. Two ranges overlap when
// each starts below the other's end, and also whenever they start at the
// same value: so an empty range [v, v) still meets every range that starts
// at v.

#include <cstdint>

// Which bounds were set: bit 1 the lower, bit 2 the upper.
enum DtBoundsCheck : std::uint32_t { DtNoBoundSet = 0, DtLowerBoundSet = 1, DtUpperBoundSet = 2, DtBothBoundsSet = 3 };

class DtRangeBounds {
public:
  static constexpr std::uint32_t theMinBound = 0;
  static constexpr std::uint32_t theMaxBound = 0xFFFFFFFF;

  DtRangeBounds() = default;
  // Neither bound counts as set.
  DtRangeBounds(std::uint32_t lower, std::uint32_t upper) : lower_(lower), upper_(upper) {}

  std::uint32_t getLowerBound() const { return lower_; }
  std::uint32_t getUpperBound() const { return upper_; }
  DtBoundsCheck boundsCheck() const { return mask_; }

  void setLowerBound(std::uint32_t value) {
    lower_ = value;
    mask_ = static_cast<DtBoundsCheck>(mask_ | DtLowerBoundSet);
  }
  void setUpperBound(std::uint32_t value) {
    upper_ = value;
    mask_ = static_cast<DtBoundsCheck>(mask_ | DtUpperBoundSet);
  }

  bool overlap(const DtRangeBounds& other) const {
    return lower_ == other.lower_ || (lower_ < other.upper_ && other.lower_ < upper_);
  }

private:
  std::uint32_t lower_ = theMinBound;
  std::uint32_t upper_ = theMaxBound;
  DtBoundsCheck mask_ = DtNoBoundSet;
};
