#pragma once
// DtInterDataDistMgr: the interaction manager of a federate with data
// distribution on (RTI_dataDistMgmt), which DtInteractionMgr::create makes
// through the maker data distribution installs. It keeps everything of the
// plain manager and adds the interaction region sets: the federate's own
// publication (one region and one channel each), active subscription and
// passive subscription sets per class, the other federates' publication and
// subscription sets as they announce them (kind 30), and the channel each
// publication set sends on.
//
// Matching: a subscription or passive set of this federate and another
// federate's publication set of the class (or of a subclass received as
// the subscribed class) are paired while some region of one meets some
// region of the other. A paired publication set is "overlapping": the
// federate belongs to its channel's group exactly then, and accepts the
// interactions sent from it. Passive sets pair and join like active ones
// but are never announced, so the other federates neither count them as
// subscriptions nor give advisories for them.
//
// Every class has a default subscription set (handle 0) and a default
// passive set (handle 1) of the default region alone, made on first use,
// never announced: the plain subscriptions use them. Other set handles come
// from two pools (DtRegionSetHandlePool).
//
// Made after the join and owned by the federate manager; everything runs on
// the federate's thread.

#include <cstdint>
#include <memory>
#include <vector>

#include "ddm/DtDataDistHalf.h"
#include "ddm/DtHandleIndex.h"
#include "ddm/DtInterAddrMaps.h"
#include "ddm/DtRegionIndex.h"
#include "ddm/DtRegionSetHandlePool.h"
#include "ddm/DtRegionSetListByClass.h"
#include "msg/DtMsgSubscriptions.h"
#include "objects/DtInteractionMgr.h"

class DtInterRegSetMsg;
struct DtInterRegionSetRecord;
class DtInteractionRegionSet;
class DtSavePacket;

class DtInterDataDistMgr : public DtInteractionMgr, public DtDataDistHalf {
public:
  // A new one, as DtInteractionMgr::create hands it out (the caller owns
  // it).
  static DtInteractionMgr* create(DtConnectionMgr* connectMgr, DtFomClassMgr* fom, DtRIDParameters* params);

  // Registers the kind-30 handler.
  DtInterDataDistMgr(DtConnectionMgr* connectMgr, DtFomClassMgr* fom, DtRIDParameters* params);
  ~DtInterDataDistMgr() override;

  // Also puts both handle pools' counters at their first serial.
  void setDdmMgr(DtDataDistMgr* ddm) override;
  // The clock of the channel hold-back (tests).
  void setClock(DtInterAddrMaps::Clock clock) { addrMaps_.setClock(std::move(clock)); }

  // A new publication, or subscription (and passive) region-set handle,
  // now in use; see DtRegionSetHandlePool for the refusals.
  virtual std::uint32_t uniquePubRegSetHandle();
  virtual std::uint32_t uniqueSubRegSetHandle();
  DtRegionSetHandlePool& pubHandlePool() { return pubHandles_; }
  DtRegionSetHandlePool& subHandlePool() { return subHandles_; }

  // ---- the services
  // InteractionClassNotDefined; InvalidRegionContext for a region of
  // another routing space than the class's (space 0 meets any);
  // RegionNotKnown for a region that is not this federate's. A second
  // region adds to the set; subscribing again with a region already in a
  // set of several narrows the subscription to it (with the default region
  // when that was there).
  void subscribeInteractionClassWithRegion(RTI::InteractionClassHandle theClass, RTI::Region& region,
                                           RTI::Boolean active) override;
  // InteractionClassNotDefined; InteractionClassNotSubscribed for a region
  // of another space, or one in neither set of the class (the default
  // region then does nothing).
  void unsubscribeInteractionClassWithRegion(RTI::InteractionClassHandle theClass, RTI::Region& region) override;
  // InteractionClassNotDefined, InteractionClassNotPublished,
  // InvalidRegionContext (space 0 is not exempt), RegionNotKnown. Sends
  // from the class's publication set of the region (made, given a channel
  // and announced on first use) on that set's channel.
  std::uint32_t send(RTI::InteractionClassHandle theClass, const RTI::ParameterHandleValuePairSet& parameters,
                     const RTI::FedTime* time, const char* tag, const RTI::Region& region) override;
  using DtInteractionMgr::send;
  // The channel of a publication set once its hold-back is over; else the
  // plain manager's destination.
  std::uint32_t localAddrMap(RTI::InteractionClassHandle theClass, RTI::ULong destination) override;

