#pragma once
// DtObjectDataDistMgr: the object manager of a federate with data
// distribution on (RTI_dataDistMgmt), which DtObjectMgr::create makes
// through the maker data distribution installs. It keeps everything of the
// plain manager and adds what ties object attributes to regions:
// - the federate's publication, subscription and passive region sets, and
//   the publication and subscription sets the other federates announce;
//   sets are canonical: one set per collection of regions, so adding a
//   region to a set finds or makes the set of its regions and that one;
// - the five default sets (setDdmMgr), over the default region, which need
//   no announcement;
// - which local and remote sets overlap (their regions intersect), match
//   (their classes and attributes fit) and do both, for each direction; a
//   remote publication set's channel is joined exactly while it both
//   overlaps and matches a subscription or passive set of this federate;
// - which remote set each attribute of remote objects and remote
//   subscriptions is associated with (DtObjectRegionTables);
// - the queues through which attributes move between sets, drained in a
//   fixed order (unassociate, remove, add) with their messages (kinds 27,
//   28), and the announcements (kinds 27, 29) collected for the next tick;
// - the scope advisories of remote objects and the turn-updates advisories
//   of owned ones under regions.
//
// Region-set handles are the federate handle x 100000 plus a counter from 2
// (0 and 1 are the default sets); a federate that would pass 99999 is
// refused (RTIinternalError) rather than take the next federate's handles.
//
// Made after the join and owned by the federate manager; everything runs on
// the federate's thread.

#include <cstdint>
#include <memory>
#include <vector>

#include "ddm/DtDataDistHalf.h"
#include "ddm/DtObjectRegionTables.h"
#include "ddm/DtPendingAssocQueue.h"
#include "ddm/DtRegionIndex.h"
#include "ddm/DtRegionMatchList.h"
#include "ddm/DtRegionSetList.h"
#include "msg/DtMsgSubscriptions.h"
#include "msg/DtRegionSetMsgs.h"
#include "objects/DtObjectMgr.h"

class DtLocalRegionSet;
class DtObjectRegionSet;
class DtPubRegionSet;
class DtRegion;
class DtRegionEntryList;
class DtRegionEntryListWithAttributes;
class DtRemoteRegionSet;
class DtSubRegionSet;
struct DtObjRegionSetRecord;

class DtObjectDataDistMgr : public DtObjectMgr, public DtDataDistHalf {
public:
  // A new one, as DtObjectMgr::create hands it out (the caller owns it).
  static DtObjectMgr* create(DtConnectionMgr* connectMgr, DtFomClassMgr* fom, DtRIDParameters* params);

  // Registers the handlers of kinds 27, 28 and 29.
  DtObjectDataDistMgr(DtConnectionMgr* connectMgr, DtFomClassMgr* fom, DtRIDParameters* params);
  // The region sets go first (no region keeps one), then the handlers.
  ~DtObjectDataDistMgr() override;

  // Keeps the manager and makes the five default sets over its default
  // region (unless they are there). Nothing is announced.
  void setDdmMgr(DtDataDistMgr* ddm) override;

  // The next region-set handle; the counter moves on.
  virtual std::uint32_t uniqueRegionSetHandle();
  std::uint32_t regionSetCounter() const { return regionSetCounter_; }
  void setRegionSetCounter(std::uint32_t counter) { regionSetCounter_ = counter; }

  // Updates sent on a publication set's channel are taken when the set is
  // 0 (the default route) or overlaps and matches a subscription or passive
  // set of this federate.
  bool acceptObjectChannel(std::uint32_t regionSet) const override;
  // Requests sent from a subscription set are taken when the set is 0 or
  // overlaps a publication set of this federate.
  bool acceptRequestChannel(std::uint32_t regionSet) const override;

