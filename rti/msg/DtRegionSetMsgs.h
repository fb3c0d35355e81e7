#pragma once
// The region-set messages, from a federate to the others. Data distribution
// announces its region sets with their channels and regions, for objects
// (kind 29) and for interaction classes (kind 30), and tells which object's
// attributes it associated with, or released from, a publication set (kind
// 27) and which class attributes it subscribed with a subscription set
// (kind 28).
//
// Each is read as its counts and sizes say: a received body must be exactly
// 24 + 4N bytes (kind 29), 28 + 4n (kind 30), 68 and the object name's size
// with the name ending in its zero (kind 27), or 60 (kind 28).

#include <cstdint>
#include <span>

#include "msg/DtHandleSetMsg.h"
#include "msg/DtRegionListMsg.h"

// What a region-set announcement announces.
enum DtObjRegSetType : std::uint32_t { DtObjPubRegionSet = 0, DtObjSubRegionSet = 1 };
enum DtInterRegSetType : std::uint32_t { DtInterPubRegionSet = 0, DtInterSubRegionSet = 1 };

// ---- bodies

// Kind 29:
//   8  u32  region-set type, DtObjRegSetType (carried whatever it is)
//  12  u32  region-set handle
//  16  u32  channel address (a multicast group in host order; 0: none)
//  20  u32  number of regions N
//  24  N x u32  region handles
struct DtNetObjRegSetMsg : DtNetMsgHeader {
  static constexpr DtU32At regionSetType{8};
  static constexpr DtU32At regionSetHandle{12};
  static constexpr DtU32At address{16};
  static constexpr DtU32At regionCount{20};
  static constexpr DtField fields[] = {{"RegionSetType:", regionSetType},
                                       {"RegionSetHandle:", regionSetHandle},
                                       {"ChannelAddress:", address},
                                       {"regionCount:", regionCount}};
  static constexpr DtPart parts[] = {{"    Region:", DtPartType::Handles, regionCount.offset, 4, DtShow::Hidden}};
  static constexpr DtMsgLayout layout{"DtNetObjRegSetMsg", 24, false, fields, parts};
};

// Kind 30: the same with the interaction class at 16.
//   8  u32  region-set type, DtInterRegSetType
//  12  u32  region-set handle
//  16  u32  interaction class handle
//  20  u32  channel address
//  24  u32  number of regions n (a subscription of none withdraws it)
//  28  n x u32  region handles (0: the default region)
struct DtNetInterRegSetMsg : DtNetMsgHeader {
  static constexpr DtU32At regionSetType{8};
  static constexpr DtU32At regionSetHandle{12};
  static constexpr DtU32At classHandle{16};
  static constexpr DtU32At address{20};
  static constexpr DtU32At regionCount{24};
  static constexpr DtField fields[] = {{"RegionSetType:", regionSetType},
                                       {"ClassHandle:", classHandle},
                                       {"RegionSetHandle:", regionSetHandle},
                                       {"ChannelAddress:", address},
                                       {"RegionCount:", regionCount}};
  static constexpr DtPart parts[] = {{"    Region:", DtPartType::Handles, regionCount.offset, 4, DtShow::Hidden}};
  static constexpr DtMsgLayout layout{"DtNetInterRegSetMsg", 28, false, fields, parts};
};

// Kind 27:
//   8  u32  region-set handle
//  12  u32  object instance handle
//  16  u32  object class handle
//  20  u16  remove flag: 0 associate, else release (the flag character
//           sign-extended, so a negative one travels as 0xFFFF)
//  22  u16  name size: characters + 1, the zero stored too; 0 for no name
//  24  44   attribute handle set
//  68  the object instance name and its zero, unpadded
struct DtNetAssocPubRegMsg : DtNetMsgHeader {
  static constexpr DtU32At regionSetHandle{8};
  static constexpr DtU32At objectHandle{12};
  static constexpr DtU32At classHandle{16};
  static constexpr DtU16At removeAssociation{20};
  static constexpr DtU16At nameSize{22};
  static constexpr DtHandleSetAt attrHandles{24};
  static constexpr DtField fields[] = {{"Region Set   :", regionSetHandle},
                                       {"Object Handle:", objectHandle},
                                       {"Object Class :", classHandle},
                                       {"IsRemoveAssoc:", removeAssociation, DtShow::TrueFalse},
                                       {nullptr, attrHandles}};
  static constexpr DtPart parts[] = {{"ObjectName:", DtPartType::NameWithZero, nameSize.offset, 2, DtShow::Hidden}};
  static constexpr DtMsgLayout layout{"DtNetAssocPubRegMsg", 68, false, fields, parts};
};

