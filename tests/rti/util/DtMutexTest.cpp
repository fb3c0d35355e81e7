#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <mutex>

#include "util/DtMutex.h"

namespace {

using namespace std::chrono_literals;

// Starts a thread that takes the mutex; the future is ready once it has.
std::future<void> lockFromAnotherThread(DtMutex& mutex) {
  return std::async(std::launch::async, [&mutex] {
    std::lock_guard<DtMutex> guard(mutex);
  });
}

TEST(DtMutex, TheHolderMayLockAgainAndOthersWaitForTheLastUnlock) {
  DtMutex mutex;
  mutex.lock();
  mutex.lock();
  std::future<void> other = lockFromAnotherThread(mutex);
  EXPECT_EQ(other.wait_for(50ms), std::future_status::timeout);
  mutex.unlock();
  EXPECT_EQ(other.wait_for(50ms), std::future_status::timeout);
  mutex.unlock();
  other.get();
}

TEST(DtMutex, ACopyIsANewUnlockedMutex) {
  DtMutex mutex;
  std::lock_guard<DtMutex> held(mutex);
  DtMutex copy(mutex);
  lockFromAnotherThread(copy).get();
  DtMutex assigned;
  assigned = mutex;
  lockFromAnotherThread(assigned).get();
}

}  // namespace
