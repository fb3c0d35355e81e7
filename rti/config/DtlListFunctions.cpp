// List, predicate and evaluation built-ins.
#include "config/DtlArgs.h"
#include "config/DtlBuiltins.h"
#include "config/DtlEval.h"

namespace {

// Calls `visit` on every element of a proper list; raises `message` for
// anything but a list or nil.
template <typename Visit>
void forEachElement(const DtlObjPtr& list, const char* message, Visit visit) {
  const DtlObjPtr* cell = &list;
  for (; DtcIs(*cell, DtlConsTag); cell = &(*cell)->second()) visit((*cell)->first());
  if (!DtcIsNil(*cell)) DtlError(message);
}

}  // namespace

DtlObjPtr DtlAppend(const DtlObjPtr& args, const DtlObjPtr&) {
  DtcCheckArgs(args, 2, 2, "Wrong number of args to append");
  const DtlObjPtr& first = car(args);
  const DtlObjPtr& second = DtcNth(args, 2);
  forEachElement(second, "Non list in append", [](const DtlObjPtr&) {});
  if (DtcIsNil(first)) return second;
  if (DtcIsNil(second)) {
    forEachElement(first, "Non list in append", [](const DtlObjPtr&) {});
    return first;
  }
  // Fresh cells for the first list, the second list itself after them.
  DtlObjPtr head;
  DtlObj* tail = nullptr;
  forEachElement(first, "Non list in append", [&](const DtlObjPtr& element) {
    DtlObjPtr cell = cons(element, second);
    if (tail)
      tail->setSecond(cell);
    else
      head = cell;
    tail = cell.get();
  });
  return head;
}

DtlObjPtr DtlCar(const DtlObjPtr& args, const DtlObjPtr&) {
  DtcCheckArgs(args, 1, 1, "Wrong number of args to car");
  return car(car(args));
}

DtlObjPtr DtlCdr(const DtlObjPtr& args, const DtlObjPtr&) {
  DtcCheckArgs(args, 1, 1, "Wrong number of args to cdr");
  return cdr(car(args));
}

DtlObjPtr DtlCons(const DtlObjPtr& args, const DtlObjPtr&) {
  DtcCheckArgs(args, 2, 2, "Wrong number of args to cons");
  return cons(car(args), DtcNth(args, 2));
}

DtlObjPtr DtlLength(const DtlObjPtr& args, const DtlObjPtr&) {
  DtcCheckArgs(args, 1, 1, "Wrong number of args to length");
  return DtcMakeInteger(DtcLength(car(args)));
}

DtlObjPtr DtlList(const DtlObjPtr& args, const DtlObjPtr&) { return args; }

DtlObjPtr DtlListp(const DtlObjPtr& args, const DtlObjPtr&) {
  DtcCheckArgs(args, 1, 1, "Wrong number of args to listp");
  return DtcBool(DtcIs(car(args), DtlConsTag));
}

DtlObjPtr DtlReverse(const DtlObjPtr& args, const DtlObjPtr&) {
  DtcCheckArgs(args, 1, 1, "Wrong number of args to reverse");
  DtlObjPtr reversed = DtlNil();
  forEachElement(car(args), "Non list in reverse",
                 [&](const DtlObjPtr& element) { reversed = cons(element, reversed); });
  return reversed;
}

DtlObjPtr DtlEq(const DtlObjPtr& args, const DtlObjPtr&) {
  DtcCheckArgs(args, 2, 2, "Wrong number of arguments to eq");
  return DtcBool(DtcEq(car(args), DtcNth(args, 2)));
}

DtlObjPtr DtlEqual(const DtlObjPtr& args, const DtlObjPtr&) {
  DtcCheckArgs(args, 2, 2, "Wrong number of args to equal");
  return DtcBool(DtcEqual(car(args), DtcNth(args, 2)));
}

DtlObjPtr DtlNot(const DtlObjPtr& args, const DtlObjPtr&) {
  DtcCheckArgs(args, 1, 1, "Wrong number of arguments to not/null");
  return DtcBool(DtcIsNil(car(args)));
}

DtlObjPtr DtlNumberp(const DtlObjPtr& args, const DtlObjPtr&) {
  DtcCheckArgs(args, 1, 1, "Wrong number of args to numberp");
  return DtcBool(DtcIsNumber(car(args)));
}

DtlObjPtr DtlStringp(const DtlObjPtr& args, const DtlObjPtr&) {
  DtcCheckArgs(args, 1, 1, "Wrong number of args to stringp");
  return DtcBool(DtcIs(car(args), DtlStringTag));
}

// and, or: each (already evaluated) argument is evaluated once more, both
// always, in the current frame.
DtlObjPtr DtlAnd(const DtlObjPtr& args, const DtlObjPtr& frame) {
  DtcCheckArgs(args, 2, 2, "Wrong number of args to and");
  const bool first = !DtcIsNil(DtcEval(car(args), frame));
  const bool second = !DtcIsNil(DtcEval(DtcNth(args, 2), frame));
  return DtcBool(first && second);
}

DtlObjPtr DtlOr(const DtlObjPtr& args, const DtlObjPtr& frame) {
  DtcCheckArgs(args, 2, 2, "Wrong number of args to or");
  const bool first = !DtcIsNil(DtcEval(car(args), frame));
  const bool second = !DtcIsNil(DtcEval(DtcNth(args, 2), frame));
  return DtcBool(first || second);
}

DtlObjPtr DtlEval(const DtlObjPtr& args, const DtlObjPtr& frame) {
  const DtlObjPtr& expression = car(args);
  if (DtcLength(args) == 2) return DtcEval(expression, DtcExpect(DtcNth(args, 2), DtlFrameTag, "non-frame to eval"));
  return DtcEval(expression, frame);
}

DtlObjPtr DtlMakeFrame(const DtlObjPtr& args, const DtlObjPtr&) {
  DtcCheckArgs(args, 1, 1, "wrong number of args to new-frame");
  return DtcMakeFrame(DtcExpect(car(args), DtlFrameTag, "non-frame to new-frame"));
}
