#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

#include "util/DtMutex.h"

namespace {

using namespace std::chrono_literals;

// Generous: only a broken mutex comes near it.
constexpr auto patience = 10s;

// A thread whose end the test awaits with a bound. A body that stays stuck
// (on a lock nobody releases) fails the test rather than hanging it: the
// thread is then left behind, detached, and what it uses lives in shared
// state (the body keeps its own shared_ptr), never on the test's stack.
class BoundedThread {
public:
  explicit BoundedThread(std::function<void()> body) : done_(std::make_shared<Done>()) {
    thread_ = std::thread([done = done_, body = std::move(body)] {
      body();
      std::lock_guard<std::mutex> guard(done->mutex);
      done->flag = true;
      done->changed.notify_all();
    });
  }
  BoundedThread(const BoundedThread&) = delete;
  BoundedThread& operator=(const BoundedThread&) = delete;
  ~BoundedThread() {
    if (finishedWithin(0s)) {
      thread_.join();
    } else {
      thread_.detach();
    }
  }

  bool finishedWithin(std::chrono::milliseconds limit) {
    std::unique_lock<std::mutex> lock(done_->mutex);
    return done_->changed.wait_for(lock, limit, [this] { return done_->flag; });
  }

private:
  struct Done {
    std::mutex mutex;
    std::condition_variable changed;
    bool flag = false;
  };
  std::shared_ptr<Done> done_;
  std::thread thread_;
};

// Takes and releases the mutex on a thread of its own.
std::unique_ptr<BoundedThread> lockElsewhere(const std::shared_ptr<DtMutex>& mutex) {
  return std::make_unique<BoundedThread>([mutex] { std::lock_guard<DtMutex> guard(*mutex); });
}

TEST(DtMutex, TheHolderMayLockAgainAndOthersWaitForTheLastUnlock) {
  auto mutex = std::make_shared<DtMutex>();
  // The re-entrant lock is tried on a thread of its own first, so that a
  // mutex that is not re-entrant fails here instead of locking up the test.
  ASSERT_TRUE(BoundedThread([mutex] {
                mutex->lock();
                mutex->lock();
                mutex->unlock();
                mutex->unlock();
              }).finishedWithin(patience))
      << "the holder could not lock again";

  mutex->lock();
  mutex->lock();
  auto other = lockElsewhere(mutex);
  EXPECT_FALSE(other->finishedWithin(50ms)) << "locked while held twice";
  mutex->unlock();
  EXPECT_FALSE(other->finishedWithin(50ms)) << "locked while still held once";
  mutex->unlock();
  EXPECT_TRUE(other->finishedWithin(patience)) << "never got the mutex after the last unlock";
}

TEST(DtMutex, ACopyIsANewUnlockedMutex) {
  auto mutex = std::make_shared<DtMutex>();
  std::lock_guard<DtMutex> held(*mutex);
  auto copy = std::make_shared<DtMutex>(*mutex);
  EXPECT_TRUE(lockElsewhere(copy)->finishedWithin(patience)) << "the copy shares the original's lock";
  auto assigned = std::make_shared<DtMutex>();
  *assigned = *mutex;
  EXPECT_TRUE(lockElsewhere(assigned)->finishedWithin(patience)) << "assignment shares the original's lock";
}

}  // namespace
