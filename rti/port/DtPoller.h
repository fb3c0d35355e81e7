#pragma once
// DtPoller: waits on any number of descriptors at once (epoll), each filed
// with a number of the caller's choice that comes back with its events.
// Unlike a descriptor set it has no size limit, and a wait costs nothing per
// idle descriptor, so a server can watch thousands of mostly silent
// connections without spending processor time on them.
//
// Used by one thread at a time. A descriptor is removed before it is closed.

#include <cstdint>
#include <memory>
#include <vector>

struct epoll_event;

class DtPoller {
public:
  struct Event {
    std::uint64_t token;
    bool readable;  // data, an end of stream, an error or a connection to accept
    bool writable;
  };

  // Throws std::system_error when the system has no descriptor left.
  DtPoller();
  ~DtPoller();
  DtPoller(const DtPoller&) = delete;
  DtPoller& operator=(const DtPoller&) = delete;

  // Watches the descriptor for reading (and for writing when asked); false
  // with errno set when it cannot be watched.
  bool add(int fd, std::uint64_t token, bool writable = false);
  // Changes whether it is watched for writing.
  bool modify(int fd, std::uint64_t token, bool writable);
  void remove(int fd);
  // Waits for at most `timeoutSeconds` (0: just looks; negative: without
  // end) and fills `events` with what is ready (at most `maxEvents`); the
  // number of them, 0 on time-out. A signal does not end the wait early.
  int wait(double timeoutSeconds, std::vector<Event>& events, int maxEvents = 256);
  // Readable (POLLIN) while a watched descriptor has something: another
  // loop can wait on the whole poller among its own descriptors.
  int fd() const { return fd_; }

private:
  int fd_;
  std::unique_ptr<epoll_event[]> ready_;  // the last wait's events
  int readyCapacity_ = 0;
};
