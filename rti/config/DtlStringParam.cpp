#include "config/DtlStringParam.h"

#include <cstring>

#include "config/DtlObj.h"

DtlObjPtr DtlStringParam::defaultValue() const { return DtcMakeString(""); }

void DtlStringParam::push() {
  const char* host = *address_ ? *address_ : "";
  const DtlObjPtr value = lispValue();
  if (!DtcIs(value, DtlStringTag) || std::strcmp(value->name(), host) != 0) bind(DtcMakeString(host));
}

bool DtlStringParam::pull() {
  const DtlObjPtr value = lispValue();
  if (!value) return false;
  if (!DtcIs(value, DtlStringTag)) {
    warnWrongKind("a string", value);
    return false;
  }
  imported_ = value;
  *address_ = value->name();
  return true;
}