  // The plain filter (not the federate's own), then the channel's.
  bool acceptInteraction(const DtInteractionMsg& msg) const override;
  // Whether an interaction of the class sent from that publication set is
  // for this federate: with data distribution off, or from set 0 (the
  // default route), always; otherwise only while the set overlaps a
  // subscription or passive set of this federate.
  virtual bool acceptInteractionChannel(std::uint32_t classHandle, std::uint32_t regionSet) const;
  // The remote publication sets that overlap a subscription of this
  // federate, by their class (not owned).
  DtRegionSetListByClass& overlappingRemotePubSets() { return overlapping_; }

  // A publisher came: the class's subscription set is announced again at
  // the next tick. A subscriber came: so are the class's publication sets.
  void checkForRegionalSubscribe(DtInteractionClassInfo& interactionClass) override;
  void checkForRegionalPublish(DtInteractionClassInfo& interactionClass) override;
  // The plain tick, then the pending announcements.
  void tick() override;
  // Another federate resigned: its region sets go too.
  void processResign(const DtResignMsg& msg) override;

  // ---- the region hooks (see DtDataDistHalf)
  void notifyAboutRegionModification(DtRegion& region) override;
  void deleteRegion(DtRegion& region) override;
  void processNotifyRegion(DtRegion& region, bool isNew) override;
  void processDeleteRegion(DtRegion& region) override;
  // Every region set goes, with the tables, address maps and handles in
  // use; the groups are left to the data distribution manager.
  void destroyRegionLists() override;

  // ---- kind 30 from another federate (the federate's own are ignored)
  virtual void processRegionSet(const DtInterRegSetMsg& msg);
  virtual void processPubRegionSet(const DtInterRegSetMsg& msg);
  virtual void processSubRegionSet(const DtInterRegSetMsg& msg);

  // ---- a federation save: the plain record, then the handle counters and
  // the region sets but the federate's publication sets (made again at
  // their first send); see DtInterDdmRecords. restore checks every record
  // before it takes any; a wrong one fails it, the tables then empty.
  bool save(DtRtiSaveFile& file) const override;
  bool restore(DtRtiSaveFile& file) override;

  // ---- the tables (tests, the save)
  DtInteractionRegionSet* localPubRegSet(std::uint32_t classHandle, std::uint32_t setHandle) const;
  const DtRegionSetList* localPubRegSets(std::uint32_t classHandle) const { return localPub_.lookup(classHandle); }
  DtInteractionRegionSet* localSubRegSet(std::uint32_t classHandle) const;
  DtInteractionRegionSet* passiveRegSet(std::uint32_t classHandle) const;
  DtInteractionRegionSet* remotePubRegSet(std::uint32_t classHandle, std::uint32_t setHandle) const;
  DtInteractionRegionSet* remoteSubRegSet(std::uint32_t federate, std::uint32_t classHandle) const;
  std::uint32_t remoteAddrMap(std::uint32_t classHandle, std::uint32_t setHandle) const {
    return addrMaps_.remote(classHandle, setHandle);
  }
  // The class's default sets, made on first use; null for an unknown class.
  DtInteractionRegionSet* defaultSubRegionSet(std::uint32_t classHandle);
  DtInteractionRegionSet* defaultPasRegionSet(std::uint32_t classHandle);
  std::size_t pendingAnnouncements() const { return pendingPub_.size() + pendingSub_.size(); }

protected:
  // ---- set construction
  DtInteractionRegionSet* createPubRegionSet(DtRegion& region, DtInteractionClassInfo& cls);
  DtInteractionRegionSet* getPubRegionSet(DtRegion& region, DtInteractionClassInfo& cls);
  // A new unfiled set of the class: `base`'s regions (unless it is a
  // default set) with the region added, or taken out.
  DtInteractionRegionSet* createSubRegionSet(DtRegion& region, DtInteractionClassInfo& cls,
                                             DtInteractionRegionSet* base, bool add);
  DtInteractionRegionSet* createPasRegionSet(DtRegion& region, DtInteractionClassInfo& cls,
                                             DtInteractionRegionSet* base, bool add);
  // ---- the tables
  void addLocalPubRegSet(std::uint32_t classHandle, DtInteractionRegionSet* set);
  // Out of the table, out of its regions, announced empty, handle freed,
  // deleted.
  void deleteLocalPubRegSet(DtInteractionRegionSet* set);
  void addLocalSubRegSet(std::uint32_t classHandle, DtInteractionRegionSet* set);
  // Unpaired and out of the table (the set stays).
  void removeLocalSubRegSet(DtInteractionRegionSet* set);
  void addPassiveRegSet(std::uint32_t classHandle, DtInteractionRegionSet* set);
  void removePassiveRegSet(DtInteractionRegionSet* set);
  void addRemoteSubRegSet(DtInteractionRegionSet* set);
  // Out of the table (not deleted).
  void removeRemoteSubRegSet(DtInteractionRegionSet* set);

