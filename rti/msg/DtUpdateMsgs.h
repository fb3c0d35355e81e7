#pragma once
// Attribute updates and interactions: the data of a running federation,
// from a federate to the others, in receive order or time-stamp order. With
// data distribution management on (a class-wide switch per family, set once
// by the object and interaction managers), each carries a 32-bit channel and
// uses kinds 24, 49, 23 and 48 in place of 1, 46, 0 and 45. A received
// message's layout follows its own kind; one whose kind disagrees with the
// local switch is refused (status) with a level-1 message.

#include "msg/DtMsgClass.h"
#include "msg/DtValueListMsg.h"

// ---- bodies (the channel, when present, follows the fixed part)

struct DtNetUpdateMsg : DtNetMsgHeader {
  static constexpr DtU32At objHandle{8};
  static constexpr DtU16At classHandle{12};
  static constexpr DtU8At tagSize{14};
  static constexpr DtU8At nameSize{15};
  static constexpr DtField fields[] = {{"ObjectHandle:", objHandle}, {"Class:", classHandle}};
  static constexpr DtPart parts[] = {{"Tag:", DtPartType::Text, tagSize.offset, 1, DtShow::Text},
                                     {"ObjectName:", DtPartType::Text, nameSize.offset, 1, DtShow::Text},
                                     {nullptr, DtPartType::ValueList, 0, 0, DtShow::Hidden}};
  static constexpr DtMsgLayout layout{"DtNetUpdateMsg", 16, true, fields, parts};
  static constexpr DtTrafficRoles roles{-1, 0, 1, 2};
};

struct DtNetUpdateTsoMsg : DtNetMsgHeader {
  static constexpr DtU32At objHandle{8};
  static constexpr DtU32At serialNumber{12};
  static constexpr DtU16At timeSize{16};
  static constexpr DtU16At classHandle{18};
  static constexpr DtU16At tagSize{20};
  static constexpr DtU8At orderType{22};
  static constexpr DtU8At nameSize{23};
  static constexpr DtField fields[] = {
      {"ObjectHandle:", objHandle}, {"SerialNumber:", serialNumber}, {"Class:", classHandle}, {"Order:", orderType}};
  static constexpr DtPart parts[] = {{"Time:", DtPartType::Time, timeSize.offset, 2, DtShow::TimeText},
                                     {"Tag:", DtPartType::Text, tagSize.offset, 2, DtShow::Text},
                                     {"ObjectName:", DtPartType::Text, nameSize.offset, 1, DtShow::Text},
                                     {nullptr, DtPartType::ValueList, 0, 0, DtShow::Hidden}};
  static constexpr DtMsgLayout layout{"DtNetUpdateTsoMsg", 24, true, fields, parts};
  static constexpr DtTrafficRoles roles{0, 1, 2, 3};
};

struct DtNetInteractionMsg : DtNetMsgHeader {
  static constexpr DtU16At classHandle{8};
  static constexpr DtU16At tagSize{10};
  static constexpr DtField fields[] = {{"Class:", classHandle}};
  static constexpr DtPart parts[] = {{"Tag:", DtPartType::Text, tagSize.offset, 2, DtShow::Text},
                                     {nullptr, DtPartType::ValueList, 0, 0, DtShow::Hidden}};
  static constexpr DtMsgLayout layout{"DtNetInteractionMsg", 12, true, fields, parts};
  static constexpr DtTrafficRoles roles{-1, 0, -1, 1};
};

struct DtNetInteractionTsoMsg : DtNetMsgHeader {
  static constexpr DtU32At serialNumber{8};
  static constexpr DtU32At classHandle{12};  // only 16 bits are used
  static constexpr DtU8At orderType{16};
  static constexpr DtU8At timeSize{17};
  static constexpr DtU16At tagSize{18};
  static constexpr DtField fields[] = {{"SerialNumber:", serialNumber}, {"Class:", classHandle}, {"Order:", orderType}};
  static constexpr DtPart parts[] = {{"Time:", DtPartType::Time, timeSize.offset, 1, DtShow::TimeText},
                                     {"Tag:", DtPartType::Text, tagSize.offset, 2, DtShow::Text},
                                     {nullptr, DtPartType::ValueList, 0, 0, DtShow::Hidden}};
  static constexpr DtMsgLayout layout{"DtNetInteractionTsoMsg", 20, true, fields, parts};
  static constexpr DtTrafficRoles roles{0, 1, -1, 2};
};

