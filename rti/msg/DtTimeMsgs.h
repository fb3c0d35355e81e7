#pragma once
// Time-management messages between a federate's time manager and the
// rtiexec's federation execution: regulation, constraint, time-advance and
// next-event requests (federate to rtiexec), and their answers with the
// lower bound on time stamps (rtiexec to federate). Times travel in their
// own encoding, padded to even, each with a size field; a time set again
// moves the parts after it.

#include "msg/DtMsgClass.h"

// ---- bodies

struct DtNetTimeMsg : DtNetMsgHeader {
  static constexpr DtU32At timeSize{8};
  static constexpr DtPart parts[] = {{"Time:", DtPartType::Time, timeSize.offset, 4, DtShow::Time}};
  static constexpr DtMsgLayout layout{"DtNetTimeMsg", 12, false, {}, parts};
};

struct DtNetTimeLookaheadMsg : DtNetMsgHeader {
  static constexpr DtU32At nerCycle{8};
  static constexpr DtU32At timeAvailable{12};
  static constexpr DtU16At timeSize{16};
  static constexpr DtU16At lookaheadSize{18};
  static constexpr DtField fields[] = {{"NER Cycle:", nerCycle}, {"Time Available:", timeAvailable, DtShow::TrueFalse}};
  static constexpr DtPart parts[] = {{"Time:", DtPartType::Time, timeSize.offset, 2, DtShow::Time},
                                     {"Lookahead:", DtPartType::Time, lookaheadSize.offset, 2, DtShow::Time}};
  static constexpr DtMsgLayout layout{"DtNetTimeLookaheadMsg", 20, false, fields, parts};
};

// One federate and two times: kind 53 (time, LBTS), kinds 56 and 61 (LBTS,
// lag LBTS).
struct DtNetTwoTimes : DtNetMsgHeader {
  static constexpr DtU32At federate{8};
  static constexpr DtU16At firstSize{12};
  static constexpr DtU16At secondSize{14};
};
struct DtNetConstrainedEnabled : DtNetTwoTimes {
  static constexpr DtField fields[] = {{"Requesting Federate:", federate}};
  static constexpr DtPart parts[] = {{"Time:", DtPartType::Time, firstSize.offset, 2, DtShow::Time},
                                     {"LBTS:", DtPartType::Time, secondSize.offset, 2, DtShow::Time}};
  static constexpr DtMsgLayout layout{"DtNetConstrainedEnabled", 16, false, fields, parts};
};
struct DtNetLbts : DtNetTwoTimes {
  static constexpr DtField fields[] = {{"Laggard Federate:", federate}};
  static constexpr DtPart parts[] = {{"LBTS:", DtPartType::Time, firstSize.offset, 2, DtShow::Time},
                                     {"Lag LBTS:", DtPartType::Time, secondSize.offset, 2, DtShow::Time}};
  static constexpr DtMsgLayout layout{"DtNetLbts", 16, false, fields, parts};
};

struct DtNetNerLbts : DtNetMsgHeader {
  static constexpr DtU32At nerCycle{8};
  static constexpr DtU32At laggardFederate{12};
  static constexpr DtU16At nerPending{16};
  static constexpr DtU16At lagNerPending{18};
  static constexpr DtU16At lbtsSize{20};
  static constexpr DtU16At lagLbtsSize{22};
  static constexpr DtField fields[] = {{"Laggard Federate:", laggardFederate},
                                       {"NER Cycle:", nerCycle},
                                       {"NER Pending: ", nerPending, DtShow::TrueFalse},
                                       {"Lag NER Pending: ", lagNerPending, DtShow::TrueFalse}};
  static constexpr DtPart parts[] = {{"LBTS:", DtPartType::Time, lbtsSize.offset, 2, DtShow::Time},
                                     {"Lag LBTS:", DtPartType::Time, lagLbtsSize.offset, 2, DtShow::Time}};
  static constexpr DtMsgLayout layout{"DtNetNerLbts", 24, false, fields, parts};
};

struct DtNetRegulationEnabled : DtNetMsgHeader {
  static constexpr DtU32At requestingFederate{8};
  static constexpr DtU32At timeSize{12};
  static constexpr DtField fields[] = {{"Requesting Federate:", requestingFederate}};
  static constexpr DtPart parts[] = {{"Time:", DtPartType::Time, timeSize.offset, 4, DtShow::Time}};
  static constexpr DtMsgLayout layout{"DtNetRegulationEnabled", 16, false, fields, parts};
};

