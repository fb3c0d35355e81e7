#pragma once
// DtMsgSubscription<Msg>: a handler of message class Msg, registered under
// the class's kind from construction to destruction. The handler takes the
// class or one of its bases (checked at compile time); it is either a
// function with user data or a member function of an owner:
//
//   DtMsgSubscription<DtLbtsMsg> lbts(mgr, &onLbts, this);
//   DtMsgSubscription<DtJoinMsg> joins(mgr, DtMsgMemberHandler<&DtFedExec::processJoin>{}, this);
//
// The kind is the class's current kind when the subscription is made (a
// class-wide switch may pick it); the same kind is removed at the end.
// An object with several handlers keeps them in DtMsgSubscriptions.

#include <type_traits>

#include "msg/DtMsgMemberHandler.h"
#include "msg/DtMsgRegistration.h"

template <class Msg>
class DtMsgSubscription final : public DtMsgRegistration {
public:
  // In the normal table, or in the management object model's when `mom` is
  // not 0; nothing is registered with a null registry.
  template <class Handled>
  DtMsgSubscription(DtMsgCallbackRegistry* registry, void (*handler)(const Handled&, void*), void* usr, char mom = 0)
      : DtMsgRegistration(registry, Msg::currentKind(), DtRtiMsgCallbackInfo::typed(handler, usr), mom) {
    static_assert(std::is_base_of_v<Handled, Msg>, "the handler must take this message class or a base of it");
  }

  template <auto Process>
  DtMsgSubscription(DtMsgCallbackRegistry* registry, DtMsgMemberHandler<Process> handler,
                    typename DtMsgMemberHandler<Process>::Owner* owner, char mom = 0)
      : DtMsgSubscription(registry, &decltype(handler)::call, owner, mom) {}
};