static_assert(DtLayoutValid(DtNetUpdateMsg::layout) && DtLayoutValid(DtNetUpdateTsoMsg::layout) &&
              DtLayoutValid(DtNetInteractionMsg::layout) && DtLayoutValid(DtNetInteractionTsoMsg::layout));

// ---- attribute updates

class DtUpdateMsg : public DtValueListMsg<RTI::AttributeHandleValuePairSet> {
public:
  static void setChannelIncluded(char included) { theChannelIncluded = included; }
  static char channelIncluded() { return theChannelIncluded; }

  virtual void setClassHandle(unsigned long handle) = 0;
  virtual unsigned long classHandle() const = 0;
  virtual void setObjHandle(unsigned long handle) = 0;
  virtual unsigned long objHandle() const = 0;
  virtual void setObjName(const char* name);
  // "" when there is none.
  virtual const char* objName() const;
  virtual void setAttrs(const RTI::AttributeHandleValuePairSet& attrs, char resize) { setValues(attrs, resize); }
  virtual const RTI::AttributeHandleValuePairSet& attrs() const { return values(); }
  virtual int numAttrs() const { return numValues(); }
  virtual int nameFieldSize() const { return partLength(roles().name); }

  // The channel an attribute set carries: its region word (0 for a set of
  // another class).
  static unsigned long channelOf(const RTI::AttributeHandleValuePairSet& attrs);

protected:
  using DtValueListMsg::DtValueListMsg;
  static char theChannelIncluded;
  char channelSwitch() const override { return theChannelIncluded; }
  RTI::AttributeHandleValuePairSet* makeSet(RTI::ULong n) const override;
};

class DtUpdateRoMsg : public DtMsgClass<DtUpdateRoMsg, DtUpdateMsg, DtNetUpdateMsg, DtUpdateRoMsgKind> {
public:
  using DtMsgClass::DtMsgClass;
  DtUpdateRoMsg(unsigned long objHandle, const char* objName, unsigned long classHandle,
                const RTI::AttributeHandleValuePairSet& attrs, const char* tag, DtBufferPlaceHolder* where);
  virtual void set(unsigned long objHandle, const char* objName, unsigned long classHandle,
                   const RTI::AttributeHandleValuePairSet& attrs, const char* tag);
  static DtRtiMsgKind currentKind() { return theChannelIncluded ? DtDdmUpdateRoMsgKind : DtUpdateRoMsgKind; }
  // The fixed part (and channel) plus the list of the set, when given.
  static int minSize(const RTI::AttributeHandleValuePairSet* attrs, const char* name, const char* tag);

  void setClassHandle(unsigned long handle) override;
  unsigned long classHandle() const override { return get(DtNetUpdateMsg::classHandle); }
  void setObjHandle(unsigned long handle) override;
  unsigned long objHandle() const override { return get(DtNetUpdateMsg::objHandle); }
  void printData() const override;

protected:
  const DtTrafficRoles& roles() const override { return DtNetUpdateMsg::roles; }
};

class DtUpdateTsoMsg : public DtMsgClass<DtUpdateTsoMsg, DtUpdateMsg, DtNetUpdateTsoMsg, DtUpdateTsoMsgKind> {
public:
  using DtMsgClass::DtMsgClass;
  DtUpdateTsoMsg(unsigned long objHandle, const char* objName, unsigned long classHandle,
                 const RTI::AttributeHandleValuePairSet& attrs, unsigned long orderType, const RTI::FedTime& time,
                 const char* tag, unsigned long serialNumber, DtBufferPlaceHolder* where);
  virtual void set(unsigned long objHandle, const char* objName, unsigned long classHandle,
                   const RTI::AttributeHandleValuePairSet& attrs, unsigned long orderType, const RTI::FedTime& time,
                   const char* tag, unsigned long serialNumber);
  static DtRtiMsgKind currentKind() { return theChannelIncluded ? DtDdmUpdateTsoMsgKind : DtUpdateTsoMsgKind; }
  static int minSize(const RTI::FedTime* time, const RTI::AttributeHandleValuePairSet* attrs, const char* name,
                     const char* tag);

  void setClassHandle(unsigned long handle) override;
  unsigned long classHandle() const override { return get(DtNetUpdateTsoMsg::classHandle); }
  void setObjHandle(unsigned long handle) override;
  unsigned long objHandle() const override { return get(DtNetUpdateTsoMsg::objHandle); }
  virtual void setOrderType(unsigned long order) { putChecked(DtNetUpdateTsoMsg::orderType, order, "order type"); }
  unsigned long orderType() const override { return get(DtNetUpdateTsoMsg::orderType); }
  void setSerialNumber(unsigned long serial) override {
    putChecked(DtNetUpdateTsoMsg::serialNumber, serial, "serial number");
  }
  unsigned long serialNumber() const override { return get(DtNetUpdateTsoMsg::serialNumber); }
  char hasTime() const override { return 1; }
  virtual int timeFieldSize() const { return partLength(roles().time); }
  void printData() const override;

protected:
  const DtTrafficRoles& roles() const override { return DtNetUpdateTsoMsg::roles; }
};

