#pragma once
// DtObjectMgr: the object side of declaration, object and ownership
// management for one joined federate. It keeps a record (DtRtiObject) of
// every object instance the federate knows, in four lists: all records (it
// owns these), the known objects (registered here or discovered), the owned
// ones (this federate owns attributes of them) and those whose attributes
// the local RTI component holds for the federation. It carries out the
// object class declarations, registration and discovery, updates and
// reflections, update requests, deletion and resignation, and queues the
// advisories (start and stop registration, turn updates on and off,
// removals, registrations to send again) for the federate ambassador until
// the federate manager's per-tick step calls tick().
//
// There is no central process: every federate's manager announces what it
// does in messages (declarations 14 to 17, registration 21, updates 1 and
// 46, requests 18, deletions 2, 47 and 22, discovered classes 71 and 72),
// and the constructor registers the handlers of what the others announce
// with the connection manager, whose tick calls them.
//
// Object handles are the federate handle times 100000 plus a counter from 1,
// so federates never make the same handle; a federate that would pass 99999
// objects is refused (RTIinternalError) rather than take the next federate's
// handles.
//
// Made by create() after the join and owned by the federate manager; the
// data distribution form overrides the region hooks. Everything runs on the
// federate's thread (services and tick); no lock. A federate callback may
// call any service again, including one that deletes objects.

#include <cstdint>
#include <deque>
#include <memory>
#include <unordered_map>
#include <vector>

#include "RTI.hh"
#include "api/DtAttributeHandleSet.h"
#include "msg/DtMsgSubscriptions.h"
#include "objects/DtClassGroups.h"
#include "objects/DtFederateHandleRange.h"
#include "objects/DtObjectAdvisorySink.h"
#include "objects/DtObjectList.h"
#include "util/DtFomTypes.h"
#include "util/DtList.h"

class DtAddrMap;
class DtConnectionMgr;
class DtDeleteMsg;
class DtDiscObjMsg;
class DtFomClassMgr;
class DtLocDelMsg;
class DtObjectClassInfo;
class DtOwnershipMsg;
class DtPubObjMsg;
class DtRIDParameters;
class DtRegObjMsg;
class DtRtiSaveFile;
class DtReqDiscObjMsg;
class DtRequestMsg;
class DtResignMsg;
class DtRtiMsg;
class DtRtiObject;
class DtSubObjMsg;
class DtTallySink;
class DtTimeStamping;
class DtUnpubObjMsg;
class DtUnsubObjMsg;
class DtUpdateMsg;
class DtUpdateRoMsg;

// How an update leaves the send path.
enum DtUpdateType {
  DtAnonymousUpdate = 0,  // sent with sender 0, not counted
  DtLocalUpdate = 1,      // not sent: handed to this manager's own processUpdate
  DtNormalUpdate = 2,     // sent stamped and counted (the service)
};

// A queued advisory about attributes: {1, object, attributes} to turn
// updates on, {0, class, attributes} to turn them off.
struct DtPendingAttrs {
  std::uint32_t flag;
  std::uint32_t handle;
  DtAttributeHandleSet attrs;
};

// A queued registration to send again: {0, class} every owned object of the
// class and its subclasses, {1, object} one object.
struct DtPendingHandle {
  std::uint32_t kind;
  std::uint32_t handle;
};

class DtObjectMgr : public DtObjectAdvisorySink {
public:
  using Creator = DtObjectMgr* (*)(DtConnectionMgr*, DtFomClassMgr*, DtRIDParameters*);

  // Object handles a federate can make: its handle times this, plus 1 to
  // this minus 1.
  static constexpr std::uint32_t theHandlesPerFederate = DtFederateHandleRange::theHandlesPerFederate;

  // The installed creator's result; else, with RTI_dataDistMgmt set, the
  // data distribution form's; else a plain object manager.
  static std::unique_ptr<DtObjectMgr> create(DtConnectionMgr* connectMgr, DtFomClassMgr* fom, DtRIDParameters* params);
  // Null restores the default. Process-wide.
  static void setCreatorFunction(Creator creator);
  // The maker of the data distribution form, which lives in a layer above
  // this one and installs it there (null: none, so a plain manager serves
  // with data distribution on too). Process-wide.
  static void setDataDistCreator(Creator creator);

