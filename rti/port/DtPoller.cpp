#include "port/DtPoller.h"

#include <sys/epoll.h>
#include <unistd.h>

#include <cerrno>
#include <cmath>
#include <system_error>

#include "port/DtPortTime.h"

namespace {

epoll_event eventFor(std::uint64_t token, bool writable) {
  epoll_event event{};
  event.events = EPOLLIN | EPOLLRDHUP | (writable ? EPOLLOUT : 0u);
  event.data.u64 = token;
  return event;
}

}  // namespace

DtPoller::DtPoller() : fd_(epoll_create1(EPOLL_CLOEXEC)) {
  if (fd_ < 0) throw std::system_error(errno, std::generic_category(), "epoll");
}

DtPoller::~DtPoller() { close(fd_); }

bool DtPoller::add(int fd, std::uint64_t token, bool writable) {
  epoll_event event = eventFor(token, writable);
  return epoll_ctl(fd_, EPOLL_CTL_ADD, fd, &event) == 0;
}

bool DtPoller::modify(int fd, std::uint64_t token, bool writable) {
  epoll_event event = eventFor(token, writable);
  return epoll_ctl(fd_, EPOLL_CTL_MOD, fd, &event) == 0;
}

void DtPoller::remove(int fd) {
  epoll_event ignored{};
  epoll_ctl(fd_, EPOLL_CTL_DEL, fd, &ignored);
}

int DtPoller::wait(double timeoutSeconds, std::vector<Event>& events, int maxEvents) {
  events.clear();
  if (maxEvents < 1) maxEvents = 1;
  if (readyCapacity_ < maxEvents) {
    ready_ = std::make_unique<epoll_event[]>(static_cast<std::size_t>(maxEvents));
    readyCapacity_ = maxEvents;
  }
  epoll_event* ready = ready_.get();
  const bool forever = timeoutSeconds < 0;
  const double deadline = DtPortSteadySeconds() + (forever ? 0.0 : timeoutSeconds);
  int count;
  for (;;) {
    // Milliseconds, rounded up so that a short wait is not a busy look.
    const double left = forever ? -1.0 : std::fmax(deadline - DtPortSteadySeconds(), 0.0);
    const int timeout = forever ? -1 : static_cast<int>(std::fmin(std::ceil(left * 1000.0), 86400000.0));
    count = epoll_wait(fd_, ready, maxEvents, timeout);
    if (count >= 0 || errno != EINTR) break;
  }
  for (int i = 0; i < count; ++i) {
    const std::uint32_t flags = ready[i].events;
    events.push_back({ready[i].data.u64, (flags & (EPOLLIN | EPOLLRDHUP | EPOLLHUP | EPOLLERR)) != 0,
                      (flags & (EPOLLOUT | EPOLLERR)) != 0});
  }
  return count < 0 ? -1 : count;
}
