#include "mom/DtMomFederatePublisher.h"

#include <memory>
#include <string>

#include "mom/DtMomFederateSR.h"
#include "mom/DtMomObjectClasses.h"
#include "msg/DtObjectMsgs.h"
#include "net/DtConnectionMgr.h"
#include "objects/DtObjectClassInfo.h"
#include "objects/DtRtiObject.h"
#include "util/DtClock.h"

DtMomFederatePublisher::DtMomFederatePublisher(DtConnectionMgr* connectMgr, DtFomClassMgr* fom, DtObjectMgr* objMgr,
                                               DtMomInspector* inspector, std::uint32_t federateHandle, int period)
    : DtMomPublisher(connectMgr, fom, objMgr), period_(period > 0 ? static_cast<std::uint32_t>(period) : 0) {
  const std::string name = "HLA_Federate" + std::to_string(federateHandle);
  updateType_ = DtAnonymousUpdate;
  DtObjectClassInfo& cls = momClass(DtMomFederateClass);
  setMomAttributes(DtMomFederateClass, cls);
  auto made = std::make_unique<DtRtiObject>(objMgr_->uniqueHandle(), name.c_str(), &cls, &cls);
  record_ = std::make_unique<DtMomFederateSR>(fom_, inspector, made->actualClassHandle());
  made->giveToRti(momAttributes_);
  made->giveToLrc(cls.allAttrs().removeSetIntersection(momAttributes_));
  DtRtiObject* object = adopt(std::move(made));
  if (!object->lrcManagedAttrs().isEmpty()) objMgr_->addLrcManagedObj(object);
}

DtMomFederatePublisher::~DtMomFederatePublisher() {
  if (!connectMgr_ || !hasObject_) return;
  try {
    connectMgr_->sendStampedAnonymousAndDelete(new DtDeleteRoMsg(objectHandle_, "", nullptr),
                                               connectMgr_->internalTransportType(), 0);
  } catch (...) {
    // The notice is a courtesy to the others: a lost connection or a failed
    // allocation must not end the federate while it tears down.
  }
}

void DtMomFederatePublisher::setTiming(std::uint32_t period) {
  period_ = period;
  nextUpdate_ = now();
}

void DtMomFederatePublisher::tick() {
  if (period_ == 0) return;
  const double reading = now();
  if (!(nextUpdate_ < reading)) return;
  nextUpdate_ = reading + period_;
  forceUpdate();
}

double DtMomFederatePublisher::now() const { return clock_ ? clock_() : DtRealTime(); }
