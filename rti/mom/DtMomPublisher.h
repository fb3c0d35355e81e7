#pragma once
// DtMomPublisher: one MOM object instance of this federate (Manager.Federate
// or Manager.Federation), with the state record that renders its attribute
// values. It announces the object (forceRegister) and sends the values of
// requested attributes (forceUpdate) through the object manager, in the way
// its subclass chooses (updateType): anonymously to the federation, or to
// this federate's own object manager alone.
//
// The object record is the publisher's own: the RTI holds its privilege to
// delete, so it is no federate's object and the object manager only lists
// it (a restore of the object manager unlists it, and decode lists the
// restored one). Deleting the publisher unlists and deletes it, so a
// publisher goes before the object manager it was made with.
//
// Made, ticked, saved and deleted by the MOM manager on the thread that
// ticks; no lock.

#include <cstdint>
#include <memory>
#include <string>

#include "RTI.hh"
#include "api/DtAttributeHandleSet.h"
#include "objects/DtObjectMgr.h"

class DtConnectionMgr;
class DtFomClassMgr;
class DtMomSR;
class DtObjectClassInfo;
class DtRegObjMsg;
class DtRtiObject;
class DtSavePacket;
struct DtMomObjectClass;

class DtMomPublisher {
public:
  DtMomPublisher(DtConnectionMgr* connectMgr, DtFomClassMgr* fom, DtObjectMgr* objMgr);
  DtMomPublisher(const DtMomPublisher&) = delete;
  DtMomPublisher& operator=(const DtMomPublisher&) = delete;
  virtual ~DtMomPublisher();

  // Whether the handle is the object's, or its class's (the class it was
  // registered as).
  virtual RTI::Boolean isObject(std::uint32_t objectHandle) const;
  virtual RTI::Boolean isClass(std::uint32_t classHandle) const;
  // Announces the object with its MOM attributes (sendRegister).
  virtual void forceRegister();
  // Sends the values of the requested attributes, the privilege to delete
  // left out; a handle that is no MOM attribute of the object goes with the
  // empty text.
  virtual void forceUpdate(const RTI::AttributeHandleSet& requested);
  // Sends every MOM attribute.
  virtual void forceUpdate();

  // The object's save record (type 5): its length (0 without an object) and
  // its bytes, written into a buffer of that length.
  virtual std::uint32_t encodedLength() const;
  virtual void encode(char* buffer) const;
  // Takes the object back from its save record, in place of the one the
  // object manager holds, and files it on the manager's lists as it says.
  // A record the object refuses changes nothing: false.
  virtual bool decode(const DtSavePacket& record);

  // The object record; null before one is made.
  DtRtiObject* object() const { return object_.get(); }
  DtMomSR* record() const { return record_.get(); }
  // The handles of the object's MOM attributes, in the order they are sent
  // (the privilege to delete first).
  const DtAttributeHandleSet& momAttributes() const { return momAttributes_; }
  DtUpdateType updateType() const { return updateType_; }

protected:
  // Sends the announcement on the transport of the RTI's own messages, with
  // the sender left out (federate 0).
  virtual void sendRegister(DtRegObjMsg& msg);

  // The class of the table (ObjectClassNotDefined naming it when the object
  // model lacks it) and its MOM attributes (NameNotFound naming the first it
  // lacks): a checked model has them all.
  DtObjectClassInfo& momClass(const DtMomObjectClass& momClass) const;
  void setMomAttributes(const DtMomObjectClass& momClass, const DtObjectClassInfo& cls);
  // Keeps the new record and lists it with the object manager.
  DtRtiObject* adopt(std::unique_ptr<DtRtiObject> object);
  // Takes the record off every list of the object manager that holds it.
  void unlist();

  DtConnectionMgr* connectMgr_;
  DtFomClassMgr* fom_;
  DtObjectMgr* objMgr_;
  DtUpdateType updateType_ = DtNormalUpdate;
  std::unique_ptr<DtMomSR> record_;
  DtAttributeHandleSet momAttributes_;
  std::unique_ptr<DtRtiObject> object_;
  std::uint32_t objectHandle_ = 0;
  std::uint32_t classHandle_ = 0;
  bool hasObject_ = false;
};