  // ---- the services with regions. Every check comes before any change;
  // a region must be one of this federate's (RegionNotKnown).
  // Registration: the published attributes named go to the sets of their
  // regions (an attribute named twice to the set of both), the others to
  // the default set; the name is checked as plain registration checks it.
  RTI::ObjectHandle registerObjectInstanceWithRegion(RTI::ObjectClassHandle theClass, const char* name,
                                                     RTI::AttributeHandle* attributes, RTI::Region** regions,
                                                     RTI::ULong count) override;
  RTI::ObjectHandle registerObjectInstanceWithRegion(RTI::ObjectClassHandle theClass, RTI::AttributeHandle* attributes,
                                                     RTI::Region** regions, RTI::ULong count) override;
  // The region carries the object's updates of the attributes (and, unless
  // keepOthers, of no other attribute).
  void associateRegionForUpdates(RTI::Region& region, RTI::ObjectHandle object,
                                 const RTI::AttributeHandleSet& attributes, int keepOthers) override;
  // InvalidRegionContext when the region carries none of the object's.
  void unassociateRegionForUpdates(RTI::Region& region, RTI::ObjectHandle object) override;
  // The region ends up subscribing exactly these attributes of the class,
  // actively or passively (never both).
  void subscribeObjectClassAttributesWithRegion(RTI::ObjectClassHandle theClass, RTI::Region& region,
                                                const RTI::AttributeHandleSet& attributes,
                                                RTI::Boolean active) override;
  // ObjectClassNotSubscribed when no attribute is subscribed with it.
  void unsubscribeObjectClassWithRegion(RTI::ObjectClassHandle theClass, RTI::Region& region) override;
  void subscribeObjectClassAttributesWithRegionActive(DtObjectClassInfo& cls, DtRegion& region,
                                                      const DtAttributeHandleSet& attributes);
  void subscribeObjectClassAttributesWithRegionPassive(DtObjectClassInfo& cls, DtRegion& region,
                                                       const DtAttributeHandleSet& attributes);
  // The object leaves every region table before the plain manager's
  // handling.
  void localDeleteObj(RTI::ObjectHandle object) override;
  void processDelete(const DtDeleteMsg& msg) override;

  // ---- announced again to a federate that became interested: the
  // object's sets (with their regions) and associations, the class's
  // subscription sets and associations; sent at the next drain.
  void collectPendingRegisterWithRegion(DtRtiObject& object);
  void collectPendingSubscribeWithRegion(DtObjectClassInfo& cls);

  // ---- the sets; null when absent (the defaults: before setDdmMgr)
  DtPubRegionSet* getPubRegionSet(std::uint32_t handle) const;
  DtSubRegionSet* getSubRegionSet(std::uint32_t handle) const;
  DtSubRegionSet* getPasRegionSet(std::uint32_t handle) const;
  DtRemoteRegionSet* getRemotePubRegionSet(std::uint32_t handle) const;
  DtRemoteRegionSet* getRemoteSubRegionSet(std::uint32_t handle) const;
  DtPubRegionSet* defaultPubRegionSet() const { return defaultPub_.get(); }
  DtSubRegionSet* defaultSubRegionSet() const { return defaultSub_.get(); }
  DtSubRegionSet* defaultPasRegionSet() const { return defaultPas_.get(); }
  DtRemoteRegionSet* defaultRemotePubRegionSet() const { return defaultRemotePub_.get(); }
  DtRemoteRegionSet* defaultRemoteSubRegionSet() const { return defaultRemoteSub_.get(); }
  const DtRegionSetList& pubRegionSets() const { return pubRegionSets_; }
  const DtRegionSetList& subRegionSets() const { return subRegionSets_; }
  const DtRegionSetList& pasRegionSets() const { return pasRegionSets_; }
  const DtRegionSetList& remotePubRegionSets() const { return remotePubRegionSets_; }
  const DtRegionSetList& remoteSubRegionSets() const { return remoteSubRegionSets_; }

