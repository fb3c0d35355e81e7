#pragma once
// DtObjectMgr: the object side of declaration, object and ownership
// management for one joined federate: publication and subscription of object
// classes, registration, updates, deletion, ownership transfer, and the
// objects' names and handles. The federate manager makes it after a join
// (its data distribution form, which fills the region operations, when
// RTI_dataDistMgmt is set) and owns it; the implementor hands it the
// services.
//
// This is the interface the implementor and the federate manager call;
// until object management is built, each service answers "<service> not
// implemented", and the region operations are empty as in the plain
// manager. Handles are the API's; serial numbers are those of the sent
// messages.

#include <cstdint>
#include <memory>

#include "RTI.hh"
#include "util/DtFomTypes.h"
#include "util/DtList.h"

class DtConnectionMgr;
class DtFomClassMgr;
class DtRIDParameters;
class DtResignMsg;
class DtRtiObject;
class DtTimeMgr;

class DtObjectMgr {
public:
  using Creator = DtObjectMgr* (*)(DtConnectionMgr*, DtFomClassMgr*, DtRIDParameters*);

  // The installed creator's result, else the object manager for the RID
  // parameters.
  static std::unique_ptr<DtObjectMgr> create(DtConnectionMgr* connectMgr, DtFomClassMgr* fom,
                                             DtRIDParameters* params);
  // Null restores the default. Process-wide.
  static void setCreatorFunction(Creator creator);

  // The defaults of every object manager's advisory switches and the prefix
  // of the object names it makes. Process-wide: the implementor's
  // constructor writes them from its RID parameters, so the ambassador made
  // last decides them for every federate of the process.
  static std::uint8_t theDefaultClassAdvisorySwitch;
  static std::uint8_t theDefaultAttributeAdvisorySwitch;
  static std::uint8_t theDefaultAttributeScopeAdvisorySwitch;
  static const char* theHlaNamePrefix;  // "HLA_" or ""

  // The switches start from the defaults above.
  DtObjectMgr(DtConnectionMgr* connectMgr, DtFomClassMgr* fom, DtRIDParameters* params);
  DtObjectMgr(const DtObjectMgr&) = delete;
  DtObjectMgr& operator=(const DtObjectMgr&) = delete;
  virtual ~DtObjectMgr();

  // Declaration management.
  virtual void publish(RTI::ObjectClassHandle theClass, const RTI::AttributeHandleSet& attributes);
  virtual void unpublish(RTI::ObjectClassHandle theClass);
  virtual void subscribe(RTI::ObjectClassHandle theClass,
                         const RTI::AttributeHandleSet& attributes, RTI::Boolean active);
  virtual void unsubscribe(RTI::ObjectClassHandle theClass);

  // Object management. A null time sends without a time stamp; the serial
  // number of the sent message is returned.
  virtual RTI::ObjectHandle registerObj(RTI::ObjectClassHandle theClass);
  virtual RTI::ObjectHandle registerObj(RTI::ObjectClassHandle theClass, const char* name);
  virtual std::uint32_t sendUpdate(RTI::ObjectHandle object,
                                   const RTI::AttributeHandleValuePairSet& values,
                                   const RTI::FedTime* time, const char* tag);
  virtual std::uint32_t deleteObj(RTI::ObjectHandle object, const RTI::FedTime* time,
                                  const char* tag);
  virtual void localDeleteObj(RTI::ObjectHandle object);
  virtual void setAttributeTransportType(RTI::ObjectHandle object,
                                         const RTI::AttributeHandleSet& attributes,
                                         DtTransportType type);
  virtual void setAttributeOrderType(RTI::ObjectHandle object,
                                     const RTI::AttributeHandleSet& attributes, DtOrderType type);
  virtual void requestObjectUpdate(RTI::ObjectHandle object,
                                   const RTI::AttributeHandleSet& attributes);
  virtual void requestClassUpdate(RTI::ObjectClassHandle theClass,
                                  const RTI::AttributeHandleSet& attributes);