// ---- interactions

class DtInteractionMsg : public DtValueListMsg<RTI::ParameterHandleValuePairSet> {
public:
  static void setChannelIncluded(char included) { theChannelIncluded = included; }
  static char channelIncluded() { return theChannelIncluded; }

  virtual void setHandle(unsigned long classHandle) = 0;
  virtual unsigned long handle() const = 0;
  virtual void setParams(const RTI::ParameterHandleValuePairSet& params, char resize) { setValues(params, resize); }
  virtual const RTI::ParameterHandleValuePairSet& params() const { return values(); }
  virtual int numParams() const { return numValues(); }

protected:
  using DtValueListMsg::DtValueListMsg;
  static char theChannelIncluded;
  char channelSwitch() const override { return theChannelIncluded; }
  RTI::ParameterHandleValuePairSet* makeSet(RTI::ULong n) const override;
};

class DtInteractionRoMsg
    : public DtMsgClass<DtInteractionRoMsg, DtInteractionMsg, DtNetInteractionMsg, DtInteractionRoMsgKind> {
public:
  using DtMsgClass::DtMsgClass;
  DtInteractionRoMsg(unsigned long classHandle, const RTI::ParameterHandleValuePairSet& params, const char* tag,
                     unsigned long channel, DtBufferPlaceHolder* where);
  virtual void set(unsigned long classHandle, const RTI::ParameterHandleValuePairSet& params, const char* tag,
                   unsigned long channel);
  // The same from values held elsewhere (DtNetValueView), not copied into a
  // set first.
  void set(unsigned long classHandle, const DtNetValueView& params, const char* tag, unsigned long channel);
  static DtRtiMsgKind currentKind() { return theChannelIncluded ? DtDdmInteractionRoMsgKind : DtInteractionRoMsgKind; }
  static int minSize(const RTI::ParameterHandleValuePairSet* params, const char* tag);

  void setHandle(unsigned long classHandle) override;
  unsigned long handle() const override { return get(DtNetInteractionMsg::classHandle); }
  void printData() const override;

protected:
  const DtTrafficRoles& roles() const override { return DtNetInteractionMsg::roles; }
};

class DtInteractionTsoMsg
    : public DtMsgClass<DtInteractionTsoMsg, DtInteractionMsg, DtNetInteractionTsoMsg, DtInteractionTsoMsgKind> {
public:
  using DtMsgClass::DtMsgClass;
  DtInteractionTsoMsg(unsigned long classHandle, const RTI::ParameterHandleValuePairSet& params,
                      unsigned long orderType, const RTI::FedTime& time, const char* tag, unsigned long serialNumber,
                      unsigned long channel, DtBufferPlaceHolder* where);
  virtual void set(unsigned long classHandle, const RTI::ParameterHandleValuePairSet& params, unsigned long orderType,
                   const RTI::FedTime& time, const char* tag, unsigned long serialNumber, unsigned long channel);
  static DtRtiMsgKind currentKind() {
    return theChannelIncluded ? DtDdmInteractionTsoMsgKind : DtInteractionTsoMsgKind;
  }
  static int minSize(const RTI::ParameterHandleValuePairSet* params, const RTI::FedTime* time, const char* tag);

  // Refuses a handle above 65535: the field carries 16 bits of it.
  void setHandle(unsigned long classHandle) override;
  unsigned long handle() const override { return get(DtNetInteractionTsoMsg::classHandle) & 0xFFFF; }
  virtual void setOrderType(unsigned long order) { putChecked(DtNetInteractionTsoMsg::orderType, order, "order type"); }
  unsigned long orderType() const override { return get(DtNetInteractionTsoMsg::orderType); }
  void setSerialNumber(unsigned long serial) override {
    putChecked(DtNetInteractionTsoMsg::serialNumber, serial, "serial number");
  }
  unsigned long serialNumber() const override { return get(DtNetInteractionTsoMsg::serialNumber); }
  char hasTime() const override { return 1; }
  virtual int timeFieldSize() const { return partLength(roles().time); }
  void printData() const override;

protected:
  const DtTrafficRoles& roles() const override { return DtNetInteractionTsoMsg::roles; }
};