  // ---- canonical sets. add: the set of `set`'s regions and the region
  // (found, else made and announced); remove: the set without it (null
  // when there is none; see the .cpp for the default sets these give).
  virtual DtPubRegionSet* addPubRegion(DtRegion& region, DtPubRegionSet* set);
  virtual DtPubRegionSet* removePubRegion(DtRegion& region, DtPubRegionSet* set);
  virtual DtSubRegionSet* addSubRegion(DtRegion& region, DtSubRegionSet* set);
  virtual DtSubRegionSet* removeSubRegion(DtRegion& region, DtSubRegionSet* set);
  virtual DtSubRegionSet* addPasRegion(DtRegion& region, DtSubRegionSet* set);
  virtual DtSubRegionSet* removePasRegion(DtRegion& region, DtSubRegionSet* set);
  // A publication set of these regions at once (registration with regions).
  virtual DtPubRegionSet* createPubRegionSet(const DtRegionEntryList& regions);

  // ---- the relations, per side
  const DtRegionMatchList& subMatches() const { return subMatches_; }
  const DtRegionMatchList& subOverlaps() const { return subOverlaps_; }
  const DtRegionMatchList& subMatchOverlaps() const { return subMatchOverlaps_; }
  const DtRegionMatchList& pubMatches() const { return pubMatches_; }
  const DtRegionMatchList& pubOverlaps() const { return pubOverlaps_; }
  const DtRegionMatchList& pubMatchOverlaps() const { return pubMatchOverlaps_; }
  const DtObjectRegionTables& regionTables() const { return tables_; }

  // ---- the pending queues: attributes that arrive at, leave (for another
  // set) or leave every region of a set; each process drains its three in
  // the order unassociate, remove, add.
  virtual void addPendingAssocPubRegAdd(DtObjectRegionSet& set, DtRtiObject& object, RTI::AttributeHandle attribute);
  virtual void addPendingAssocPubRegRemove(DtObjectRegionSet& set, DtRtiObject& object, RTI::AttributeHandle attribute);
  virtual void addPendingUnassocPubReg(DtObjectRegionSet& set, DtRtiObject& object, RTI::AttributeHandle attribute);
  virtual void addPendingAssocSubRegAdd(DtObjectRegionSet& set, DtObjectClassInfo& cls, RTI::AttributeHandle attribute);
  virtual void addPendingAssocSubRegRemove(DtObjectRegionSet& set, DtObjectClassInfo& cls,
                                           RTI::AttributeHandle attribute);
  virtual void addPendingUnassocSubReg(DtObjectRegionSet& set, DtObjectClassInfo& cls, RTI::AttributeHandle attribute);
  virtual void addPendingAssocPasRegAdd(DtObjectRegionSet& set, DtObjectClassInfo& cls, RTI::AttributeHandle attribute);
  virtual void addPendingAssocPasRegRemove(DtObjectRegionSet& set, DtObjectClassInfo& cls,
                                           RTI::AttributeHandle attribute);
  virtual void addPendingUnassocPasReg(DtObjectRegionSet& set, DtObjectClassInfo& cls, RTI::AttributeHandle attribute);
  virtual void processPendingAssocPubReg();
  virtual void processPendingSubRegAssoc();
  virtual void processPendingPasRegAssoc();

  // ---- announcements collected for the next drain (tick): a set once
  // (never a default one); an association per object (class) and set, the
  // last attributes winning.
  virtual void collectPendingPubRegSet(DtObjectRegionSet* set);
  virtual void collectPendingSubRegSet(DtObjectRegionSet* set);
  virtual void collectPendingAssocPubReg(DtObjectRegionSet& set, DtRtiObject& object,
                                         const DtAttributeHandleSet& attributes);
  virtual void collectPendingAssocSubReg(DtObjectRegionSet& set, DtObjectClassInfo& cls,
                                         const DtAttributeHandleSet& attributes);
  virtual void processCollectedPubRegSet();
  virtual void processCollectedSubRegSet();
  virtual void processCollectedAssocPubReg();
  virtual void processCollectedAssocSubReg();
  // The plain manager's tick, then whatever was collected.
  void tick() override;

  // ---- messages sent (on the transport of the RTI's own messages)
  virtual void sendRegionSetMsg(DtObjRegSetType type, const DtRegionSet& set);
  virtual void sendAssocPublishRegionMsg(std::uint32_t regionSet, std::uint32_t object, const char* name,
                                         std::uint32_t classHandle, bool remove,
                                         const DtAttributeHandleSet& attributes);
  virtual void sendAssocSubscribeRegionMsg(std::uint32_t regionSet, std::uint32_t classHandle,
                                           const DtAttributeHandleSet& attributes);

