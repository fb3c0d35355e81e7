#pragma once
// A new message of a class from the factory in use, for the objects that
// build the messages they send by class, as the rtiexec, its executions
// and the federate managers do:
//
//   auto msg = DtMakeMsg<DtResignMsg>(*connectMgr_);

#include <memory>

#include "msg/DtRtiMsg.h"
#include "net/DtConnectionMgr.h"

// A new, empty message of the class, of the kind given, from the
// connection manager's factory (which a plug-in may have replaced); null
// when the factory makes none of that class for the kind.
template <class Msg>
std::unique_ptr<Msg> DtMakeMsg(DtConnectionMgr& mgr, DtRtiMsgKind kind) {
  std::unique_ptr<DtRtiMsg> made(mgr.create(kind));
  auto* msg = dynamic_cast<Msg*>(made.get());
  if (!msg) return nullptr;
  static_cast<void>(made.release());  // now owned as msg
  return std::unique_ptr<Msg>(msg);
}

// The same of the class's own kind.
template <class Msg>
std::unique_ptr<Msg> DtMakeMsg(DtConnectionMgr& mgr) {
  return DtMakeMsg<Msg>(mgr, Msg::currentKind());
}
