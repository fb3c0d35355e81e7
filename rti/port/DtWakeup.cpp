#include "port/DtWakeup.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <system_error>

#include "port/DtPortTime.h"

DtWakeup::DtWakeup(std::string label) : fd_(eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC)), label_(std::move(label)) {
  if (fd_ < 0) throw std::system_error(errno, std::generic_category(), "wake-up " + label_);
}

DtWakeup::~DtWakeup() { close(fd_); }

void DtWakeup::signal() {
  const std::uint64_t one = 1;
  // Only a counter at its maximum refuses; it is signalled then anyway.
  (void)!write(fd_, &one, sizeof one);
}

void DtWakeup::clear() {
  std::uint64_t count;
  (void)!read(fd_, &count, sizeof count);
}

bool DtWakeup::wait(double seconds) {
  const double deadline = DtPortSteadySeconds() + seconds;
  for (;;) {
    const double remaining = deadline - DtPortSteadySeconds();
    pollfd watched{fd_, POLLIN, 0};
    const int ready = poll(&watched, 1, remaining <= 0 ? 0 : static_cast<int>(remaining * 1000.0 + 0.999));
    std::uint64_t count;
    // Another waiter may have taken the signal first: then this one waits on.
    if (ready > 0 && read(fd_, &count, sizeof count) == sizeof count) return true;
    if (ready < 0 && errno != EINTR) return false;
    if (DtPortSteadySeconds() >= deadline) return false;
  }
}
