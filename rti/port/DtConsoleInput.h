#pragma once
// Keyboard input from the console (standard input unless told otherwise),
// read without blocking: keyWaiting() looks whether input is there and
// buffers it. On a terminal, input arrives line by line once Enter is
// pressed, and the terminal itself echoes it. The end of the input (a closed
// pipe, /dev/null) counts as no key, for good.
//
// Used from one thread at a time (the one that polls the keyboard).

#include <cstddef>

class DtConsoleInput {
public:
  explicit DtConsoleInput(int fd);
  DtConsoleInput(const DtConsoleInput&) = delete;
  DtConsoleInput& operator=(const DtConsoleInput&) = delete;

  // The process's console, reading standard input until redirect() is used.
  static DtConsoleInput& process();

  // Reads from another descriptor from now on, forgetting buffered input.
  // The descriptor stays the caller's.
  void redirect(int fd);
  int fd() const { return fd_; }

  // 1 when a character is waiting, 0 when none is (or the input has
  // ended), -1 when the descriptor cannot be polled.
  int keyWaiting();
  // The next character; waits for one when none is buffered. -1 at the end
  // of the input or on an error.
  int readKey();
  bool ended() const { return ended_; }

private:
  // Reads what is there into the buffer; waits first when `wait` is set.
  int fill(bool wait);

  int fd_;
  bool ended_ = false;
  char buffer_[512];
  std::size_t begin_ = 0;
  std::size_t end_ = 0;
};