// Kind 28:
//   8  u32  region-set handle
//  12  u32  object class handle
//  16  44   attribute handle set
struct DtNetAssocSubRegMsg : DtNetMsgHeader {
  static constexpr DtU32At regionSetHandle{8};
  static constexpr DtU32At classHandle{12};
  static constexpr DtHandleSetAt attrHandles{16};
  static constexpr DtField fields[] = {
      {"Region Set:", regionSetHandle}, {"class     :", classHandle}, {nullptr, attrHandles}};
  static constexpr DtMsgLayout layout{"DtNetAssocSubRegMsg", 60, false, fields, {}};
};

static_assert(DtLayoutValid(DtNetObjRegSetMsg::layout) && DtLayoutValid(DtNetInterRegSetMsg::layout) &&
              DtLayoutValid(DtNetAssocPubRegMsg::layout) && DtLayoutValid(DtNetAssocSubRegMsg::layout));

// ---- classes

// Federate to federates: an object region set of mine, with its channel and
// regions (also one that was deleted, announced with none).
class DtObjRegSetMsg : public DtRegionListMsg<DtObjRegSetMsg, DtNetObjRegSetMsg, DtObjRegSetMsgKind> {
public:
  using DtRegionListMsg::DtRegionListMsg;
  // Type, set handle, channel, then the regions in order.
  DtObjRegSetMsg(DtObjRegSetType type, unsigned long setHandle, unsigned long address,
                 std::span<const std::uint32_t> regions, DtBufferPlaceHolder* where = nullptr);
  // Writes the type, the handle and the channel, then appends the regions
  // after any already there.
  virtual void set(DtObjRegSetType type, unsigned long setHandle, unsigned long address,
                   std::span<const std::uint32_t> regions);
  virtual void setRegionSetType(DtObjRegSetType type) { put(DtNetObjRegSetMsg::regionSetType, type); }
  // The number as it came; it may be neither type.
  virtual DtObjRegSetType regionSetType() const {
    return static_cast<DtObjRegSetType>(get(DtNetObjRegSetMsg::regionSetType));
  }
  virtual void setRegionSetHandle(unsigned long h) {
    putChecked(DtNetObjRegSetMsg::regionSetHandle, h, "region set handle");
  }
  virtual unsigned long regionSetHandle() const { return get(DtNetObjRegSetMsg::regionSetHandle); }
  virtual void setAddress(unsigned long a) { putChecked(DtNetObjRegSetMsg::address, a, "channel address"); }
  virtual unsigned long address() const { return get(DtNetObjRegSetMsg::address); }
  static constexpr int minSize() { return 24; }
  void printData() const override;
};

// Federate to federates: an interaction region set of mine for a class,
// with its channel and regions.
class DtInterRegSetMsg : public DtRegionListMsg<DtInterRegSetMsg, DtNetInterRegSetMsg, DtInterRegSetMsgKind> {
public:
  using DtRegionListMsg::DtRegionListMsg;
  DtInterRegSetMsg(DtInterRegSetType type, unsigned long setHandle, unsigned long classHandle, unsigned long address,
                   std::span<const std::uint32_t> regions, DtBufferPlaceHolder* where = nullptr);
  // Writes the type, the class, the handle and the channel, then appends
  // the regions after any already there.
  virtual void set(DtInterRegSetType type, unsigned long setHandle, unsigned long classHandle, unsigned long address,
                   std::span<const std::uint32_t> regions);
  virtual void setRegionSetType(DtInterRegSetType type) { put(DtNetInterRegSetMsg::regionSetType, type); }
  virtual DtInterRegSetType regionSetType() const {
    return static_cast<DtInterRegSetType>(get(DtNetInterRegSetMsg::regionSetType));
  }
  virtual void setRegionSetHandle(unsigned long h) {
    putChecked(DtNetInterRegSetMsg::regionSetHandle, h, "region set handle");
  }
  virtual unsigned long regionSetHandle() const { return get(DtNetInterRegSetMsg::regionSetHandle); }
  virtual void setClassHandle(unsigned long h) {
    putChecked(DtNetInterRegSetMsg::classHandle, h, "interaction class handle");
  }
  virtual unsigned long classHandle() const { return get(DtNetInterRegSetMsg::classHandle); }
  virtual void setAddress(unsigned long a) { putChecked(DtNetInterRegSetMsg::address, a, "channel address"); }
  virtual unsigned long address() const { return get(DtNetInterRegSetMsg::address); }
  static constexpr int minSize() { return 28; }
  void printData() const override;
};

