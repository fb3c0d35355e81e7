#pragma once
// Federation-management messages: federates and the rtiexec create, join,
// resign and destroy federation executions, confirm a join, say they are
// alive and name the designated federate; the rtiexec's network thread
// numbers its TCP connections (connect, disconnect).

#include "msg/DtMsgClass.h"

// ---- bodies

// fullFedExName fields hold at most 63 characters and a zero.
inline constexpr int DtFullFedExNameChars = 63;
// federateName fields hold 16 characters, without a zero when all are used.
inline constexpr int DtFederateNameChars = 16;

struct DtNetCreateMsg : DtNetMsgHeader {
  static constexpr DtTextAt fullFedExName{8, 64};
  static constexpr DtField fields[] = {{"FullFedExName:", fullFedExName}};
  static constexpr DtPart parts[] = {{"FedFileName:", DtPartType::TrailingText, 0, 0, DtShow::Text}};
  static constexpr DtMsgLayout layout{"DtNetCreateMsg", 72, false, fields, parts};
};

struct DtNetCreateResponseMsg : DtNetMsgHeader {
  static constexpr DtTextAt fullFedExName{8, 64};
  static constexpr DtU32At responseFlag{72};
  static constexpr DtField fields[] = {{"FullFedExName:", fullFedExName},
                                       {"ResponseFlag:", responseFlag, DtShow::Signed}};
  static constexpr DtMsgLayout layout{"DtNetCreateResponseMsg", 76, false, fields, {}};
};

struct DtNetDestroyMsg : DtNetMsgHeader {
  static constexpr DtTextAt fullFedExName{8, 64};
  static constexpr DtField fields[] = {{"FullFedExName:", fullFedExName}};
  static constexpr DtMsgLayout layout{"DtNetDestroyMsg", 72, false, fields, {}};
};

struct DtNetDestroyResponseMsg : DtNetMsgHeader {
  static constexpr DtTextAt fullFedExName{8, 64};
  static constexpr DtU32At responseFlag{72};
  static constexpr DtField fields[] = {{"FullFedExName:", fullFedExName},
                                       {"ResponseFlag:", responseFlag, DtShow::Signed}};
  static constexpr DtMsgLayout layout{"DtNetDestroyResponseMsg", 76, false, fields, {}};
};

struct DtNetJoinMsg : DtNetMsgHeader {
  static constexpr DtU32At sourceID{8};
  static constexpr DtTextAt federateName{12, DtFederateNameChars};
  static constexpr DtTextAt fullFedExName{28, 64};
  static constexpr DtField fields[] = {
      {"SourceID:", sourceID}, {"FederateName:", federateName}, {"FullFedExName:", fullFedExName}};
  static constexpr DtMsgLayout layout{"DtNetJoinMsg", 92, false, fields, {}};
};

// The join layout, of which a join confirmation writes and prints the name.
struct DtNetJoinConfirmMsg : DtNetJoinMsg {
  static constexpr DtField fields[] = {{"FederateName:", federateName}};
  static constexpr DtMsgLayout layout{"DtNetJoinMsg", 92, false, fields, {}};
};

struct DtNetJoinResponseMsg : DtNetMsgHeader {
  static constexpr DtU32At destinationID{8};
  static constexpr DtTextAt federateName{12, DtFederateNameChars};
  static constexpr DtU32At fedexHandleToUse{28};  // a 16-bit value
  static constexpr DtU32At federateHandleToUse{32};
  static constexpr DtU32At errorValue{36};
  static constexpr DtTextAt fullFedExName{40, 64};
  // In print order; the file name prints before the error value.
  static constexpr DtField fields[] = {{"FullFedExName:", fullFedExName},
                                       {"Destination ID:", destinationID},
                                       {"FederateName:", federateName},
                                       {"FederateHandleToUse:", federateHandleToUse},
                                       {"ErrorValue:", errorValue, DtShow::Signed},
                                       {nullptr, fedexHandleToUse, DtShow::Hidden}};
  static constexpr DtPart parts[] = {{"FedFileName:", DtPartType::TrailingText, 0, 0, DtShow::Text}};
  static constexpr DtMsgLayout layout{"DtNetJoinResponseMsg", 104, false, fields, parts};
};

struct DtNetResignMsg : DtNetMsgHeader {
  static constexpr DtU32At resignAction{8};
  static constexpr DtField fields[] = {{"ResignAction:", resignAction, DtShow::Hidden}};
  static constexpr DtMsgLayout layout{"DtNetResignMsg", 12, false, fields, {}};
};

struct DtNetAliveMsg : DtNetMsgHeader {
  static constexpr DtMsgLayout layout{"DtNetMsgHeader", 8, false, {}, {}};
};

