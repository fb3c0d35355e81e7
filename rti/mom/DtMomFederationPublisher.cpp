#include "mom/DtMomFederationPublisher.h"

#include <memory>

#include "mom/DtMomFederationSR.h"
#include "mom/DtMomObjectClasses.h"
#include "msg/DtObjectMsgs.h"
#include "objects/DtObjectClassInfo.h"
#include "objects/DtRtiObject.h"

DtMomFederationPublisher::DtMomFederationPublisher(DtConnectionMgr* connectMgr, DtFomClassMgr* fom, DtObjectMgr* objMgr,
                                                   DtMomInspector* inspector)
    : DtMomPublisher(connectMgr, fom, objMgr) {
  updateType_ = DtLocalUpdate;
  DtObjectClassInfo& cls = momClass(DtMomFederationClass);
  setMomAttributes(DtMomFederationClass, cls);
  auto made = std::make_unique<DtRtiObject>(0, "HLA_Federation", &cls, &cls);
  record_ = std::make_unique<DtMomFederationSR>(fom_, inspector, made->actualClassHandle());
  adopt(std::move(made))->giveToRti(momAttributes_);
}

void DtMomFederationPublisher::sendRegister(DtRegObjMsg& msg) {
  const unsigned long sender = msg.federateHandle();
  msg.setFederateHandle(0);
  objMgr_->processRegister(msg);
  msg.setFederateHandle(sender);
}

void DtMomFederationPublisher::designate() {
  DtRtiObject* designated = object();
  if (!designated || !designated->actualClass()) return;
  const DtAttributeHandleSet others = designated->actualClass()->allAttrs().removeSetIntersection(momAttributes_);
  if (others.isEmpty()) return;
  designated->giveToLrc(others);
  objMgr_->addLrcManagedObj(designated);
}
