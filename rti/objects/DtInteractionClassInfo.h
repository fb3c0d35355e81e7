#pragma once
// DtInteractionClassInfo: one interaction class of the FOM. It holds the
// class's place in the class tree and its parameters (inherited ones first,
// with the base class's handles), how its interactions travel (transport,
// order, routing space), this federate's publication and subscription, the
// remote federates that subscribe it without and with a region, the
// relevance that decides the interaction advisories (handed to a
// DtInteractionAdvisorySink), its multicast destination, its region sets,
// its message tallies and its record in a federation save.
//
// The FOM class manager creates and owns every record; the interaction
// manager and the interaction data distribution manager call them, on the
// federate's thread only.

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "RTI.hh"
#include "api/DtClassDescription.h"
#include "objects/DtHandleArray.h"
#include "objects/DtHandleList.h"
#include "objects/DtHandleTable.h"
#include "objects/DtMtallySet.h"
#include "objects/DtNameIndex.h"
#include "objects/DtParamInfo.h"
#include "util/DtFomTypes.h"
#include "util/DtString.h"

class DtInteractionAdvisorySink;
class DtInteractionRegionSet;
class DtRtiSaveFile;
class DtSavePacket;

class DtInteractionClassInfo : public DtClassDescription {
public:
  // Values of subscribed().
  static constexpr std::uint32_t notSubscribed = 0;
  static constexpr std::uint32_t subscribedActively = 1;
  static constexpr std::uint32_t subscribedPassively = 2;

  // A class under `base` (null for the root class) starts with the base's
  // parameters under the same handles and enters itself in the base's
  // subclasses. Transport, order and space are not inherited: the FOM class
  // manager sets them.
  DtInteractionClassInfo(const char* name, DtInteractionClassInfo* base, std::uint32_t handle);
  // A copy of the class's state with no base class, no subclasses, no region
  // sets and zero tallies: the FOM class manager links copies itself.
  DtInteractionClassInfo(const DtInteractionClassInfo& other);
  DtInteractionClassInfo& operator=(const DtInteractionClassInfo&) = delete;
  virtual ~DtInteractionClassInfo();

  // RTIinternalError ("two parameters with the same name\n") for a name the
  // class has, inherited names included; the class is left as it was.
  virtual DtParamInfo* addParam(const char* name);

  // The class tree.
  virtual void addSubclass(DtInteractionClassInfo* subclass) { subclasses_.push_back(subclass); }
  virtual const char* name() const { return name_.string(); }
  // The full dotted name ignoring case, or that name without the leading
  // "InteractionRoot." (unless the text itself begins with
  // "interactionroot").
  virtual bool isName(const char* text) const;
  virtual std::uint32_t handle() const { return handle_; }
  virtual DtInteractionClassInfo* baseClass() const { return baseClass_; }
  virtual void setBaseClass(DtInteractionClassInfo* base) { baseClass_ = base; }
  virtual const std::vector<DtInteractionClassInfo*>& subclasses() const { return subclasses_; }
  // True for this class's handle and its base classes' handles.
  virtual bool isOfClass(std::uint32_t classHandle) const;

  // Parameters: NameNotFound and InteractionParameterNotDefined for unknown
  // names and handles; the pointer forms give null.
  virtual std::uint32_t paramHandle(const char* name) const;
  virtual const char* paramName(RTI::ParameterHandle parameter) const;
  virtual const DtParamInfo* paramByName(const char* name) const;
  virtual DtParamInfo* paramByName(const char* name);
  virtual const DtParamInfo* paramByHandle(RTI::ParameterHandle parameter) const;
  virtual DtParamInfo* paramByHandle(RTI::ParameterHandle parameter);
  // The parameter's name, null for an unknown handle: how the sets of the
  // class print their members.
  const char* memberName(RTI::ULong parameter) const override;
  virtual std::uint32_t numParameters() const { return numParams_; }
  // Parameters 0 to numParameters() - 1.
  virtual std::span<const std::unique_ptr<DtParamInfo>> params() const;

  // This federate's declarations. Publishing a class that is relevant
  // advises the federate to turn its interactions on (through the sink);
  // publishing it again does nothing.
  virtual void publish(DtInteractionAdvisorySink* sink);
  virtual void unpublish() { published_ = false; }
  virtual bool published() const { return published_; }
  virtual void subscribe(bool active) { subscribed_ = active ? subscribedActively : subscribedPassively; }
  virtual void unsubscribe() { subscribed_ = notSubscribed; }
  // notSubscribed, subscribedActively or subscribedPassively.
  virtual std::uint32_t subscribed() const { return subscribed_; }

