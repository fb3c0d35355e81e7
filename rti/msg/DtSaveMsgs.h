#pragma once
// Save and restore messages between a federate's federate manager and the
// rtiexec's federation execution: requests, the phases of a save and of a
// restore, their answers. Labels travel unpadded after their size field, so
// a time after a label may start at an odd offset. The label-carrying
// messages, the save time, the save-time advance and the restore initiate
// pass while a save is in progress; the answers do not.

#include "msg/DtMsgClass.h"
#include "msg/DtTimeMsgs.h"

// ---- bodies

struct DtNetSaveMsg : DtNetMsgHeader {
  static constexpr DtU8At indicator{8};  // kinds 35, 36, 40, 41: 0 fail, else success
  static constexpr DtU8At timeSize{9};   // kind 63
  static constexpr DtU16At labelSize{10};
  static constexpr DtPart parts[] = {{"label:", DtPartType::Label, labelSize.offset, 2, DtShow::Text}};
  static constexpr DtMsgLayout layout{"DtNetSaveMsg", 12, false, {}, parts};
};

// The same body with the time after the label (kind 63).
struct DtNetSaveTsoMsg : DtNetSaveMsg {
  static constexpr DtPart parts[] = {{"label:", DtPartType::Label, labelSize.offset, 2, DtShow::Text},
                                     {"Time:", DtPartType::Time, timeSize.offset, 1, DtShow::TimeText}};
  static constexpr DtMsgLayout layout{"DtNetSaveMsg", 12, false, {}, parts};
};

struct DtNetSaveResponseMsg : DtNetMsgHeader {
  static constexpr DtU16At requestingFederate{10};
  static constexpr DtU16At responseFlag{12};
  static constexpr DtU16At labelSize{14};
  static constexpr DtField fields[] = {{"Requesting Federate:", requestingFederate}, {"ResponseFlag:", responseFlag}};
  static constexpr DtPart parts[] = {{"label:", DtPartType::Label, labelSize.offset, 2, DtShow::Hidden}};
  static constexpr DtMsgLayout layout{"DtNetSaveResponseMsg", 16, false, fields, parts};
};

struct DtNetRestoreReplyMsg : DtNetMsgHeader {
  static constexpr DtU32At destinationID{8};
  static constexpr DtU16At reply{12};
  static constexpr DtU16At labelSize{14};
  static constexpr DtField fields[] = {{"destination:", destinationID, DtShow::Hidden}};
  static constexpr DtPart parts[] = {{"label:", DtPartType::Label, labelSize.offset, 2, DtShow::Text}};
  static constexpr DtMsgLayout layout{"DtNetRestoreReplyMsg", 16, false, fields, parts};
};

struct DtNetRestoreInitiateMsg : DtNetMsgHeader {
  static constexpr DtU16At oldHandle{8};
  static constexpr DtU16At newHandle{10};
  static constexpr DtField fields[] = {{"Old Handle: ", oldHandle}, {"New Handle: ", newHandle}};
  static constexpr DtMsgLayout layout{"DtNetRestoreInitiateMsg", 12, false, fields, {}};
};

static_assert(DtLayoutValid(DtNetSaveMsg::layout) && DtLayoutValid(DtNetSaveTsoMsg::layout) &&
              DtLayoutValid(DtNetSaveResponseMsg::layout) && DtLayoutValid(DtNetRestoreReplyMsg::layout) &&
              DtLayoutValid(DtNetRestoreInitiateMsg::layout));

// Kind 66: 0 refused (a save is in progress), 1 the save has started.
typedef std::uint16_t DtSaveResponseFlag;
// Kind 67: 0 succeeded, any other value failed.
typedef std::uint16_t DtResponseFlag;

// ---- classes

// A label (at most 65534 characters), kept as a copy once read.
class DtSaveMsg : public DtRtiMsg {
public:
  char isAllowedDuringSave() const override { return 1; }
  virtual void setLabel(const char* label) { setTextPart(0, label, "label"); }
  // Null when there is none.
  virtual const char* label() const { return textPart(0); }
  virtual int labelFieldSize() const { return partLength(0); }
  virtual int labelSize() const { return static_cast<int>(partSize(0)); }
  void set(const char* label) { setLabel(label); }

protected:
  using DtRtiMsg::DtRtiMsg;
};

template <class Self, DtRtiMsgKind Kind>
class DtLabelMsg : public DtMsgClass<Self, DtSaveMsg, DtNetSaveMsg, Kind> {
  using Pattern = DtMsgClass<Self, DtSaveMsg, DtNetSaveMsg, Kind>;

public:
  using Pattern::Pattern;
  DtLabelMsg(const char* label, DtBufferPlaceHolder* where) : Pattern(where) { this->setLabel(label); }
  static constexpr int minSize(const char* = nullptr) { return 12; }
};

