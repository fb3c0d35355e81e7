#include "config/DtlError.h"

#include <cstdarg>
#include <string>

#include "config/DtlObj.h"
#include "util/DtFormattedText.h"
#include "util/DtNotify.h"

namespace {

thread_local std::string lastMessage;

}  // namespace

void DtlError(const char* message) {
  lastMessage = message ? message : "";
  DtNotifyError("Error: %s\n", message);
  throw DtlObjPtr(DtlNil());
}

const char* DtlLastErrorMessage() { return lastMessage.c_str(); }

void DtlErrorf(const char* format, ...) {
  va_list args;
  va_start(args, format);
  const DtFormattedText message(format, args);
  va_end(args);
  DtlError(message.text());
}
