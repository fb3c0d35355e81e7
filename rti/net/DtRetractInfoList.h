#pragma once
// DtRetractInfoList: the time manager's list of sent time-stamp-ordered
// messages that can still be retracted, as the connection manager sees it
// (the time manager implements it). The stamped sends record every
// time-stamp-ordered message before it goes out.
//
// Called on the thread that sends.

class DtRtiMsg;

class DtRetractInfoList {
public:
  virtual ~DtRetractInfoList() = default;
  // Records the message under its serial number (with its time), replacing
  // an earlier record of the same serial number.
  virtual void addMsg(const DtRtiMsg& msg) = 0;
};
