#include "config/DtlSyntacticForms.h"

#include <cstdio>
#include <vector>

#include "config/DtlCons.h"
#include "config/DtlEnv.h"
#include "config/DtlError.h"
#include "config/DtlEval.h"
#include "config/DtlObj.h"
#include "config/DtlPrint.h"
#include "util/DtNotify.h"

DtlObjPtr DtlQuote(const DtlObjPtr& args, const DtlObjPtr&) {
  if (DtcLength(args) != 1) DtlError("Wrong number of args to quote");
  return car(args);
}

DtlObjPtr DtlDefine(const DtlObjPtr& args, const DtlObjPtr& frame) {
  const std::int32_t count = DtcLength(args);
  if (count >= 2 && DtcIs(car(args), DtlConsTag)) {
    const DtlObjPtr& name = car(car(args));
    if (boundp(name, frame)) DtlError("Variable is already bound");
    set1env(name, DtcMakeProcedure(cdr(car(args)), cdr(args), frame), frame);
    return name;
  }
  if (count != 2) {
    if (DtGetNotifyLevel() >= 0) {
      std::fprintf(stderr, "Lisp Error: Got %d args, expected 2\nARGS: ", static_cast<int>(count));
      DtcPrintError(args);
    }
    DtlError("Wrong number of args to define");
  }
  return set1env(car(args), DtcEval(DtcNth(args, 2), frame), frame);
}

DtlObjPtr DtlLambda(const DtlObjPtr& args, const DtlObjPtr& frame) {
  if (DtcLength(args) < 2) DtlError("Wrong number of args to lambda");
  return DtcMakeProcedure(car(args), cdr(args), frame);
}

DtlObjPtr DtlLet(const DtlObjPtr& args, const DtlObjPtr& frame) {
  if (DtcLength(args) < 2) DtlError("Wrong number of args to let");
  // Every value is evaluated, in the order written, before any is bound.
  std::vector<DtlObjPtr> names;
  std::vector<DtlObjPtr> values;
  for (const DtlObjPtr* binding = &car(args); !DtcIsNil(*binding); binding = &cdr(*binding)) {
    names.push_back(car(car(*binding)));
    values.push_back(DtcEval(DtcNth(car(*binding), 2), frame));
  }
  DtlObjPtr local = DtcMakeFrame(frame);
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (!DtcIs(names[i], DtlSymbolTag)) DtlError("Non-symbol in function parameter list for apply");
    set1env(names[i], values[i], local);
  }
  return DtcEval(DtcNth(args, 2), local);
}

DtlObjPtr DtlSequence(const DtlObjPtr& args, const DtlObjPtr& frame) {
  if (DtcLength(args) < 1) DtlError("Wrong number of args to sequence");
  DtlObjPtr value;
  for (const DtlObjPtr* form = &args; !DtcIsNil(*form); form = &cdr(*form)) value = DtcEval(car(*form), frame);
  return value;
}

DtlObjPtr DtlIf(const DtlObjPtr& args, const DtlObjPtr& frame) {
  const std::int32_t count = DtcLength(args);
  if (count < 2 || count > 3) DtlError("Wrong number of args to if");
  if (!DtcIsNil(DtcEval(car(args), frame))) return cons(DtcNth(args, 2), DtlNil());
  if (count == 3) return cdr(cdr(args));
  return DtlNil();
}

DtlObjPtr DtcCondSelect(const DtlObjPtr& args, const DtlObjPtr& frame, DtlObjPtr& value) {
  if (DtcLength(args) < 1) DtlError("No clauses to cond");
  for (const DtlObjPtr* clause = &args; !DtcIsNil(*clause); clause = &cdr(*clause)) {
    DtlObjPtr test = DtcEval(car(car(*clause)), frame);
    if (DtcIsNil(test)) continue;
    const DtlObjPtr& forms = cdr(car(*clause));
    if (DtcIsNil(forms)) {
      value = std::move(test);
      return DtlObjPtr();
    }
    return forms;
  }
  value = DtlNil();
  return DtlObjPtr();
}

DtlObjPtr DtlCond(const DtlObjPtr& args, const DtlObjPtr& frame) {
  DtlObjPtr value;
  DtlObjPtr forms = DtcCondSelect(args, frame, value);
  return forms ? forms : cons(value, DtlNil());
}

DtlObjPtr DtlSetBang(const DtlObjPtr& args, const DtlObjPtr& frame) {
  if (DtcLength(args) != 2) DtlError("Wrong number of args to setq");
  const DtlObjPtr& name = car(args);
  for (const DtlObj* f = frame.get(); f; f = f->first().get()) {
    const DtlObjPtr owner(const_cast<DtlObj*>(f));
    if (boundp(name, owner)) {
      // The value is computed where the assignment is written, so that
      // a procedure can assign its own arguments to an outer variable.
      DtlObjPtr value = DtcEval(DtcNth(args, 2), frame);
      return set1env(name, value, owner);
    }
  }
  DtNotifyError("Lisp Warning: can't set unbound variable: %s\n", name->name());
  return DtlNil();
}
