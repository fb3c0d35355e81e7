#pragma once
// A per-object wake-up: an auto-reset event on an eventfd, which a thread
// can wait on alone or beside its sockets in poll(). A signal stays pending
// until a wait (or clear) consumes it, so a signal given while nobody waits
// is not lost. The label only names the wake-up in reports.
//
// signal, clear and wait may be called from any thread.

#include <string>

class DtWakeup {
public:
  // Throws std::system_error when the system has no descriptor left.
  explicit DtWakeup(std::string label = {});
  ~DtWakeup();
  DtWakeup(const DtWakeup&) = delete;
  DtWakeup& operator=(const DtWakeup&) = delete;

  void signal();
  // Consumes a pending signal; the descriptor is not readable afterwards.
  void clear();
  // Waits until signalled or the seconds have passed (0: just looks); true
  // when signalled, and the signal is consumed.
  bool wait(double seconds);
  // Readable (POLLIN) while signalled.
  int fd() const { return fd_; }
  const std::string& label() const { return label_; }

private:
  int fd_;
  std::string label_;
};