struct DtNetDesignatedFederateMsg : DtNetMsgHeader {
  static constexpr DtU32At designatedFederate{8};
  static constexpr DtField fields[] = {{"Designated Federate:", designatedFederate}};
  static constexpr DtMsgLayout layout{"DtNetDesignatedFederateMsg", 12, false, fields, {}};
};

struct DtNetConnectMsg : DtNetMsgHeader {
  static constexpr DtU32At connectionHandle{8};
  static constexpr DtField fields[] = {{"Connection Handle:", connectionHandle}};
  static constexpr DtMsgLayout layout{"DtNetConnectMsg", 12, false, fields, {}};
};

static_assert(DtLayoutValid(DtNetCreateMsg::layout) && DtLayoutValid(DtNetCreateResponseMsg::layout) &&
              DtLayoutValid(DtNetDestroyMsg::layout) && DtLayoutValid(DtNetDestroyResponseMsg::layout) &&
              DtLayoutValid(DtNetJoinMsg::layout) && DtLayoutValid(DtNetJoinConfirmMsg::layout) &&
              DtLayoutValid(DtNetJoinResponseMsg::layout) && DtLayoutValid(DtNetResignMsg::layout) &&
              DtLayoutValid(DtNetAliveMsg::layout) && DtLayoutValid(DtNetDesignatedFederateMsg::layout) &&
              DtLayoutValid(DtNetConnectMsg::layout));

// Values the rtiexec side assigns; these messages carry them as 32-bit numbers.
typedef int DtCreateResponseFlag;
typedef int DtDestroyResponseFlag;

// ---- classes

// Federate to rtiexec: create the execution from the FED file.
class DtCreateMsg : public DtMsgClass<DtCreateMsg, DtRtiMsg, DtNetCreateMsg, DtCreateMsgKind> {
public:
  using DtMsgClass::DtMsgClass;
  DtCreateMsg(const char* fullFedExName, const DtString& fedFileName, DtBufferPlaceHolder* where);
  void set(const char* fullFedExName, const DtString& fedFileName);
  void setFullFedExName(const char* name) { putText(DtNetCreateMsg::fullFedExName, name, DtFullFedExNameChars); }
  DtString fullFedExName() const { return getText(DtNetCreateMsg::fullFedExName); }
  void setFedFileName(const DtString& name) { setTextPart(0, name.string(), "FED file name"); }
  // "" when the message has no bytes after its fixed part.
  const char* fedFileName() const;
  static int minSize() { return 73; }
};

// An execution's name and the rtiexec's answer about it.
template <class Self, class Net, DtRtiMsgKind Kind, class Flag>
class DtResponseMsg : public DtMsgClass<Self, DtRtiMsg, Net, Kind> {
  using Pattern = DtMsgClass<Self, DtRtiMsg, Net, Kind>;

public:
  using Pattern::Pattern;
  DtResponseMsg(const char* fullFedExName, Flag flag, DtBufferPlaceHolder* where) : Pattern(where) {
    set(fullFedExName, flag);
  }
  void set(const char* fullFedExName, Flag flag) {
    setFullFedExName(fullFedExName);
    setResponseFlag(flag);
  }
  void setFullFedExName(const char* name) { this->putText(Net::fullFedExName, name, DtFullFedExNameChars); }
  DtString fullFedExName() const { return this->getText(Net::fullFedExName); }
  void setResponseFlag(Flag flag) { this->put(Net::responseFlag, static_cast<std::uint32_t>(flag)); }
  Flag responseFlag() const { return static_cast<Flag>(static_cast<std::int32_t>(this->get(Net::responseFlag))); }
};

// rtiexec to federate: the answer to a create.
class DtCreateResponseMsg
    : public DtResponseMsg<DtCreateResponseMsg, DtNetCreateResponseMsg, DtCreateResponseMsgKind, DtCreateResponseFlag> {
public:
  using DtResponseMsg::DtResponseMsg;
};