struct DtNetDisable : DtNetMsgHeader {
  static constexpr DtU32At serviceType{8};
  static constexpr DtField fields[] = {{"Service Type:", serviceType}};
  static constexpr DtMsgLayout layout{"DtNetDisable", 12, false, fields, {}};
};

struct DtNetNullMsg : DtNetMsgHeader {
  static constexpr DtMsgLayout layout{"DtNetMsgHeader", 8, false, {}, {}};
};

static_assert(DtLayoutValid(DtNetTimeMsg::layout) && DtLayoutValid(DtNetTimeLookaheadMsg::layout) &&
              DtLayoutValid(DtNetConstrainedEnabled::layout) && DtLayoutValid(DtNetLbts::layout) &&
              DtLayoutValid(DtNetNerLbts::layout) && DtLayoutValid(DtNetRegulationEnabled::layout) &&
              DtLayoutValid(DtNetDisable::layout) && DtLayoutValid(DtNetNullMsg::layout));

// Which time service a federate turns off; the numbers are the time
// manager's.
typedef std::uint32_t DtTimeServiceType;

// ---- classes

// What the time-carrying classes share: their first time is the message's
// time (setTime, time); a second one has its own accessors.
class DtTimesMsg : public DtRtiMsg {
public:
  // The first time's size field and padded length.
  virtual int timeSize() const { return static_cast<int>(partSize(0)); }
  virtual int timeFieldSize() const { return partLength(0); }

protected:
  using DtRtiMsg::DtRtiMsg;
  void setSecondTime(const RTI::FedTime& time, const char* what) { setTimePart(1, time, what); }
  const RTI::FedTime& secondTime() const {
    const RTI::FedTime* t = timePart(1);
    return t ? *t : *theZeroFedTime;
  }
  int secondSize() const { return static_cast<int>(partSize(1)); }
  int secondFieldSize() const { return partLength(1); }
};

// A time alone (the base of the save-time message).
class DtTimeMsg : public DtTimesMsg {
public:
  virtual void set(const RTI::FedTime& time) { setTime(time); }

protected:
  using DtTimesMsg::DtTimesMsg;
};

// A time and a lookahead, with the next-event request's cycle and flag.
class DtTimeLookaheadMsg : public DtTimesMsg {
public:
  virtual void set(const RTI::FedTime& time, const RTI::FedTime& lookahead, char timeAvailable, unsigned long nerCycle);
  virtual void setLookahead(const RTI::FedTime& lookahead) { setSecondTime(lookahead, "lookahead"); }
  virtual const RTI::FedTime& lookahead() const { return secondTime(); }
  virtual void setTimeAvailable(char available) { put(DtNetTimeLookaheadMsg::timeAvailable, available ? 1u : 0u); }
  virtual char timeAvailable() const { return static_cast<char>(get(DtNetTimeLookaheadMsg::timeAvailable) != 0); }
  virtual void setNerCycle(unsigned long cycle) { putChecked(DtNetTimeLookaheadMsg::nerCycle, cycle, "NER cycle"); }
  virtual unsigned long nerCycle() const { return get(DtNetTimeLookaheadMsg::nerCycle); }
  virtual int lookaheadSize() const { return secondSize(); }
  virtual int lookaheadFieldSize() const { return secondFieldSize(); }

protected:
  using DtTimesMsg::DtTimesMsg;
};

// Kinds 50, 52, 54 and 60: a time and a lookahead (cycle and flag 0).
template <class Self, DtRtiMsgKind Kind>
class DtTimeRequestMsg : public DtMsgClass<Self, DtTimeLookaheadMsg, DtNetTimeLookaheadMsg, Kind> {
  using Pattern = DtMsgClass<Self, DtTimeLookaheadMsg, DtNetTimeLookaheadMsg, Kind>;

public:
  using Pattern::Pattern;
  DtTimeRequestMsg(const RTI::FedTime& time, const RTI::FedTime& lookahead, DtBufferPlaceHolder* where)
      : Pattern(where) {
    this->set(time, lookahead, 0, 0);
  }
};

class DtEnableRegulationMsg : public DtTimeRequestMsg<DtEnableRegulationMsg, DtEnableRegulationMsgKind> {
public:
  using DtTimeRequestMsg::DtTimeRequestMsg;
};
class DtEnableConstrainedMsg : public DtTimeRequestMsg<DtEnableConstrainedMsg, DtEnableConstrainedMsgKind> {
public:
  using DtTimeRequestMsg::DtTimeRequestMsg;
};
class DtTimeAdvanceRequestMsg : public DtTimeRequestMsg<DtTimeAdvanceRequestMsg, DtTimeAdvanceRequestMsgKind> {
public:
  using DtTimeRequestMsg::DtTimeRequestMsg;
};
class DtConstrainedSyncMsg : public DtTimeRequestMsg<DtConstrainedSyncMsg, DtConstrainedSyncMsgKind> {
public:
  using DtTimeRequestMsg::DtTimeRequestMsg;
};

