// The implementor's construction, its accessors, the observers' and
// wrappers' entry points, and the tick loops.
#include "core/DtRtiAmbassadorImplementor.h"

#include <new>
#include <thread>

#include "api/DtFedAmbWrapper.h"
#include "api/DtNotImplemented.h"
#include "api/DtRtiAmbObserverList.h"
#include "config/DtRIDParameters.h"
#include "core/DtFederateMgr.h"
#include "net/DtConnectionMgr.h"
#include "net/DtTcpSocket.h"
#include "objects/DtInteractionMgr.h"
#include "objects/DtObjectMgr.h"
#include "util/DtClock.h"
#include "util/DtCreatorHook.h"
#include "util/DtSelect.h"

namespace {

DtCreatorHook<DtRtiAmbassadorImplementor, DtRIDParameters*> theCreator;

std::uint8_t flag(int value) { return value != 0 ? 1 : 0; }

}  // namespace

std::unique_ptr<DtRtiAmbassadorImplementor> DtRtiAmbassadorImplementor::create(DtRIDParameters* params,
                                                                               DtMomMgr* momMgr) {
  // The creator is not given the MOM manager.
  if (std::unique_ptr<DtRtiAmbassadorImplementor> made = theCreator.makeInstalled(params)) return made;
  return std::unique_ptr<DtRtiAmbassadorImplementor>(new (std::nothrow) DtRtiAmbassadorImplementor(params, momMgr));
}

void DtRtiAmbassadorImplementor::setCreatorFunction(Creator creator) { theCreator.set(creator); }

DtRtiAmbassadorImplementor::DtRtiAmbassadorImplementor(DtRIDParameters* params, DtMomMgr* momMgr)
    : params_(params), momMgr_(momMgr) {
  // Class-wide, so the last ambassador made in a process sets them for all.
  DtTcpSocket::setBufferSize(params->tcpBufferSize());
  DtInteractionMgr::theDefaultInteractionAdvisorySwitch = flag(params->enableInteractionAdvisory());
  DtObjectMgr::theDefaultClassAdvisorySwitch = flag(params->enableClassAdvisory());
  DtObjectMgr::theDefaultAttributeAdvisorySwitch = flag(params->enableAttributeAdvisory());
  DtObjectMgr::theDefaultAttributeScopeAdvisorySwitch = flag(params->enableAttributeScopeAdvisory());
  DtObjectMgr::theHlaNamePrefix = params->enableHlaObjectNamePrefix() ? "HLA_" : "";

  fedMgr_ = DtFederateMgr::create(params);
  if (fedMgr_) fedMgr_->init(momMgr);
}

DtRtiAmbassadorImplementor::~DtRtiAmbassadorImplementor() = default;

void DtRtiAmbassadorImplementor::addObserver(const DtString& name, DtRtiAmbassadorObserver* observer) {
  // Without a list (before setObservers) nothing is filed: the caller keeps
  // the observer.
  if (observers_) observers_->addObserver(name, observer);
}

DtRtiAmbassadorObserver* DtRtiAmbassadorImplementor::removeObserver(const DtString& name) {
  return observers_ ? observers_->removeObserver(name) : nullptr;
}

// The connection manager's wrapper chain owns what is filed in it. A wrapper
// that a new one replaces goes back to whoever filed it, not deleted.
void DtRtiAmbassadorImplementor::addFedAmbWrapper(const DtString& name, DtFedAmbWrapper* wrapper) {
  DtConnectionMgr* connections = connectMgr();
  if (!connections) DtNotImplemented("addFedAmbWrapper");  // the caller keeps the wrapper
  static_cast<void>(connections->addFedAmbWrapper(name, std::unique_ptr<DtFedAmbWrapper>(wrapper)).release());
}

DtFedAmbWrapper* DtRtiAmbassadorImplementor::removeFedAmbWrapper(const DtString& name) {
  DtConnectionMgr* connections = connectMgr();
  return connections ? connections->removeFedAmbWrapper(name).release() : nullptr;
}

DtFederateMgr* DtRtiAmbassadorImplementor::fedMgr() const { return fedMgr_.get(); }

DtMomMgr* DtRtiAmbassadorImplementor::momMgr() const { return momMgr_; }

