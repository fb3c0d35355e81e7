#pragma once
// The commands that come on standard input, a line at a time, read so that
// the program may tick between them: a wait for the next line says whether
// one came, nothing came yet, or the input ended.

#include <string>

class CommandInput {
public:
  enum class Next { Line, Nothing, End };

  explicit CommandInput(int fd) : fd_(fd) {}

  // The next line, without its end, waiting at most `milliseconds` for it
  // (-1: for as long as it takes). The text after the last line end counts
  // as a line when the input ends.
  Next next(std::string& line, int milliseconds);

private:
  int fd_;
  std::string pending_;
  bool ended_ = false;
};