  // Remote federates' subscriptions, from their subscription messages;
  // repeating one changes nothing. The first subscriber, and the last one
  // to leave, change the class's relevance.
  virtual void remoteSubscribe(std::uint32_t federate, DtInteractionAdvisorySink* sink);
  virtual void remoteUnsubscribe(std::uint32_t federate, DtInteractionAdvisorySink* sink);
  // With a region: one region per federate, a new one replacing the old.
  virtual void remoteSubscribe(std::uint32_t federate, std::uint32_t region, DtInteractionAdvisorySink* sink);
  virtual void remoteUnsubscribeRegion(std::uint32_t federate, std::uint32_t region, DtInteractionAdvisorySink* sink);
  virtual bool remoteFederateIsSubscribed(std::uint32_t federate) const { return subscribers_.contains(federate); }
  // Without and with region.
  virtual std::uint32_t numRemoteFederatesSubscribed() const { return subscribers_.size() + regionSubscribers_.size(); }
  // Without region, in the order they subscribed.
  virtual const DtHandleList& subscribedFederates() const { return subscribers_; }
  virtual std::uint32_t numRemoteFederatesSubscribedWithRegion() const { return regionSubscribers_.size(); }
  virtual bool remoteFederateIsSubscribedWithRegion(std::uint32_t federate) const {
    return regionSubscribers_.contains(federate);
  }
  // The federate's region is `region`; no region counts as region 0.
  virtual bool remoteFederateIsSubscribedWithRegion(std::uint32_t federate, std::uint32_t region) const;

  // Some remote federate subscribes this class or a base class, or the
  // relevance was overridden (for good).
  virtual bool relevant() const { return relevanceOverride_ || relevantFlag_; }
  virtual void overrideRelevance() { relevanceOverride_ = true; }

  virtual DtTransportType transport() const { return transport_; }
  virtual void setTransport(DtTransportType transport) { transport_ = transport; }
  virtual DtOrderType order() const { return order_; }
  virtual void setOrder(DtOrderType order) { order_ = order; }
  virtual std::int32_t spaceHandle() const { return spaceHandle_; }
  virtual void setSpaceHandle(std::int32_t space) { spaceHandle_ = space; }

  // The multicast group of the class (host order), 0 for the default
  // destination; assigned as for object classes.
  virtual std::uint32_t destinationAddress() const { return destinationAddress_; }
  virtual void setDestination(std::uint32_t address, bool inclusive, std::uint32_t previous);

  // The local subscription's region sets; not owned, null when none.
  virtual DtInteractionRegionSet* subRegionSet() const { return subRegionSet_; }
  virtual void setSubRegionSet(DtInteractionRegionSet* set) { subRegionSet_ = set; }
  virtual DtInteractionRegionSet* pasRegionSet() const { return pasRegionSet_; }
  virtual void setPasRegionSet(DtInteractionRegionSet* set) { pasRegionSet_ = set; }
  virtual bool subscribedWithRegion() const { return subRegionSet_ || pasRegionSet_; }

  virtual DtMtallySet& tallySet() { return tallies_; }
  virtual const DtMtallySet& tallySet() const { return tallies_; }

  // A federation save: one record with the declarations, the relevance,
  // the tallies and the remote subscribers without region. False when it
  // could not be written.
  virtual bool save(DtRtiSaveFile& file) const;
  // From that record, which the FOM class manager has read and checked.
  // Subscribers with region, region sets, the relevance override, space and
  // destination are not saved; the subscribers with region come back empty.
  virtual bool restore(const DtSavePacket& record);

protected:
  virtual void addRemoteSubscription(std::uint32_t federate, std::uint32_t region) {
    regionSubscribers_.put(federate, region);
  }
  virtual void addRemoteSubscription(std::uint32_t federate) { subscribers_.add(federate); }
  virtual void deleteRemoteSubscription(std::uint32_t federate, std::uint32_t) { regionSubscribers_.remove(federate); }
  virtual void deleteRemoteSubscription(std::uint32_t federate) { subscribers_.remove(federate); }
  // Recomputes the relevance of the class and then of every subclass,
  // queueing a start or stop advisory where a published class changes.
  virtual void updateRelevance(DtInteractionAdvisorySink* sink);

private:
  void indexParameter(const DtParamInfo& parameter);
  void traceCount() const;

  DtString name_;
  std::uint32_t handle_;
  std::int32_t spaceHandle_ = 0;
  std::uint32_t subscribed_ = notSubscribed;
  bool published_ = false;
  DtInteractionClassInfo* baseClass_;
  std::vector<DtInteractionClassInfo*> subclasses_;
  DtTransportType transport_ = DtBestEffort;
  bool relevanceOverride_ = false;
  DtMtallySet tallies_;
  DtOrderType order_ = DtReceiveOrder;
  DtHandleArray<DtParamInfo> params_;
  std::uint32_t numParams_ = 0;
  // Names of parameters inheritedCount_ .. numParams_ - 1; the inherited
  // ones are found through the base class, whose handles they share.
  DtNameIndex ownNames_;
  std::uint32_t inheritedCount_ = 0;
  DtHandleList subscribers_;  // federates without region
  bool relevantFlag_ = false;
  std::uint32_t destinationAddress_ = 0;
  DtHandleTable<std::uint32_t> regionSubscribers_;  // federate -> region
  DtInteractionRegionSet* subRegionSet_ = nullptr;
  DtInteractionRegionSet* pasRegionSet_ = nullptr;
};
