#pragma once
// The synchronization point message (kind 19): every step of a federation
// synchronization point travels in it, its sub-kind (DtSyncMsgType) saying
// which: a federate registers a label (with a tag and the federates taking
// part, none for all) and says it achieved it; the rtiexec answers the
// registrant (succeeded, failed) and tells the federates concerned of the
// point (announce) and of its end (synchronized).
//
// Body (after the 8-byte header):
//   8  u16  sub-kind (DtSyncMsgType)
//  10  u16  federate id: the registering or achieving federate; 0 from the
//           rtiexec to all
//  12  u8   tag size: characters + 1, the zero sent too; 0 for no tag
//  13  u8   label size: likewise
//  14  u16  number of federate handles
//  16  4n   the federate handles, u32 each
//       then the tag's characters and zero, then the label's
// The smallest message is 16 bytes. A received message is sound only when it
// is exactly as long as its count and sizes say and each text ends with its
// zero; any other is dropped with an error line.
// Labels and tags hold at most 254 characters; a longer one is refused.

#include <cstdint>
#include <memory>
#include <vector>

#include "RTI.hh"
#include "msg/DtExactBody.h"
#include "msg/DtMsgClass.h"

enum DtSyncMsgType : std::uint16_t {
  DtRegister = 0,            // federate to rtiexec: a new point
  DtAchieved = 1,            // federate to rtiexec: it reached the point
  DtSynchronized = 2,        // rtiexec to the federates concerned: all reached it
  DtAnnouncePt = 3,          // rtiexec to the federates concerned: the point exists
  DtSyncPointSucceeded = 4,  // rtiexec to the registrant
  DtSyncPointFailed = 5      // rtiexec to the registrant
};

// The sub-kind's name ("DtRegister", ...); "" for a number that is none.
const char* DtSyncMsgTypeName(int kind);

struct DtNetSyncMsg : DtNetMsgHeader {
  static constexpr DtU16At syncMsgKind{8};
  static constexpr DtU16At federateId{10};
  static constexpr DtU8At tagSize{12};
  static constexpr DtU8At nameSize{13};
  static constexpr DtU16At numFederates{14};
  static constexpr DtField fields[] = {{"SyncMsgKind:", syncMsgKind}, {"FederateId:", federateId}};
  static constexpr DtPart parts[] = {{"NumFederates:", DtPartType::Handles, numFederates.offset, 2, DtShow::Hidden},
                                     {"Tag:", DtPartType::ZeroEnded, tagSize.offset, 1, DtShow::Text},
                                     {"SyncPointName:", DtPartType::ZeroEnded, nameSize.offset, 1, DtShow::Text}};
  static constexpr DtMsgLayout layout{"DtNetSyncMsg", 16, false, fields, parts};
};
static_assert(DtLayoutValid(DtNetSyncMsg::layout));

class DtSyncPointMsg : public DtMsgClass<DtSyncPointMsg, DtExactBody<DtRtiMsg>, DtNetSyncMsg, DtSyncPointMsgKind> {
public:
  // The longest label or tag.
  static constexpr int theMaxTextLength = 254;

  using DtMsgClass::DtMsgClass;
  DtSyncPointMsg(DtSyncMsgType kind, unsigned long federateId, const char* label, const char* tag,
                 const RTI::FederateHandleSet* federates, DtBufferPlaceHolder* where = nullptr);
  // Sub-kind, federate id, label, tag and federates, in this order; false
  // when one was refused (the message keeps what it had for it).
  bool set(DtSyncMsgType kind, unsigned long federateId, const char* label, const char* tag,
           const RTI::FederateHandleSet* federates);

  void setSyncMsgKind(int kind) { put(DtNetSyncMsg::syncMsgKind, static_cast<std::uint16_t>(kind)); }
  // As it came: it may name no sub-kind.
  int syncMsgKind() const { return get(DtNetSyncMsg::syncMsgKind); }
  void setFederateId(unsigned long id) { putChecked(DtNetSyncMsg::federateId, id, "federate id"); }
  unsigned long federateId() const { return get(DtNetSyncMsg::federateId); }
  // Null clears it; a text longer than theMaxTextLength is refused with a
  // message (false).
  bool setSyncPointName(const char* label) { return setTextPart(2, label, "synchronization point label"); }
  bool setTag(const char* tag) { return setTextPart(1, tag, "tag"); }
  // Null when there is none. The text belongs to this message and stays
  // valid until it is set again or the message goes.
  const char* syncPointName() const { return textPart(2); }
  const char* tag() const { return textPart(1); }
  // Null or an empty set: none (the point concerns every federate). A
  // handle past 32 bits is refused (false).
  bool setFederates(const RTI::FederateHandleSet* federates);
  // The same from a list; more than 65535 handles are refused (false).
  bool setFederateHandles(const std::vector<std::uint32_t>& handles);
  int numFederates() const { return get(DtNetSyncMsg::numFederates); }
  // The handles, as far as the message holds them.
  std::vector<std::uint32_t> federateHandles() const;
  // A new set with the handles (the caller owns it).
  std::unique_ptr<RTI::FederateHandleSet> federates() const;
  // Adds the handles to the set; one it refuses for want of room is
  // reported and skipped.
  void getFederates(RTI::FederateHandleSet& set) const;
  // Whether the point concerns this federate: no handles, or its among them.
  bool concerns(unsigned long federateHandle) const;

  int handleArraySize() const { return partLength(0); }
  int tagFieldSize() const { return partLength(1); }
  int nameFieldSize() const { return partLength(2); }
  static constexpr int minSize() { return 16; }

  void printData() const override;

protected:
  int checkBody() const override;
};
