#pragma once
// How the object manager's files make the messages they send: by kind,
// through the connection manager's factory (which a plug-in may replace).

#include <memory>

#include "net/DtConnectionMgr.h"
#include "objects/DtObjectMgr.h"

template <class Msg>
std::unique_ptr<Msg> DtObjectMgr::makeMsg(int kind) const {
  if (!connectMgr_) return nullptr;
  std::unique_ptr<DtRtiMsg> made(connectMgr_->create(static_cast<DtRtiMsgKind>(kind)));
  auto* msg = dynamic_cast<Msg*>(made.get());
  if (!msg) return nullptr;
  static_cast<void>(made.release());  // now owned as msg
  return std::unique_ptr<Msg>(msg);
}
