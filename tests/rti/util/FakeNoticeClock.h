#pragma once
// The clock of the rate-limited reports, set by the test while the object
// lives: it starts far from any real time and moves only when told.

#include "util/DtNoticeLimiter.h"

class FakeNoticeClock {
public:
  FakeNoticeClock() {
    DtNoticeLimiter::setClock([this] { return now_; });
  }
  ~FakeNoticeClock() { DtNoticeLimiter::setClock(nullptr); }
  FakeNoticeClock(const FakeNoticeClock&) = delete;
  FakeNoticeClock& operator=(const FakeNoticeClock&) = delete;

  void advance(double seconds) { now_ += seconds; }

private:
  double now_ = 1e9;
};