  // The defaults of every object manager's advisory switches and the prefix
  // of the object names it makes. Process-wide: the implementor's
  // constructor writes them from its RID parameters, so the ambassador made
  // last decides them for every federate of the process.
  static std::uint8_t theDefaultClassAdvisorySwitch;
  static std::uint8_t theDefaultAttributeAdvisorySwitch;
  static std::uint8_t theDefaultAttributeScopeAdvisorySwitch;
  static const char* theHlaNamePrefix;  // "HLA_" or ""
  static void setDefaultClassAdvisory(int on) { theDefaultClassAdvisorySwitch = on ? 1 : 0; }
  static void setDefaultAttributeAdvisory(int on) { theDefaultAttributeAdvisorySwitch = on ? 1 : 0; }
  static void setDefaultAttributeScopeAdvisory(int on) { theDefaultAttributeScopeAdvisorySwitch = on ? 1 : 0; }
  static void setHlaNamePrefix(int on) { theHlaNamePrefix = on ? "HLA_" : ""; }
  static bool useHlaNamePrefix() { return theHlaNamePrefix[0] != '\0'; }

  // The switches start from the defaults above; the handlers are registered
  // with the connection manager (none without one). Null RID parameters
  // stand for the defaults.
  DtObjectMgr(DtConnectionMgr* connectMgr, DtFomClassMgr* fom, DtRIDParameters* params);
  DtObjectMgr(const DtObjectMgr&) = delete;
  DtObjectMgr& operator=(const DtObjectMgr&) = delete;
  // Deletes the records, leaves the class multicast groups and removes the
  // handlers.
  ~DtObjectMgr() override;

  DtConnectionMgr* connectMgr() const { return connectMgr_; }
  DtFomClassMgr* fom() const { return fom_; }
  DtRIDParameters* params() const { return params_; }
  // Null without time management.
  virtual DtTimeStamping* timeMgr() const { return timeMgr_; }
  virtual void setTimeMgr(DtTimeStamping* timeMgr) { timeMgr_ = timeMgr; }

  // ---- names and handles of known objects (ObjectNotKnown otherwise)
  virtual RTI::ObjectHandle objectHandle(const char* name);
  // The record's own text.
  virtual const char* objectName(RTI::ObjectHandle object);
  // The class under which this federate knows the object.
  virtual RTI::ObjectClassHandle objectClass(RTI::ObjectHandle object);

  // ---- object class declarations
  // 0 for a class the model does not have.
  virtual bool subscribed(RTI::ObjectClassHandle theClass) const;
  virtual bool published(RTI::ObjectClassHandle theClass) const;
  virtual void publish(RTI::ObjectClassHandle theClass, const RTI::AttributeHandleSet& attributes);
  virtual void unpublish(RTI::ObjectClassHandle theClass);
  virtual void subscribe(RTI::ObjectClassHandle theClass, const RTI::AttributeHandleSet& attributes,
                         RTI::Boolean active);
  virtual void unsubscribe(RTI::ObjectClassHandle theClass);

  // ---- registration
  virtual RTI::ObjectHandle registerObj(RTI::ObjectClassHandle theClass);
  virtual RTI::ObjectHandle registerObj(RTI::ObjectClassHandle theClass, const char* name);

  // ---- deletion. A null time deletes without a time stamp; the result is
  // the retraction serial (0: none).
  virtual std::uint32_t deleteObj(RTI::ObjectHandle object, const RTI::FedTime* time, const char* tag);
  virtual void localDeleteObj(RTI::ObjectHandle object);

  // ---- update requests
  virtual void requestObjectUpdate(RTI::ObjectHandle object, const RTI::AttributeHandleSet& attributes);
  virtual void requestClassUpdate(RTI::ObjectClassHandle theClass, const RTI::AttributeHandleSet& attributes);
  virtual void requestClassUpdate(RTI::ObjectClassHandle theClass, const RTI::AttributeHandleSet& attributes,
                                  std::uint32_t regionSet);

