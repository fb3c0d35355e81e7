// Reader input from an open C stream (a RID or FED file).
#pragma once

#include <cstdio>

#include "config/DtlStream.h"

// Owns the file and closes it when destroyed. Counts the lines it reads.
class DtlFileStream : public DtlStream {
public:
  explicit DtlFileStream(std::FILE* file);
  // Closes the file (when close() has not). A failing close prints
  // "Couldn't close file\n" and raises the language error, unless an
  // exception is already on its way, when it only prints.
  ~DtlFileStream() noexcept(false) override;
  DtlFileStream(const DtlFileStream&) = delete;
  DtlFileStream& operator=(const DtlFileStream&) = delete;

  int unget(int ch) override;
  int getc() override;
  int line() const override { return line_; }

  // Closes the file now, with the error of the destructor.
  void close();

private:
  std::FILE* file_;
  int uncaught_;
  int line_ = 1;
};
