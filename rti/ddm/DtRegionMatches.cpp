#include "ddm/DtRegionMatches.h"

#include "ddm/DtRegionSet.h"

void DtRegionMatches::addMatch(DtRegionSet* set) {
  if (set) matches_.put({set->regionSetHandle(), set});
}

void DtRegionMatches::removeMatch(const DtRegionSet* set) {
  if (set) matches_.take(set->regionSetHandle());
}
