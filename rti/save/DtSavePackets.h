#pragma once
// The records of a federate's save file. Every record starts with an 8-byte
// header, the u32 length of the whole record and the u32 record type, and
// every integer in it is a wire number (big-endian). A record is described
// once, by the offsets of its fields below; writers fill a
// DtSavePacketBuilder at those offsets and readers look at a DtSavePacket,
// a bounds-checked view of a record read back, through the same offsets.
//
// A record read back is checked before its fields are trusted: complete()
// says whether the bytes hold the record's fixed part and every entry its
// counts announce.

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "api/DtAttributeHandleSet.h"

// Record types.
enum DtSavePacketType : std::uint32_t {
  DtFedMgrPacketType = 1,
  DtInteractionMgrPacketType = 2,
  DtIntDataDistMgrPacketType = 3,
  DtObjectMgrPacketType = 4,
  DtObjectPacketType = 5,
  DtObjectClassPacketType = 6,
  DtAttrInfoPacketType = 7,
  DtInteractionClassPacketType = 8,
  DtMomMgrPacketType = 9,
  DtDataDistMgrPacketType = 10,
  DtDataDistMgrCompanionPacketType = 11,
  DtRegionPacketType = 12,
  DtRegionSetPacketType = 13,
  DtTimeMgrPacketType = 14,
  DtSavedMessagePacketType = 15,
  DtEndPacketType = 998  // ends a run of records
};

// A record read back from a save file: a view of bytes that its reader owns.
class DtSavePacket {
public:
  static constexpr std::uint32_t headerSize = 8;
  static constexpr std::uint32_t lengthAt = 0;
  static constexpr std::uint32_t typeAt = 4;

  explicit DtSavePacket(std::span<const char> bytes) : bytes_(bytes) {}

  // The header's fields; 0 when the bytes do not hold a header.
  std::uint32_t length() const { return u32(lengthAt); }
  std::uint32_t type() const { return u32(typeAt); }
  // The bytes held (the whole record, as the save file read it).
  std::span<const char> bytes() const { return bytes_; }
  std::uint32_t size() const { return static_cast<std::uint32_t>(bytes_.size()); }
  // Whether `width` bytes at `offset` lie within the record.
  bool holds(std::uint32_t offset, std::uint32_t width) const { return offset <= size() && width <= size() - offset; }
  // Whether the record is whole: its length field says the bytes held, and
  // they hold at least the fixed part of its layout.
  bool whole(std::uint32_t fixedLength) const { return size() >= fixedLength && length() == size(); }

  // Fields; 0 (or an empty set) for a field outside the record.
  std::uint8_t u8(std::uint32_t offset) const;
  std::uint16_t u16(std::uint32_t offset) const;
  std::uint32_t u32(std::uint32_t offset) const;
  // `count` u32 fields, one after another from `offset`.
  std::vector<std::uint32_t> u32s(std::uint32_t offset, std::uint32_t count) const;
  DtAttributeHandleSet handleSet(std::uint32_t offset) const;
  // A 40-byte membership map without a count (the members are counted).
  DtAttributeHandleSet handleMap(std::uint32_t offset) const;

private:
  std::span<const char> bytes_;
};

// A record being written: its own zeroed bytes, header filled in.
class DtSavePacketBuilder {
public:
  DtSavePacketBuilder(std::uint32_t type, std::uint32_t length);

  // Fields outside the record are not written.
  void setU8(std::uint32_t offset, std::uint8_t value);
  void setU16(std::uint32_t offset, std::uint16_t value);
  void setU32(std::uint32_t offset, std::uint32_t value);
  // The values as u32 fields, one after another from `offset`.
  template <class Values>
  void setU32s(std::uint32_t offset, const Values& values) {
    for (const std::uint32_t value : values) {
      setU32(offset, value);
      offset += 4;
    }
  }
  void setHandleSet(std::uint32_t offset, const DtAttributeHandleSet& set);
  // The set's 40-byte membership map alone, without its count.
  void setHandleMap(std::uint32_t offset, const DtAttributeHandleSet& set);
  // `length` bytes as they are (a name and its zero).
  void setBytes(std::uint32_t offset, const char* data, std::uint32_t length);

  std::span<const char> bytes() const { return bytes_; }
  DtSavePacket packet() const { return DtSavePacket(bytes_); }

private:
  std::vector<char> bytes_;
};

// The layouts. Offsets count from the first header byte.

// After a class's attribute records (20 bytes), and after the object
// manager's objects (the bare header); readers look only at the type.
struct DtEndPacket {
  static constexpr std::uint32_t theType = DtEndPacketType;
  static constexpr std::uint32_t classEndLength = 20;
  static constexpr std::uint32_t listEndLength = DtSavePacket::headerSize;
};