  // ---- updates. A null time updates without a time stamp; the result is
  // the retraction serial (0: none).
  virtual std::uint32_t sendUpdate(RTI::ObjectHandle object, const RTI::AttributeHandleValuePairSet& values,
                                   const RTI::FedTime* time, const char* tag);
  // The send path without the service's checks.
  virtual std::uint32_t sendUpdate(DtRtiObject* object, const RTI::AttributeHandleValuePairSet& values,
                                   const RTI::FedTime* time, const char* tag, DtUpdateType type);

  // ---- ownership. `negotiated` and `ifAvailable` choose the form of the
  // service; a null tag stands for none. The set that releaseResponse
  // returns belongs to the caller.
  virtual void acquireAttrs(RTI::ObjectHandle object, const RTI::AttributeHandleSet& attributes, bool ifAvailable,
                            const char* tag);
  virtual void cancelAcquire(RTI::ObjectHandle object, const RTI::AttributeHandleSet& attributes);
  virtual void divestOwnership(RTI::ObjectHandle object, const RTI::AttributeHandleSet& attributes, bool negotiated,
                               const char* tag);
  virtual void cancelDivest(RTI::ObjectHandle object, const RTI::AttributeHandleSet& attributes);
  virtual RTI::AttributeHandleSet* releaseResponse(RTI::ObjectHandle object, const RTI::AttributeHandleSet& attributes);
  virtual void queryOwnership(RTI::ObjectHandle object, RTI::AttributeHandle attribute);

  // The transport or order type of this federate's updates of the
  // attributes (it changes nothing elsewhere).
  virtual void setAttributeTransportType(RTI::ObjectHandle object, const RTI::AttributeHandleSet& attributes,
                                         DtTransportType type);
  virtual void setAttributeOrderType(RTI::ObjectHandle object, const RTI::AttributeHandleSet& attributes,
                                     DtOrderType type);

  // ---- the lists. add files the record under its handle and name (the
  // known list also marks it known); remove takes it out of that list only
  // (removeKnownObj clears the mark); look-ups give null when absent.
  virtual void addAllObj(DtRtiObject* object);
  virtual void removeAllObj(RTI::ObjectHandle object);
  virtual const DtList& allObjects() const { return all_.list(); }
  virtual DtRtiObject* allObj(const char* name) const { return all_.find(name); }
  virtual DtRtiObject* allObj(RTI::ObjectHandle object) const { return all_.find(object); }
  virtual void addKnownObj(DtRtiObject* object);
  virtual void removeKnownObj(RTI::ObjectHandle object);
  virtual const DtList& knownObjects() const { return known_.list(); }
  virtual DtRtiObject* knownObj(const char* name) const { return known_.find(name); }
  virtual DtRtiObject* knownObj(RTI::ObjectHandle object) const { return known_.find(object); }
  virtual void addOwnedObj(DtRtiObject* object);
  virtual void removeOwnedObj(RTI::ObjectHandle object);
  virtual const DtList& ownedObjects() const { return owned_.list(); }
  virtual DtRtiObject* ownedObj(const char* name) const { return owned_.find(name); }
  virtual DtRtiObject* ownedObj(RTI::ObjectHandle object) const { return owned_.find(object); }
  virtual void addLrcManagedObj(DtRtiObject* object);
  virtual void removeLrcManagedObj(RTI::ObjectHandle object);
  virtual const DtList& lrcManagedObjects() const { return lrcManaged_.list(); }
  virtual DtRtiObject* lrcManagedObj(const char* name) const { return lrcManaged_.find(name); }
  virtual DtRtiObject* lrcManagedObj(RTI::ObjectHandle object) const { return lrcManaged_.find(object); }
  // Groups joined for subscribed classes -> how many classes use each.
  const std::unordered_map<std::uint32_t, std::uint32_t>& classMulticastCounts() const {
    return classGroups_.useCounts();
  }
  // Owned objects whose privilege to delete this federate holds.
  virtual std::uint32_t numObjectsOwned() const;
  // Per-class object counts for the management object model, one new set
  // per class in ascending handle order, the count under (sent, best
  // effort): owned objects holding the privilege to delete and owned
  // objects, each for the classes with a count; known and unknown objects
  // in scope, for every class. Counted under the class the object was
  // registered as.
  virtual void getObjectsOwned(DtTallySink& sink) const;
  virtual void getObjectsUpdated(DtTallySink& sink) const;
  virtual void getObjectsReflected(DtTallySink& sink) const;

