#pragma once
// DtRtiObject: the record that one federate's object manager keeps for every
// object instance it knows (registered here or discovered): the instance's
// handle and name, the class it was registered as (actual) and the class
// this federate knows it by (known), and per attribute who owns it, who
// asked for it, whether its updates are wanted, who subscribes to it and how
// its updates travel. The ownership services move attributes between its
// sets; data distribution uses its scope, its publication region sets and
// its region subscriptions. It writes and reads itself as save record 5.
//
// A record exists for every object a federate knows, so it is small: about
// a kilobyte whatever the class's attribute count, plus its name and one
// attribute set per subscribing federate.
//
// The class records are borrowed from the FOM class manager. Used on the
// federate's thread only; no lock.

#include <atomic>
#include <cstdint>
#include <memory>

#include "RTI.hh"
#include "api/DtAttributeHandleSet.h"
#include "objects/DtHandleTable.h"
#include "objects/DtObjectAttrTable.h"
#include "objects/DtRequestDatabase.h"
#include "util/DtFomTypes.h"

class DtFomClassMgr;
class DtObjectClassInfo;
class DtPubRegionSetView;
class DtSavePacket;
class DtSavePacketBuilder;

class DtRtiObject {
public:
  // While set (RTI_sendDiscoveredClass), the class as which each remote
  // federate discovered an object is recorded per federate; while clear,
  // every federate is taken to know it by its known class. Process-wide.
  static void setUseDiscoveredClass(bool on) { theUseDiscoveredClass = on; }
  static bool useDiscoveredClass() { return theUseDiscoveredClass; }

  // Nothing: handle 0, no name, no classes, no attributes.
  DtRtiObject();
  // A discovered object: nothing owned, attributes as the actual class has.
  DtRtiObject(std::uint32_t handle, const char* name, DtObjectClassInfo* actual, DtObjectClassInfo* known);
  // A registered object: owns the class's published attributes; its local
  // RTI component holds the others.
  DtRtiObject(std::uint32_t handle, const char* name, DtObjectClassInfo* cls);
  // Handle, classes, known flag, owner, name, the ownership sets and each
  // attribute's transport, order and region set. The requests, scope,
  // updates, discovered classes and subscribers start empty.
  DtRtiObject(const DtRtiObject& other);
  // The same but the owner, into this record; its requests, scope, updates
  // and discovered classes stay, its subscribers are dropped.
  DtRtiObject& operator=(const DtRtiObject& other);
  virtual ~DtRtiObject();

  // ---- identity
  virtual std::uint32_t id() const { return handle_; }
  virtual std::uint32_t objHandle() const { return handle_; }
  virtual void setObjHandle(std::uint32_t handle) { handle_ = handle; }
  // "" when it has none.
  virtual const char* objName() const { return name_ ? name_.get() : ""; }
  virtual void setObjName(const char* name);
  virtual std::uint32_t actualClassHandle() const { return actualClassHandle_; }
  virtual std::uint32_t knownClassHandle() const { return knownClassHandle_; }
  // Also sets the known class handle (0 for null).
  virtual void setKnownClass(DtObjectClassInfo* cls);
  virtual DtObjectClassInfo* knownClass() const { return knownClass_; }
  virtual DtObjectClassInfo* actualClass() const { return actualClass_; }
  virtual bool isOfActualClass(std::uint32_t classHandle) const;
  virtual bool isOfKnownClass(std::uint32_t classHandle) const;
  // The federate that holds the privilege to delete, as last recorded.
  virtual std::uint32_t ownerHandle() const { return owner_; }
  virtual void setOwnerHandle(std::uint32_t federate) { owner_ = federate; }
  virtual bool isKnown() const { return known_; }
  virtual void setIsKnown(bool known) { known_ = known; }