// The federate manager's record: its handle, the synchronization labels
// announced to it and not yet synchronized, and the number of messages held
// back for it, which follow as saved messages.
struct DtFedMgrPacket {
  static constexpr std::uint32_t theType = DtFedMgrPacketType;
  static constexpr std::uint32_t fixedLength = 20;
  static constexpr std::uint32_t federateAt = 8;       // u32
  static constexpr std::uint32_t labelCountAt = 12;    // u32
  static constexpr std::uint32_t messageCountAt = 16;  // u32
  static constexpr std::uint32_t labelsAt = 20;        // each followed by its zero

  static DtSavePacketBuilder build(std::uint32_t federate, const std::vector<std::string>& labels,
                                   std::uint32_t messages);
  // The labels, when the record holds exactly as many as it says, each
  // ended by its zero, and nothing after them; none otherwise.
  static std::optional<std::vector<std::string>> labels(const DtSavePacket& packet);
};

// A message in the form it travels in, behind the header: a message held
// back for the federate manager, or a queued time-stamped one.
struct DtSavedMessagePacket {
  static constexpr std::uint32_t theType = DtSavedMessagePacketType;
  static constexpr std::uint32_t messageAt = DtSavePacket::headerSize;

  static DtSavePacketBuilder build(const char* message, std::uint32_t size);
  // The message's bytes.
  static std::span<const char> message(const DtSavePacket& packet) { return packet.bytes().subspan(messageAt); }
};

// The time manager's record: its flags, the state version, the next-event
// cycle, ten times and the retraction records; as many saved messages as
// it counts follow it (the queued time-stamped messages). Each time is a
// u32 size and that many bytes of its encoding; each retraction record a
// u32 serial number and a time.
struct DtTimeMgrPacket {
  static constexpr std::uint32_t theType = DtTimeMgrPacketType;
  static constexpr std::uint32_t fixedLength = 52;
  // The flags, one byte each from offset 8, in this order.
  enum Flag : std::uint32_t {
    constrained,
    regulating,
    regulationPending,
    constrainedPending,
    tarPending,
    nerPending,
    checkNeeded,
    flushPending,
    advancePending,
    timeAvailable,
    epsilonLookahead,
    epsilonReducing,
    tsoEventDelivered,
    grantsHeld,
    lookaheadReducing,
    queueAsyncDelivery,
    nerAfterSave,
    grantPending,
    nerEventFound,
    zeroLookaheadRestored,
    nerFirstPass,
    flagCount
  };
  static constexpr std::uint32_t flagAt(Flag flag) { return 8 + flag; }
  static constexpr std::uint32_t stateVersionAt = 32;  // u32
  static constexpr std::uint32_t nerCycleAt = 36;      // u32
  static constexpr std::uint32_t retractCountAt = 40;  // u32 r
  static constexpr std::uint32_t queuedCountAt = 44;   // u32 q
  static constexpr std::uint32_t timesAt = 52;
  // lbts, timePlusLookahead, constrainedLbts, federateTime, lookahead,
  // requestedTime, targetLookahead, reducingLookahead, pendingGrantTime,
  // nerBound.
  static constexpr std::uint32_t timeCount = 10;
};
static_assert(DtTimeMgrPacket::flagAt(DtTimeMgrPacket::flagCount) <= DtTimeMgrPacket::stateVersionAt);

// The interaction manager's record.
struct DtInteractionMgrPacket {
  static constexpr std::uint32_t theType = DtInteractionMgrPacketType;
  static constexpr std::uint32_t theLength = 12;
  static constexpr std::uint32_t relevanceSwitchAt = 8;  // u8
};

// The object manager's record (type 4) and, in the same layout, the
// management object model manager's (type 9).
struct DtObjectMgrPacket {
  static constexpr std::uint32_t theType = DtObjectMgrPacketType;
  static constexpr std::uint32_t momType = DtMomMgrPacketType;
  static constexpr std::uint32_t theLength = 16;
  static constexpr std::uint32_t firstSwitchAt = 8;   // u8: class relevance / service reporting
  static constexpr std::uint32_t secondSwitchAt = 9;  // u8: attribute relevance / exception logging
  static constexpr std::uint32_t thirdSwitchAt = 10;  // u8: attribute scope / second exception logging
  static constexpr std::uint32_t counterAt = 12;      // u32: next object instance / next alert
};