  // ---- matching
  void evaluateOverlap(DtInteractionRegionSet& sub, DtInteractionRegionSet& pub);
  void evaluateLocalOverlap(const DtRegionSetList& pubs, DtInteractionRegionSet& sub);
  // Against the remote publication sets received under the class.
  void evaluateLocalOverlap(std::uint32_t classHandle, DtInteractionRegionSet* sub);
  void evaluateRemoteOverlap(DtInteractionRegionSet& pub, DtInteractionClassInfo& cls);
  // The remote publication sets of `cls` and of its subclasses that are
  // not subscribed themselves are received as `sub`'s class now.
  void evaluateLocalOverlapSubClasses(DtInteractionClassInfo* oldClass, DtInteractionClassInfo& cls,
                                      DtInteractionRegionSet& sub);
  void evaluateLocalMatchOverlap(const DtRegionSetList& pubs, DtInteractionClassInfo* oldClass,
                                 DtInteractionRegionSet& sub);
  void removeLocalOverlap(DtInteractionRegionSet& sub);
  // Files the remote publication set under the class it is received as,
  // and matches it.
  void processPubRegionSet(DtInteractionRegionSet* set, DtInteractionClassInfo* cls);
  void processSubRegionSet(DtInteractionRegionSet* set, DtInteractionClassInfo* cls);

  // ---- announcements
  void sendRegionSetMsg(std::uint32_t type, const DtInteractionRegionSet& set, std::uint32_t classHandle);
  void addPendingAssociatePubRegions(DtInteractionClassInfo& cls);
  void addPendingAssociateSubRegions(DtInteractionClassInfo& cls);

  // The class of the handle, else InteractionClassNotDefined.
  DtInteractionClassInfo& knownClass(RTI::InteractionClassHandle theClass) const;
  // The federate's region behind the reference, else RegionNotKnown.
  DtRegion& ownRegion(const RTI::Region& region) const;

private:
  struct OwnedSet {
    std::uint32_t handle;  // interaction class
    std::unique_ptr<DtInteractionRegionSet> set;
  };
  struct ClassSet {
    std::uint32_t handle;  // interaction class
    DtInteractionRegionSet* set;
  };
  struct FederateSubs {
    std::uint32_t handle;  // federate
    DtHandleIndex<OwnedSet> byClass;
  };
  struct PendingRefs {
    std::uint32_t handle;  // region
    std::vector<DtInteractionRegionSet*> sets;
  };