class DtNextEventRequestMsg
    : public DtMsgClass<DtNextEventRequestMsg, DtTimeLookaheadMsg, DtNetTimeLookaheadMsg, DtNextEventRequestMsgKind> {
public:
  using DtMsgClass::DtMsgClass;
  DtNextEventRequestMsg(const RTI::FedTime& time, const RTI::FedTime& lookahead, char timeAvailable,
                        unsigned long nerCycle, DtBufferPlaceHolder* where)
      : DtNextEventRequestMsg(where) {
    set(time, lookahead, timeAvailable, nerCycle);
  }
};

// rtiexec to federate: regulation is on from this time.
class DtRegulationEnabledMsg
    : public DtMsgClass<DtRegulationEnabledMsg, DtTimesMsg, DtNetRegulationEnabled, DtRegulationEnabledMsgKind> {
public:
  using DtMsgClass::DtMsgClass;
  DtRegulationEnabledMsg(unsigned long requestingFederate, const RTI::FedTime& time, DtBufferPlaceHolder* where)
      : DtRegulationEnabledMsg(where) {
    set(requestingFederate, time);
  }
  virtual void set(unsigned long requestingFederate, const RTI::FedTime& time) {
    setRequestingFederate(requestingFederate);
    setTime(time);
  }
  virtual void setRequestingFederate(unsigned long federate) {
    putChecked(DtNetRegulationEnabled::requestingFederate, federate, "federate handle");
  }
  virtual unsigned long requestingFederate() const { return get(DtNetRegulationEnabled::requestingFederate); }
};

// rtiexec to federate: constrained from this time, with the LBTS.
class DtConstrainedEnabledMsg
    : public DtMsgClass<DtConstrainedEnabledMsg, DtTimesMsg, DtNetConstrainedEnabled, DtConstrainedEnabledMsgKind> {
public:
  using DtMsgClass::DtMsgClass;
  DtConstrainedEnabledMsg(unsigned long requestingFederate, const RTI::FedTime& time, const RTI::FedTime& lbts,
                          DtBufferPlaceHolder* where)
      : DtConstrainedEnabledMsg(where) {
    set(requestingFederate, time, lbts);
  }
  virtual void set(unsigned long requestingFederate, const RTI::FedTime& time, const RTI::FedTime& lbts) {
    setRequestingFederate(requestingFederate);
    setTime(time);
    setLbts(lbts);
  }
  virtual void setRequestingFederate(unsigned long federate) {
    putChecked(DtNetTwoTimes::federate, federate, "federate handle");
  }
  virtual unsigned long requestingFederate() const { return get(DtNetTwoTimes::federate); }
  virtual void setLbts(const RTI::FedTime& lbts) { setSecondTime(lbts, "LBTS"); }
  virtual const RTI::FedTime& lbts() const { return secondTime(); }
  virtual int lbtsSize() const { return secondSize(); }
  virtual int lbtsFieldSize() const { return secondFieldSize(); }
};

// rtiexec to federate: the LBTS (the message's time) and the laggard's.
template <class Self, DtRtiMsgKind Kind>
class DtLbtsMsgOf : public DtMsgClass<Self, DtTimesMsg, DtNetLbts, Kind> {
  using Pattern = DtMsgClass<Self, DtTimesMsg, DtNetLbts, Kind>;

public:
  using Pattern::Pattern;
  DtLbtsMsgOf(unsigned long laggardFederate, const RTI::FedTime& lbts, const RTI::FedTime& lagLbts,
              DtBufferPlaceHolder* where)
      : Pattern(where) {
    set(laggardFederate, lbts, lagLbts);
  }
  virtual void set(unsigned long laggardFederate, const RTI::FedTime& lbts, const RTI::FedTime& lagLbts) {
    setLaggardFederate(laggardFederate);
    this->setTime(lbts);
    setLagLbts(lagLbts);
  }
  // Keeps the low 16 bits of the handle.
  virtual void setLaggardFederate(unsigned long federate) {
    this->put(DtNetTwoTimes::federate, static_cast<std::uint32_t>(federate & 0xFFFF));
  }
  virtual unsigned long laggardFederate() const { return this->get(DtNetTwoTimes::federate); }
  virtual void setLagLbts(const RTI::FedTime& lagLbts) { this->setSecondTime(lagLbts, "lag LBTS"); }
  virtual const RTI::FedTime& lagLbts() const { return this->secondTime(); }
  virtual int lagLbtsSize() const { return this->secondSize(); }
  virtual int lagLbtsFieldSize() const { return this->secondFieldSize(); }
};

