// A host-program variable bound to a configuration-language variable.
#pragma once

#include <string>

#include "config/DtlObjPtr.h"

class DtlObj;

// One registered host variable: a Lisp name, the symbol it is bound to in
// the interpreter's global frame, and the variable itself (in the
// subclasses). Before a load the host value is pushed into Lisp; after it,
// the Lisp value is pulled back when it is of an accepted kind. The frame
// lists its parameters and deletes them with itself.
class DtlParam {
public:
  explicit DtlParam(const char* name);
  DtlParam(const DtlParam&) = delete;
  DtlParam& operator=(const DtlParam&) = delete;
  virtual ~DtlParam();

  // A new Lisp zero of the variable's kind (0, 0.0 or "").
  virtual DtlObjPtr defaultValue() const = 0;
  // Host to Lisp: binds a new value when the Lisp value is *unbound*, of
  // another kind, or differs from the host value; else leaves it alone.
  virtual void push() = 0;
  // Lisp to host: writes the variable when the Lisp value is of an accepted
  // kind, else warns ("Lisp Warning: Variable <name> should be ..., not "
  // and the value, on standard error at level 1 and above) and keeps the
  // host value. False when there is no Lisp value or it was refused.
  virtual bool pull() = 0;
  // The current Lisp value as text that reads back: "%d", "%f", "\"%s\"".
  virtual std::string text() const;

  const char* name() const { return name_.c_str(); }
  const DtlObjPtr& symbol() const { return symbol_; }
  // Done by DtcRegister: the symbol and the frame the variable lives in.
  void attach(const DtlObjPtr& symbol, DtlObj* frame);

protected:
  // The value bound to the name in the frame's own table, or null.
  DtlObjPtr lispValue() const;
  void bind(const DtlObjPtr& value);
  // Prints the warning for a value of the wrong kind; `expected` is "an
  // integer", "a float" or "a string".
  void warnWrongKind(const char* expected, const DtlObjPtr& value) const;

private:
  std::string name_;
  DtlObjPtr symbol_;
  // Not counted: the frame owns its parameters, so it outlives them.
  DtlObj* frame_ = nullptr;
};
