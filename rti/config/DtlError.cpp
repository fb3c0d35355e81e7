#include "config/DtlError.h"

#include <cstdarg>

#include "config/DtlObj.h"
#include "util/DtFormattedText.h"
#include "util/DtNotify.h"

void DtlError(const char* message) {
  DtNotifyError("Error: %s\n", message);
  throw DtlObjPtr(DtlNil());
}

void DtlErrorf(const char* format, ...) {
  va_list args;
  va_start(args, format);
  const DtFormattedText message(format, args);
  va_end(args);
  DtlError(message.text());
}
