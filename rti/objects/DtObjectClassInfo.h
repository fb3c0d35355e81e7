#pragma once
// DtObjectClassInfo: one object class of the FOM. It holds the class's place
// in the class tree and its attributes (inherited ones first, with the base
// class's handles), this federate's publication and subscription of the
// class, which remote federates subscribe which attributes, the relevance
// that decides the registration advisories (handed to a
// DtObjectAdvisorySink), the region bookkeeping of data distribution, the
// class's multicast destination, its message tallies, and its records in a
// federation save.
//
// The FOM class manager creates and owns every record; the object manager
// and the data distribution managers call them, on the federate's thread
// only.

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "RTI.hh"
#include "api/DtAttributeHandleSet.h"
#include "api/DtClassDescription.h"
#include "objects/DtAttrInfo.h"
#include "objects/DtAttrSetTable.h"
#include "objects/DtHandleArray.h"
#include "objects/DtMatchOverlapSets.h"
#include "objects/DtMtallySet.h"
#include "objects/DtNameIndex.h"
#include "util/DtFomTypes.h"
#include "util/DtString.h"

class DtObjectAdvisorySink;
class DtRtiSaveFile;
class DtSavePacket;

class DtObjectClassInfo : public DtClassDescription {
public:
  // What look-ups answer when nothing is filed.
  static const DtAttributeHandleSet theEmptySet;

  // A class under `base` (null for the root class) starts with copies of
  // the base's attributes under the same handles and enters itself in the
  // base's subclasses.
  DtObjectClassInfo(const char* name, DtObjectClassInfo* base, std::uint32_t handle);
  // A deep copy of the class's state, with no base class and no
  // subclasses: the FOM class manager links copies itself.
  DtObjectClassInfo(const DtObjectClassInfo& other);
  DtObjectClassInfo& operator=(const DtObjectClassInfo&) = delete;
  virtual ~DtObjectClassInfo();

  // The class tree.
  virtual const char* name() const { return name_.string(); }
  // The full dotted name ignoring case, or that name without the leading
  // "ObjectRoot." (unless the text itself begins with "objectroot").
  virtual bool isName(const char* text) const;
  virtual std::uint32_t handle() const { return handle_; }
  virtual DtObjectClassInfo* baseClass() const { return baseClass_; }
  virtual void setBaseClass(DtObjectClassInfo* base) { baseClass_ = base; }
  // True for this class's handle and its base classes' handles.
  virtual bool isOfClass(std::uint32_t classHandle) const;
  // Direct subclasses in the order they were made; not owned.
  virtual const std::vector<DtObjectClassInfo*>& subclasses() const { return subclasses_; }
  virtual void addSubclass(DtObjectClassInfo* subclass) { subclasses_.push_back(subclass); }

  // Attributes. addAttr throws RTIinternalError ("two attributes with the
  // same name\n") for a name the class has (inherited names included), and
  // for a 321st attribute, which no attribute handle set could hold.
  virtual DtAttrInfo* addAttr(const char* name, DtTransportType transport, DtOrderType order, std::int32_t space = 0);
  // NameNotFound for an unknown name.
  virtual std::uint32_t attrHandle(const char* name) const;
  // AttributeNotDefined for an unknown handle.
  virtual const char* attrName(RTI::AttributeHandle attribute) const;
  // Best effort, receive order and space 0 for an unknown handle.
  virtual DtTransportType attrTransport(RTI::AttributeHandle attribute) const;
  virtual DtOrderType attrOrder(RTI::AttributeHandle attribute) const;
  virtual std::int32_t attrSpace(RTI::AttributeHandle attribute) const;
  // Null for an unknown (or null) name or handle.
  virtual const DtAttrInfo* attrByName(const char* name) const;
  virtual DtAttrInfo* attrByName(const char* name);
  virtual const DtAttrInfo* attrByHandle(RTI::AttributeHandle attribute) const;
  virtual DtAttrInfo* attrByHandle(RTI::AttributeHandle attribute);
  // The attribute's name, null for an unknown handle: how the sets of the
  // class print their members.
  const char* memberName(RTI::ULong attribute) const override;
  // Attributes 0 to numAttributes() - 1.
  virtual std::span<const std::unique_ptr<DtAttrInfo>> attrs() const;
  virtual std::uint32_t numAttributes() const { return numAttrs_; }
  virtual const DtAttributeHandleSet& allAttrs() const { return allAttrs_; }

