#pragma once
// DtClock: real time in seconds (the wall-clock time at the clock's first
// reset, carried forward by a steady high-resolution counter, so that it
// never jumps) and a simulation time set once per frame.
//
// A clock is used from one thread; realTime() and elapsed() may be read
// from any thread.

#include <cstdint>

class DtClock {
public:
  DtClock();
  DtClock(const DtClock&) = default;
  DtClock& operator=(const DtClock&) = default;
  virtual ~DtClock();

  // Restarts the elapsed time from now and forgets the simulation time.
  virtual void reset();
  virtual double simTime() const;
  // Sets this frame's simulation time; the frame time becomes the elapsed
  // time (the simulation time itself while paused).
  virtual void setSimTime(double simTime);
  // True when a simulation time was set since reset; else prints a warning.
  virtual bool checkSimTimeSet() const;
  virtual double elapsed() const;
  virtual double frameTime() const;
  virtual bool isPaused() const;
  virtual void pause();
  virtual void resume();
  // Seconds since 1970.
  virtual double realTime() const;

private:
  double origin_ = 0.0;
  double simTime_ = 0.0;
  double frameTime_ = 0.0;
  bool simTimeSet_ = false;
  bool paused_ = false;
  bool useCounter_ = false;
  std::int64_t counterAtReset_ = 0;
  double frequency_ = 0.0;
};

// The process-wide clock, made by DtCreateClock; without one the readers
// give 0.0 and the setters do nothing. Like the clock itself, these are for
// one thread.
void DtCreateClock();
// Deletes the process-wide clock (the library's teardown, a test's fresh
// start); a later DtCreateClock makes a new one.
void DtDestroyClock();
double DtSimTime();
double DtElapsedTime();
double DtFrameTime();
void DtSetSimTime(double simTime);
// Prints a warning when no simulation time was set.
void DtCheckSimTime();

// The current real time in seconds since 1970, from a steady counter: it
// moves forward continuously even when the wall clock is set. Thread safe.
double DtRealTime();
