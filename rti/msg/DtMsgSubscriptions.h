#pragma once
// DtMsgSubscriptions: the message handlers of one object, each registered
// when it is added and all removed when the list is cleared or destroyed,
// so that no handler of a destroyed object stays behind.
//
//   handlers_.add<DtJoinMsg, &DtFedExec::processJoin>(connectMgr_, this);
//   handlers_.add<DtPubInterMsg>(connectMgr_, &DtInteractionMgr::processPub, this);
//
// A registry dispatches the newest registration first, so handlers of one
// kind are called in the reverse order of their adding. Not thread safe:
// used on the thread that dispatches the registries' messages.

#include <utility>
#include <vector>

#include "msg/DtMsgSubscription.h"

class DtMsgSubscriptions {
public:
  DtMsgSubscriptions() = default;
  DtMsgSubscriptions(DtMsgSubscriptions&&) noexcept = default;
  DtMsgSubscriptions& operator=(DtMsgSubscriptions&& other) noexcept;
  DtMsgSubscriptions(const DtMsgSubscriptions&) = delete;
  DtMsgSubscriptions& operator=(const DtMsgSubscriptions&) = delete;
  ~DtMsgSubscriptions();

  // A member function of the owner (or of a base) for message class Msg.
  template <class Msg, auto Process>
  void add(DtMsgCallbackRegistry* registry, typename DtMsgMemberHandler<Process>::Owner* owner, char mom = 0) {
    keep(DtMsgSubscription<Msg>(registry, DtMsgMemberHandler<Process>{}, owner, mom));
  }
  // A function with user data for message class Msg.
  template <class Msg, class Handled>
  void add(DtMsgCallbackRegistry* registry, void (*handler)(const Handled&, void*), void* usr, char mom = 0) {
    keep(DtMsgSubscription<Msg>(registry, handler, usr, mom));
  }

  // Removes every handler, the newest first.
  void clear();
  bool empty() const { return list_.empty(); }
  std::size_t size() const { return list_.size(); }

private:
  void keep(DtMsgRegistration&& registration) { list_.push_back(std::move(registration)); }

  std::vector<DtMsgRegistration> list_;
};
