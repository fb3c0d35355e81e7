#include "config/DtlError.h"

#include <cstdarg>
#include <string>

#include "config/DtlObj.h"
#include "util/DtNotify.h"

void DtlError(const char* message) {
  DtNotifyError("Error: %s\n", message);
  throw DtlObjPtr(DtlNil());
}

void DtlErrorf(const char* format, ...) {
  va_list args;
  va_start(args, format);
  va_list copy;
  va_copy(copy, args);
  const int length = std::vsnprintf(nullptr, 0, format, copy);
  va_end(copy);
  std::string message(length > 0 ? static_cast<std::size_t>(length) : 0u, '\0');
  if (length > 0) std::vsnprintf(message.data(), message.size() + 1, format, args);
  va_end(args);
  DtlError(message.c_str());
}
