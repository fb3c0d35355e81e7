#pragma once
// DtNetMsgHeader: the 8 bytes that begin every message.
//   0  u16  total length in bytes, header included
//   2  u16  handle of the sending federate (0 when not set)
//   4  u8   message kind (DtRtiMsgKind)
//   5  3    execution id: byte 5 not 0: the first three characters of the
//           execution's name (zero-filled); byte 5 is 0: bytes 6-7 hold the
//           execution handle as a u16, 0 meaning any execution
// Read and written through the wire numbers; a header is only ever seen at
// the start of a message's bytes, which must hold at least its 8 bytes.

#include <cstdint>

#include "msg/DtNetNumber.h"

class DtString;

class DtNetMsgHeader {
public:
  static constexpr int theSize = 8;
  static constexpr int lengthOffset = 0;
  static constexpr int federateOffset = 2;
  static constexpr int kindOffset = 4;
  static constexpr int execOffset = 5;

  DtNetMsgHeader() {}  // NOLINT: leaves the bytes as they are
  DtNetMsgHeader(const DtNetMsgHeader&) = default;
  DtNetMsgHeader& operator=(const DtNetMsgHeader&) = default;

  // The header at the start of these bytes.
  static const DtNetMsgHeader* at(const void* bytes) { return static_cast<const DtNetMsgHeader*>(bytes); }
  static DtNetMsgHeader* at(void* bytes) { return static_cast<DtNetMsgHeader*>(bytes); }
  const char* bytes() const { return reinterpret_cast<const char*>(this); }

  std::uint16_t length() const { return length_; }
  std::uint16_t federate() const { return federate_; }
  int kind() const { return kind_; }
  // The name form's characters (up to 3, ending at the first zero byte);
  // empty in the handle form.
  DtString fedExName() const;
  // The handle form's handle; 0 in the name form.
  std::uint16_t fedExHandle() const;
  bool hasNameForm() const { return exec_[0] != 0; }

  void setLength(std::uint16_t length) { length_ = length; }
  void setFederate(std::uint16_t federate) { federate_ = federate; }
  void setKind(int kind) { kind_ = static_cast<unsigned char>(kind); }
  void setFedEx(std::uint16_t handle);
  void setFedEx(const char* name);

  // Whether a message with this header belongs to the execution of this name
  // and handle: in the name form, when the first three characters of the
  // name match; in the handle form, when the handle is 0 or equal.
  bool isForExec(const DtString& name, std::uint16_t handle) const;

private:
  DtNetU16 length_;
  DtNetU16 federate_;
  unsigned char kind_;
  unsigned char exec_[3];
};

static_assert(sizeof(DtNetMsgHeader) == DtNetMsgHeader::theSize && alignof(DtNetMsgHeader) == 1);