class DtLbtsMsg : public DtLbtsMsgOf<DtLbtsMsg, DtLbtsMsgKind> {
public:
  using DtLbtsMsgOf::DtLbtsMsgOf;
};
class DtResumeConstrainedMsg : public DtLbtsMsgOf<DtResumeConstrainedMsg, DtResumeConstrainedMsgKind> {
public:
  using DtLbtsMsgOf::DtLbtsMsgOf;
};

// rtiexec to federate: the LBTS of a next-event cycle.
class DtNerLbtsMsg : public DtMsgClass<DtNerLbtsMsg, DtTimesMsg, DtNetNerLbts, DtNerLbtsMsgKind> {
public:
  using DtMsgClass::DtMsgClass;
  DtNerLbtsMsg(unsigned long nerCycle, unsigned long laggardFederate, char isNerPending, char isLagNerPending,
               const RTI::FedTime& lbts, const RTI::FedTime& lagLbts, DtBufferPlaceHolder* where)
      : DtNerLbtsMsg(where) {
    set(nerCycle, laggardFederate, isNerPending, isLagNerPending, lbts, lagLbts);
  }
  virtual void set(unsigned long nerCycle, unsigned long laggardFederate, char isNerPending, char isLagNerPending,
                   const RTI::FedTime& lbts, const RTI::FedTime& lagLbts);
  virtual void setNerCycle(unsigned long cycle) { putChecked(DtNetNerLbts::nerCycle, cycle, "NER cycle"); }
  virtual unsigned long nerCycle() const { return get(DtNetNerLbts::nerCycle); }
  // Keeps the low 16 bits of the handle.
  virtual void setLaggardFederate(unsigned long federate) {
    put(DtNetNerLbts::laggardFederate, static_cast<std::uint32_t>(federate & 0xFFFF));
  }
  virtual unsigned long laggardFederate() const { return get(DtNetNerLbts::laggardFederate); }
  virtual void setIsNerPending(char pending) { put(DtNetNerLbts::nerPending, pending ? 1 : 0); }
  virtual char isNerPending() const { return static_cast<char>(get(DtNetNerLbts::nerPending) != 0); }
  virtual void setIsLagNerPending(char pending) { put(DtNetNerLbts::lagNerPending, pending ? 1 : 0); }
  virtual char isLagNerPending() const { return static_cast<char>(get(DtNetNerLbts::lagNerPending) != 0); }
  virtual void setLagLbts(const RTI::FedTime& lagLbts) { setSecondTime(lagLbts, "lag LBTS"); }
  virtual const RTI::FedTime& lagLbts() const { return secondTime(); }
  virtual int lagLbtsSize() const { return secondSize(); }
  virtual int lagLbtsFieldSize() const { return secondFieldSize(); }
};

// Federate to rtiexec: turn off regulation or constraint.
class DtDisableMsg : public DtMsgClass<DtDisableMsg, DtRtiMsg, DtNetDisable, DtDisableMsgKind> {
public:
  using DtMsgClass::DtMsgClass;
  DtDisableMsg(DtTimeServiceType serviceType, DtBufferPlaceHolder* where) : DtDisableMsg(where) { set(serviceType); }
  virtual void set(DtTimeServiceType serviceType) { setServiceType(serviceType); }
  virtual void setServiceType(DtTimeServiceType serviceType) { put(DtNetDisable::serviceType, serviceType); }
  virtual DtTimeServiceType serviceType() const { return get(DtNetDisable::serviceType); }
  static constexpr int minSize() { return 12; }
};

// rtiexec to federate: the header alone.
class DtSyncConstrainedMsg : public DtMsgClass<DtSyncConstrainedMsg, DtRtiMsg, DtNetNullMsg, DtSyncConstrainedMsgKind> {
public:
  using DtMsgClass::DtMsgClass;
  static constexpr int minSize() { return 8; }
};

// A header-only base (of the save-time-advance message).
class DtNullMsg : public DtRtiMsg {
public:
  void printData() const override;

protected:
  using DtRtiMsg::DtRtiMsg;
};