  // ---- the class as which each remote federate discovered the object
  virtual void setDiscoveredClass(std::uint32_t federate, std::uint32_t classHandle);
  virtual void removeDiscoveredClass(std::uint32_t federate) { discovered_.remove(federate); }
  // 0 when none is filed (with discovered classes in use; else the known
  // class handle).
  virtual std::uint32_t discoveredClass(std::uint32_t federate) const;
  // Always true while discovered classes are not in use.
  virtual bool isDiscovered(std::uint32_t federate) const;
  // Federate -> class, in filing order.
  virtual const DtHandleTable<std::uint32_t>& discoveredClasses() const { return discovered_; }

  // ---- ownership
  virtual bool owned(RTI::AttributeHandle attribute) const { return owned_.isMember(attribute); }
  // Attribute 0 is the privilege to delete.
  virtual bool ownPriviledgeToDelete() const { return owned(0); }
  virtual bool rtiOwned(RTI::AttributeHandle attribute) const { return rtiOwned_.isMember(attribute); }
  virtual bool lrcManaged(RTI::AttributeHandle attribute) const { return lrcManaged_.isMember(attribute); }
  virtual bool pendingUncondRequest(RTI::AttributeHandle attribute) const {
    return uncondRequested_.isMember(attribute);
  }
  virtual bool pendingRequestIfAvail(RTI::AttributeHandle attribute) const {
    return ifAvailRequested_.isMember(attribute);
  }
  virtual const DtAttributeHandleSet& ownedAttrs() const { return owned_; }
  virtual const DtAttributeHandleSet& lrcManagedAttrs() const { return lrcManaged_; }
  virtual const DtAttributeHandleSet& rtiOwnedAttrs() const { return rtiOwned_; }
  virtual const DtAttributeHandleSet& divestingAttrs() const { return divesting_; }
  virtual const DtAttributeHandleSet& uncondRequestedAttrs() const { return uncondRequested_; }
  virtual const DtAttributeHandleSet& ifAvailRequestedAttrs() const { return ifAvailRequested_; }

  // Owns them: no longer requested; transport and order go back to the
  // known class's.
  virtual void takeAttrs(const RTI::AttributeHandleSet& attributes);
  // No longer owned, divesting or asked to release.
  virtual void releaseAttrs(const RTI::AttributeHandleSet& attributes);
  // Released, and held by the local RTI component.
  virtual void giveToLrc(const RTI::AttributeHandleSet& attributes);
  // No longer held by the local RTI component, and owned.
  virtual void takeFromLrc(const RTI::AttributeHandleSet& attributes);
  virtual void lrcUnmanage(const RTI::AttributeHandleSet& attributes);
  // Neither owned nor held here: the RTI owns them.
  virtual void giveToRti(const RTI::AttributeHandleSet& attributes);
  // This federate's acquisition requests; an unconditional one replaces an
  // if-available one.
  virtual void addRequest(const RTI::AttributeHandleSet& attributes, bool ifAvailable);
  virtual void removeRequest(const RTI::AttributeHandleSet& attributes);
  // Every acquisition request sent for the object takes the next serial,
  // filed for each attribute it asks for (returned). A cancellation names
  // the last serial given, and its confirmation ends only the requests
  // that are not newer: an acquisition asked again meanwhile stays.
  virtual std::uint32_t numberRequest(const RTI::AttributeHandleSet& attributes);
  virtual std::uint32_t lastRequestSerial() const { return lastRequestSerial_; }
  // The attributes of the set whose latest request is not newer than the
  // serial (or has none filed).
  virtual DtAttributeHandleSet requestsUpTo(const RTI::AttributeHandleSet& attributes, std::uint32_t serial) const;
  virtual void addDivesting(const RTI::AttributeHandleSet& attributes);
  virtual void removeDivesting(const RTI::AttributeHandleSet& attributes);

