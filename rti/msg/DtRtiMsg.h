#pragma once
// DtRtiMsg: the base of every wire message. A message is its bytes (the
// 8-byte DtNetMsgHeader, then the body of its class), plus values that never
// travel: the transport type, a serial number, a time and three class flags.
//
// A concrete class describes its body once (DtMsgLayout, returned by
// layout()); the base reads and writes its fields within the message's
// bytes, finds and resizes its variable parts, checks a received message's
// size fields (status) and prints it. No accessor reads past the end of the
// message, whatever the bytes say; status() tells whether they are sound,
// and a receiver drops a message whose status is not 0. A value that does
// not fit its place when the message is built is refused with a level-1
// line and remembered (refusal()): such a message cannot travel, and the
// connection manager refuses to send it.
//
// Not thread safe: a message is changed by one thread at a time.

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "RTI.hh"
#include "msg/DtMsgLayout.h"
#include "msg/DtNetMsgHeader.h"
#include "msg/DtRtiMsgBuffer.h"
#include "msg/DtRtiMsgKind.h"
#include "util/DtFomTypes.h"
#include "util/DtString.h"

// The zero time of messages that carry none: one shared RTI::FedTime made by
// libhlatime on first use, so that it exists whatever order the libraries
// are initialised in, and never freed. Used like a pointer to it.
class DtZeroFedTime {
public:
  constexpr DtZeroFedTime() = default;
  const RTI::FedTime* get() const;
  const RTI::FedTime& operator*() const { return *get(); }
  const RTI::FedTime* operator->() const { return get(); }
  operator const RTI::FedTime*() const { return get(); }  // NOLINT: a pointer, as before
};

class DtRtiMsg : public DtRtiMsgBuffer {
public:
  // The largest message: its length must fit the header's 16 bits.
  static constexpr int theMaxSize = 0xFFFF;

  // What status() returns.
  enum Status { Valid = 0, TooShort = 1, PartPastEnd = 2, BadTime = 3, WrongChannel = 4, BadContent = 5 };

  static const DtZeroFedTime theZeroFedTime;
  static std::uint32_t theDefaultRegionSetHandle;
  static void setDefaultRegionSet(unsigned long handle);
  // The kind's name without "Dt"; "UnknownMsgKind" for numbers that are none.
  static const char* kindToString(DtRtiMsgKind kind);

  DtRtiMsg(const DtRtiMsg& other);
  DtRtiMsg& operator=(const DtRtiMsg& other);
  ~DtRtiMsg() override;

  // The buffer's operations; a change that would make the message longer
  // than theMaxSize is refused with a message and changes nothing.
  void setSize(int n) override;
  void insertBytes(char* at, int n) override { DtRtiMsgBuffer::insertBytes(at, n); }
  void insertBytes(int offset, int n) override;
  void sizeChanged(int n) override;

  // A new message of this class: read from a copy of these bytes in an own
  // buffer (the transport type stays 0), or (copyContents 0) an empty one.
  virtual DtRtiMsg* clone(char copyContents) const = 0;
  // The same, with this message's transport type.
  virtual DtRtiMsg* cloneWithTransport(char copyContents) const;

  // The header; the message always holds its 8 bytes once built.
  virtual DtNetMsgHeader* netHeader() const { return DtNetMsgHeader::at(data()); }
  virtual void setFedEx(int handle);
  virtual void setFedEx(const DtString& name);
  virtual int isForExec(const DtString& name, int handle) const;
  virtual DtString fedExName() const;
  virtual int fedExHandle() const;
  virtual void setFederateHandle(unsigned long handle);
  virtual unsigned long federateHandle() const;
  virtual DtRtiMsgKind msgKind() const;

  virtual char isConstrained() const { return constrained_; }
  virtual char isAllowedDuringSave() const { return allowedDuringSave_; }

  // The message's time. The base keeps it in memory only; classes whose
  // body carries a time keep it there (their layout's first time part).
  virtual void setTime(const RTI::FedTime& time);
  virtual const RTI::FedTime& time() const;
  virtual char hasTime() const { return hasTime_; }

  virtual void setSerialNumber(unsigned long serial) { serial_ = static_cast<std::uint32_t>(serial); }
  virtual unsigned long serialNumber() const { return serial_; }
  virtual void setTransportType(unsigned long transport) { transport_ = static_cast<std::uint32_t>(transport); }
  virtual unsigned long transportType() const { return transport_; }
  virtual unsigned long orderType() const { return DtReceiveOrder; }

  virtual void print() const;
  virtual void printHeader() const;
  virtual void printData() const;
  virtual void printTime(const char* label, const RTI::FedTime& time) const;

  // 0 when the bytes are a sound message of this class; else a Status.
  virtual int status() const;
  // What is wrong with the message, for a status() that is not 0: "" for 0.
  virtual std::string statusText(int status) const;
  virtual DtRtiMsgKind internalDtRtiMsgKind() const = 0;

  // Inserts (delta > 0) or removes (delta < 0) bytes at the place; false,
  // with a message, when the message would grow past theMaxSize.
  virtual bool adjustBytes(char* at, int delta);
  virtual bool adjustBytes(int offset, int delta);

  // The body's description; null for a class without one.
  virtual const DtMsgLayout* layout() const { return nullptr; }