  // ---- handles and names made here
  // The next object handle: federate handle x 100000 + counter. Throws
  // RTIinternalError when the counter has reached 100000 or the handle
  // would not fit 32 bits; nothing is used up then.
  virtual std::uint32_t uniqueHandle();
  // The generated name of a handle: the prefix and the handle in decimal,
  // in a buffer of this manager that the next call overwrites.
  virtual const char* uniqueName(std::uint32_t handle);
  // The counter of uniqueHandle (the next number it gives).
  std::uint32_t handleCounter() const { return handleCounter_; }

  // ---- advisory switches. The accessors are true only while the switch is
  // on and no restore is in progress.
  void enableClassRelevanceSwitch() { classRelevanceSwitch_ = 1; }
  void disableClassRelevanceSwitch() { classRelevanceSwitch_ = 0; }
  bool classRelevanceSwitch() const { return classRelevanceSwitch_ && !restoreInProgress_; }
  void enableAttributeRelevanceSwitch() { attributeRelevanceSwitch_ = 1; }
  void disableAttributeRelevanceSwitch() { attributeRelevanceSwitch_ = 0; }
  bool attributeRelevanceSwitch() const { return attributeRelevanceSwitch_ && !restoreInProgress_; }
  virtual void enableAttributeScopeSwitch() { attributeScopeSwitch_ = 1; }
  virtual void disableAttributeScopeSwitch() { attributeScopeSwitch_ = 0; }
  virtual bool attributeScopeSwitch() const { return attributeScopeSwitch_ && !restoreInProgress_; }
  // While set, nothing is queued for the federate.
  virtual void setRestoreInProgress(bool inProgress) { restoreInProgress_ = inProgress; }
  virtual bool restoreInProgress() const { return restoreInProgress_; }

  // ---- advisory queues, drained by tick() in this order: stop and start
  // registration, stop and start updates, removals, registrations again.
  void addPendingStartReg(std::uint32_t classHandle) override;
  void addPendingStopReg(std::uint32_t classHandle) override;
  void addPendingRegister(std::uint32_t classHandle) override;
  virtual void addPendingStartUpdates(RTI::ObjectHandle object, const RTI::AttributeHandleSet& attributes);
  virtual void addPendingStopUpdates(RTI::ObjectClassHandle theClass, const RTI::AttributeHandleSet& attributes);
  virtual void addPendingRemoval(RTI::ObjectHandle object);
  virtual void addPendingRegisterForObject(RTI::ObjectHandle object);
  virtual void tick();

  // ---- a federation save: the manager's record (the three advisory
  // switches and the handle counter), one record per object whose privilege
  // to delete the RTI does not hold, then the end record; false when the
  // file did not take them all. restore empties the manager, takes back the
  // switches and the counter and reads the objects up to the end record,
  // back on their lists, with the class groups of the restored
  // subscriptions. It fails, with a message, at a first record of another
  // type or a damaged one, at an object record that cannot be read (a class
  // the model lacks, counts that do not add up, a handle or name given
  // twice) or another type among them, and at the end of the file before the
  // end record; the objects read so far stay.
  virtual bool save(DtRtiSaveFile& file) const;
  virtual bool restore(DtRtiSaveFile& file);

  // ---- from the federate manager: another federate resigned; this one is
  // about to.
  virtual void processResign(const DtResignMsg& msg);
  virtual void prepareToResign(RTI::ResignAction action);

  // ---- region operations: empty in this class (the registrations return
  // 0); the data distribution form carries them out.
  virtual void subscribeObjectClassAttributesWithRegion(RTI::ObjectClassHandle theClass, RTI::Region& region,
                                                        const RTI::AttributeHandleSet& attributes, RTI::Boolean active);
  virtual void unsubscribeObjectClassWithRegion(RTI::ObjectClassHandle theClass, RTI::Region& region);
  virtual void associateRegionForUpdates(RTI::Region& region, RTI::ObjectHandle object,
                                         const RTI::AttributeHandleSet& attributes, int flag);
  virtual void unassociateRegionForUpdates(RTI::Region& region, RTI::ObjectHandle object);
  virtual RTI::ObjectHandle registerObjectInstanceWithRegion(RTI::ObjectClassHandle theClass, const char* name,
                                                             RTI::AttributeHandle* attributes, RTI::Region** regions,
                                                             RTI::ULong count);
  virtual RTI::ObjectHandle registerObjectInstanceWithRegion(RTI::ObjectClassHandle theClass,
                                                             RTI::AttributeHandle* attributes, RTI::Region** regions,
                                                             RTI::ULong count);
  virtual void requestClassAttributeValueUpdateWithRegion(RTI::ObjectClassHandle theClass,
                                                          const RTI::AttributeHandleSet& attributes,
                                                          const RTI::Region& region);

