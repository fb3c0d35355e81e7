#include "config/DtlFileStream.h"

#include <exception>

#include "config/DtlError.h"
#include "util/DtNotify.h"

DtlFileStream::DtlFileStream(std::FILE* file) : file_(file), uncaught_(std::uncaught_exceptions()) {}

DtlFileStream::~DtlFileStream() noexcept(false) {
  if (std::uncaught_exceptions() > uncaught_) {
    // Unwinding: a second exception would end the process.
    if (file_ && std::fclose(file_) != 0) DtNotifyError("Couldn't close file\n");
    return;
  }
  close();
}

void DtlFileStream::close() {
  std::FILE* file = file_;
  file_ = nullptr;
  if (file && std::fclose(file) != 0) {
    DtNotifyError("Couldn't close file\n");
    DtlError("Couldn't close file");
  }
}

int DtlFileStream::unget(int ch) {
  if (ch != -1 && file_) {
    std::ungetc(ch, file_);
    if (ch == '\n') --line_;
  }
  return ch;
}

int DtlFileStream::getc() {
  if (!file_) return -1;
  const int ch = std::fgetc(file_);
  if (ch == '\n') ++line_;
  return ch == EOF ? -1 : ch;
}
