#pragma once
// Helpers for the objects that take received messages through their own
// member functions, as the rtiexec, its executions and the federate
// managers do: a new message of a class from the factory in use, and the
// registration of a member function as a message class's callback.
//
//   DtRegisterMemberCallback<DtJoinMsg, DtFedExec, &DtFedExec::processJoin>(mgr, this, true);

#include <memory>

#include "msg/DtRtiMsg.h"
#include "net/DtConnectionMgr.h"

// A new, empty message of the class from the connection manager's factory
// (which a plug-in may have replaced); null when the factory makes none of
// that class for its kind.
template <class Msg>
std::unique_ptr<Msg> DtMakeMsg(DtConnectionMgr& mgr) {
  std::unique_ptr<DtRtiMsg> made(mgr.create(Msg::currentKind()));
  auto* msg = dynamic_cast<Msg*>(made.get());
  if (!msg) return nullptr;
  static_cast<void>(made.release());  // now owned as msg
  return std::unique_ptr<Msg>(msg);
}

// The callback: the member function of the object given as user data.
template <class Msg, class Owner, void (Owner::*Process)(const Msg&)>
void DtMemberCallback(const Msg& msg, void* owner) {
  (static_cast<Owner*>(owner)->*Process)(msg);
}

// Registers (add) or removes it, in the normal table (0) or the second one.
template <class Msg, class Owner, void (Owner::*Process)(const Msg&)>
void DtRegisterMemberCallback(DtConnectionMgr* mgr, Owner* owner, bool add, char table = 0) {
  if (add) {
    Msg::addCallback(mgr, &DtMemberCallback<Msg, Owner, Process>, owner, table);
  } else {
    Msg::removeCallback(mgr, &DtMemberCallback<Msg, Owner, Process>, owner, table);
  }
}