  // ---- remote objects
  // A remote object leaves this federate: its associations go, and the
  // channels that no longer carry anything for it are left.
  virtual void removeObject(DtRtiObject& object);
  // An object the manager does not know, carried by a remote publication
  // set, is discovered (as a received registration would).
  virtual DtRtiObject* discoverFromRegionSet(std::uint32_t object, std::uint32_t classHandle, const char* name,
                                             const DtAttributeHandleSet& attributes, std::uint32_t regionSet);

  // Both forms stay callable through this class.
  using DtObjectMgr::deleteObj;

  // Another federate resigned: the plain manager's handling, then its
  // remote subscription associations go. The federate's own is ignored.
  void processResign(const DtResignMsg& msg) override;

  // ---- scope and relevance advisories under regions
  // The default region's scope of a remote object whose default
  // association changed for `attributes`.
  virtual void evaluateScopeUpdates(DtRtiObject& object, const DtAttributeHandleSet& attributes, bool advise);
  // The attributes go out of scope without an advisory.
  virtual void evaluateOutOfScopeUpdates(DtRtiObject& object, const DtAttributeHandleSet& attributes);
  // Another federate subscribes the class's attributes through the set (or
  // drops a set's subscription): the owned objects it discovered with the
  // class follow, with turn-updates advisories (removals collected until
  // processRemoteUnsubscribeRegion).
  virtual void remoteSubscribeRegion(std::uint32_t classHandle, const DtAttributeHandleSet& attributes,
                                     std::uint32_t federate, std::uint32_t regionSet);
  virtual void removeRemoteSubscribeRegion(std::uint32_t classHandle, std::uint32_t federate, std::uint32_t regionSet,
                                           const DtAttributeHandleSet& attributes);
  virtual void processRemoteUnsubscribeRegion();
  // A remote subscription set's regions changed: the owned objects its
  // federate discovered are tested again.
  virtual void processRemoteScopeChanges(DtRemoteRegionSet& set);
  // The owner's side of the region subscriptions made before its object
  // existed: the updates they turn on.
  virtual void collectRemoteRegionSubscriptions(DtRtiObject& object);

  // Another federate's region is about to go (deleted, or its federate
  // left): the remote sets over it go first, with their relations, table
  // entries and channels.
  void processDeleteRegion(DtRegion& region) override;

  // Every region set goes, with the relations, tables, queues and
  // collections (the destructor, and a restore before it reads).
  void destroyRegionLists() override;

  // ---- update requests (DtObjectDataDistMgrRequest.cpp)
  // A class-wide request sent from the subscription set of the region
  // (found, else made and announced). ObjectClassNotDefined, then per
  // attribute AttributeNotDefined or RegionNotKnown (its routing space is
  // not the region's, unless the region's is 0), then RegionNotKnown for a
  // region this federate does not have; RTIinternalError without a set.
  void requestClassAttributeValueUpdateWithRegion(RTI::ObjectClassHandle theClass,
                                                  const RTI::AttributeHandleSet& attributes,
                                                  const RTI::Region& region) override;
  // Taken only from the default route or a subscription set that one of
  // this federate's publication sets overlaps; a class-wide request from a
  // known subscription set is answered by set (below).
  void processRequest(const DtRequestMsg& msg) override;
  // The federate is asked for the requested attributes the object owns
  // that have no publication set or whose set overlaps the requesting set;
  // not at all when none remains.
  using DtObjectMgr::provideAttrValueUpdate;
  virtual void provideAttrValueUpdate(const DtRtiObject* object, const RTI::AttributeHandleSet& attributes,
                                      const DtRemoteRegionSet& requester);

