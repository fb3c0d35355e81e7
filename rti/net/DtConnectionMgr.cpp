#include "net/DtConnectionMgr.h"

#include "net/DtRtiMsg.h"

DtConnectionMgr::DtConnectionMgr(DtRIDParameters*) : msgFactory_(&defaultFactory_) {}

DtConnectionMgr::~DtConnectionMgr() = default;

int DtConnectionMgr::processMsg(const DtRtiMsg& msg) {
  callbacks_.processMsg(msg);
  return 0;
}

int DtConnectionMgr::momProcessMsg(const DtRtiMsg& msg) {
  momCallbacks_.processMsg(msg);
  return 0;
}

void DtConnectionMgr::addMsgCallback(DtRtiMsgKind kind, DtRtiMsgCallback fn, void* data, char mom) {
  registry(mom).addMsgCallback(kind, fn, data);
}

void DtConnectionMgr::removeMsgCallback(DtRtiMsgKind kind, DtRtiMsgCallback fn, void* data, char mom) {
  registry(mom).removeMsgCallback(kind, fn, data);
}

void DtConnectionMgr::addMsgCallback(DtRtiMsgKind kind, const DtRtiMsgCallbackInfo& record, char mom) {
  registry(mom).addMsgCallback(kind, new DtRtiMsgCallbackInfo(record));
}

void DtConnectionMgr::removeMsgCallback(DtRtiMsgKind kind, const DtRtiMsgCallbackInfo& record, char mom) {
  registry(mom).removeMsgCallback(kind, record);
}

DtRtiMsg* DtConnectionMgr::create(DtRtiMsgKind kind) { return msgFactory_ ? msgFactory_->create(kind, nullptr) : nullptr; }

void DtConnectionMgr::setMsgFactory(DtRtiMsgFactory* factory) { msgFactory_ = factory; }
