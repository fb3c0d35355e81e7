// A host text variable bound to a configuration-language string.
#pragma once

#include "config/DtlParam.h"

// The variable is a pointer to a NUL-terminated text (null reads as the empty
// text). After a pull it points into the Lisp string bound to the name: the
// text stays valid while that binding holds the string, i.e. until the
// variable is assigned again by a later load or the interpreter goes.
class DtlStringParam : public DtlParam {
 public:
  DtlStringParam(const char* name, const char** address) : DtlParam(name), address_(address) {}

  DtlObjPtr defaultValue() const override;
  void push() override;
  bool pull() override;

 private:
  const char** address_;
};
