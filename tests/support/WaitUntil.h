#pragma once
// Waiting for an event, bounded in time: a test steps what brings the event
// (ticks an RTI, runs an event loop, reads a pipe) until the event has
// happened, and fails when it has not within the bound. It never waits a
// fixed time for its verdict.

#include <chrono>
#include <thread>

// Runs step() until done() holds; false when it did not within `seconds`.
// The step itself waits for what may come (a tick with a timeout, an event
// loop's wait), so that the loop does not spin.
template <class Done, class Step>
bool waitUntil(Done&& done, Step&& step, double seconds = 10) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
  while (!done()) {
    if (std::chrono::steady_clock::now() >= deadline) return false;
    step();
  }
  return true;
}

// A step that does not wait itself, followed by a pause of a millisecond.
template <class Step>
auto pausing(Step step) {
  return [step]() mutable {
    step();
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  };
}

// For what other threads bring: looks every millisecond.
template <class Done>
bool pollUntil(Done&& done, double seconds = 10) {
  return waitUntil(done, pausing([] {}), seconds);
}
