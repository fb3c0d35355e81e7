#pragma once
// Declaration messages: a federate tells every other federate of its
// execution that it published, subscribed, unpublished or unsubscribed an
// object class (object manager, kinds 14 to 17) or an interaction class
// (interaction manager, kinds 10 to 13). The receiving managers record the
// remote declaration; the management object model also watches kind 14.

#include "RTI.hh"
#include "msg/DtHandleSetMsg.h"

// ---- bodies

// The 16-byte class message: a class handle and a reserved word.
struct DtNetClassMsg : DtNetMsgHeader {
  static constexpr DtU32At handle{8};
  static constexpr DtU32At reserved{12};
  static constexpr DtField fields[] = {{"Class:", handle}};
};
struct DtNetPubInterMsg : DtNetClassMsg {
  static constexpr DtMsgLayout layout{"DtNetPubInterMsg", 16, false, fields, {}};
};
struct DtNetSubInterMsg : DtNetClassMsg {
  static constexpr DtMsgLayout layout{"DtNetSubInterMsg", 16, false, fields, {}};
};
struct DtNetUnpubObjMsg : DtNetClassMsg {
  static constexpr DtMsgLayout layout{"DtNetUnpubObjMsg", 16, false, fields, {}};
};

struct DtNetPubObjMsg : DtNetMsgHeader {
  static constexpr DtU32At objectClassHandle{8};
  static constexpr DtU32At reserved{12};
  static constexpr DtHandleSetAt attrHandles{16};  // the published attributes
  static constexpr DtField fields[] = {{"Class:", objectClassHandle}, {nullptr, attrHandles}};
  static constexpr DtMsgLayout layout{"DtNetPubObjMsg", 60, false, fields, {}};
};

struct DtNetSubObjMsg : DtNetMsgHeader {
  static constexpr DtU32At objectClassHandle{8};
  static constexpr DtU16At isPassive{12};    // the char, widened with its sign
  static constexpr DtU16At replacement{14};  // likewise
  static constexpr DtHandleSetAt attrHandles{16};
  static constexpr DtField fields[] = {{"Class:", objectClassHandle},
                                       {"IsPassive:", isPassive, DtShow::TrueFalse},
                                       {"Replacement:", replacement, DtShow::TrueFalse},
                                       {nullptr, attrHandles}};
  static constexpr DtMsgLayout layout{"DtNetSubObjMsg", 60, false, fields, {}};
};

static_assert(DtLayoutValid(DtNetPubInterMsg::layout) && DtLayoutValid(DtNetPubObjMsg::layout) &&
              DtLayoutValid(DtNetSubObjMsg::layout));

// ---- classes

// A message that names one class: kinds 10, 11, 12, 13, 15 and 17.
template <class Self, class Net, DtRtiMsgKind Kind>
class DtClassMsg : public DtMsgClass<Self, DtRtiMsg, Net, Kind> {
  using Pattern = DtMsgClass<Self, DtRtiMsg, Net, Kind>;

public:
  using Pattern::Pattern;
  DtClassMsg(unsigned long handle, DtBufferPlaceHolder* where) : Pattern(where) { setHandle(handle); }

  virtual void set(unsigned long handle) { setHandle(handle); }
  virtual void setHandle(unsigned long handle) { this->putChecked(Net::handle, handle, "class handle"); }
  virtual unsigned long handle() const { return this->get(Net::handle); }
  static constexpr int minSize() { return 16; }
};

class DtPubInterMsg : public DtClassMsg<DtPubInterMsg, DtNetPubInterMsg, DtPubInterMsgKind> {
public:
  using DtClassMsg::DtClassMsg;
};
class DtUnpubInterMsg : public DtClassMsg<DtUnpubInterMsg, DtNetPubInterMsg, DtUnpubInterMsgKind> {
public:
  using DtClassMsg::DtClassMsg;
};
class DtSubInterMsg : public DtClassMsg<DtSubInterMsg, DtNetSubInterMsg, DtSubInterMsgKind> {
public:
  using DtClassMsg::DtClassMsg;
};
class DtUnsubInterMsg : public DtClassMsg<DtUnsubInterMsg, DtNetSubInterMsg, DtUnsubInterMsgKind> {
public:
  using DtClassMsg::DtClassMsg;
};
class DtUnsubObjMsg : public DtClassMsg<DtUnsubObjMsg, DtNetUnpubObjMsg, DtUnsubObjMsgKind> {
public:
  using DtClassMsg::DtClassMsg;
};
class DtUnpubObjMsg : public DtClassMsg<DtUnpubObjMsg, DtNetUnpubObjMsg, DtUnpubObjMsgKind> {
public:
  using DtClassMsg::DtClassMsg;
};

// A message with an object class and an attribute handle set.
template <class Self, class Net, DtRtiMsgKind Kind>
class DtClassSetMsg : public DtHandleSetMsg<Self, Net, Kind> {
  using Pattern = DtHandleSetMsg<Self, Net, Kind>;

public:
  using Pattern::Pattern;

  virtual void setObjectClassHandle(unsigned long handle) {
    this->putChecked(Net::objectClassHandle, handle, "class handle");
  }
  virtual unsigned long objectClassHandle() const { return this->get(Net::objectClassHandle); }
  static constexpr int minSize() { return 60; }
};

class DtPubObjMsg : public DtClassSetMsg<DtPubObjMsg, DtNetPubObjMsg, DtPubObjMsgKind> {
public:
  using DtClassSetMsg::DtClassSetMsg;
  DtPubObjMsg(unsigned long classHandle, const RTI::AttributeHandleSet& attrs, DtBufferPlaceHolder* where)
      : DtPubObjMsg(where) {
    set(classHandle, attrs);
  }
  virtual void set(unsigned long classHandle, const RTI::AttributeHandleSet& attrs) {
    setObjectClassHandle(classHandle);
    setAttrHandles(attrs);
  }
};

class DtSubObjMsg : public DtClassSetMsg<DtSubObjMsg, DtNetSubObjMsg, DtSubObjMsgKind> {
public:
  using DtClassSetMsg::DtClassSetMsg;
  DtSubObjMsg(unsigned long classHandle, char isPassive, char replacement, const RTI::AttributeHandleSet& attrs,
              DtBufferPlaceHolder* where)
      : DtSubObjMsg(where) {
    set(classHandle, isPassive, replacement, attrs);
  }
  virtual void set(unsigned long classHandle, char isPassive, char replacement, const RTI::AttributeHandleSet& attrs) {
    setObjectClassHandle(classHandle);
    setIsPassive(isPassive);
    setReplacement(replacement);
    setAttrHandles(attrs);
  }
  virtual void setIsPassive(char flag) { put(DtNetSubObjMsg::isPassive, widen(flag)); }
  virtual char isPassive() const { return lowByte(get(DtNetSubObjMsg::isPassive)); }
  virtual void setReplacement(char flag) { put(DtNetSubObjMsg::replacement, widen(flag)); }
  virtual char replacement() const { return lowByte(get(DtNetSubObjMsg::replacement)); }

private:
  static std::uint16_t widen(char c) { return static_cast<std::uint16_t>(static_cast<signed char>(c)); }
  static char lowByte(std::uint16_t v) { return static_cast<char>(v & 0xFF); }
};
