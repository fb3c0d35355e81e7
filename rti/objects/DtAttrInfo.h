#pragma once
// DtAttrInfo: one attribute of one object class: its name and handle, this
// federate's publication and subscription of it, how its updates travel
// (transport, order, routing space), its subscription region sets, and the
// remote federates that subscribe to it without and with a region.
//
// The object class record creates and owns it. Used on the federate's
// thread only.

#include <cstdint>

#include "objects/DtHandleList.h"
#include "objects/DtHandleTable.h"
#include "util/DtFomTypes.h"
#include "util/DtString.h"

class DtSubRegionSet;

class DtAttrInfo {
public:
  // The names of the privilege to delete; attribute 0 of every class.
  static const DtString thePrivilegeToDelete;        // "privilegeToDelete"
  static const DtString thePrivilegeToDeleteObject;  // "privilegeToDeleteObject"

  DtAttrInfo(const char* name, std::uint32_t handle);
  // Copies the name, handle, flags, transport, order, space and the remote
  // subscribers without region; no region sets, no region subscribers.
  DtAttrInfo(const DtAttrInfo& other);
  DtAttrInfo& operator=(const DtAttrInfo&) = delete;
  virtual ~DtAttrInfo() = default;

  virtual void publish() { published_ = true; }
  virtual void unpublish() { published_ = false; }
  virtual bool published() const { return published_; }
  virtual void subscribe() { subscribed_ = true; }
  virtual void unsubscribe() { subscribed_ = false; }
  // Subscribed without region, or through a subscription or passive
  // subscription region set.
  virtual bool subscribed() const { return subscribed_ || subRegionSet_ || pasRegionSet_; }

  virtual const char* name() const { return name_.string(); }
  virtual std::uint32_t handle() const { return handle_; }
  // Attribute 0 answers to either name of the privilege to delete, whatever
  // its own name; every other attribute to its name. Letter case aside.
  virtual bool isName(const char* text) const;

  virtual void addRemoteSubscription(std::uint32_t federate) { subscribers_.add(federate); }
  virtual void deleteRemoteSubscription(std::uint32_t federate) { subscribers_.remove(federate); }
  virtual void emptyRemoteSubscription() { subscribers_.clear(); }
  virtual bool remoteFederateIsSubscribed(std::uint32_t federate) const { return subscribers_.contains(federate); }
  // In the order they subscribed.
  virtual const DtHandleList& subscribedFederates() const { return subscribers_; }
  std::uint32_t numRemoteFederatesSubscribed() const { return subscribers_.size(); }

  // A federate has at most one region; a new one replaces the old.
  virtual void addRemoteSubscriptionWithRegion(std::uint32_t federate, std::uint32_t region) {
    regionSubscribers_.put(federate, region);
  }
  virtual void deleteRemoteSubscriptionWithRegion(std::uint32_t federate) { regionSubscribers_.remove(federate); }
  virtual void emptyRemoteSubscriptionWithRegion() { regionSubscribers_.clear(); }
  // The federate's region, 0 when it has none.
  virtual std::uint32_t remoteRegionSubscription(std::uint32_t federate) const;
  virtual bool remoteFederateIsSubscribedWithRegion(std::uint32_t federate) const {
    return regionSubscribers_.contains(federate);
  }
  std::uint32_t numRemoteFederatesSubscribedWithRegion() const { return regionSubscribers_.size(); }

  virtual void setRelevant(bool relevant) { relevant_ = relevant; }
  virtual bool relevant() const { return relevant_; }
  virtual DtTransportType transport() const { return transport_; }
  virtual void setTransport(DtTransportType transport) { transport_ = transport; }
  virtual DtOrderType order() const { return order_; }
  virtual void setOrder(DtOrderType order) { order_ = order; }
  // Routing space handle; 0 is the default space.
  virtual std::int32_t space() const { return space_; }
  virtual void setSpace(std::int32_t space) { space_ = space; }
  // Not owned; null when none.
  virtual DtSubRegionSet* subRegionSet() const { return subRegionSet_; }
  virtual void setSubRegionSet(DtSubRegionSet* set) { subRegionSet_ = set; }
  virtual DtSubRegionSet* pasRegionSet() const { return pasRegionSet_; }
  virtual void setPasRegionSet(DtSubRegionSet* set) { pasRegionSet_ = set; }

private:
  DtString name_;
  std::uint32_t handle_;
  bool published_ = false;
  bool subscribed_ = false;
  bool relevant_ = false;
  DtTransportType transport_ = DtBestEffort;
  DtOrderType order_ = DtReceiveOrder;
  std::int32_t space_ = 0;
  DtSubRegionSet* subRegionSet_ = nullptr;
  DtSubRegionSet* pasRegionSet_ = nullptr;
  DtHandleList subscribers_;                        // federates without region
  DtHandleTable<std::uint32_t> regionSubscribers_;  // federate -> region
};