  // ---- region changes (DtObjectDataDistMgrRegions.cpp)
  // One of this federate's regions moved: its sets' overlaps are evaluated
  // again (channels, discovery, scope).
  void notifyAboutRegionModification(DtRegion& region) override;
  // Another federate's region came or moved: its sets take it (when new)
  // and their overlaps are evaluated again (channels, discovery, scope,
  // turn-updates advisories).
  void processNotifyRegion(DtRegion& region, bool isNew) override;
  // One of this federate's regions is about to be deleted: every set of it
  // goes. The passive subscriptions through it move to the passive set of
  // the set's other regions (none when none remains), leaving the channels
  // only they needed.
  void deleteRegion(DtRegion& region) override;

  // ---- a federation save: the plain manager's records, then one record
  // per region set and the end record. restore reads them into new sets
  // (and new default sets) once every record is whole and names classes
  // and attributes the model and the restored objects have; it fails, with
  // a message, at the first that is not. A set handle given twice is
  // reported and the second passed over.
  bool save(DtRtiSaveFile& file) const override;
  bool restore(DtRtiSaveFile& file) override;

  // ---- the index of the remote sets' regions (DtObjectDataDistMgrIndex.cpp)
  // Off: a local set whose regions change is tested against every remote
  // set, as without the index (the tests compare the two; on by default).
  void setOverlapIndexUsed(bool used) { overlapIndexUsed_ = used; }

protected:
  // The remote set takes the region (the bare handle while the region is
  // not known here), the region lists the set, and the index files the
  // region.
  void takeRemoteRegion(DtRemoteRegionSet& set, std::uint32_t handle, DtRegion* region, bool publication);
  // The handles of the members of `others` whose overlap with `set` may
  // change now that `changed` moved (null: any region of the set), in the
  // order `others` walks them. For a local set and a remote table: those it
  // overlaps and those holding a region the index finds near one of the
  // regions concerned; otherwise every member.
  std::vector<std::uint32_t> overlapCandidates(const DtRegionSetList& others, const DtObjectRegionSet& set,
                                               const DtRegion* changed, bool setIsLocal) const;
  // The handles of the sets `set` matches whose objects' scope may change
  // with the overlaps of those `near` (overlapCandidates), in the order of
  // its match list; every set it matches without the index.
  std::vector<std::uint32_t> matchedAmong(const DtObjectRegionSet& set, const std::vector<std::uint32_t>& near) const;
  // Begins or ends the overlaps of `set` with the members of `others` that
  // `changed` (null: any region of the set) may have made or broken.
  void reevaluateOverlaps(const DtRegionSetList& others, DtRegionMatchList& overlaps, DtRegionMatchList& matchOverlaps,
                          DtObjectRegionSet& set, const DtRegion* changed, bool setIsLocal, bool discover, bool join);

  // ---- a local region's deletion (DtObjectDataDistMgrRegions.cpp)
  virtual void movePassiveSubscriptions(DtRegion& region, DtSubRegionSet& passive);
  // The set leaves the table (which deletes it), the relation lists and
  // whatever was collected; the channels it alone carried are left.
  void destroyLocalSet(DtRegionSetList& table, DtRegionMatchList& matches, DtRegionMatchList& overlaps,
                       DtRegionMatchList& matchOverlaps, DtLocalRegionSet& set);

  // ---- restore's steps (DtObjectDataDistMgrSave.cpp)
  bool knowsRecord(const DtObjRegionSetRecord& record) const;
  void restoreRegionSet(const DtObjRegionSetRecord& record);
  void restoreLocalRegSet(const DtObjRegionSetRecord& record, DtLocalRegionSet& set, bool isDefault);
  void restoreRemoteRegSet(const DtObjRegionSetRecord& record, DtRemoteRegionSet& set, bool isDefault);

