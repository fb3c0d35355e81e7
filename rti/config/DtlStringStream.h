// Reader input from an in-memory text.
#pragma once

#include <cstddef>

#include "config/DtlStream.h"

// Reads a borrowed NUL-terminated text, which must outlive the stream. Bytes
// are read as unsigned, so every byte but the terminating NUL is a character.
class DtlStringStream : public DtlStream {
public:
  explicit DtlStringStream(const char* text) : text_(text ? text : "") {}

  int peek() override;
  int unget(int ch) override;
  int getc() override;

private:
  const char* text_;
  std::size_t position_ = 0;
};
