#pragma once
// Object lifecycle messages, from a federate to the others: registration of
// a new object, deletion in receive and time-stamp order, local deletion,
// the request for attribute values by object or by class (also watched by
// the management object model), discovery of the class under which another
// federate knows an object and the request for it, and the retraction of an
// earlier time-stamped message (time manager).

#include "msg/DtHandleSetMsg.h"

// ---- bodies

struct DtNetRequestMsg : DtNetMsgHeader {
  static constexpr DtU32At requestType{8};
  static constexpr DtU32At idOrClass{12};
  static constexpr DtU32At regionSet{16};
  static constexpr DtHandleSetAt attrHandles{20};
  static constexpr DtField fields[] = {{"RequestKind:", requestType, DtShow::Hidden},
                                       {"Id:", idOrClass, DtShow::Hidden},
                                       {"RegionSet:", regionSet, DtShow::Hidden},
                                       {nullptr, attrHandles}};
  static constexpr DtMsgLayout layout{"DtNetRequestMsg", 64, false, fields, {}};
};

struct DtNetRegObjMsg : DtNetMsgHeader {
  static constexpr DtU32At classHandle{8};
  static constexpr DtU32At objHandle{12};
  static constexpr DtU8At nameSize{16};  // characters + 1, the zero stored too
  static constexpr DtHandleSetAt attrHandles{20};
  static constexpr DtField fields[] = {{"ObjectHandle:", objHandle}, {"Class:", classHandle}, {nullptr, attrHandles}};
  static constexpr DtPart parts[] = {{"ObjectName:", DtPartType::NameWithZero, nameSize.offset, 1, DtShow::Text}};
  static constexpr DtMsgLayout layout{"DtNetRegObjMsg", 64, false, fields, parts};
};

struct DtNetLocDelMsg : DtNetMsgHeader {
  static constexpr DtU32At objHandle{8};
  static constexpr DtField fields[] = {{"ObjectHandle:", objHandle}};
  static constexpr DtMsgLayout layout{"DtNetLocDelMsg", 12, false, fields, {}};
};

struct DtNetDeleteMsg : DtNetMsgHeader {
  static constexpr DtU32At id{8};
  static constexpr DtU16At tagSize{14};
  static constexpr DtField fields[] = {{"ID:", id}};
  static constexpr DtPart parts[] = {{"Tag:", DtPartType::Text, tagSize.offset, 2, DtShow::Text}};
  static constexpr DtMsgLayout layout{"DtNetDeleteMsg", 24, false, fields, parts};
};

struct DtNetDeleteTsoMsg : DtNetMsgHeader {
  static constexpr DtU32At id{8};
  static constexpr DtU32At serialNumber{12};
  static constexpr DtU16At timeSize{16};
  static constexpr DtU8At orderType{18};
  static constexpr DtU8At tagSize{19};
  static constexpr DtField fields[] = {{"ID:", id}};
  // Printed in this order: tag, serial number, time.
  static constexpr DtPart parts[] = {{"Time:", DtPartType::Time, timeSize.offset, 2, DtShow::TimeText},
                                     {"Tag:", DtPartType::Text, tagSize.offset, 1, DtShow::Text}};
  static constexpr DtMsgLayout layout{"DtNetDeleteTsoMsg", 20, false, fields, parts};
};

struct DtNetRetractMsg : DtNetMsgHeader {
  static constexpr DtU32At serialNumber{8};
  static constexpr DtField fields[] = {{"Serial Number:", serialNumber}};
  static constexpr DtMsgLayout layout{"DtNetRetractMsg", 12, false, fields, {}};
  static constexpr int baseSize = 12;
};

struct DtNetDiscObjMsg : DtNetMsgHeader {
  static constexpr DtU32At objHandle{8};
  static constexpr DtU32At classHandle{12};
  static constexpr DtField fields[] = {{"ObjectHandle:", objHandle}, {"ClassHandle:", classHandle}};
  static constexpr DtMsgLayout layout{"DtNetDiscObjMsg", 16, false, fields, {}};
};

// The discovery layout, of which a request uses the object handle only.
struct DtNetReqDiscObjMsg : DtNetDiscObjMsg {
  static constexpr DtField fields[] = {{"ObjectHandle:", objHandle}};
  static constexpr DtMsgLayout layout{"DtNetDiscObjMsg", 16, false, fields, {}};
};

static_assert(DtLayoutValid(DtNetRequestMsg::layout) && DtLayoutValid(DtNetRegObjMsg::layout) &&
              DtLayoutValid(DtNetLocDelMsg::layout) && DtLayoutValid(DtNetDeleteMsg::layout) &&
              DtLayoutValid(DtNetDeleteTsoMsg::layout) && DtLayoutValid(DtNetRetractMsg::layout) &&
              DtLayoutValid(DtNetDiscObjMsg::layout) && DtLayoutValid(DtNetReqDiscObjMsg::layout));