class DtSaveRequestMsg : public DtLabelMsg<DtSaveRequestMsg, DtSaveRequestMsgKind> {
public:
  using DtLabelMsg::DtLabelMsg;
};
class DtSaveInitiateMsg : public DtLabelMsg<DtSaveInitiateMsg, DtSaveInitiateMsgKind> {
public:
  using DtLabelMsg::DtLabelMsg;
};
class DtRestoreRequestMsg : public DtLabelMsg<DtRestoreRequestMsg, DtRestoreRequestMsgKind> {
public:
  using DtLabelMsg::DtLabelMsg;
};
class DtRestoreMsg : public DtLabelMsg<DtRestoreMsg, DtRestoreMsgKind> {
public:
  using DtLabelMsg::DtLabelMsg;
};
class DtSaveBegunMsg : public DtLabelMsg<DtSaveBegunMsg, DtSaveBegunMsgKind> {
public:
  using DtLabelMsg::DtLabelMsg;
  void printData() const override {}
};

// A label and a success indicator: kind 35, and 36, 40, 41 built on it.
class DtSaveCompleteMsg : public DtMsgClass<DtSaveCompleteMsg, DtSaveMsg, DtNetSaveMsg, DtSaveCompleteMsgKind> {
public:
  using DtMsgClass::DtMsgClass;
  DtSaveCompleteMsg(const char* label, char success, DtBufferPlaceHolder* where) : DtSaveCompleteMsg(where) {
    set(label, success);
  }
  void set(const char* label, char success) {
    setLabel(label);
    setSuccessIndicator(success);
  }
  virtual void setSuccessIndicator(char success) { put(DtNetSaveMsg::indicator, static_cast<std::uint8_t>(success)); }
  virtual char successIndicator() const { return static_cast<char>(get(DtNetSaveMsg::indicator)); }
  void printData() const override;
};

template <class Self, DtRtiMsgKind Kind>
class DtCompletionMsg : public DtMsgClass<Self, DtSaveCompleteMsg, DtNetSaveMsg, Kind> {
  using Pattern = DtMsgClass<Self, DtSaveCompleteMsg, DtNetSaveMsg, Kind>;

public:
  using Pattern::Pattern;
  DtCompletionMsg(const char* label, char indicator, DtBufferPlaceHolder* where) : Pattern(where) {
    this->set(label, indicator);
  }
};

class DtSaveFinishedMsg : public DtCompletionMsg<DtSaveFinishedMsg, DtSaveFinishedMsgKind> {
public:
  using DtCompletionMsg::DtCompletionMsg;
};
class DtRestoreCompleteMsg : public DtCompletionMsg<DtRestoreCompleteMsg, DtRestoreCompleteMsgKind> {
public:
  using DtCompletionMsg::DtCompletionMsg;
};
class DtRestoreEndMsg : public DtCompletionMsg<DtRestoreEndMsg, DtRestoreEndMsgKind> {
public:
  using DtCompletionMsg::DtCompletionMsg;
};

// A label and a time (the time after the label, at any offset).
class DtSaveTsoMsg : public DtSaveMsg {
public:
  void set(const char* label, const RTI::FedTime& time) {
    setLabel(label);
    setTime(time);
  }
  virtual int timeSize() const { return static_cast<int>(partSize(1)); }
  virtual int timeFieldSize() const { return partLength(1); }

protected:
  using DtSaveMsg::DtSaveMsg;
};

// Federate to rtiexec: save at this federation time.
class DtSaveRequestTsoMsg
    : public DtMsgClass<DtSaveRequestTsoMsg, DtSaveTsoMsg, DtNetSaveTsoMsg, DtSaveRequestTsoMsgKind> {
public:
  // Only the empty message says it has a time; its time is read from the
  // body in every case.
  explicit DtSaveRequestTsoMsg(DtBufferPlaceHolder* where = nullptr) : DtMsgClass(where) { setHasTime(1); }
  DtSaveRequestTsoMsg(const DtNetSaveTsoMsg* body, DtBufferPlaceHolder* where) : DtMsgClass(body, where) {}
  DtSaveRequestTsoMsg(const char* label, const RTI::FedTime& time, DtBufferPlaceHolder* where) : DtMsgClass(where) {
    set(label, time);
  }
  static constexpr int minSize(const char* = nullptr, const RTI::FedTime* = nullptr) { return 12; }
};

// rtiexec to federate: the time at which the save happens.
class DtSaveTimeMsg : public DtMsgClass<DtSaveTimeMsg, DtTimeMsg, DtNetTimeMsg, DtSaveTimeMsgKind> {
public:
  using DtMsgClass::DtMsgClass;
  DtSaveTimeMsg(const RTI::FedTime& time, DtBufferPlaceHolder* where) : DtSaveTimeMsg(where) { set(time); }
  char isAllowedDuringSave() const override { return 1; }
};

// Federate to rtiexec: the header alone.
class DtSaveTimeAdvanceMsg
    : public DtMsgClass<DtSaveTimeAdvanceMsg, DtNullMsg, DtNetNullMsg, DtSaveTimeAdvanceMsgKind> {
public:
  using DtMsgClass::DtMsgClass;
  char isAllowedDuringSave() const override { return 1; }
};