  // ---- received messages (the handlers the constructor registers call
  // these)
  virtual void processUpdate(const DtUpdateMsg& msg);
  virtual void processRegister(const DtRegObjMsg& msg);
  virtual void processDiscover(const DtDiscObjMsg& msg);
  virtual void processRequestDiscover(const DtReqDiscObjMsg& msg);
  virtual void processDelete(const DtDeleteMsg& msg);
  virtual void processLocDelete(const DtLocDelMsg& msg);
  virtual void processPub(const DtPubObjMsg& msg);
  virtual void processUnpub(const DtUnpubObjMsg& msg);
  virtual void processSub(const DtSubObjMsg& msg);
  virtual void processUnsub(const DtUnsubObjMsg& msg);
  virtual void processRequest(const DtRequestMsg& msg);
  virtual void processOwnership(const DtOwnershipMsg& msg);
  // The ownership messages by kind (processOwnership dispatches): another
  // federate's request to acquire, its cancellation, its offer or
  // unconditional divestiture, its query; the completion and the confirmed
  // cancellation of this federate's acquisition; free attributes handed to
  // this federate's component.
  virtual void processAcquire(RTI::ObjectHandle object, const RTI::AttributeHandleSet& attributes, std::uint32_t sender,
                              bool ifAvailable, const char* tag);
  // The tag names the request withdrawn; the confirmation carries it back.
  virtual void processCancelAcquire(RTI::ObjectHandle object, const RTI::AttributeHandleSet& attributes,
                                    std::uint32_t sender, const char* tag = nullptr);
  virtual void processDivest(RTI::ObjectHandle object, const RTI::AttributeHandleSet& attributes, std::uint32_t sender,
                             bool negotiated, const char* tag);
  virtual void processQueryOwner(RTI::ObjectHandle object, RTI::AttributeHandle attribute, std::uint32_t sender);
  virtual void processNotifyAcquire(RTI::ObjectHandle object, const RTI::AttributeHandleSet& attributes);
  // Ends the requests that are not newer than the one the tag names (all of
  // them without a tag).
  virtual void processConfirmCancelAcquire(RTI::ObjectHandle object, const RTI::AttributeHandleSet& attributes,
                                           const char* tag = nullptr);
  virtual void processGiveToLrc(RTI::ObjectHandle object, const RTI::AttributeHandleSet& attributes, const char* name,
                                RTI::ObjectClassHandle theClass);
  virtual void resetOwner(RTI::ObjectHandle object, std::uint32_t owner);

protected:
  // The RID values the manager reads, taken once at construction.
  struct Settings {
    bool errorChecking = true;
    bool fomDataReliable = false;
    bool timeMgmt = false;
    bool dataDistMgmt = false;
    bool sendDiscoveredClass = false;
    bool processUnknownUpdatesForDiscovery = false;
    bool deleteOrphans = true;
    bool momServiceAvailable = false;
    bool useDMFiltering = false;
    // With the rtiexec, which hands on what a federate that left was given
    // and never took over.
    bool useRtiExec = false;
    float addressDelay = 1.0f;
  };
  const Settings& settings() const { return settings_; }
  // Sends, receives and calls back only through these: the connection
  // manager may be absent (tests), and the federate ambassador is absent
  // once the federation connection is gone.
  RTI::FederateAmbassador* fedAmb() const;
  std::uint32_t fedHandle() const;
  // Makes the message of the kind through the connection manager's factory;
  // null (nothing to send) when there is none or it is of another class.
  template <class Msg>
  std::unique_ptr<Msg> makeMsg(int kind) const;
  // Sends it stamped on the transport of the RTI's own messages.
  void sendInternal(std::unique_ptr<DtRtiMsg> msg) const;

