#pragma once
// How the object manager's files make the messages they send: by kind,
// through the connection manager's factory (which a plug-in may replace).

#include <memory>

#include "net/DtConnectionMgr.h"
#include "net/DtMakeMsg.h"
#include "objects/DtObjectMgr.h"

template <class Msg>
std::unique_ptr<Msg> DtObjectMgr::makeMsg(int kind) const {
  if (!connectMgr_) return nullptr;
  return DtMakeMsg<Msg>(*connectMgr_, static_cast<DtRtiMsgKind>(kind));
}