  // This federate's declarations. Both throw AttributeNotDefined, before
  // anything changes, for a handle the class does not have.
  virtual void publish(const RTI::AttributeHandleSet& attributes, DtObjectAdvisorySink* sink);
  virtual void unpublish(DtObjectAdvisorySink* sink);
  virtual bool published() const { return published_; }
  virtual const DtAttributeHandleSet& publishedAttrs() const { return publishedAttrs_; }
  virtual void subscribe(const RTI::AttributeHandleSet& attributes, bool passive);
  // Keeps the passive flag as it is.
  virtual void unsubscribe();
  virtual bool subscribed() const { return subscribed_; }
  virtual bool isPassive() const { return passive_; }
  virtual const DtAttributeHandleSet& subscribedAttrs() const { return subscribedAttrs_; }
  // Key 0: the subscription without and with regions together; another key
  // (a region set): the attributes it overlaps with, or the empty set.
  virtual const DtAttributeHandleSet& subscribedAttrs(std::uint32_t regionSet) const;

  // Remote federates' subscriptions, from their subscription messages. The
  // advisories they call for go to the sink.
  virtual void remoteSubscribe(const DtAttributeHandleSet& attributes, std::uint32_t federate,
                               DtObjectAdvisorySink* sink);
  // With a region: region 0 ends the federate's region subscription of the
  // attributes named; the other attributes are left alone.
  virtual void remoteSubscribe(const DtAttributeHandleSet& attributes, std::uint32_t federate, std::uint32_t region,
                               DtObjectAdvisorySink* sink);
  // A passive subscription asks only for the re-registration of what the
  // federate newly receives, here and in every subclass; with `replacement`
  // it also ends the federate's earlier subscription of this class.
  virtual void remotePassiveSubscribe(const DtAttributeHandleSet& attributes, std::uint32_t federate, bool replacement,
                                      DtObjectAdvisorySink* sink);
  virtual void remoteUnsubscribe(std::uint32_t federate, DtObjectAdvisorySink* sink);
  virtual std::uint32_t numRemoteFederatesSubscribed() const { return remoteSubscriptions_.size(); }
  virtual bool remoteFederateIsSubscribed(std::uint32_t federate) const {
    return remoteSubscriptions_.contains(federate);
  }
  // The attributes the federate subscribes without region, or null.
  virtual const DtAttributeHandleSet* remoteSubscription(std::uint32_t federate) const {
    return remoteSubscriptions_.find(federate);
  }
  // Federate -> attributes, in the order they subscribed.
  virtual const DtAttrSetTable& subscribedFederates() const { return remoteSubscriptions_; }
  // The region through which the federate subscribes the attribute, or 0.
  virtual std::uint32_t remoteRegionSubscription(std::uint32_t federate, RTI::AttributeHandle attribute) const;

  // Relevance: attributes that some remote federate subscribes here or in a
  // base class.
  virtual bool relevant() const { return !relevantAttrs_.isEmpty(); }
  virtual bool relevant(RTI::AttributeHandle attribute) const;
  virtual const DtAttributeHandleSet& relevantAttrs() const { return relevantAttrs_; }
  // Registration is advised: some published attribute is relevant.
  bool classRelevant() const { return classRelevant_; }

  // The multicast group of the class (host order); 0 is the default
  // destination. The class takes `address` when its address is `previous`;
  // an inclusive assignment then goes on to every subclass, so the subtree
  // follows except where a class was given another address.
  virtual std::uint32_t destinationAddress() const { return destinationAddress_; }
  virtual void setDestination(std::uint32_t address, bool inclusive, std::uint32_t previous);