  // The multicast addresses of region sets (data distribution's).
  DtAddrMap* addrMap() const { return addrMap_.get(); }
  // The class record, or ObjectClassNotDefined.
  DtObjectClassInfo& definedClass(RTI::ObjectClassHandle theClass) const;
  // The known object, or ObjectNotKnown.
  DtRtiObject& knownObject(RTI::ObjectHandle object) const;
  // Takes the record out of every list and deletes it (null: nothing); no
  // message, no callback. Inside a callback scope the record is freed when
  // the scope ends, so that what the federate was handed stays valid.
  virtual void deleteObj(DtRtiObject* object);
  // While one lives, records deleted are kept until the outermost ends.
  class CallbackScope {
  public:
    explicit CallbackScope(DtObjectMgr& mgr) : mgr_(mgr) { ++mgr_.callbackDepth_; }
    ~CallbackScope();
    CallbackScope(const CallbackScope&) = delete;
    CallbackScope& operator=(const CallbackScope&) = delete;

  private:
    DtObjectMgr& mgr_;
  };

  // ---- declarations (Declarations)
  virtual void sendPublishMsg(RTI::ObjectClassHandle theClass, const RTI::AttributeHandleSet& attributes);
  virtual void sendUnpublishMsg(RTI::ObjectClassHandle theClass);
  virtual void sendSubscribeMsg(RTI::ObjectClassHandle theClass, char isPassive, char replacement,
                                const RTI::AttributeHandleSet& attributes);
  virtual void sendUnsubscribeMsg(RTI::ObjectClassHandle theClass);
  virtual void addClassMulticast(DtObjectClassInfo* cls);
  virtual void removeClassMulticast(DtObjectClassInfo* cls);
  // Another federate's class subscription, carried to the owned objects.
  virtual void remoteSubscribe(DtObjectClassInfo& cls, const RTI::AttributeHandleSet& attributes,
                               std::uint32_t federate);
  virtual void remoteUnsubscribe(RTI::ObjectClassHandle theClass, std::uint32_t federate);
  // With the attribute relevance switch on: turnUpdatesOn for the object's
  // attributes whose updates are on now and were not `before`, then
  // turnUpdatesOff for the reverse.
  void adviseUpdates(const DtRtiObject& object, const DtAttributeHandleSet& before);

  // ---- advisory queues
  virtual void sendPendingStartReg();
  virtual void sendPendingStopReg();
  virtual void sendPendingStartUpdates();
  virtual void sendPendingStopUpdates();
  virtual void sendPendingRemovals();
  virtual void sendPendingRegister();

  // ---- registration and discovery (Registration)
  virtual DtRtiObject* registerObj(RTI::ObjectClassHandle theClass, std::uint32_t handle, const char* name);
  // The checks of every registration, in their order (the name's only when
  // one is given): the class record, or ObjectAlreadyRegistered (an "HLA"
  // prefix while the RTI prefixes names; a name any record has),
  // ObjectClassNotDefined, ObjectClassNotPublished.
  DtObjectClassInfo& checkRegistration(RTI::ObjectClassHandle theClass, const char* name) const;
  // A new record of this federate's, filed as known and owned; nothing is
  // announced.
  DtRtiObject* fileNewObject(DtObjectClassInfo& cls, std::uint32_t handle, const char* name);
  virtual void sendRegister(DtRtiObject* object) { sendRegisterMsg(object); }
  virtual void resendRegister(DtRtiObject* object) { sendRegisterMsg(object); }
  virtual void sendRegisterMsg(DtRtiObject* object);
  virtual DtObjectClassInfo* firstSubscribedClass(DtObjectClassInfo* cls, std::uint32_t channel);
  virtual DtRtiObject* discoverObject(std::uint32_t handle, const char* name, DtObjectClassInfo* actual,
                                      DtObjectClassInfo* known, const DtAttributeHandleSet& attributes);
  virtual DtRtiObject* processNewObj(std::uint32_t handle, RTI::ObjectClassHandle theClass, const char* name,
                                     const RTI::AttributeHandleValuePairSet& values, std::uint32_t channel);
  virtual DtRtiObject* processNewObj(std::uint32_t handle, RTI::ObjectClassHandle theClass, const char* name,
                                     const DtAttributeHandleSet& attributes, std::uint32_t channel);
  virtual void sendDiscoverMsg(RTI::ObjectHandle object, RTI::ObjectClassHandle theClass);
  virtual void sendRequestDiscoverMsg(RTI::ObjectHandle object);
  virtual void setDiscoveredClass(DtRtiObject* object, std::uint32_t federate, RTI::ObjectClassHandle theClass);
  virtual void collectRemoteSubscriptions(DtRtiObject& object);

