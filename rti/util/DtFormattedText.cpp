#include "util/DtFormattedText.h"

#include <cstdio>

DtFormattedText::DtFormattedText(const char* format, va_list args) {
  va_list again;
  va_copy(again, args);
  const int needed = std::vsnprintf(local_, sizeof local_, format, args);
  if (needed < 0) {
    local_[0] = '\0';
  } else if (static_cast<std::size_t>(needed) >= sizeof local_) {
    heap_ = std::make_unique<char[]>(static_cast<std::size_t>(needed) + 1);
    std::vsnprintf(heap_.get(), static_cast<std::size_t>(needed) + 1, format, again);
  }
  va_end(again);
}
