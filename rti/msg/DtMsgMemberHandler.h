#pragma once
// DtMsgMemberHandler<&Owner::process>: a member function that takes a
// message, as a callback that a registry can call: the function of the
// owner given as user data.
//
//   DtMsgSubscription<DtJoinMsg> joins(mgr, DtMsgMemberHandler<&DtFedExec::processJoin>{}, this);

template <auto Process>
struct DtMsgMemberHandler;

template <class OwnerType, class Msg, void (OwnerType::*Process)(const Msg&)>
struct DtMsgMemberHandler<Process> {
  using Owner = OwnerType;
  using Message = Msg;
  static void call(const Msg& msg, void* owner) { (static_cast<Owner*>(owner)->*Process)(msg); }
};
