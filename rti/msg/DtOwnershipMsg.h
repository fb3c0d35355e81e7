#pragma once
// The ownership message (kind 20): every step of the attribute ownership
// protocol between federates travels in it (acquisition requests and their
// cancellation, divestiture offers, ownership queries and their answers,
// hand-over of free attributes). A resigning federate also sends its free
// attributes to the rtiexec in one (DtGiveToLRC), which resends a copy to
// the federate it picks. The sub-kind (DtOwnerMsgKind) says which step.
//
// Body (after the 8-byte header):
//   8  u32  object instance handle
//  12  u8   tag size: characters + 1; 0 for no tag
//  13  u8   DtOwnerMsgKind
//  14  u16  recipient federate (0: nobody in particular)
//  16  u32  object class handle (DtGiveToLRC and DtNotifyAcquire; else 0)
//  20  44   attribute handle set (count, then the 320-bit map)
//  64  n    the tag's characters, no zero, no padding (the object's name
//           on a DtGiveToLRC or DtNotifyAcquire; the serial of the request
//           withdrawn on a DtCancelAcquire and its confirmation)
// A received message is sound (status 0) only when it is exactly 64 bytes
// plus its tag.

#include <cstdint>

#include "RTI.hh"
#include "msg/DtHandleSetMsg.h"

enum DtOwnerMsgKind : std::uint8_t {
  DtAcquire = 0,                 // request to acquire attributes
  DtAcquireIfAvail = 1,          // request to acquire them only if they are free
  DtCancelAcquire = 2,           // withdraws an earlier acquisition request
  DtCancelNegotiatedDivest = 3,  // never sent; a receiver ignores it
  DtNegotiatedDivest = 4,        // the owner offers attributes
  DtQueryOwner = 5,              // who owns this attribute?
  DtUncondDivest = 6,            // attributes were given up unconditionally
  DtNotOwned = 7,                // answer: nobody owns the attribute
  DtOwnedByRti = 8,              // answer: the RTI owns it
  DtNotifyAcquire = 9,           // the recipient now owns the attributes
  DtOwnershipUnavail = 10,       // answer to an if-available request: not free
  DtConfirmCancelAcquire = 11,   // the owner confirms a cancelled request
  DtInformOwner = 12,            // answer: the sender owns the attribute
  DtGiveToLRC = 13,              // the recipient's local RTI component takes free attributes
  DtResetOwner = 14,             // the recipient now holds the privilege to delete
  DtTakenOver = 15               // the sender dealt with attributes given to it (a DtNotifyAcquire or
                                 // DtGiveToLRC addressed to it): the rtiexec's account of hand-overs
};

// The sub-kind's name ("DtAcquire", ...); "" for a number that is none.
const char* DtOwnerMsgKindName(int kind);

struct DtNetOwnershipMsg : DtNetMsgHeader {
  static constexpr DtU32At objHandle{8};
  static constexpr DtU8At tagSize{12};
  static constexpr DtU8At ownerMsgKind{13};
  static constexpr DtU16At recipientFederate{14};
  static constexpr DtU32At classHandle{16};
  static constexpr DtHandleSetAt attrHandles{20};
  static constexpr DtField fields[] = {{"OwnershipMsgKind:", ownerMsgKind},
                                       {"ObjectHandle:", objHandle},
                                       {"ClassHandle:", classHandle},
                                       {"RecipientFed:", recipientFederate},
                                       {nullptr, attrHandles}};
  static constexpr DtPart parts[] = {{"Tag:", DtPartType::Label, tagSize.offset, 1, DtShow::Text}};
  static constexpr DtMsgLayout layout{"DtNetOwnershipMsg", 64, false, fields, parts};
};
static_assert(DtLayoutValid(DtNetOwnershipMsg::layout));

class DtOwnershipMsg : public DtHandleSetMsg<DtOwnershipMsg, DtNetOwnershipMsg, DtOwnershipMsgKind> {
public:
  // The longest tag: its size byte counts the characters plus one.
  static constexpr int theMaxTagLength = 254;

  using DtHandleSetMsg::DtHandleSetMsg;
  DtOwnershipMsg(DtOwnerMsgKind kind, unsigned long objHandle, const RTI::AttributeHandleSet& attrs,
                 unsigned long recipient, const char* tag, DtBufferPlaceHolder* where = nullptr);
  DtOwnershipMsg(DtOwnerMsgKind kind, unsigned long objHandle, RTI::AttributeHandle attr, unsigned long recipient,
                 const char* tag, DtBufferPlaceHolder* where = nullptr);
  // Kind, object, recipient, attributes and tag, in this order. The class
  // handle is left as it is.
  virtual void set(DtOwnerMsgKind kind, unsigned long objHandle, RTI::AttributeHandle attr, unsigned long recipient,
                   const char* tag);
  virtual void set(DtOwnerMsgKind kind, unsigned long objHandle, const RTI::AttributeHandleSet& attrs,
                   unsigned long recipient, const char* tag);

  virtual void setOwnerMsgKind(DtOwnerMsgKind kind) { put(DtNetOwnershipMsg::ownerMsgKind, kind); }
  // The byte as it came; it may name no sub-kind.
  virtual DtOwnerMsgKind ownerMsgKind() const {
    return static_cast<DtOwnerMsgKind>(get(DtNetOwnershipMsg::ownerMsgKind));
  }
  // Values that do not fit their fields (a recipient above 65535, ...) are
  // refused with a message.
  virtual void setObjHandle(unsigned long handle) { putChecked(DtNetOwnershipMsg::objHandle, handle, "object handle"); }
  virtual unsigned long objHandle() const { return get(DtNetOwnershipMsg::objHandle); }
  virtual void setClassHandle(unsigned long handle) {
    putChecked(DtNetOwnershipMsg::classHandle, handle, "class handle");
  }
  virtual unsigned long classHandle() const { return get(DtNetOwnershipMsg::classHandle); }
  virtual void setRecipientFederate(unsigned long federate) {
    putChecked(DtNetOwnershipMsg::recipientFederate, federate, "recipient federate");
  }
  virtual unsigned long recipientFederate() const { return get(DtNetOwnershipMsg::recipientFederate); }

  // Null for no tag, "" for the empty tag. A tag longer than
  // theMaxTagLength is refused with a message; the message keeps its tag.
  virtual void setTag(const char* tag);
  // Null when there is none. The text belongs to this message and stays
  // valid until its tag is set again or the message goes.
  virtual const char* tag() const { return textPart(0); }
  virtual char* tagPtr() const { return partPtr(0); }
  // The tag's characters within the message (0 for no tag).
  virtual int tagFieldSize() const { return partLength(0); }

  virtual DtNetOwnershipMsg* netOwnershipMsg() { return reinterpret_cast<DtNetOwnershipMsg*>(data()); }
  virtual const DtNetOwnershipMsg* netOwnershipMsg() const {
    return reinterpret_cast<const DtNetOwnershipMsg*>(data());
  }
  static constexpr int minSize() { return 64; }
  virtual DtOwnershipMsg* self() { return this; }

  void printData() const override;

protected:
  int checkBody() const override;
};
