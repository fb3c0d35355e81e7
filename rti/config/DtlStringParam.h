// A host text variable bound to a configuration-language string.
#pragma once

#include "config/DtlParam.h"

// The variable is a pointer to a NUL-terminated text (null reads as the empty
// text). After a pull it points into the Lisp string bound to the name. The
// parameter keeps that string alive itself, so the text stays valid until
// the next pull that accepts a string, or until the interpreter goes, even
// when a later load binds the name to something else (a value of the wrong
// kind leaves the host variable as it was, and it must still be readable).
class DtlStringParam : public DtlParam {
public:
  DtlStringParam(const char* name, const char** address) : DtlParam(name), address_(address) {}

  DtlObjPtr defaultValue() const override;
  void push() override;
  bool pull() override;

private:
  const char** address_;
  DtlObjPtr imported_;  // the string the host variable points into
};
