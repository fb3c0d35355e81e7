#pragma once
// Message classes made for the tests of the message machinery.

#include <string>

#include "msg/DtMsgClass.h"
#include "msg/DtNetValueList.h"

// Any kind and size, no layout: the base's own behaviour.
class RawMsg : public DtRtiMsg {
public:
  RawMsg(int size, DtRtiMsgKind kind, DtBufferPlaceHolder* where = nullptr) : DtRtiMsg(size, kind, where) {}
  RawMsg(const char* bytes, DtBufferPlaceHolder* where) : DtRtiMsg(bytes, where) {}
  DtRtiMsg* clone(char copy) const override {
    return copy ? new RawMsg(data(), nullptr) : new RawMsg(size(), msgKind());
  }
  DtRtiMsgKind internalDtRtiMsgKind() const override { return msgKind(); }
  std::string bytes() const { return std::string(data(), static_cast<std::size_t>(size())); }
};

// One field and part of each sort; kind 1, or 24 with a channel.
struct DtNetTestMsg : DtNetMsgHeader {
  static constexpr DtU32At number{8};
  static constexpr DtU16At flag{12};
  static constexpr DtU16At tagSize{14};
  static constexpr DtU8At timeSize{16};
  static constexpr DtU8At nameSize{17};
  static constexpr DtTextAt word{18, 4};
  static constexpr DtField fields[] = {{"Number:", number}, {"Flag:", flag, DtShow::TrueFalse}, {"Word:", word}};
  static constexpr DtPart parts[] = {{"Time:", DtPartType::Time, timeSize.offset, 1, DtShow::TimeText},
                                     {"Tag:", DtPartType::Text, tagSize.offset, 2, DtShow::Text},
                                     {"Name:", DtPartType::Text, nameSize.offset, 1, DtShow::Text},
                                     {nullptr, DtPartType::ValueList, 0, 0, DtShow::Hidden}};
  static constexpr DtMsgLayout layout{"DtNetTestMsg", 24, true, fields, parts};
};
static_assert(DtLayoutValid(DtNetTestMsg::layout));

class TestMsg : public DtMsgClass<TestMsg, DtRtiMsg, DtNetTestMsg, DtUpdateRoMsgKind> {
public:
  using DtMsgClass::DtMsgClass;
  static bool withChannel;
  static DtRtiMsgKind currentKind() { return withChannel ? DtDdmUpdateRoMsgKind : DtUpdateRoMsgKind; }

  enum Part { TimePart, TagPart, NamePart, ListPart };
  void setNumber(std::uint32_t n) { put(DtNetTestMsg::number, n); }
  std::uint32_t number() const { return get(DtNetTestMsg::number); }
  void setWord(const char* w) { putText(DtNetTestMsg::word, w, 4); }
  DtString word() const { return getText(DtNetTestMsg::word); }
  void setTag(const char* tag) { setTextPart(TagPart, tag, "tag"); }
  const char* tag() const { return textPart(TagPart); }
  void setName(const char* name) { setTextPart(NamePart, name, "name"); }
  const char* name() const { return textPart(NamePart); }
  bool setList(const RTI::ParameterHandleValuePairSet& set) {
    const long needed = DtNetParams::sizeNeeded(set);
    if (needed < 0 || !resizePart(ListPart, static_cast<int>(needed), 0, "list")) return false;
    DtNetParams::write(partPtr(ListPart), set);
    return true;
  }
  int listOffset() const { return partOffset(ListPart); }
  int tagOffset() const { return partOffset(TagPart); }
  std::string bytes() const { return std::string(data(), static_cast<std::size_t>(size())); }

protected:
  int checkBody() const override {
    const int length = partLength(ListPart);  // no list yet: none to check
    return length == 0 || DtNetParams::valid(partPtr(ListPart), length) ? Valid : PartPastEnd;
  }
};
inline bool TestMsg::withChannel = false;
