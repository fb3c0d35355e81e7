#pragma once
// The kind of a region set's save record (record type 13), which the object
// and the interaction data distribution managers share: which side of the
// federation the set belongs to and what it does. Kind 0 ends a manager's
// list of set records.

#include <cstdint>

enum DtRtiSaveRegionSetTypes : std::uint32_t {
  DT_END_REGION_SETS = 0,
  DT_LOCAL_PUBLISH = 1,
  DT_REMOTE_PUBLISH = 2,
  DT_LOCAL_SUBSCRIBE = 3,
  DT_PASSIVE_SUBSCRIBE = 4,
  DT_REMOTE_SUBSCRIBE = 5
};
