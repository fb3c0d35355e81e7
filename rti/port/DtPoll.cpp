#include "port/DtPoll.h"

#include <poll.h>

#include <cerrno>
#include <cmath>
#include <ctime>
#include <vector>

#include "port/DtFdSet.h"
#include "port/DtPortTime.h"

namespace {

struct Watched {
  DtFdSet* set;
  short events;
  short readyOn;
};

timespec toTimespec(double seconds) {
  // A day of waiting is far beyond any caller's need; it keeps the
  // conversion away from overflow.
  seconds = std::fmin(std::fmax(seconds, 0.0), 86400.0 * 365);
  timespec ts{};
  ts.tv_sec = static_cast<time_t>(seconds);
  ts.tv_nsec = static_cast<long>((seconds - static_cast<double>(ts.tv_sec)) * 1e9);
  if (ts.tv_nsec >= 1000000000) ts.tv_nsec = 999999999;
  return ts;
}

}  // namespace

int DtPollSets(DtFdSet* read, DtFdSet* write, DtFdSet* except, double timeoutSeconds, int extraFd, bool* extraReady) {
  const Watched watched[] = {
      {read, POLLIN, POLLIN | POLLHUP | POLLERR},
      {write, POLLOUT, POLLOUT | POLLERR},
      {except, POLLPRI, POLLPRI},
  };
  std::vector<pollfd> fds;
  for (const Watched& w : watched) {
    if (!w.set) continue;
    for (int i = 0; i < w.set->count(); ++i) fds.push_back({(*w.set)[i], w.events, 0});
  }
  if (extraFd >= 0) fds.push_back({extraFd, POLLIN, 0});
  if (extraReady) *extraReady = false;

  const double deadline = DtPortSteadySeconds() + timeoutSeconds;
  int result;
  for (;;) {
    const double remaining = deadline - DtPortSteadySeconds();
    const timespec ts = toTimespec(remaining);
    result = ppoll(fds.data(), fds.size(), &ts, nullptr);
    if (result >= 0 || errno != EINTR) break;
  }
  if (result < 0) return -1;
  for (const pollfd& p : fds) {
    if (p.revents & POLLNVAL) {
      errno = EBADF;
      return -1;
    }
  }

  int ready = 0;
  std::size_t index = 0;
  for (const Watched& w : watched) {
    if (!w.set) continue;
    const int entries = w.set->count();
    DtFdSet kept;
    for (int i = 0; i < entries; ++i, ++index) {
      if (fds[index].revents & w.readyOn) kept.add(fds[index].fd);
    }
    ready += kept.count();
    *w.set = kept;
  }
  if (extraFd >= 0 && extraReady) *extraReady = (fds[index].revents & (POLLIN | POLLHUP | POLLERR)) != 0;
  return ready;
}

int DtPollReadableNow(const int* fds, bool* ready, int count, bool* ending) {
  constexpr int most = 8;
  if (count > most) count = most;
  pollfd watched[most];
  for (int i = 0; i < count; ++i) watched[i] = {fds[i], static_cast<short>(POLLIN | POLLRDHUP), 0};
  int result;
  do {
    result = poll(watched, static_cast<nfds_t>(count), 0);
  } while (result < 0 && errno == EINTR);
  for (int i = 0; i < count; ++i) {
    const short revents = result > 0 ? watched[i].revents : short{0};
    ready[i] = (revents & (POLLIN | POLLRDHUP | POLLHUP | POLLERR)) != 0;
    if (ending) ending[i] = (revents & (POLLRDHUP | POLLHUP | POLLERR)) != 0;
  }
  return result;
}