// One object class.
struct DtObjectClassPacket {
  static constexpr std::uint32_t theType = DtObjectClassPacketType;
  static constexpr std::uint32_t theLength = 164;
  static constexpr std::uint32_t classHandleAt = 8;     // u32
  static constexpr std::uint32_t publishedAt = 12;      // u8
  static constexpr std::uint32_t subscribedAt = 13;     // u8
  static constexpr std::uint32_t passiveAt = 14;        // u8
  static constexpr std::uint32_t classRelevantAt = 15;  // u8
  // Four u32 tallies: sent best effort, sent reliable, received best
  // effort, received reliable.
  static constexpr std::uint32_t sentBestEffortAt = 16;
  static constexpr std::uint32_t subscribedAttrsAt = 32;  // handle sets
  static constexpr std::uint32_t publishedAttrsAt = 76;
  static constexpr std::uint32_t relevantAttrsAt = 120;

  static bool complete(const DtSavePacket& packet);
};

// One attribute of an object class, after the class's record: its flags
// and the remote federates subscribed to it without region.
struct DtAttrInfoPacket {
  static constexpr std::uint32_t theType = DtAttrInfoPacketType;
  static constexpr std::uint32_t fixedLength = 20;
  static constexpr std::uint32_t attributeAt = 8;    // u16
  static constexpr std::uint32_t publishedAt = 10;   // u8
  static constexpr std::uint32_t subscribedAt = 11;  // u8
  static constexpr std::uint32_t relevantAt = 12;    // u8
  static constexpr std::uint32_t countAt = 16;       // u32 n
  static constexpr std::uint32_t federatesAt = 20;   // n x u32

  static std::uint32_t length(std::uint32_t federates) { return fixedLength + 4 * federates; }
  static bool complete(const DtSavePacket& packet);
};

// One interaction class: its flags and the remote federates subscribed to
// it without region.
struct DtInteractionClassPacket {
  static constexpr std::uint32_t theType = DtInteractionClassPacketType;
  static constexpr std::uint32_t fixedLength = 40;
  static constexpr std::uint32_t classHandleAt = 8;  // u32
  static constexpr std::uint32_t subscribedAt = 12;  // u8: 0, 1 active, 2 passive
  static constexpr std::uint32_t publishedAt = 13;   // u8
  static constexpr std::uint32_t transportAt = 14;   // u8
  static constexpr std::uint32_t orderAt = 15;       // u8
  static constexpr std::uint32_t relevantAt = 16;    // u8
  // Four u32 tallies, as in the object class record.
  static constexpr std::uint32_t sentBestEffortAt = 20;
  static constexpr std::uint32_t countAt = 36;      // u32 n
  static constexpr std::uint32_t federatesAt = 40;  // n x u32

  static std::uint32_t length(std::uint32_t federates) { return fixedLength + 4 * federates; }
  static bool complete(const DtSavePacket& packet);
};

// One object instance, written and read by its record (and, in the same
// form, the management object model's two objects). Its name ends it, with
// the name's zero; a name of no characters is the zero alone.
struct DtObjectPacket {
  static constexpr std::uint32_t theType = DtObjectPacketType;
  static constexpr std::uint32_t fixedLength = 516;
  static constexpr std::uint32_t objectAt = 8;        // u32
  static constexpr std::uint32_t ownerAt = 12;        // u32: holder of the privilege to delete
  static constexpr std::uint32_t actualClassAt = 16;  // u32
  static constexpr std::uint32_t knownClassAt = 20;   // u32
  static constexpr std::uint32_t knownAt = 24;        // u32: 0 or 1
  static constexpr std::uint32_t nameSizeAt = 28;     // u32: characters + 1
  // Maps of ten u32 words (handle h: bit h mod 32 of word h div 32): the
  // attributes sent in time-stamp order, and those sent reliably.
  static constexpr std::uint32_t orderMapAt = 32;
  static constexpr std::uint32_t transportMapAt = 72;
  // Handle sets.
  static constexpr std::uint32_t ownedAt = 112;
  static constexpr std::uint32_t rtiOwnedAt = 156;
  static constexpr std::uint32_t lrcManagedAt = 200;
  static constexpr std::uint32_t divestingAt = 244;
  static constexpr std::uint32_t inScopeAt = 288;
  static constexpr std::uint32_t updatesOnAt = 332;
  static constexpr std::uint32_t uncondRequestedAt = 376;
  static constexpr std::uint32_t ifAvailRequestedAt = 420;
  static constexpr std::uint32_t cancelledAt = 464;        // cancelled remote release requests
  static constexpr std::uint32_t discoveredCountAt = 508;  // u32 d
  static constexpr std::uint32_t requestCountAt = 512;     // u32 r
  // d pairs (federate, class it discovered the object as), then r pairs
  // (attribute, federate that asked for its release), then the name.
  static constexpr std::uint32_t entriesAt = 516;

  static std::uint32_t length(std::uint32_t discovered, std::uint32_t requests, std::uint32_t nameSize) {
    return fixedLength + 8 * (discovered + requests) + nameSize;
  }
  // The counts and the name size account for the record's bytes exactly,
  // and the name ends in its zero.
  static bool complete(const DtSavePacket& packet);
};