// Federate to rtiexec: join the execution under this name.
class DtJoinMsg : public DtMsgClass<DtJoinMsg, DtRtiMsg, DtNetJoinMsg, DtJoinMsgKind> {
public:
  using DtMsgClass::DtMsgClass;
  DtJoinMsg(unsigned long sourceID, const char* federateName, const char* fullFedExName, DtBufferPlaceHolder* where)
      : DtJoinMsg(where) {
    set(sourceID, federateName, fullFedExName);
  }
  void set(unsigned long sourceID, const char* federateName, const char* fullFedExName) {
    setSourceID(sourceID);
    setFederateName(federateName);
    setFullFedExName(fullFedExName);
  }
  void setSourceID(unsigned long id) { putChecked(DtNetJoinMsg::sourceID, id, "source id"); }
  unsigned long sourceID() const { return get(DtNetJoinMsg::sourceID); }
  void setFederateName(const char* name) { putText(DtNetJoinMsg::federateName, name, DtFederateNameChars); }
  // Valid until the next call or the message's end.
  const char* federateName() const {
    name_ = getText(DtNetJoinMsg::federateName);
    return name_.string();
  }
  void setFullFedExName(const char* name) { putText(DtNetJoinMsg::fullFedExName, name, DtFullFedExNameChars); }
  DtString fullFedExName() const { return getText(DtNetJoinMsg::fullFedExName); }

private:
  mutable DtString name_;
};

// rtiexec to federate: the handles to use, or an error.
class DtJoinResponseMsg : public DtMsgClass<DtJoinResponseMsg, DtRtiMsg, DtNetJoinResponseMsg, DtJoinResponseMsgKind> {
public:
  using DtMsgClass::DtMsgClass;
  DtJoinResponseMsg(unsigned long destinationID, const char* federateName, unsigned short fedexHandleToUse,
                    const char* fullFedExName, const DtString& fedFileName, unsigned long federateHandleToUse,
                    int errorValue, DtBufferPlaceHolder* where);
  void set(unsigned long destinationID, const char* federateName, unsigned short fedexHandleToUse,
           const char* fullFedExName, const DtString& fedFileName, unsigned long federateHandleToUse);
  void setDestinationID(unsigned long id) { putChecked(DtNetJoinResponseMsg::destinationID, id, "destination id"); }
  unsigned long destinationID() const { return get(DtNetJoinResponseMsg::destinationID); }
  void setFederateName(const char* name) { putText(DtNetJoinResponseMsg::federateName, name, DtFederateNameChars); }
  const char* federateName() const {
    name_ = getText(DtNetJoinResponseMsg::federateName);
    return name_.string();
  }
  void setFedexHandleToUse(unsigned short handle) { put(DtNetJoinResponseMsg::fedexHandleToUse, handle); }
  unsigned short fedexHandleToUse() const {
    return static_cast<unsigned short>(get(DtNetJoinResponseMsg::fedexHandleToUse));
  }
  void setFederateHandleToUse(unsigned long handle) {
    putChecked(DtNetJoinResponseMsg::federateHandleToUse, handle, "federate handle");
  }
  unsigned long federateHandleToUse() const { return get(DtNetJoinResponseMsg::federateHandleToUse); }
  void setErrorValue(int value) { put(DtNetJoinResponseMsg::errorValue, static_cast<std::uint32_t>(value)); }
  int errorValue() const { return static_cast<std::int32_t>(get(DtNetJoinResponseMsg::errorValue)); }
  void setFullFedExName(const char* name) { putText(DtNetJoinResponseMsg::fullFedExName, name, DtFullFedExNameChars); }
  DtString fullFedExName() const { return getText(DtNetJoinResponseMsg::fullFedExName); }
  void setFedFileName(const DtString& name) { setTextPart(0, name.string(), "FED file name"); }
  const char* fedFileName() const;
  static int minSize() { return 105; }
  void printData() const override;

private:
  mutable DtString name_;
};

// Federate to rtiexec and federates: it leaves. Never held back by a save.
class DtResignMsg : public DtMsgClass<DtResignMsg, DtRtiMsg, DtNetResignMsg, DtResignMsgKind> {
public:
  // An empty message resigns with no action until it is set.
  explicit DtResignMsg(DtBufferPlaceHolder* where = nullptr) : DtMsgClass(where) {
    setAllowedDuringSave(1);
    setResignAction(RTI::NO_ACTION);
  }
  DtResignMsg(const DtNetResignMsg* body, DtBufferPlaceHolder* where) : DtMsgClass(body, where) {
    setAllowedDuringSave(1);
  }
  DtResignMsg(const char* fedExName, unsigned long federateHandle, RTI::ResignAction action, DtBufferPlaceHolder* where)
      : DtResignMsg(where) {
    set(fedExName, federateHandle, action);
  }
  void set(const char* fedExName, unsigned long federateHandle, RTI::ResignAction action) {
    setFedEx(DtString(fedExName));
    setFederateHandle(federateHandle);
    setResignAction(action);
  }
  void setResignAction(RTI::ResignAction action) {
    put(DtNetResignMsg::resignAction, static_cast<std::uint32_t>(action));
  }
  // The action as it travels: 1 to 4 in a sound message (status() refuses
  // any other number, which names no RTI::ResignAction).
  std::uint32_t resignActionNumber() const { return get(DtNetResignMsg::resignAction); }
  // The action; RTI::NO_ACTION for a number that names none.
  RTI::ResignAction resignAction() const;
  std::string statusText(int status) const override;
  void printData() const override;

protected:
  int checkBody() const override;
};