  // Remote federates' requests to release attributes (DtRequestDatabase).
  virtual void addRemoteRequest(const RTI::AttributeHandleSet& attributes, std::uint32_t federate) {
    requests_.addRemoteRequest(attributes, federate);
  }
  virtual void cancelRemoteRequest(const RTI::AttributeHandleSet& attributes) {
    requests_.cancelRemoteRequest(attributes);
  }
  virtual bool isRequestCanceled(RTI::AttributeHandle attribute) const {
    return requests_.isRequestCanceled(attribute);
  }
  virtual int requestCount() const { return requests_.requestCount(); }
  virtual std::uint32_t pendingRemoteRequest(RTI::AttributeHandle attribute) const {
    return requests_.pendingRemoteRequest(attribute);
  }
  virtual DtAttributeHandleSet requestedByFed(std::uint32_t federate) const {
    return requests_.requestedByFed(federate);
  }
  // The request database's release, then releaseAttrs of what it released;
  // returns the federate that gets them (0: none).
  virtual std::uint32_t releaseRequested(const RTI::AttributeHandleSet& attributes, DtAttributeHandleSet* released,
                                         DtAttributeHandleSet* rest);
  virtual const DtRequestDatabase& requests() const { return requests_; }

  // The attributes of the set that this federate owns; valid until the
  // next call.
  virtual const DtAttributeHandleSet& filterOwned(const RTI::AttributeHandleSet& attributes);
  // The values of the attributes this federate expects (subscribes in the
  // known class under `regionKey`, 0 for the subscription without region):
  // `values` itself when it expects every one, else the record's own set
  // of the expected values longer than zero bytes, valid until the next
  // call.
  virtual const RTI::AttributeHandleValuePairSet& filterExpected(const RTI::AttributeHandleValuePairSet& values,
                                                                 std::uint32_t regionKey);
  virtual bool expecting(RTI::AttributeHandle attribute, std::uint32_t regionKey) const;

  // ---- scope (data distribution)
  virtual bool inScope() const { return !inScope_.isEmpty(); }
  virtual bool inScope(RTI::AttributeHandle attribute) const { return inScope_.isMember(attribute); }
  virtual const DtAttributeHandleSet& inScopeAttrs() const { return inScope_; }
  virtual void addToScope(const RTI::AttributeHandleSet& attributes);
  virtual void addToScope(RTI::AttributeHandle attribute);
  virtual void removeFromScope(const RTI::AttributeHandleSet& attributes);
  virtual void removeFromScope(RTI::AttributeHandle attribute);

  // ---- remote subscribers of the attributes this federate owns; they turn
  // updates on and off
  // Of owned attributes only; a federate is recorded once per attribute.
  virtual void remoteSubscribe(std::uint32_t federate, const RTI::AttributeHandleSet& attributes);
  virtual void remoteSubscribe(std::uint32_t federate, RTI::AttributeHandle attribute);
  // An attribute that nobody subscribes any more (no federate, no region
  // set) has its updates turned off.
  virtual void remoteUnsubscribe(std::uint32_t federate);
  virtual void remoteUnsubscribe(std::uint32_t federate, const RTI::AttributeHandleSet& attributes);
  virtual void remoteUnsubscribe(std::uint32_t federate, RTI::AttributeHandle attribute);
  // After this federate acquired attributes: every federate that
  // discovered the object gets its class subscription back on what is
  // owned now.
  virtual void acquireRemoteSubscriptions(const RTI::AttributeHandleSet& attributes, const DtFomClassMgr& fom);
  // Remote subscription region sets: taken for an owned attribute whose
  // publication region set (if any) overlaps and matches them.
  virtual void remoteSubscribeRegion(std::uint32_t regionSet, const RTI::AttributeHandleSet& attributes);
  virtual void remoteSubscribeRegion(std::uint32_t regionSet, RTI::AttributeHandle attribute);
  // The federate's region subscriptions of the class, on owned attributes.
  virtual void remoteSubscribeRegion(std::uint32_t federate, const DtObjectClassInfo& cls);
  virtual void remoteUnsubscribeRegion(std::uint32_t regionSet);
  virtual void remoteUnsubscribeRegion(std::uint32_t regionSet, const RTI::AttributeHandleSet& attributes);
  virtual void remoteUnsubscribeRegion(std::uint32_t regionSet, RTI::AttributeHandle attribute);
  // After this federate gave attributes away: nobody subscribes them here
  // and their updates are off.
  virtual void divestRemoteSubscriptions(const RTI::AttributeHandleSet& attributes);
  virtual const DtObjectAttrTable& attributeTable() const { return attrs_; }