// Federate to federates: these attributes of an object are associated with
// a publication region set of mine, or released from it.
class DtAssocPubRegMsg
    : public DtHandleSetMsg<DtAssocPubRegMsg, DtNetAssocPubRegMsg, DtAssocPubRegMsgKind, DtExactBody<DtRtiMsg>> {
public:
  using DtHandleSetMsg::DtHandleSetMsg;
  DtAssocPubRegMsg(unsigned long setHandle, unsigned long objectHandle, const char* objectName,
                   unsigned long classHandle, char removeAssociation, const RTI::AttributeHandleSet& attrs,
                   DtBufferPlaceHolder* where = nullptr);
  // Set, object, name, class, remove flag and attributes, in this order.
  virtual void set(unsigned long setHandle, unsigned long objectHandle, const char* objectName,
                   unsigned long classHandle, char removeAssociation, const RTI::AttributeHandleSet& attrs);
  virtual void setRegionSetHandle(unsigned long h) {
    putChecked(DtNetAssocPubRegMsg::regionSetHandle, h, "region set handle");
  }
  virtual unsigned long regionSetHandle() const { return get(DtNetAssocPubRegMsg::regionSetHandle); }
  virtual void setObjectHandle(unsigned long h) { putChecked(DtNetAssocPubRegMsg::objectHandle, h, "object handle"); }
  virtual unsigned long objectHandle() const { return get(DtNetAssocPubRegMsg::objectHandle); }
  // The body ends right after the name and its zero (no name: no bytes).
  // A name too long for its 16-bit size is refused with a message.
  virtual void setObjName(const char* name) { setTextPart(0, name && *name ? name : nullptr, "object name"); }
  // "" when there is none.
  virtual const char* objName() const;
  virtual void setClassHandle(unsigned long h) {
    putChecked(DtNetAssocPubRegMsg::classHandle, h, "object class handle");
  }
  virtual unsigned long classHandle() const { return get(DtNetAssocPubRegMsg::classHandle); }
  // The flag character travels sign-extended to 16 bits; the low byte comes
  // back.
  virtual void setRemoveAssociation(char remove);
  virtual char isRemoveAssociation() const {
    return static_cast<char>(get(DtNetAssocPubRegMsg::removeAssociation) & 0xFF);
  }
  virtual int nameFieldSize() const { return partLength(0); }
  static constexpr int minSize() { return 68; }

protected:
  // The name's first byte.
  virtual char* namePtr() const { return partPtr(0); }
  // A name must end in its zero.
  int checkBody() const override;
};

// Federate to federates: these attributes of a class are subscribed with a
// subscription region set of mine.
class DtAssocSubRegMsg
    : public DtHandleSetMsg<DtAssocSubRegMsg, DtNetAssocSubRegMsg, DtAssocSubRegMsgKind, DtExactBody<DtRtiMsg>> {
public:
  using DtHandleSetMsg::DtHandleSetMsg;
  DtAssocSubRegMsg(unsigned long setHandle, unsigned long classHandle, const RTI::AttributeHandleSet& attrs,
                   DtBufferPlaceHolder* where = nullptr);
  // Set, class and attributes, in this order.
  virtual void set(unsigned long setHandle, unsigned long classHandle, const RTI::AttributeHandleSet& attrs);
  virtual void setRegionSetHandle(unsigned long h) {
    putChecked(DtNetAssocSubRegMsg::regionSetHandle, h, "region set handle");
  }
  virtual unsigned long regionSetHandle() const { return get(DtNetAssocSubRegMsg::regionSetHandle); }
  virtual void setClassHandle(unsigned long h) {
    putChecked(DtNetAssocSubRegMsg::classHandle, h, "object class handle");
  }
  virtual unsigned long classHandle() const { return get(DtNetAssocSubRegMsg::classHandle); }
  static constexpr int minSize() { return 60; }
};