  // Unpaired, out of the table, its handle free (the set stays).
  void unfileLocalSet(DtHandleIndex<ClassSet>& table, DtInteractionRegionSet* set);
  // The set makers of both roles (passive or active). withRegion and
  // withoutRegion give the set `current` becomes with the region added or
  // taken out: itself when nothing changes, null for no regions, the
  // default set for the default region alone.
  DtInteractionRegionSet* createRoleSet(DtRegion& region, DtInteractionClassInfo& cls, DtInteractionRegionSet* base,
                                        bool add, bool passive);
  DtInteractionRegionSet* withRegion(DtRegion& region, DtInteractionClassInfo& cls, DtInteractionRegionSet* current,
                                     bool passive);
  DtInteractionRegionSet* withoutRegion(DtRegion& region, DtInteractionClassInfo& cls, DtInteractionRegionSet* current,
                                        bool passive);
  // The class's new active or passive set, grown by a subscription: the
  // one it replaces goes, the new one is filed and matched (against the
  // sets received as the class, or, for a class not subscribed with a
  // region before, against those of the class and its unsubscribed
  // subclasses, received as `receivedAs` until now).
  void installGrown(DtInteractionClassInfo& cls, DtInteractionRegionSet* old, DtInteractionRegionSet* next,
                    bool passive, bool hadRegion, DtInteractionClassInfo* receivedAs);
  void subscribeActive(DtInteractionClassInfo& cls, DtRegion& region);
  void subscribePassive(DtInteractionClassInfo& cls, DtRegion& region);
  // The class's new active or passive set: the old one goes (unless it is
  // a default set), the new one is filed and matched.
  void replaceSubSet(DtInteractionClassInfo& cls, DtInteractionRegionSet* next, bool announce);
  void replacePasSet(DtInteractionClassInfo& cls, DtInteractionRegionSet* next);
  // A set emptied, announced as withdrawn (type 1, no regions).
  void withdraw(DtInteractionRegionSet& set);
  // Every region the set names forgets it, and it names none.
  void detachRegions(DtInteractionRegionSet& set);
  bool isDefaultSet(const DtInteractionRegionSet* set) const;
  // Deletes a set (never a default one), first taking it out of every list
  // of pending work.
  void discard(DtInteractionRegionSet* set);
  // The remote publication set goes: unpaired, out of every table.
  void dropRemotePubSet(DtInteractionRegionSet* set);
  // The group of a remote publication set is joined exactly while the set
  // overlaps a set of this federate; the ones whose pairing changed are
  // settled at the end of each operation.
  void touched(DtInteractionRegionSet& pub);
  void settleChannels();
  std::uint32_t fedHandle() const;
  std::uint32_t numClasses() const;
  DtInteractionRegionSet* defaultSet(DtHandleIndex<OwnedSet>& table, std::uint32_t classHandle, std::uint32_t handle);
  // The remote publication sets received as the class whose pairing with
  // `sub` or `pas` may change when `region`, one of theirs, changes.
  std::vector<DtInteractionRegionSet*> pairingCandidates(const DtRegion& region, const DtRegionSetList& received,
                                                         const DtInteractionRegionSet* sub,
                                                         const DtInteractionRegionSet* pas) const;
  void addPendingRef(DtHandleIndex<PendingRefs>& refs, std::uint32_t region, DtInteractionRegionSet* set);
  void resolvePendingRefs(DtHandleIndex<PendingRefs>& refs, DtRegion& region, bool publication);
  // One saved set filed again as it was (its regions found again, or kept
  // by handle with a message).
  void restoreRegionSet(const DtInterRegionSetRecord& record);

  DtRegionSetListByClass localPub_{true};
  DtRegionSetListByClass remotePub_{true};
  DtHandleIndex<ClassSet> localSub_;
  DtHandleIndex<ClassSet> passive_;
  DtHandleIndex<FederateSubs> remoteSub_;
  DtRegionSetListByClass overlapping_{false};
  DtRegionSetListByClass bySubscribedClass_{false};
  DtHandleIndex<OwnedSet> defaultSub_;
  DtHandleIndex<OwnedSet> defaultPas_;
  DtRegionSetHandlePool pubHandles_;
  DtRegionSetHandlePool subHandles_;
  DtInterAddrMaps addrMaps_;
  // The other federates' regions of publication sets: a change of one of
  // this federate's regions is matched against those it may meet and the
  // sets already paired, not against every set of the class.
  DtRegionIndex pubRegions_;
  DtHandleIndex<PendingRefs> pendingPubRefs_;
  DtHandleIndex<PendingRefs> pendingSubRefs_;
  std::vector<DtInteractionRegionSet*> pendingPub_;
  std::vector<DtInteractionRegionSet*> pendingSub_;
  std::vector<DtInteractionRegionSet*> unsettled_;
  DtMsgSubscriptions regionSetHandler_;
};