  // ---- updates wanted by someone
  virtual bool isUpdateOn() const { return !updatesOn_.isEmpty(); }
  virtual bool isUpdateOn(RTI::AttributeHandle attribute) const { return updatesOn_.isMember(attribute); }
  // Owned attributes whose updates are on, and those whose updates are off.
  virtual DtAttributeHandleSet updateOnAttrs() const { return owned_.setIntersection(updatesOn_); }
  virtual DtAttributeHandleSet updateOffAttrs() const { return owned_.removeSetIntersection(updatesOn_); }
  virtual void turnUpdateOn(const RTI::AttributeHandleSet& attributes);
  virtual void turnUpdateOn(RTI::AttributeHandle attribute);
  virtual void turnUpdateOff(const RTI::AttributeHandleSet& attributes);
  virtual void turnUpdateOff(RTI::AttributeHandle attribute);

  // ---- per attribute
  virtual std::uint32_t numAttributes() const { return attrs_.count(); }
  // AttributeNotDefined ("") beyond the actual class's attributes.
  virtual DtTransportType attrTransport(RTI::AttributeHandle attribute) const;
  virtual DtOrderType attrOrder(RTI::AttributeHandle attribute) const;
  virtual void setAttrTransport(RTI::AttributeHandle attribute, DtTransportType transport);
  virtual void setAttrOrder(RTI::AttributeHandle attribute, DtOrderType order);
  // Borrowed; ignored beyond the attributes (null and 0 there).
  virtual void setRegionSet(RTI::AttributeHandle attribute, DtPubRegionSetView* set);
  virtual DtPubRegionSetView* regionSet(RTI::AttributeHandle attribute) const;
  virtual std::uint32_t regionSetHandle(RTI::AttributeHandle attribute) const;

  // ---- save record (type 5)
  virtual std::uint32_t encodedLength() const;
  // Writes encodedLength() bytes.
  virtual void encode(char* buffer) const;
  // The same bytes, ready for DtRtiSaveFile::writePacket.
  virtual DtSavePacketBuilder saveRecord() const;
  // Takes the record's state from a record read back. A record of another
  // type, one whose counts or lengths do not fit it, or one that names a
  // class the FOM does not have is refused with a message (false) and
  // changes nothing.
  virtual bool decode(const DtSavePacket& record, const DtFomClassMgr& fom);

private:
  static inline std::atomic<bool> theUseDiscoveredClass{true};

  void checkAttribute(RTI::AttributeHandle attribute) const;  // AttributeNotDefined
  void copyFrom(const DtRtiObject& other);
  // Turns updates off when nobody subscribes the attribute any more.
  void updateOffIfUnsubscribed(RTI::AttributeHandle attribute);

  std::uint32_t handle_ = 0;
  std::uint32_t actualClassHandle_ = 0;
  std::uint32_t knownClassHandle_ = 0;
  std::uint32_t owner_ = 0;
  std::unique_ptr<char[]> name_;
  DtObjectClassInfo* actualClass_ = nullptr;
  DtObjectClassInfo* knownClass_ = nullptr;
  bool known_ = false;
  DtAttributeHandleSet owned_;
  DtAttributeHandleSet ownedFilter_;
  DtAttributeHandleSet lrcManaged_;
  DtAttributeHandleSet rtiOwned_;
  DtAttributeHandleSet uncondRequested_;
  DtAttributeHandleSet ifAvailRequested_;
  DtAttributeHandleSet divesting_;
  DtAttributeHandleSet inScope_;
  DtAttributeHandleSet updatesOn_;
  DtRequestDatabase requests_;
  DtHandleTable<std::uint32_t> requestSerials_;  // attribute -> serial of its latest request
  std::uint32_t lastRequestSerial_ = 0;
  DtHandleTable<std::uint32_t> discovered_;  // federate -> class handle
  DtObjectAttrTable attrs_;
  std::unique_ptr<RTI::AttributeHandleValuePairSet> filtered_;
  RTI::ULong filteredCapacity_ = 0;
};