// Federate to rtiexec: destroy the execution.
class DtDestroyMsg : public DtMsgClass<DtDestroyMsg, DtRtiMsg, DtNetDestroyMsg, DtDestroyMsgKind> {
public:
  using DtMsgClass::DtMsgClass;
  DtDestroyMsg(const char* fullFedExName, DtBufferPlaceHolder* where) : DtDestroyMsg(where) { set(fullFedExName); }
  void set(const char* fullFedExName) { setFullFedExName(fullFedExName); }
  void setFullFedExName(const char* name) { putText(DtNetDestroyMsg::fullFedExName, name, DtFullFedExNameChars); }
  DtString fullFedExName() const { return getText(DtNetDestroyMsg::fullFedExName); }
};

// rtiexec to federate: the answer to a destroy.
class DtDestroyResponseMsg : public DtResponseMsg<DtDestroyResponseMsg, DtNetDestroyResponseMsg,
                                                  DtDestroyResponseMsgKind, DtDestroyResponseFlag> {
public:
  using DtResponseMsg::DtResponseMsg;
};

// Federate to the federation: the join is complete (rtiexec and MOM read it).
class DtJoinConfirmMsg : public DtMsgClass<DtJoinConfirmMsg, DtRtiMsg, DtNetJoinConfirmMsg, DtJoinConfirmMsgKind> {
public:
  using DtMsgClass::DtMsgClass;
  void set(const char* federateName) { setFederateName(federateName); }
  void setFederateName(const char* name) { putText(DtNetJoinMsg::federateName, name, DtFederateNameChars); }
  const char* federateName() const {
    name_ = getText(DtNetJoinMsg::federateName);
    return name_.string();
  }

private:
  mutable DtString name_;
};

// Federate to the federation: the header alone, as a heartbeat.
class DtAliveMsg : public DtMsgClass<DtAliveMsg, DtRtiMsg, DtNetAliveMsg, DtAliveMsgKind> {
public:
  using DtMsgClass::DtMsgClass;
};

// Rtiexec to a resigning federate: the header alone, naming the federate
// and its execution, once the federate is out of the execution.
class DtResignResponseMsg : public DtMsgClass<DtResignResponseMsg, DtRtiMsg, DtNetAliveMsg, DtResignResponseMsgKind> {
public:
  using DtMsgClass::DtMsgClass;
};

// A message of one 32-bit value at offset 8.
template <class Self, class Base, class Net, DtRtiMsgKind Kind>
class DtOneValueMsg : public DtMsgClass<Self, Base, Net, Kind> {
  using Pattern = DtMsgClass<Self, Base, Net, Kind>;

public:
  using Pattern::Pattern;

protected:
  void setValue(unsigned long value, const char* what) { this->putChecked(DtU32At{8}, value, what); }
  unsigned long value() const { return this->get(DtU32At{8}); }
};

// rtiexec to federates: which federate is the designated one.
class DtDesignatedFederateMsg
    : public DtOneValueMsg<DtDesignatedFederateMsg, DtRtiMsg, DtNetDesignatedFederateMsg, DtDesignatedFederateMsgKind> {
public:
  using DtOneValueMsg::DtOneValueMsg;
  DtDesignatedFederateMsg(unsigned long designated, DtBufferPlaceHolder* where) : DtDesignatedFederateMsg(where) {
    set(designated);
  }
  void set(unsigned long designated) { setDesignatedFederate(designated); }
  void setDesignatedFederate(unsigned long handle) { setValue(handle, "federate handle"); }
  unsigned long designatedFederate() const { return value(); }
};

// rtiexec network thread to a new TCP connection: its number.
class DtConnectMsg : public DtOneValueMsg<DtConnectMsg, DtRtiMsg, DtNetConnectMsg, DtConnectMsgKind> {
public:
  using DtOneValueMsg::DtOneValueMsg;
  void set(unsigned long connectionHandle) { setConnectionHandle(connectionHandle); }
  void setConnectionHandle(unsigned long handle) { setValue(handle, "connection handle"); }
  unsigned long connectionHandle() const { return value(); }
};

// rtiexec network thread to every connection: this connection closed.
class DtDisconnectMsg : public DtMsgClass<DtDisconnectMsg, DtConnectMsg, DtNetConnectMsg, DtDisconnectMsgKind> {
public:
  using DtMsgClass::DtMsgClass;
};
