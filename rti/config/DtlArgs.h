// Argument checks shared by the built-in functions.
#pragma once

#include <cstdint>

#include "config/DtlCons.h"
#include "config/DtlError.h"
#include "config/DtlObj.h"

// Raises `message` unless the argument list holds from `least` to `most`
// arguments (most < 0: no upper bound). Returns the count.
inline std::int32_t DtcCheckArgs(const DtlObjPtr& args, std::int32_t least, std::int32_t most, const char* message) {
  const std::int32_t count = DtcLength(args);
  if (count < least || (most >= 0 && count > most)) DtlError(message);
  return count;
}

// The argument if it has the tag, else raises `message`.
inline const DtlObjPtr& DtcExpect(const DtlObjPtr& value, DtlTagType tag, const char* message) {
  if (!DtcIs(value, tag)) DtlError(message);
  return value;
}

// The text of a string argument, else raises `message`.
inline const char* DtcExpectString(const DtlObjPtr& value, const char* message) {
  return DtcExpect(value, DtlStringTag, message)->name();
}
