#include "util/DtClock.h"

#include <atomic>

#include "port/DtPortTime.h"
#include "util/DtNotify.h"

DtClock::DtClock() { reset(); }

DtClock::~DtClock() = default;

void DtClock::reset() {
  origin_ = realTime();
  setSimTime(0.0);
  simTimeSet_ = false;
  useCounter_ = true;
  frequency_ = DtPortCounterFrequency();
  counterAtReset_ = DtPortCounter();
}

double DtClock::simTime() const { return simTime_; }

void DtClock::setSimTime(double simTime) {
  simTimeSet_ = true;
  simTime_ = simTime;
  frameTime_ = paused_ ? simTime : elapsed();
}

bool DtClock::checkSimTimeSet() const {
  if (simTimeSet_) return true;
  DtNotifyInfo("User error: DtSetSimTime was never called.\n         You must call DtSetSimTime once per frame\n");
  return false;
}

double DtClock::elapsed() const { return realTime() - origin_; }

double DtClock::frameTime() const { return frameTime_; }

bool DtClock::isPaused() const { return paused_; }

void DtClock::pause() { paused_ = true; }

void DtClock::resume() { paused_ = false; }

double DtClock::realTime() const {
  if (!useCounter_) return DtPortWallClock();
  return static_cast<double>(DtPortCounter() - counterAtReset_) / frequency_ + origin_;
}

namespace {
std::atomic<DtClock*> processClock{nullptr};
}  // namespace

void DtCreateClock() {
  if (processClock.load()) return;
  auto* clock = new DtClock;
  DtClock* none = nullptr;
  if (!processClock.compare_exchange_strong(none, clock)) delete clock;
}

void DtDestroyClock() { delete processClock.exchange(nullptr); }

double DtSimTime() {
  DtClock* clock = processClock.load();
  return clock ? clock->simTime() : 0.0;
}

double DtElapsedTime() {
  DtClock* clock = processClock.load();
  return clock ? clock->elapsed() : 0.0;
}

double DtFrameTime() {
  DtClock* clock = processClock.load();
  return clock ? clock->frameTime() : 0.0;
}

void DtSetSimTime(double simTime) {
  if (DtClock* clock = processClock.load()) clock->setSimTime(simTime);
}

void DtCheckSimTime() {
  if (DtClock* clock = processClock.load()) clock->checkSimTimeSet();
}

double DtRealTime() {
  // One clock for the process: reading a new one each time would follow
  // every adjustment of the wall clock, and deadlines would jump with it.
  static const DtClock* const base = new DtClock;
  return base->realTime();
}
