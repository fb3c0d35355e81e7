#pragma once
// A new, empty message of a class from the connection manager's factory
// (which a plug-in may have replaced); null when the factory makes none of
// that class for its kind.

#include <memory>

#include "net/DtConnectionMgr.h"
#include "net/DtRtiMsg.h"

template <class Msg>
std::unique_ptr<Msg> DtMakeExecMsg(DtConnectionMgr& mgr) {
  std::unique_ptr<DtRtiMsg> made(mgr.create(Msg::currentKind()));
  auto* msg = dynamic_cast<Msg*>(made.get());
  if (!msg) return nullptr;
  made.release();
  return std::unique_ptr<Msg>(msg);
}
