#pragma once
// A printf-style text: formatted into a buffer of 2048 characters on the
// stack, which holds every ordinary report, and into a heap block of the
// right size when it is longer, so that nothing is ever cut.

#include <cstdarg>
#include <memory>

class DtFormattedText {
public:
  DtFormattedText(const char* format, va_list args);
  DtFormattedText(const DtFormattedText&) = delete;
  DtFormattedText& operator=(const DtFormattedText&) = delete;

  // Empty when the format cannot be expanded.
  const char* text() const { return heap_ ? heap_.get() : local_; }

private:
  char local_[2048];
  std::unique_ptr<char[]> heap_;
};
