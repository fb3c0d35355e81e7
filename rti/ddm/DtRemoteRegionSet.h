#pragma once
// DtRemoteRegionSet: a region set another federate announced, publication or
// subscription, as this federate knows it: its handle, federate, channel
// and regions (a region not received yet is known by handle until its
// announcement comes), the attributes the federate associated with it, and
// a bounding region that gathers the extents of its regions (the region
// reflected values are said to come from).
//
// A remote publication set makes the objects it carries known to this
// federate and moves their attributes in and out of scope; it tells the
// federate (attributesInScope, attributesOutOfScope) only when it is given
// the federate ambassador.
//
// Made, filed and deleted by the object data distribution manager.

#include <cstdint>

#include "ddm/DtObjectRegionSet.h"

namespace RTI {
class FederateAmbassador;
}
class DtObjectDataDistMgr;
class DtRtiObject;

class DtRemoteRegionSet : public DtObjectRegionSet {
public:
  DtRemoteRegionSet();
  DtRemoteRegionSet(std::uint32_t setHandle, std::uint32_t regionHandle);
  // The bounding region takes the region's space and extents (none for
  // null).
  DtRemoteRegionSet(std::uint32_t setHandle, DtRegion* region);

  // The bounding region takes the region's extents too.
  void addRegion(DtRegion* region) override { addRegionToBounds(region); }
  void addRegion(std::uint32_t regionHandle) override { DtObjectRegionSet::addRegion(regionHandle); }

  // Every object associated with the set that the manager does not know is
  // discovered (in the order they came); known ones are left alone.
  void discoverObjects(DtObjectDataDistMgr& mgr) const;
  // The object's attributes that are associated here and subscribed for the
  // set come into scope; those of `extra` and the associated ones that no
  // longer are go out of it.
  void evaluateScopeUpdates(DtRtiObject& object, const DtAttributeHandleSet& extra, RTI::FederateAmbassador* amb) const;
  void evaluateScopeUpdates(DtRtiObject& object, RTI::FederateAmbassador* amb) const;
  // The same for every known object associated with the set.
  void evaluateScopeUpdates(DtObjectDataDistMgr& mgr, RTI::FederateAmbassador* amb) const;
  // The attributes of every known associated object go out of scope.
  void evaluateOutOfScopeUpdates(const DtAttributeHandleSet& attributes, DtObjectDataDistMgr& mgr,
                                 RTI::FederateAmbassador* amb) const;
};
