#pragma once
// How a received update, interaction or deletion reaches the federate: with
// its time and retraction handle when it is time-stamp ordered, carries a
// time and the federate is time-constrained; otherwise at once, untimed.

#include "RTI.hh"
#include "msg/DtRtiMsg.h"
#include "objects/DtTimeStamping.h"
#include "util/DtFomTypes.h"

inline bool DtDeliversTimed(const DtRtiMsg& msg, const DtTimeStamping* timeMgr) {
  return msg.orderType() == DtTimestampOrder && msg.hasTime() && timeMgr && timeMgr->constrained();
}

// Tells the time manager that the message, when it is time-stamp ordered,
// is about to reach the federate (timed or not): its retraction will.
inline void DtNoteDelivered(const DtRtiMsg& msg, DtTimeStamping* timeMgr) {
  if (timeMgr && msg.orderType() == DtTimestampOrder && msg.hasTime()) {
    timeMgr->eventDelivered(static_cast<std::uint32_t>(msg.federateHandle()),
                            static_cast<std::uint32_t>(msg.serialNumber()));
  }
}

// The sender's serial number and handle.
inline RTI::EventRetractionHandle DtRetractionHandleOf(const DtRtiMsg& msg) {
  RTI::EventRetractionHandle handle;
  handle.theSerialNumber = msg.serialNumber();
  handle.sendingFederate = msg.federateHandle();
  return handle;
}
