#pragma once
// The region and region-set messages as data distribution fills and reads
// them: the network layer carries plain numbers, regions and region sets are
// this layer's.

#include <cstdint>
#include <vector>

#include "ddm/DtRegionExtent.h"
#include "msg/DtRegionMsgs.h"
#include "msg/DtRegionSetMsgs.h"

class DtRegion;
class DtRegionSet;

// The region's handle, space and committed extents, each written with the
// dimension count of the first (a region without extents: none). False,
// with a message, when they do not fit a message.
bool DtFillNotifyRegMsg(DtNotifyRegMsg& msg, const DtRegion& region);
// The extents a received message carries, each of its dimension count,
// every bound set; none when the body does not hold them all.
std::vector<DtRegionExtent> DtNotifyRegMsgExtents(const DtNotifyRegMsg& msg);

// The type, the set's handle and channel, then the set's regions in its
// order, after any the message holds already.
void DtFillObjRegSetMsg(DtObjRegSetMsg& msg, DtObjRegSetType type, const DtRegionSet& set);
void DtFillInterRegSetMsg(DtInterRegSetMsg& msg, DtInterRegSetType type, const DtRegionSet& set,
                          std::uint32_t classHandle);