DtRIDParameters* DtRtiAmbassadorImplementor::params() const { return params_; }

DtConnectionMgr* DtRtiAmbassadorImplementor::connectMgr() const { return fedMgr_ ? fedMgr_->connectMgr() : nullptr; }

DtObjectMgr* DtRtiAmbassadorImplementor::objMgr() const { return fedMgr_ ? fedMgr_->objMgr() : nullptr; }

DtInteractionMgr* DtRtiAmbassadorImplementor::interMgr() const { return fedMgr_ ? fedMgr_->interMgr() : nullptr; }

DtFomClassMgr* DtRtiAmbassadorImplementor::fomMgr() const { return fedMgr_ ? fedMgr_->fom() : nullptr; }

void DtRtiAmbassadorImplementor::setObservers(DtRtiAmbObserverList* observers) { observers_ = observers; }

RTI::Boolean DtRtiAmbassadorImplementor::tickOnce() { return fedMgr_ ? fedMgr_->tick() : RTI::RTI_FALSE; }

RTI::Boolean DtRtiAmbassadorImplementor::tick() {
  if (fedMgr_) fedMgr_->pretick();
  RTI::Boolean result = RTI::RTI_FALSE;
  if (params_->singleCallbackPerTick()) {
    result = tickOnce();
    if (!result && waitWhenIdle()) {
      result = tickOnce();
    } else if (!result) {
      giveWayWhenIdle();
    }
  } else {
    bool worked = false;
    while (tickOnce()) worked = true;
    const bool favorsNetwork = params_->asynchronousIO() == 1 && params_->tickFavorsNetwork() == 1;
    if (favorsNetwork) yieldToNetwork();
    if (!worked && waitWhenIdle()) {
      while (tickOnce()) {
      }
    } else if (!worked && !favorsNetwork) {
      giveWayWhenIdle();  // the network's yield gave it away already
    }
  }
  if (fedMgr_) fedMgr_->posttick();
  return result;
}

bool DtRtiAmbassadorImplementor::waitWhenIdle() {
  // A federate that loops on tick() sleeps here until its input comes,
  // rather than spinning, when the RID asks for it.
  const double seconds = params_->tickIdleWait();
  if (!(seconds > 0)) return false;
  waitForInput(seconds);
  return true;
}

RTI::Boolean DtRtiAmbassadorImplementor::tick(RTI::TickTime minimum, RTI::TickTime maximum) {
  // Works while there is work and the maximum has not passed, waits for
  // input while idle before the minimum, and returns once idle after it.
  // Every comparison is a strict "earlier than".
  const double start = currentTime();
  const double maxDeadline = start + maximum;
  const double minDeadline = minimum < maximum ? start + minimum : maxDeadline;
  const bool single = params_->singleCallbackPerTick() != 0;
  const bool busyWait = params_->useBusyWaitForTickMinMax() != 0;

  if (fedMgr_) fedMgr_->pretick();
  RTI::Boolean worked = RTI::RTI_FALSE;
  for (;;) {
    worked = tickOnce();
    if (worked && single) break;
    double now = currentTime();
    if (!(now < maxDeadline)) break;
    if (worked) continue;
    if (!(now < minDeadline)) break;
    if (busyWait) continue;
    waitForInput(minDeadline - now);
    now = currentTime();
    if (!(now < minDeadline)) break;
  }
  if (fedMgr_) fedMgr_->posttick();
  return worked;
}

double DtRtiAmbassadorImplementor::currentTime() const { return DtRealTime(); }

void DtRtiAmbassadorImplementor::waitForInput(double seconds) {
  // Nothing can arrive without a connection manager: then the time passes.
  if (DtConnectionMgr* connections = connectMgr()) {
    connections->wait(seconds);
  } else {
    DtSleep(seconds);
  }
}

void DtRtiAmbassadorImplementor::yieldToNetwork() {
  if (DtConnectionMgr* connections = connectMgr()) connections->yield();
}

void DtRtiAmbassadorImplementor::giveWayWhenIdle() {
  // Federates that spin on tick() would otherwise keep the rtiexec (and
  // each other) waiting for a processor until the scheduler's next tick.
  std::this_thread::yield();
}
