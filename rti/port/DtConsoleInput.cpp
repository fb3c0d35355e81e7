#include "port/DtConsoleInput.h"

#include <poll.h>
#include <unistd.h>

#include <cerrno>

DtConsoleInput::DtConsoleInput(int fd) : fd_(fd) {}

DtConsoleInput& DtConsoleInput::process() {
  static DtConsoleInput* const console = new DtConsoleInput(STDIN_FILENO);
  return *console;
}

void DtConsoleInput::redirect(int fd) {
  fd_ = fd;
  ended_ = false;
  begin_ = end_ = 0;
}

int DtConsoleInput::keyWaiting() {
  if (begin_ < end_) return 1;
  if (ended_) return 0;
  return fill(false);
}

int DtConsoleInput::readKey() {
  if (begin_ == end_ && (ended_ || fill(true) <= 0)) return -1;
  return static_cast<unsigned char>(buffer_[begin_++]);
}

int DtConsoleInput::fill(bool wait) {
  pollfd p{fd_, POLLIN, 0};
  int polled;
  do {
    polled = poll(&p, 1, wait ? -1 : 0);
  } while (polled < 0 && errno == EINTR);
  if (polled < 0 || (p.revents & POLLNVAL)) return -1;
  if (polled == 0) return 0;
  ssize_t got;
  do {
    got = read(fd_, buffer_, sizeof buffer_);
  } while (got < 0 && errno == EINTR);
  if (got < 0) return (errno == EAGAIN || errno == EWOULDBLOCK) ? 0 : -1;
  if (got == 0) {
    ended_ = true;
    return 0;
  }
  begin_ = 0;
  end_ = static_cast<std::size_t>(got);
  return 1;
}