  // Ownership management. `negotiated` and `ifAvailable` choose the form of
  // the service; a null tag stands for none. The set that releaseResponse
  // returns belongs to the caller.
  virtual void divestOwnership(RTI::ObjectHandle object, const RTI::AttributeHandleSet& attributes,
                               bool negotiated, const char* tag);
  virtual void acquireAttrs(RTI::ObjectHandle object, const RTI::AttributeHandleSet& attributes,
                            bool ifAvailable, const char* tag);
  virtual void cancelAcquire(RTI::ObjectHandle object, const RTI::AttributeHandleSet& attributes);
  virtual void cancelDivest(RTI::ObjectHandle object, const RTI::AttributeHandleSet& attributes);
  virtual RTI::AttributeHandleSet* releaseResponse(RTI::ObjectHandle object,
                                                   const RTI::AttributeHandleSet& attributes);
  virtual void queryOwnership(RTI::ObjectHandle object, RTI::AttributeHandle attribute);

  // Objects by handle and name. The name is the manager's own text.
  virtual RTI::ObjectClassHandle objectClass(RTI::ObjectHandle object);
  virtual RTI::ObjectHandle objectHandle(const char* name);
  virtual const char* objectName(RTI::ObjectHandle object);
  // The known object of that handle, or null.
  virtual DtRtiObject* knownObj(RTI::ObjectHandle object);

  // Region operations: empty in the plain manager (the registrations return
  // 0); the data distribution form carries them out.
  virtual void subscribeObjectClassAttributesWithRegion(RTI::ObjectClassHandle theClass,
                                                        RTI::Region& region,
                                                        const RTI::AttributeHandleSet& attributes,
                                                        RTI::Boolean active);
  virtual void unsubscribeObjectClassWithRegion(RTI::ObjectClassHandle theClass,
                                                RTI::Region& region);
  virtual void associateRegionForUpdates(RTI::Region& region, RTI::ObjectHandle object,
                                         const RTI::AttributeHandleSet& attributes, int flag);
  virtual void unassociateRegionForUpdates(RTI::Region& region, RTI::ObjectHandle object);
  virtual RTI::ObjectHandle registerObjectInstanceWithRegion(RTI::ObjectClassHandle theClass,
                                                             const char* name,
                                                             RTI::AttributeHandle* attributes,
                                                             RTI::Region** regions,
                                                             RTI::ULong count);
  virtual RTI::ObjectHandle registerObjectInstanceWithRegion(RTI::ObjectClassHandle theClass,
                                                             RTI::AttributeHandle* attributes,
                                                             RTI::Region** regions,
                                                             RTI::ULong count);
  virtual void requestClassAttributeValueUpdateWithRegion(RTI::ObjectClassHandle theClass,
                                                          const RTI::AttributeHandleSet& attributes,
                                                          const RTI::Region& region);

  // The federate's advisory switches (1 on, 0 off).
  void enableClassRelevanceSwitch() { classRelevanceSwitch_ = 1; }
  void disableClassRelevanceSwitch() { classRelevanceSwitch_ = 0; }
  void enableAttributeRelevanceSwitch() { attributeRelevanceSwitch_ = 1; }
  void disableAttributeRelevanceSwitch() { attributeRelevanceSwitch_ = 0; }
  virtual void enableAttributeScopeSwitch();
  virtual void disableAttributeScopeSwitch();
  std::uint8_t classRelevanceSwitch() const { return classRelevanceSwitch_; }
  std::uint8_t attributeRelevanceSwitch() const { return attributeRelevanceSwitch_; }
  std::uint8_t attributeScopeSwitch() const { return attributeScopeSwitch_; }

  // From the federate manager: the time manager after a join (null without
  // time management), the per-tick step, another federate's resignation,
  // and this federate's own.
  virtual void setTimeMgr(DtTimeMgr* timeMgr);
  virtual void tick();
  virtual void processResign(const DtResignMsg& msg);
  // The objects of which this federate owns attributes, and how many of
  // them it may delete.
  virtual const DtList& ownedObjects() const;
  virtual std::uint32_t numObjectsOwned() const;
  virtual void prepareToResign(RTI::ResignAction action);

protected:
  DtConnectionMgr* connectMgr_;
  DtFomClassMgr* fom_;
  DtRIDParameters* params_;
  DtTimeMgr* timeMgr_ = nullptr;

private:
  std::uint8_t classRelevanceSwitch_;
  std::uint8_t attributeRelevanceSwitch_;
  std::uint8_t attributeScopeSwitch_;
  DtList ownedObjects_;
};
