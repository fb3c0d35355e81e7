#pragma once
// DtMutex: the library's lock over a critical section. It is re-entrant:
// the thread that holds it may lock it again (and unlocks as often).
// Usable with std::lock_guard<DtMutex>.

#include <mutex>

class DtMutex {
public:
  DtMutex() = default;
  // A copy is a new, unlocked mutex of its own; assignment changes nothing.
  DtMutex(const DtMutex&) {}
  DtMutex& operator=(const DtMutex&) { return *this; }
  virtual ~DtMutex();

  virtual void lock();
  virtual void unlock();

private:
  std::recursive_mutex mutex_;
};