  // ---- received (kinds 27-29; this federate's own, which come back, are
  // not another's and are ignored)
  virtual void processRegionSet(const DtObjRegSetMsg& msg);
  virtual void processPubRegionSet(const DtObjRegSetMsg& msg);
  virtual void processSubRegionSet(const DtObjRegSetMsg& msg);
  virtual void processAssocPubReg(const DtAssocPubRegMsg& msg);
  virtual void processAssocSubReg(const DtAssocSubRegMsg& msg);
  // The workers: the federate associated (or, with remove, released) the
  // object's attributes with the set; the federate moved its subscription
  // of the class's attributes to the set (0: back to the default).
  virtual void processAssocPubReg(std::uint32_t federate, DtRemoteRegionSet* set, std::uint32_t object,
                                  const char* name, std::uint32_t classHandle, const DtAttributeHandleSet& attributes,
                                  bool remove);
  virtual void processAssocSubReg(DtRemoteRegionSet* set, DtObjectClassInfo* cls,
                                  const DtAttributeHandleSet& attributes, std::uint32_t federate);

  // ---- the set a region makes of another (add) or leaves of it
  virtual DtPubRegionSet* createPubRegionSet(DtRegion& region, DtPubRegionSet* from, bool add);
  virtual DtSubRegionSet* createSubRegionSet(DtRegion& region, DtSubRegionSet* from, bool add);
  virtual DtSubRegionSet* createPasRegionSet(DtRegion& region, DtSubRegionSet* from, bool add);

  // ---- matching; `setIsLocal` says which side `set` is
  virtual void evaluateRegionSetOverlap(const DtRegionSetList& others, DtRegionMatchList& overlaps,
                                        DtRegionMatchList& matchOverlaps, DtObjectRegionSet& set, bool setIsLocal,
                                        bool join);
  virtual void evaluateRegionOverlap(const DtRegionSetList& others, DtRegionMatchList& overlaps,
                                     DtRegionMatchList& matchOverlaps, DtObjectRegionSet& set, DtRegion& region,
                                     bool setIsLocal, bool discover, bool join);
  virtual void evaluateMatchingAfterAdd(const DtRegionSetList& others, DtRegionMatchList& matches,
                                        DtRegionMatchList& matchOverlaps, DtObjectRegionSet& set,
                                        DtObjectClassInfo* cls, const DtAttributeHandleSet& attributes, bool setIsLocal,
                                        bool join);
  virtual void evalMatchAfterLocalRemove(DtRegionMatchList& matches, DtRegionMatchList& matchOverlaps,
                                         DtObjectRegionSet& localSet, DtObjectClassInfo& cls,
                                         const DtAttributeHandleSet& attributes, bool drop);
  virtual void evalMatchAfterRemoteRemove(DtRegionMatchList& matches, DtRegionMatchList& matchOverlaps,
                                          DtObjectRegionSet& remoteSet, DtObjectClassInfo& cls,
                                          const DtAttributeHandleSet& attributes);
  virtual void evaluateRemotePubMatchingRemove(DtRegionMatchList& matches, DtRegionMatchList& matchOverlaps,
                                               DtRemoteRegionSet* newSet, std::uint32_t object, DtObjectClassInfo* cls,
                                               bool removeAssociation, const DtAttributeHandleSet& attributes);
  virtual void evaluateRemoteSubMatchingRemove(DtRegionMatchList& matches, DtRegionMatchList& matchOverlaps,
                                               std::uint32_t federate, DtRemoteRegionSet* newSet,
                                               DtObjectClassInfo* cls, const DtAttributeHandleSet& attributes);