  // Data distribution bookkeeping under region-set keys chosen by the data
  // distribution managers.
  virtual void subscribeByRegion(std::uint32_t key, const DtAttributeHandleSet& attributes);
  virtual void unsubscribeByRegion(std::uint32_t key, const DtAttributeHandleSet& attributes);
  virtual const DtAttributeHandleSet* getSubscribeByRegion(std::uint32_t key) const {
    return subscribeByRegion_.find(key);
  }
  virtual const DtAttrSetTable& getSubscribeByRegionList() const { return subscribeByRegion_; }
  virtual std::uint32_t subscribedWithRegions() const { return subscribeByRegion_.size(); }
  virtual void addMatchingPub(std::uint32_t key, const DtAttributeHandleSet& attributes);
  virtual void removeMatchingPub(std::uint32_t key, const DtAttributeHandleSet& attributes);
  virtual void moveToOverlapPub(std::uint32_t key);
  virtual void moveToMatchingPub(std::uint32_t key, const DtAttributeHandleSet& attributes);
  virtual void addOverlapPub(std::uint32_t key, const DtAttributeHandleSet& attributes);
  virtual void addMatchingSub(std::uint32_t key, const DtAttributeHandleSet& attributes);
  virtual void removeMatchingSub(std::uint32_t key, const DtAttributeHandleSet& attributes);
  virtual void moveToOverlapSub(std::uint32_t key);
  virtual void moveToMatchingSub(std::uint32_t key, const DtAttributeHandleSet& attributes);
  virtual void addOverlapSub(std::uint32_t key, const DtAttributeHandleSet& attributes);
  // Key 0: something is subscribed; another key: the region set overlaps.
  virtual bool subscribeOverlaps(std::uint32_t key) const;
  virtual void emptyRegionLists();
  const DtAttrSetTable& matchingPubs() const { return pubs_.matching(); }
  const DtAttrSetTable& overlapPubs() const { return pubs_.overlap(); }
  const DtAttrSetTable& matchingSubs() const { return subs_.matching(); }
  const DtAttrSetTable& overlapSubs() const { return subs_.overlap(); }

  virtual DtMtallySet& tallySet() { return tallies_; }
  virtual const DtMtallySet& tallySet() const { return tallies_; }

  // A federation save: the class record, one record per attribute (with
  // its remote subscribers without region) and an end record. False when a
  // record could not be written.
  virtual bool save(DtRtiSaveFile& file) const;
  // From the class record, which the FOM class manager has read and checked,
  // then the attribute records after it up to the end record. Remote
  // subscriptions with region and the region lists are not saved: they come
  // back empty. False, with a message, when another record, a damaged one or
  // none comes; what was restored before stays.
  virtual bool restore(const DtSavePacket& record, DtRtiSaveFile& file);

protected:
  virtual void throwIfNotDefined(const RTI::AttributeHandleSet& attributes) const;
  virtual void addRemoteSubscription(std::uint32_t federate, RTI::AttributeHandle attribute);
  virtual void addRemoteSubscription(std::uint32_t federate, const DtAttributeHandleSet& attributes);
  virtual void deleteRemoteSubscription(std::uint32_t federate);
  // Recomputes which attributes are relevant, and the class's relevance,
  // after a change by `federate`; then does the same for every subclass.
  // `registerQueued` says the caller queued the class's re-registration
  // already, so that one change announces it once.
  virtual void updateRelevance(std::uint32_t federate, DtObjectAdvisorySink* sink, bool registerQueued = false);
  // The local subscription without and with regions, united.
  virtual const DtAttributeHandleSet& collectSubscribedAttributes();

private:
  bool newlyServed(const DtAttrInfo& attribute, std::uint32_t federate) const;
  void updateClassRelevance(DtObjectAdvisorySink* sink, bool registerWanted);
  void indexAttribute(const DtAttrInfo& attribute);
  void restoreAttribute(const DtSavePacket& record);

  DtString name_;
  std::uint32_t handle_;
  bool subscribed_ = false;
  bool published_ = false;
  bool passive_ = false;
  DtObjectClassInfo* baseClass_;
  std::vector<DtObjectClassInfo*> subclasses_;
  DtAttrSetTable remoteSubscriptions_;  // federate -> attributes it subscribes without region
  DtMtallySet tallies_;
  bool classRelevant_ = false;
  DtHandleArray<DtAttrInfo> attrs_;
  std::uint32_t numAttrs_ = 0;
  // Names of attributes inheritedCount_ .. numAttrs_ - 1; the inherited ones
  // are found through the base class, whose handles they share.
  DtNameIndex ownNames_;
  std::uint32_t inheritedCount_ = 0;
  DtAttributeHandleSet allAttrs_;
  DtAttributeHandleSet subscribedAttrs_;
  DtAttributeHandleSet publishedAttrs_;
  DtAttributeHandleSet relevantAttrs_;
  std::uint32_t destinationAddress_ = 0;
  DtAttrSetTable subscribeByRegion_;
  DtMatchOverlapSets pubs_;  // matching and overlapping publication
  DtMatchOverlapSets subs_;  // matching and overlapping subscription
  DtAttributeHandleSet collectedSubscription_;
};