enum DtRequestType { DtRequestById = 0, DtRequestByClass = 1 };

// ---- classes

// Federate to federates: send the values of these attributes of one object
// (by id) or of every object of a class.
class DtRequestMsg : public DtHandleSetMsg<DtRequestMsg, DtNetRequestMsg, DtRequestMsgKind> {
public:
  using DtHandleSetMsg::DtHandleSetMsg;
  DtRequestMsg(DtRequestType type, unsigned long idOrClass, const RTI::AttributeHandleSet& attrs,
               unsigned long regionSet, DtBufferPlaceHolder* where);
  virtual void set(DtRequestType type, unsigned long idOrClass, const RTI::AttributeHandleSet& attrs,
                   unsigned long regionSet);
  virtual DtRequestType requestType() const {
    return get(DtNetRequestMsg::requestType) == DtRequestByClass ? DtRequestByClass : DtRequestById;
  }
  virtual void setRequestType(DtRequestType type) {
    put(DtNetRequestMsg::requestType, static_cast<std::uint32_t>(type));
  }
  // Written and read only when the type is by class; else nothing / 0.
  virtual void setObjectClassHandle(unsigned long handle);
  virtual unsigned long objectClassHandle() const;
  // Written and read only when the type is by id; else nothing / 0.
  virtual void setId(unsigned long id);
  virtual unsigned long id() const;
  virtual void setRegionSet(unsigned long regionSet) {
    putChecked(DtNetRequestMsg::regionSet, regionSet, "region set");
  }
  virtual unsigned long regionSet() const { return get(DtNetRequestMsg::regionSet); }
  static constexpr int minSize() { return 64; }
  void printData() const override;
};

// Federate to federates: a new object of a class, with its name and the
// attributes its owner publishes.
class DtRegObjMsg : public DtHandleSetMsg<DtRegObjMsg, DtNetRegObjMsg, DtRegObjMsgKind> {
public:
  using DtHandleSetMsg::DtHandleSetMsg;
  DtRegObjMsg(unsigned long objHandle, const char* objName, unsigned long classHandle,
              const RTI::AttributeHandleSet& attrs, DtBufferPlaceHolder* where);
  virtual void set(unsigned long objHandle, const char* objName, unsigned long classHandle,
                   const RTI::AttributeHandleSet& attrs);
  virtual void setClassHandle(unsigned long h) { putChecked(DtNetRegObjMsg::classHandle, h, "object class handle"); }
  virtual unsigned long classHandle() const { return get(DtNetRegObjMsg::classHandle); }
  virtual void setObjHandle(unsigned long h) { putChecked(DtNetRegObjMsg::objHandle, h, "object handle"); }
  virtual unsigned long objHandle() const { return get(DtNetRegObjMsg::objHandle); }
  // At most 254 characters (the size field is one byte).
  virtual void setObjName(const char* name) { setTextPart(0, name && *name ? name : nullptr, "object name"); }
  // "" when there is none.
  virtual const char* objName() const;
  virtual int nameFieldSize() const { return partLength(0); }
  static constexpr int minSize() { return 64; }
  void printData() const override;
};

// A message of one object handle at offset 8.
template <class Self, class Net, DtRtiMsgKind Kind>
class DtObjHandleMsg : public DtMsgClass<Self, DtRtiMsg, Net, Kind> {
  using Pattern = DtMsgClass<Self, DtRtiMsg, Net, Kind>;

public:
  using Pattern::Pattern;
  DtObjHandleMsg(unsigned long objHandle, DtBufferPlaceHolder* where) : Pattern(where) { setObjHandle(objHandle); }
  virtual void set(unsigned long objHandle) { setObjHandle(objHandle); }
  virtual void setObjHandle(unsigned long h) { this->putChecked(Net::objHandle, h, "object handle"); }
  virtual unsigned long objHandle() const { return this->get(Net::objHandle); }
};

// Federate to federates: it no longer knows the object locally.
class DtLocDelMsg : public DtObjHandleMsg<DtLocDelMsg, DtNetLocDelMsg, DtLocDelMsgKind> {
public:
  using DtObjHandleMsg::DtObjHandleMsg;
};

// Federate to federates: under which class do you know this object?
class DtReqDiscObjMsg : public DtObjHandleMsg<DtReqDiscObjMsg, DtNetReqDiscObjMsg, DtReqDiscObjMsgKind> {
public:
  using DtObjHandleMsg::DtObjHandleMsg;
};