  // ---- registration and association with regions
  virtual RTI::ObjectHandle registerObjectInstanceWithRegion(RTI::ObjectClassHandle theClass, RTI::ObjectHandle object,
                                                             const char* name, RTI::AttributeHandle* attributes,
                                                             RTI::Region** regions, RTI::ULong count);
  // The published attributes grouped by the regions named with them, in
  // the order the groups form; the others in `withoutRegion`.
  virtual void collectRegionLists(DtRtiObject& object, const RTI::AttributeHandle* attributes,
                                  RTI::Region* const* regions, RTI::ULong count,
                                  std::vector<std::unique_ptr<DtRegionEntryListWithAttributes>>& lists,
                                  DtAttributeHandleSet& withoutRegion);
  // The list of `from`'s regions and the region (found, else made).
  virtual DtRegionEntryListWithAttributes* getRegionList(
      std::vector<std::unique_ptr<DtRegionEntryListWithAttributes>>& lists, const DtRegionEntryListWithAttributes* from,
      DtRegion& region);
  virtual void registerAssociateRegionForUpdates(const DtRegionEntryListWithAttributes& list, DtRtiObject& object);
  virtual void associateRegionForUpdates(DtRegion& region, DtRtiObject& object, const DtAttributeHandleSet& attributes,
                                         bool keepOthers);
  virtual DtAttributeHandleSet pubAttributesToRemove(const DtRegion& region, const DtRtiObject& object,
                                                     const DtAttributeHandleSet& attributes) const;
  virtual void unassociateRegionForUpdates(DtRegion& region, DtRtiObject& object,
                                           const DtAttributeHandleSet& attributes);
  virtual DtAttributeHandleSet subAttributesToRemove(const DtRegion& region, const DtObjectClassInfo& cls,
                                                     const DtAttributeHandleSet& attributes) const;
  virtual void unsubscribeObjectClassWithRegion(DtObjectClassInfo& cls, DtRegion& region,
                                                const DtAttributeHandleSet& attributes);

  // ---- the plain manager's hooks
  // A registration is announced by its associations with the default set.
  void sendRegister(DtRtiObject* object) override;
  // Regions, then sets, then associations, all of the object's.
  void resendRegister(DtRtiObject* object) override;
  void sendPendingRegister() override;
  // The class or its nearest base class whose subscription overlaps the
  // set (0: is subscribed at all).
  DtObjectClassInfo* firstSubscribedClass(DtObjectClassInfo* cls, std::uint32_t regionSet) override;
  // The reflected values carry the bounding region of the sender's set.
  void calculateRegionSet(std::uint32_t regionSet, const RTI::AttributeHandleValuePairSet& values) override;
  void acquireAssociateRegionForUpdates(RTI::ObjectHandle object, const RTI::AttributeHandleSet& attributes) override;
  // keepAnnounced: the attributes stay announced (their new owner
  // announces them again).
  void unassociateRegionForDivested(DtRtiObject& object, const RTI::AttributeHandleSet& attributes,
                                    bool keepAnnounced) override;
  void checkForRegionalSubscribe(DtObjectClassInfo& cls) override;

  void setDiscoveredClass(DtRtiObject* object, std::uint32_t federate, RTI::ObjectClassHandle theClass) override;
  // A record about to go leaves every table of remote sets first, however
  // it goes (an orphan of a resigned federate too).
  void deleteObj(DtRtiObject* object) override;
  // An owned object's associations end: its attributes leave their
  // publication sets.
  void removeObjAssociations(DtRtiObject& object) override;

  DtObjectRegionTables& tables() { return tables_; }
  // The class the object's owner registered it as (remote sets keep it
  // under that one); the known class when that is not known.
  static DtObjectClassInfo* publishedClass(const DtRtiObject& object);
  // The federate ambassador when the attribute scope switch is on.
  RTI::FederateAmbassador* scopeAmb() const;

private:
  struct CollectedAssocs {
    std::uint32_t handle;  // the object or the class
    DtPendingAssocQueue bySet;
  };
  struct Snapshot {
    std::uint32_t handle;  // the object
    DtAttributeHandleSet updatesOn;
  };

  // The region as this federate holds it, or RegionNotKnown (a stale or
  // foreign reference would leave sets pointing at nothing).
  DtRegion& ownRegion(const RTI::Region* region) const;
  // The publication set of the object's attribute (null: none).
  static DtPubRegionSet* pubSet(const DtRtiObject& object, RTI::AttributeHandle attribute);
  // The collected sets' regions, the sets, then the associations go out.
  void sendCollectedRegisters();
  // The object's attributes leave the sets of this federate.
  void leaveLocalSets(DtRtiObject& object);

