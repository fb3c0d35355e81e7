#include "util/DtSelect.h"

#include <algorithm>
#include <chrono>
#include <thread>

#include "port/DtConsoleInput.h"
#include "port/DtPoll.h"
#include "port/DtPortTime.h"

namespace {

constexpr int consoleDescriptor = 0;

bool holdsAny(const DtFdSet* set) { return set && !set->empty(); }

void clearIfGiven(DtFdSet* set) {
  if (set) set->clear();
}

int keyResult(DtFdSet* read, DtFdSet* write, DtFdSet* except) {
  read->clear();
  read->add(consoleDescriptor);
  clearIfGiven(write);
  clearIfGiven(except);
  return 1;
}

}  // namespace

int DtSelect(int, DtFdSet* read, DtFdSet* write, DtFdSet* except, double timeoutSeconds) {
  const bool keyboard = read && read->contains(consoleDescriptor);
  if (keyboard) read->remove(consoleDescriptor);
  const bool sockets = holdsAny(read) || holdsAny(write) || holdsAny(except);
  if (!keyboard && !sockets) {
    DtSleep(timeoutSeconds);
    return 0;
  }
  if (!keyboard) return DtPollSets(read, write, except, timeoutSeconds);

  // The console is polled together with the sockets, so a typed line ends
  // the wait at once. A key takes precedence over ready sockets.
  DtConsoleInput& console = DtConsoleInput::process();
  const double deadline = DtPortSteadySeconds() + timeoutSeconds;
  for (;;) {
    const int waiting = console.keyWaiting();
    if (waiting > 0) return keyResult(read, write, except);
    // A console that has ended or cannot be polled is left out of the wait.
    const int consoleFd = (waiting < 0 || console.ended()) ? -1 : console.fd();
    DtFdSet readCopy = *read;
    DtFdSet writeCopy = write ? *write : DtFdSet();
    DtFdSet exceptCopy = except ? *except : DtFdSet();
    bool consoleReady = false;
    const int ready = DtPollSets(&readCopy, write ? &writeCopy : nullptr, except ? &exceptCopy : nullptr,
                                 deadline - DtPortSteadySeconds(), consoleFd, &consoleReady);
    if (ready < 0) return ready;
    if (consoleReady && console.keyWaiting() > 0) return keyResult(read, write, except);
    if (ready > 0 || DtPortSteadySeconds() >= deadline) {
      *read = readCopy;
      if (write) *write = writeCopy;
      if (except) *except = exceptCopy;
      return ready;
    }
    // The console reported its end (or nothing after all): wait on.
  }
}

void DtSleep(double seconds) {
  if (!(seconds > 0)) return;
  // Beyond a year of sleep the conversion would overflow.
  seconds = std::min(seconds, 86400.0 * 365);
  std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
}
