#pragma once
// DtDataDistMgr: data distribution management for one joined federate. It
// makes the federate's regions (createRegion), announces them to the other
// federates when they are committed (kind 25, notifyAboutRegionModification)
// and withdraws them (kind 26, deleteRegion); it keeps the other federates'
// regions from their announcements and drops them when they are withdrawn or
// their federate resigns; it hands out channels and joins and leaves their
// multicast groups as region sets come and go (DtDdmChannels); it answers
// the routing-space look-ups; and it writes and reads its share of a
// federation save. It tells both data distribution halves, the object and
// the interaction manager's data distribution forms, of every region that is
// created, modified, deleted, received or lost, so that they can match
// their region sets again.
//
// The federate manager makes one after a join when RTI_dataDistMgmt is set,
// over the two halves, hands it to each (setDdmMgr, the interaction half
// first) and owns it; it deletes the halves first, since their region sets
// point at the regions kept here. The implementor hands it the region
// services. A half may be missing (a plug-in's manager that is no data
// distribution form): it is not told then.
//
// Region handles are the federate handle x 100000 plus a serial from 1;
// handle 0 is every federate's default region, which plain subscriptions
// use, and never crosses the wire. A federate that would pass 99999 regions
// is refused (RTIinternalError) rather than take the next federate's
// handles.
//
// No thread and no lock: everything runs on the federate's thread, inside a
// service or inside tick (the message handlers run from the connection
// manager's dispatch there).

#include <cstdint>
#include <memory>
#include <vector>

#include "RTI.hh"
#include "ddm/DtDdmChannels.h"
#include "ddm/DtHandleIndex.h"
#include "msg/DtMsgSubscriptions.h"

class DtConnectionMgr;
class DtDeleteRegMsg;
class DtFomClassMgr;
class DtInterDataDistMgr;
class DtNotifyRegMsg;
class DtObjectDataDistMgr;
class DtRIDParameters;
class DtRegion;
class DtRegionSet;
class DtResignMsg;
class DtRtiSaveFile;

class DtDataDistMgr {
public:
  // The connection manager, FOM and RID parameters are the object half's
  // (none without it).
  DtDataDistMgr(DtObjectDataDistMgr* objMgr, DtInterDataDistMgr* interMgr);
  // All borrowed; null RID parameters stand for the defaults. Registers the
  // handlers of kinds 25 and 26 and resets the process-wide default region
  // words (a federate made with data distribution sends region set 0).
  DtDataDistMgr(DtConnectionMgr* connectMgr, DtFomClassMgr* fom, DtRIDParameters* params, DtObjectDataDistMgr* objMgr,
                DtInterDataDistMgr* interMgr);
  DtDataDistMgr(const DtDataDistMgr&) = delete;
  DtDataDistMgr& operator=(const DtDataDistMgr&) = delete;
  // Removes the handlers and deletes every region; leaves no group.
  virtual ~DtDataDistMgr();

  DtConnectionMgr* connectMgr() const { return connectMgr_; }
  DtFomClassMgr* fom() const { return fom_; }
  DtObjectDataDistMgr* objDdmMgr() const { return objMgr_; }
  DtInterDataDistMgr* interDdmMgr() const { return interMgr_; }
  // Whether data distribution is on (RTI_dataDistMgmt; on without RID
  // parameters, since a manager exists only when it is).
  virtual bool active() const;

  // ---- the region services (from the implementor)
  // A new region of the federate's, in the routing space, its extents at
  // the default bounds; nothing is sent until it is first committed.
  // SpaceNotDefined for an unknown space (before the extents are looked
  // at), InvalidExtents for none, RTIinternalError past the handles a
  // federate can make or for more extents than a region message carries.
  virtual DtRegion* createRegion(RTI::SpaceHandle space, RTI::ULong extents);
  // Commits the region's working extents, announces it and tells both
  // halves. RegionNotKnown for a region that is not one of this
  // federate's; InvalidExtents while a bound is unset.
  virtual void notifyAboutRegionModification(RTI::Region& region);
  // Null does nothing. RegionNotKnown for a region that is not one of this
  // federate's (the default region is not the federate's to delete),
  // RegionInUse while a region set uses it. Both halves are told, the
  // region is withdrawn when it was ever announced, and deleted.
  virtual void deleteRegion(RTI::Region* region);
  // The region of plain subscriptions: handle 0, routing space 0, no
  // extents.
  virtual DtRegion& defaultRegion();
  // ObjectClassNotDefined, AttributeNotDefined, InteractionClassNotDefined.
  virtual std::int32_t getAttributeRoutingSpaceHandle(RTI::AttributeHandle attribute, RTI::ObjectClassHandle theClass);
  virtual std::int32_t getInteractionRoutingSpaceHandle(RTI::InteractionClassHandle theClass);

  // ---- the regions kept here: this federate's (token 0 is the default
  // region) and the other federates'; null when there is none.
  virtual bool isMemberLocalRegions(RTI::RegionToken token);
  virtual DtRegion* localRegion(RTI::RegionToken token);
  virtual bool isMemberRemoteRegions(std::uint32_t handle) const;
  virtual DtRegion* remoteRegion(std::uint32_t handle) const;
  // The federate's own regions but the default one, and the other
  // federates' regions of one of them, in the order they came.
  std::vector<const DtRegion*> localRegions() const;
  std::vector<const DtRegion*> remoteRegionsOf(std::uint32_t federate) const;
  // The federates whose regions are kept, in the order they came.
  std::vector<std::uint32_t> remoteFederates() const;