// Federate to federates: the class under which the sender knows the object.
class DtDiscObjMsg : public DtObjHandleMsg<DtDiscObjMsg, DtNetDiscObjMsg, DtDiscObjMsgKind> {
public:
  using DtObjHandleMsg::DtObjHandleMsg;
  using DtObjHandleMsg::set;
  DtDiscObjMsg(unsigned long objHandle, unsigned long classHandle, DtBufferPlaceHolder* where) : DtDiscObjMsg(where) {
    set(objHandle, classHandle);
  }
  virtual void set(unsigned long objHandle, unsigned long classHandle) {
    setObjHandle(objHandle);
    setClassHandle(classHandle);
  }
  virtual void setClassHandle(unsigned long h) { putChecked(DtNetDiscObjMsg::classHandle, h, "object class handle"); }
  virtual unsigned long classHandle() const { return get(DtNetDiscObjMsg::classHandle); }
};

// Time manager to federates: withdraw the time-stamped message of this
// serial number.
class DtRetractMsg : public DtMsgClass<DtRetractMsg, DtRtiMsg, DtNetRetractMsg, DtRetractMsgKind> {
public:
  using DtMsgClass::DtMsgClass;
  DtRetractMsg(unsigned long serialNumber, DtBufferPlaceHolder* where) : DtRetractMsg(where) { set(serialNumber); }
  virtual void set(unsigned long serialNumber) { setSerialNumber(serialNumber); }
  void setSerialNumber(unsigned long serial) override {
    putChecked(DtNetRetractMsg::serialNumber, serial, "serial number");
  }
  unsigned long serialNumber() const override { return get(DtNetRetractMsg::serialNumber); }
};

// Federate to federates: the object is deleted (with a tag).
class DtDeleteMsg : public DtRtiMsg {
public:
  char isConstrained() const override { return 1; }
  virtual void setId(unsigned long id) = 0;
  virtual unsigned long id() const = 0;
  virtual void setTag(const char* tag) { setTextPart(tagPart(), tag, "tag"); }
  // Null when there is none.
  virtual const char* tag() const { return textPart(tagPart()); }
  virtual int tagFieldSize() const { return partLength(tagPart()); }

protected:
  using DtRtiMsg::DtRtiMsg;
  virtual int tagPart() const = 0;
};

class DtDeleteRoMsg : public DtMsgClass<DtDeleteRoMsg, DtDeleteMsg, DtNetDeleteMsg, DtDeleteRoMsgKind> {
public:
  using DtMsgClass::DtMsgClass;
  DtDeleteRoMsg(unsigned long id, const char* tag, DtBufferPlaceHolder* where) : DtDeleteRoMsg(where) { set(id, tag); }
  virtual void set(unsigned long id, const char* tag) {
    setId(id);
    setTag(tag);
  }
  void setId(unsigned long id) override { putChecked(DtNetDeleteMsg::id, id, "object handle"); }
  unsigned long id() const override { return get(DtNetDeleteMsg::id); }
  static int minSize(const char*) { return 24; }

protected:
  int tagPart() const override { return 0; }
};

class DtDeleteTsoMsg : public DtMsgClass<DtDeleteTsoMsg, DtDeleteMsg, DtNetDeleteTsoMsg, DtDeleteTsoMsgKind> {
public:
  using DtMsgClass::DtMsgClass;
  DtDeleteTsoMsg(unsigned long id, unsigned long orderType, const RTI::FedTime& time, const char* tag,
                 unsigned long serialNumber, DtBufferPlaceHolder* where)
      : DtDeleteTsoMsg(where) {
    set(id, orderType, time, tag, serialNumber);
  }
  virtual void set(unsigned long id, unsigned long orderType, const RTI::FedTime& time, const char* tag,
                   unsigned long serialNumber) {
    setId(id);
    setOrderType(orderType);
    setTime(time);
    setSerialNumber(serialNumber);
    setTag(tag);
  }
  void setId(unsigned long id) override { putChecked(DtNetDeleteTsoMsg::id, id, "object handle"); }
  unsigned long id() const override { return get(DtNetDeleteTsoMsg::id); }
  virtual void setOrderType(unsigned long order) { putChecked(DtNetDeleteTsoMsg::orderType, order, "order type"); }
  unsigned long orderType() const override { return get(DtNetDeleteTsoMsg::orderType); }
  void setSerialNumber(unsigned long serial) override {
    putChecked(DtNetDeleteTsoMsg::serialNumber, serial, "serial number");
  }
  unsigned long serialNumber() const override { return get(DtNetDeleteTsoMsg::serialNumber); }
  char hasTime() const override { return 1; }
  virtual int timeFieldSize() const { return partLength(0); }
  static int minSize(const RTI::FedTime*, const char*) { return 20; }
  void printData() const override;

protected:
  int tagPart() const override { return 1; }
};