  // ---- updates and requests (Updates)
  virtual void sendBestEffortUpdateMsg(DtRtiObject* object, const RTI::AttributeHandleValuePairSet& values,
                                       DtOrderType order, const RTI::FedTime* time, const char* tag,
                                       std::uint32_t serial, std::uint32_t address, DtUpdateType type);
  virtual void sendReliableUpdateMsg(DtRtiObject* object, const RTI::AttributeHandleValuePairSet& values,
                                     DtOrderType order, const RTI::FedTime* time, const char* tag, std::uint32_t serial,
                                     DtUpdateType type);
  // Sends the message as it stands (it stays the caller's), or with
  // DtLocalUpdate hands it to this manager's own processUpdate.
  virtual void sendUpdateMessage(DtUpdateMsg& msg, DtObjectClassInfo* cls, DtUpdateType type, DtTransportType transport,
                                 std::uint32_t address);
  virtual void sendRequestMsg(int type, std::uint32_t handle, const RTI::AttributeHandleSet& attributes,
                              std::uint32_t regionSet);
  virtual void provideAttrValueUpdate(const DtRtiObject* object, const RTI::AttributeHandleSet& attributes);
  virtual void incrementSentTally(RTI::ObjectClassHandle theClass, DtTransportType transport);
  virtual void incrementReceivedTally(RTI::ObjectClassHandle theClass, DtTransportType transport);

  // ---- deletion (Deletion)
  virtual std::uint32_t sendDeleteMsg(RTI::ObjectHandle object, DtOrderType order, const RTI::FedTime* time,
                                      const char* tag);
  virtual void sendLocalDeleteMsg(RTI::ObjectHandle object);

  // ---- ownership (Ownership)
  virtual void throwIfAcquisitionPending(RTI::ObjectClassHandle theClass, const RTI::AttributeHandleSet& attributes);
  virtual void divestAllInstances();
  virtual void divestAllInstances(RTI::ObjectClassHandle theClass, const RTI::AttributeHandleSet& attributes);
  virtual void releaseAllAttributes(DtRtiObject& object);
  virtual void deleteAllOwnedObjects();
  virtual void sendOwnershipMsg(int ownerMsgKind, RTI::ObjectHandle object, const RTI::AttributeHandleSet& attributes,
                                std::uint32_t recipient, const char* tag);
  virtual void sendOwnershipMsg(int ownerMsgKind, RTI::ObjectHandle object, RTI::AttributeHandle attribute,
                                std::uint32_t recipient, const char* tag);
  // The answers to this federate's query and if-available request (kinds
  // 7, 8, 10 and 12), as callbacks.
  virtual void processOwnershipAnswer(int ownerMsgKind, RTI::ObjectHandle object,
                                      const DtAttributeHandleSet& attributes, std::uint32_t sender);
  // Gives the requesters of the attributes what each asked for (a
  // DtNotifyAcquire each, the set of each appended to `notified` when
  // given); returns all that left.
  DtAttributeHandleSet releaseToRequesters(DtRtiObject& object, const DtAttributeHandleSet& attributes,
                                           std::vector<DtAttributeHandleSet>* notified);
  // After attributes left this federate: their subscribers and regions go,
  // and the lists follow.
  void leftOwnership(DtRtiObject& object, const DtAttributeHandleSet& gone, bool negotiated);
  void notifyDivested(RTI::ObjectHandle object, const std::vector<DtAttributeHandleSet>& notified);
  // After attributes became this federate's (`before`: the attributes
  // whose updates were on): the lists, the subscribers, the regions and a
  // registration to send again. Returns the attributes whose updates are
  // on now and were not (empty while the attribute relevance switch is
  // off), for the caller to advise.
  DtAttributeHandleSet tookOwnership(DtRtiObject& object, const DtAttributeHandleSet& taken,
                                     const DtAttributeHandleSet& before);
  // Files the object on the owned and the LRC-managed list exactly while it
  // owns, or holds, some attribute; true when it has just joined the owned
  // list.
  bool fileByOwnership(DtRtiObject& object);
  // Attributes somebody let go of for this federate that nobody else has:
  // held by this component (but for what it owns) and offered to every
  // publisher, this federate too.
  void holdAndOffer(DtRtiObject& object, const RTI::AttributeHandleSet& attributes);
  // Gives the attributes to the federate, with the object's class and name
  // for the rtiexec, should that federate be gone before it takes them.
  void sendNotifyAcquire(const DtRtiObject& object, const RTI::AttributeHandleSet& attributes, std::uint32_t recipient);
  // Tells the rtiexec that this federate dealt with what it was given.
  void sendTakenOver(RTI::ObjectHandle object, const RTI::AttributeHandleSet& attributes);