// Requesting federate, a flag and a label (not printed): kinds 66 and 67.
template <class Self, DtRtiMsgKind Kind, class Flag>
class DtResponseLabelMsg : public DtMsgClass<Self, DtRtiMsg, DtNetSaveResponseMsg, Kind> {
  using Pattern = DtMsgClass<Self, DtRtiMsg, DtNetSaveResponseMsg, Kind>;

public:
  using Pattern::Pattern;
  DtResponseLabelMsg(unsigned long requestingFederate, const char* label, Flag flag, DtBufferPlaceHolder* where)
      : Pattern(where) {
    set(requestingFederate, label, flag);
  }
  virtual void set(unsigned long requestingFederate, const char* label, Flag flag) {
    setRequestingFederate(requestingFederate);
    setLabel(label);
    setResponseFlag(flag);
  }
  virtual void setLabel(const char* label) { this->setTextPart(0, label, "label"); }
  virtual const char* label() const { return this->textPart(0); }
  virtual int labelFieldSize() const { return this->partLength(0); }
  virtual int labelSize() const { return static_cast<int>(this->partSize(0)); }
  // Federate handles travel in 16 bits here: a larger one is refused.
  void setRequestingFederate(unsigned long federate) {
    this->putChecked(DtNetSaveResponseMsg::requestingFederate, federate, "federate handle");
  }
  unsigned long requestingFederate() const { return this->get(DtNetSaveResponseMsg::requestingFederate); }
  void setResponseFlag(Flag flag) { this->put(DtNetSaveResponseMsg::responseFlag, flag); }
  Flag responseFlag() const { return this->get(DtNetSaveResponseMsg::responseFlag); }
  static constexpr int minSize(const char* = nullptr) { return 16; }
};

// rtiexec to federate: whether the save request was taken.
class DtSaveResponseMsg : public DtResponseLabelMsg<DtSaveResponseMsg, DtSaveResponseMsgKind, DtSaveResponseFlag> {
public:
  using DtResponseLabelMsg::DtResponseLabelMsg;
};

// Federate to rtiexec: how its part of the restore went.
class DtRestoreBegunMsg : public DtResponseLabelMsg<DtRestoreBegunMsg, DtRestoreBegunMsgKind, DtResponseFlag> {
public:
  using DtResponseLabelMsg::DtResponseLabelMsg;
};

// rtiexec to federate: whether the restore can go ahead.
class DtRestoreReplyMsg : public DtMsgClass<DtRestoreReplyMsg, DtRtiMsg, DtNetRestoreReplyMsg, DtRestoreReplyMsgKind> {
public:
  // Of a fixed width: a received code outside the four is a value too.
  enum replyCodes : int { RestoreOk = 0, NoLabel = 1, WrongConfiguration = 2, RestoreInProgress = 3 };

  using DtMsgClass::DtMsgClass;
  DtRestoreReplyMsg(const char* label, replyCodes reply, DtBufferPlaceHolder* where) : DtRestoreReplyMsg(where) {
    setLabel(label);
    setReply(reply);
  }
  virtual void setLabel(const char* label) { setTextPart(0, label, "label"); }
  virtual const char* label() const { return textPart(0); }
  virtual void setReply(replyCodes reply) { put(DtNetRestoreReplyMsg::reply, static_cast<std::uint16_t>(reply)); }
  virtual replyCodes reply() const { return static_cast<replyCodes>(get(DtNetRestoreReplyMsg::reply)); }
  virtual unsigned long destinationID() const { return get(DtNetRestoreReplyMsg::destinationID); }
  virtual void setDestinationID(unsigned long id) {
    putChecked(DtNetRestoreReplyMsg::destinationID, id, "federate handle");
  }
  virtual int labelFieldSize() const { return partLength(0); }
  virtual int labelSize() const { return static_cast<int>(partSize(0)); }
  static constexpr int minSize(const char* = nullptr) { return 16; }
  void printData() const override;
};

// rtiexec to federates: the federate of the old handle has the new one in
// the restored state.
class DtRestoreInitiateMsg
    : public DtMsgClass<DtRestoreInitiateMsg, DtRtiMsg, DtNetRestoreInitiateMsg, DtRestoreInitiateMsgKind> {
public:
  using DtMsgClass::DtMsgClass;
  DtRestoreInitiateMsg(unsigned long oldHandle, unsigned long newHandle, DtBufferPlaceHolder* where)
      : DtRestoreInitiateMsg(where) {
    set(oldHandle, newHandle);
  }
  virtual void set(unsigned long oldHandle, unsigned long newHandle) {
    setOldHandle(oldHandle);
    setNewHandle(newHandle);
  }
  virtual void setOldHandle(unsigned long h) { putChecked(DtNetRestoreInitiateMsg::oldHandle, h, "federate handle"); }
  virtual unsigned long oldHandle() const { return get(DtNetRestoreInitiateMsg::oldHandle); }
  virtual void setNewHandle(unsigned long h) { putChecked(DtNetRestoreInitiateMsg::newHandle, h, "federate handle"); }
  virtual unsigned long newHandle() const { return get(DtNetRestoreInitiateMsg::newHandle); }
  char isAllowedDuringSave() const override { return 1; }
  static constexpr int minSize() { return 12; }
};