  // Why the message cannot travel: the first value that was refused while
  // it was built (without the line end), or null when every value fitted.
  const char* refusal() const { return refusal_.empty() ? nullptr : refusal_.c_str(); }

protected:
  DtRtiMsg() = default;
  // A message being built: size zero bytes, the header written.
  DtRtiMsg(int size, DtRtiMsgKind kind, DtBufferPlaceHolder* where) { initDtRtiMsg(size, kind, where); }
  // A received message: the length is read from the header at `bytes`.
  DtRtiMsg(const char* bytes, DtBufferPlaceHolder* where) { initDtRtiMsg(bytes, where); }

  void initDtRtiMsg(int size, DtRtiMsgKind kind, DtBufferPlaceHolder* where);
  void initDtRtiMsg(const char* bytes, int size, DtBufferPlaceHolder* where);
  void initDtRtiMsg(const char* bytes, DtBufferPlaceHolder* where);

  void setHasTime(char flag) { hasTime_ = flag; }
  void setConstrained(char flag) { constrained_ = flag; }
  void setAllowedDuringSave(char flag) { allowedDuringSave_ = flag; }

  // Fixed fields, read and written within the message's bytes (a field past
  // the end reads 0 and is not written).
  template <class Net>
  typename Net::value_type get(DtFieldAt<Net> at) const {
    return fits(at.offset, static_cast<int>(Net::wireSize)) ? Net::read(data() + at.offset) : 0;
  }
  template <class Net>
  void put(DtFieldAt<Net> at, typename Net::value_type value) {
    if (fits(at.offset, static_cast<int>(Net::wireSize))) Net::write(data() + at.offset, value);
  }
  // A value that does not fit the field is refused with a message (false).
  template <class Net>
  bool putChecked(DtFieldAt<Net> at, unsigned long value, const char* what) {
    constexpr unsigned long max = (1UL << (8 * Net::wireSize)) - 1;
    if (value > max) {
      reportTooLarge(what, value, static_cast<int>(8 * Net::wireSize));
      return false;
    }
    put(at, static_cast<typename Net::value_type>(value));
    return true;
  }
  void reportTooLarge(const char* what, unsigned long value, int bits);
  // Prints the line at level 1 and keeps it as the message's refusal (the
  // first one stays).
  void refuse(const char* format, ...) __attribute__((format(printf, 2, 3)));
  // The message is being built anew: earlier refusals no longer hold.
  void clearRefusal() { refusal_.clear(); }
  // A fixed text field: the characters up to the first zero (or all of them).
  DtString getText(DtTextAt at) const;
  // Copies at most `limit` characters (the rest of the field stays zero).
  void putText(DtTextAt at, const char* text, int limit);
  // The attribute handle set at a fixed place, decoded (null past the end).
  std::unique_ptr<RTI::AttributeHandleSet> getHandleSet(DtHandleSetAt at) const;
  // Encodes a DtAttributeHandleSet there; another class is refused.
  bool putHandleSet(DtHandleSetAt at, const RTI::AttributeHandleSet& set, const char* what);
  bool fits(int offset, int width) const { return offset >= 0 && width >= 0 && offset + width <= size(); }

  // Variable parts (index into the layout's parts).
  int channelFieldSize() const;
  int partsStart() const;
  int partOffset(int index) const;
  int partLength(int index) const;
  char* partPtr(int index) const { return data() + partOffset(index); }
  std::uint32_t partSize(int index) const;  // the size field's value
  // Resizes part `index` to `length` bytes and stores `sizeValue` in its
  // size field; false (nothing changed) when it cannot.
  bool resizePart(int index, int length, std::uint32_t sizeValue, const char* what);
  // Texts: null clears the part; too long a text is refused with a message.
  bool setTextPart(int index, const char* text, const char* what);
  // The zero-terminated copy (made on first use, kept until the part is set
  // again); null when the part is empty.
  const char* textPart(int index) const;
  // Times: stores the time's encoding; too long an encoding is refused.
  bool setTimePart(int index, const RTI::FedTime& time, const char* what);
  // The decoded time (kept), or null when the part is empty or unreadable.
  const RTI::FedTime* timePart(int index) const;
  // The layout's first time part, or -1.
  int firstTimePart() const;
  // Forgets a part's decoded copy.
  void forgetPart(int index);

  // Per-class checks after the layout's (status); 0 when sound.
  virtual int checkBody() const { return Valid; }
  // The default print form of one field or part.
  void printField(const DtField& field) const;
  void printPart(int index) const;
  // "%-20s %s\n" with the time's text, or "Time can not be printed" when it
  // needs 100 characters or more.
  void printTimeText(const char* label, const RTI::FedTime& time) const;
  // A name for diagnostics: the layout's, else the kind's.
  const char* className() const;

private:
  int startOfParts(const DtMsgLayout& layout) const;
  std::uint32_t sizeField(const DtPart& part) const;

  struct Decoded {
    std::unique_ptr<char[]> text;
    std::unique_ptr<RTI::FedTime> time;
  };
  static constexpr int maxParts = 4;

  std::uint32_t transport_ = DtBestEffort;
  std::unique_ptr<RTI::FedTime> time_;  // the base's time, kept in memory only
  std::uint32_t serial_ = 0;
  char hasTime_ = 0;
  char constrained_ = 0;
  char allowedDuringSave_ = 0;
  mutable std::array<Decoded, maxParts> decoded_;  // copies of variable parts, never shared
  std::string refusal_;                            // empty while the message can travel
};