  // ---- data distribution hooks: nothing in this class
  virtual void calculateRegionSet(std::uint32_t channel, const RTI::AttributeHandleValuePairSet& values);
  virtual void acquireAssociateRegionForUpdates(RTI::ObjectHandle object, const RTI::AttributeHandleSet& attributes);
  virtual void unassociateRegionForDivested(DtRtiObject& object, const RTI::AttributeHandleSet& attributes,
                                            bool negotiated);
  virtual void checkForRegionalSubscribe(DtObjectClassInfo& cls);
  virtual void removeObjAssociations(DtRtiObject& object);
  virtual bool acceptObjectChannel(std::uint32_t channel) const;
  virtual bool acceptRequestChannel(std::uint32_t channel) const;

  // Takes every record out of the lists, deleting those the RTI does not
  // own the privilege of; empties the queues of advisories but the removals.
  virtual void destroyObjectLists();
  // The object records of save and restore (see save).
  virtual bool saveObjectList(DtRtiSaveFile& file) const;
  virtual bool restoreObjectList(DtRtiSaveFile& file);
  // The class groups again, as the restored subscriptions call for.
  virtual void rejoinClassGroups();

  DtConnectionMgr* connectMgr_;
  DtFomClassMgr* fom_;
  DtRIDParameters* params_;
  DtTimeStamping* timeMgr_ = nullptr;

private:
  void subscribeHandlers();
  // The update message for these values: a new time-stamped one (kept in
  // `made`), or the receive-order one this manager fills again for every
  // update, which costs no allocation once it has grown (a local update
  // gets one of its own in `made`).
  DtUpdateMsg* fillUpdate(const DtRtiObject& object, const RTI::AttributeHandleValuePairSet& values, DtOrderType order,
                          const RTI::FedTime* time, const char* tag, std::uint32_t serial, DtUpdateType type,
                          std::unique_ptr<DtUpdateMsg>& made);

  Settings settings_;
  DtObjectList all_;  // owns the records
  DtObjectList known_;
  DtObjectList owned_;
  DtObjectList lrcManaged_;
  DtClassGroups classGroups_;
  std::unique_ptr<DtAddrMap> addrMap_;
  std::deque<DtPendingAttrs> pendingStartUpdates_;
  std::deque<DtPendingAttrs> pendingStopUpdates_;
  std::deque<std::uint32_t> pendingStartReg_;
  std::deque<std::uint32_t> pendingStopReg_;
  std::deque<std::uint32_t> pendingRemovals_;
  std::deque<DtPendingHandle> pendingRegister_;
  std::uint32_t handleCounter_ = 1;
  std::uint8_t classRelevanceSwitch_;
  std::uint8_t attributeRelevanceSwitch_;
  std::uint8_t attributeScopeSwitch_;
  bool restoreInProgress_ = false;
  int callbackDepth_ = 0;
  std::vector<std::unique_ptr<DtRtiObject>> retired_;  // deleted inside a callback scope
  std::unique_ptr<DtUpdateRoMsg> reusedUpdate_;
  DtMsgSubscriptions handlers_;
  char nameBuffer_[32] = {};
};
