#include "ddm/DtObjectRegionSet.h"

#include "ddm/DtRegion.h"

DtObjectRegionSet::~DtObjectRegionSet() {
  for (const DtRegionEntry& entry : regionList()) {
    if (!entry.region) continue;
    entry.region->removeObjPubRegSet(this);
    entry.region->removeObjSubRegSet(this);
    entry.region->removeObjPasRegSet(this);
  }
}
