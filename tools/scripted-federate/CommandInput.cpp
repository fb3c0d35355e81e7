#include "CommandInput.h"

#include <poll.h>
#include <unistd.h>

#include <cerrno>

CommandInput::Next CommandInput::next(std::string& line, int milliseconds) {
  for (;;) {
    const std::size_t end = pending_.find('\n');
    if (end != std::string::npos) {
      line = pending_.substr(0, end);
      pending_.erase(0, end + 1);
      return Next::Line;
    }
    if (ended_) {
      if (pending_.empty()) return Next::End;
      line.swap(pending_);
      pending_.clear();
      return Next::Line;
    }
    pollfd watched{fd_, POLLIN, 0};
    const int ready = poll(&watched, 1, milliseconds);
    if (ready < 0 && errno == EINTR) continue;
    if (ready == 0) return Next::Nothing;
    char chunk[4096];
    const ssize_t n = ready < 0 ? -1 : read(fd_, chunk, sizeof chunk);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      ended_ = true;
    } else {
      pending_.append(chunk, static_cast<std::size_t>(n));
    }
  }
}
