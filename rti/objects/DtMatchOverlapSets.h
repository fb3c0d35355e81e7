#pragma once
// DtMatchOverlapSets: the attributes of one class that data distribution
// keeps under region-set keys in two states, matching and overlapping, once
// for the class's publication and once for its subscription. Attributes move
// between the two states as regions are matched and their overlaps
// evaluated.

#include <cstdint>

#include "objects/DtAttrSetTable.h"

class DtMatchOverlapSets {
public:
  void addMatching(std::uint32_t key, const DtAttributeHandleSet& attributes) { matching_.addSet(key, attributes); }
  void addOverlap(std::uint32_t key, const DtAttributeHandleSet& attributes) { overlap_.addSet(key, attributes); }
  // Out of both states.
  void remove(std::uint32_t key, const DtAttributeHandleSet& attributes) {
    matching_.removeSet(key, attributes);
    overlap_.removeSet(key, attributes);
  }
  // Everything matching under the key now overlaps.
  void moveToOverlap(std::uint32_t key) { matching_.moveSet(overlap_, key); }
  // These attributes, where they overlap under the key, match again.
  void moveToMatching(std::uint32_t key, const DtAttributeHandleSet& attributes) {
    overlap_.moveSet(matching_, key, attributes);
  }
  void clear() {
    matching_.clear();
    overlap_.clear();
  }
  const DtAttrSetTable& matching() const { return matching_; }
  const DtAttrSetTable& overlap() const { return overlap_; }

private:
  DtAttrSetTable matching_;
  DtAttrSetTable overlap_;
};