  static void receiveAssocPubReg(const DtAssocPubRegMsg& msg, void* mgr);
  static void receiveAssocSubReg(const DtAssocSubRegMsg& msg, void* mgr);
  void makeDefaultSets(DtRegion& defaultRegion);
  // A remote set from its announcement, its known regions bound (and told
  // of it), filed in the table.
  DtRemoteRegionSet* takeRemoteSet(const DtObjRegSetMsg& msg, DtRegionSetList& table, bool publication);
  // Files a new local set: handle, federate, the table.
  template <class Set>
  Set* newLocalSet(DtRegionSetList& table);
  // The pair (local, remote) as `set` and a member of the other side form it.
  static void formPair(DtObjectRegionSet& set, DtObjectRegionSet& member, bool setIsLocal, DtLocalRegionSet*& local,
                       DtObjectRegionSet*& remote);
  // The pair's overlap began or ended.
  void overlapBegan(DtLocalRegionSet& local, DtObjectRegionSet& remote, DtRegionMatchList& overlaps,
                    DtRegionMatchList& matchOverlaps, bool discover, bool join);
  void overlapEnded(DtLocalRegionSet& local, DtObjectRegionSet& remote, DtRegionMatchList& overlaps,
                    DtRegionMatchList& matchOverlaps, bool join);
  void dropIfNoLongerAccepted(bool wasAccepted, const DtObjectRegionSet& remote);
  // The remote sets of the list that the table holds go (see
  // processDeleteRegion).
  void dropRemoteSets(const DtRegionSetList& sets, DtRegionSetList& table, DtRegionMatchList& matches,
                      DtRegionMatchList& overlaps, DtRegionMatchList& matchOverlaps, bool publication);
  void clearQueues();

  DtMsgSubscriptions handlers_;  // kinds 27-29

protected:
  std::unique_ptr<DtPubRegionSet> defaultPub_;
  std::unique_ptr<DtSubRegionSet> defaultSub_;
  std::unique_ptr<DtSubRegionSet> defaultPas_;
  std::unique_ptr<DtRemoteRegionSet> defaultRemotePub_;
  std::unique_ptr<DtRemoteRegionSet> defaultRemoteSub_;
  // The tables own their sets (the defaults excepted, which are taken out
  // before the tables are emptied).
  DtRegionSetList pubRegionSets_{true};
  DtRegionSetList remotePubRegionSets_{true};
  DtRegionMatchList subMatches_;
  DtRegionMatchList subOverlaps_;
  DtRegionMatchList subMatchOverlaps_;
  DtRegionSetList subRegionSets_{true};
  DtRegionSetList pasRegionSets_{true};
  DtRegionSetList remoteSubRegionSets_{true};
  DtRegionMatchList pubMatches_;
  DtRegionMatchList pubOverlaps_;
  DtRegionMatchList pubMatchOverlaps_;
  std::uint32_t regionSetCounter_ = 2;
  DtPendingAssocQueue pendingAssocPubRegAdd_;
  DtPendingAssocQueue pendingAssocPubRegRemove_;
  DtPendingAssocQueue pendingUnassocPubReg_;
  DtPendingAssocQueue pendingAssocSubRegAdd_;
  DtPendingAssocQueue pendingAssocSubRegRemove_;
  DtPendingAssocQueue pendingUnassocSubReg_;
  DtPendingAssocQueue pendingAssocPasRegAdd_;
  DtPendingAssocQueue pendingAssocPasRegRemove_;
  DtPendingAssocQueue pendingUnassocPasReg_;
  DtHandleIndex<Snapshot> pendingRemoteUnsubscribe_;
  DtObjectRegionTables tables_;
  std::vector<DtObjectRegionSet*> collectedPubRegionSets_;
  std::vector<DtObjectRegionSet*> collectedSubRegionSets_;
  DtHandleIndex<CollectedAssocs> collectedAssocPub_;
  DtHandleIndex<CollectedAssocs> collectedAssocSub_;
  // While the pending registrations are collected, one drain sends them.
  bool collectingRegisters_ = false;
  // Every region a remote publication (subscription) set took, by its
  // extents (a region moved is filed again, one deleted taken out), so that
  // a local set's region change tests only the remote sets near it. Apart,
  // so that one wide region of one side never makes the other side's
  // search walk everything.
  DtRegionIndex remotePubRegions_;
  DtRegionIndex remoteSubRegions_;
  bool overlapIndexUsed_ = true;
};
