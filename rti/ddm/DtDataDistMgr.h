#pragma once
// DtDataDistMgr: data distribution management for one joined federate:
// regions of routing spaces, their default region, and the routing spaces
// of attributes and interactions. The federate manager makes one after a
// join when RTI_dataDistMgmt is set, over the data distribution forms of the
// object and interaction managers, and owns it; the implementor hands it the
// region services.
//
// This is the interface the implementor and the federate manager call; until
// data distribution is built, each service answers "<service> not
// implemented".

#include <cstdint>

#include "RTI.hh"

class DtInterDataDistMgr;
class DtObjectDataDistMgr;
class DtRegion;
class DtResignMsg;

class DtDataDistMgr {
public:
  DtDataDistMgr(DtObjectDataDistMgr* objMgr, DtInterDataDistMgr* interMgr);
  DtDataDistMgr(const DtDataDistMgr&) = delete;
  DtDataDistMgr& operator=(const DtDataDistMgr&) = delete;
  virtual ~DtDataDistMgr();

  // Whether data distribution is on (RTI_dataDistMgmt); a manager exists only
  // when it is, so the base answers yes.
  virtual bool active() const;

  // A new region of the federate's, which the caller holds until it deletes
  // it with deleteRegion.
  virtual DtRegion* createRegion(RTI::SpaceHandle space, RTI::ULong extents);
  virtual void deleteRegion(RTI::Region* region);
  virtual void notifyAboutRegionModification(RTI::Region& region);
  // The region of plain subscriptions while data distribution is on.
  virtual DtRegion& defaultRegion();
  virtual std::int32_t getAttributeRoutingSpaceHandle(RTI::AttributeHandle attribute, RTI::ObjectClassHandle theClass);
  virtual std::int32_t getInteractionRoutingSpaceHandle(RTI::InteractionClassHandle theClass);
  // Whether the token names one of this federate's regions, and that region
  // (which stays the federate's).
  virtual bool isMemberLocalRegions(RTI::RegionToken token);
  virtual DtRegion* localRegion(RTI::RegionToken token);

  // From the federate manager: the per-tick step and another federate's
  // resignation.
  virtual void tick();
  virtual void processResign(const DtResignMsg& msg);

protected:
  DtObjectDataDistMgr* objMgr_;
  DtInterDataDistMgr* interMgr_;
};