  // ---- channels (from the halves; see DtDdmChannels)
  virtual std::uint32_t freeChannel();
  virtual void joinObjectRegionSet(std::uint32_t channel, std::uint32_t regionSet);
  virtual void dropObjectRegionSet(std::uint32_t channel, std::uint32_t regionSet);
  virtual void joinInteractionRegionSet(std::uint32_t channel, std::uint32_t interactionClass, std::uint32_t regionSet);
  virtual void dropInteractionRegionSet(std::uint32_t channel, std::uint32_t interactionClass, std::uint32_t regionSet);
  const DtDdmChannels& channels() const { return channels_; }

  // ---- announcements. The regions of a region set about to be announced
  // wait for the next tick (each once; the default region is never sent).
  virtual void addPendingNotifyRegion(const DtRegionSet& set);
  virtual void sendPendingNotifyRegion();
  virtual void sendNotifyRegionMsg(const DtRegion& region);
  virtual void sendDeleteRegionMsg(std::uint32_t regionHandle);
  // The per-tick step, before the object manager's: the pending
  // announcements.
  virtual void tick();

  // ---- received (the federate's own messages, which come back from the
  // group, are not another federate's and are dropped)
  // Another federate's region, new or changed; one of an unknown routing
  // space is dropped with a level-1 message.
  virtual void processNotifyRegion(const DtNotifyRegMsg& msg);
  // Another federate withdrew a region; an unknown one is ignored.
  virtual void processDeleteRegion(const DtDeleteRegMsg& msg);
  // Another federate resigned: its regions go.
  virtual void processResign(const DtResignMsg& msg);

  // ---- a federation save: the manager's record (type 10), the channel
  // records (type 11, interaction ones first), then the local regions and
  // the remote ones (type 12). False when a record could not be written.
  virtual bool save(DtRtiSaveFile& file) const;
  // Reads the records save wrote, checks them all, then tears both halves'
  // region sets down (they point at the regions about to go), leaves every
  // group joined, and takes the saved state: the channels are filed again,
  // which joins their groups. A record of another type, a damaged one (its
  // length, a count the file does not hold, a region of an unknown space
  // or named twice) stops it with "DataDistMgr received an incorrect save
  // packet, restore aborted" at level 1 and false; nothing changed then.
  virtual bool restore(DtRtiSaveFile& file);

  // The serial the next region handle takes.
  std::uint32_t regionCounter() const { return regionCounter_; }

protected:
  // The next region handle (see above); the counter moves on.
  virtual std::uint32_t uniqueRegionHandle();
  virtual void addLocalRegion(std::unique_ptr<DtRegion> region);
  virtual std::unique_ptr<DtRegion> removeLocalRegion(std::uint32_t handle);
  // An entry under the same handle is replaced (and deleted).
  virtual void addRemoteRegion(std::unique_ptr<DtRegion> region, std::uint32_t federate);
  virtual std::unique_ptr<DtRegion> removeRemoteRegion(std::uint32_t handle);
  // Every region but the default one goes and both tables of channels are
  // emptied (the groups are not left); the default region forgets its sets.
  virtual void destroyLists();

private:
  struct LocalRegion {
    std::uint32_t handle;
    std::unique_ptr<DtRegion> region;
  };
  struct RemoteRegion {
    std::uint32_t handle;
    std::uint32_t federate;
    std::unique_ptr<DtRegion> region;
  };
  struct FederateRegions {
    std::uint32_t handle;  // the federate
    std::vector<std::uint32_t> regions;
  };
  struct Restored;

  // The federate's own region that this is, or null.
  DtRegion* ownRegion(RTI::Region* region) const;
  std::uint32_t fedHandle() const;
  // A region message worth taking: another federate's, about a region that
  // is not the default one.
  bool fromAnotherFederate(std::uint32_t sender, std::uint32_t regionHandle) const;
  // A remote region of the sender, or null (with a level-1 message when it
  // is another federate's).
  RemoteRegion* senderRegion(std::uint32_t handle, std::uint32_t sender) const;
  // Both halves are told, then the region goes.
  void dropRemoteRegion(std::uint32_t handle);
  bool readSaved(DtRtiSaveFile& file, Restored& restored) const;
  void takeRestored(Restored& restored);

  DtConnectionMgr* connectMgr_;
  DtFomClassMgr* fom_;
  DtRIDParameters* params_;
  DtObjectDataDistMgr* objMgr_;
  DtInterDataDistMgr* interMgr_;
  std::unique_ptr<DtRegion> defaultRegion_;
  DtDdmChannels channels_;
  DtHandleIndex<LocalRegion> local_;
  mutable DtHandleIndex<RemoteRegion> remote_;
  DtHandleIndex<FederateRegions> byFederate_;
  std::uint32_t regionCounter_ = 1;
  std::vector<std::uint32_t> pendingNotify_;  // region handles, each once
  DtMsgSubscriptions handlers_;               // kinds 25 and 26
};
