#include "config/DtlEval.h"

#include <vector>

#include "config/DtlCons.h"
#include "config/DtlDepthGuard.h"
#include "config/DtlEnv.h"
#include "config/DtlError.h"
#include "config/DtlObj.h"
#include "config/DtlPrint.h"
#include "config/DtlSyntacticForms.h"
#include "util/DtNotify.h"

namespace {

thread_local int evalDepth = 0;

// Evaluates every form of the list but the last in `frame` and returns the
// last one (a null handle for an empty list).
DtlObjPtr runToLast(const DtlObjPtr& forms, const DtlObjPtr& frame) {
  if (DtcIsNil(forms)) return DtlObjPtr();
  const DtlObjPtr* cell = &forms;
  while (!DtcIsNil(cdr(*cell))) {
    DtcEval(car(*cell), frame);
    cell = &cdr(*cell);
  }
  return car(*cell);
}

}  // namespace

DtlObjPtr DtcEval(const DtlObjPtr& expression, const DtlObjPtr& frame) {
  DtlDepthGuard guard(evalDepth, "Evaluation nested too deeply");
  DtlObjPtr x = expression;
  DtlObjPtr env = frame;
  for (;;) {
    const DtlTagType tag = x ? x->tag() : DtlFrameTag;
    switch (tag) {
      case DtlNilTag:
      case DtlIntegerTag:
      case DtlFloatTag:
      case DtlStringTag:
      case DtlLocativeTag: return x;
      case DtlSymbolTag: return DtcSymevalRef(x, env);
      case DtlConsTag: break;
      default:
        DtNotifyError("unknown expression type in eval: ");
        if (x) DtcPrintLine(x);
        DtlError("unknown expression type in eval");
    }

    const DtlObjPtr op = DtcEval(x->first(), env);
    const DtlObjPtr& args = x->second();
    DtlObjPtr tail;
    switch (op ? op->tag() : DtlNilTag) {
      case DtlSpecialFormTag: {
        const DtlNativeFunction function = op->function();
        if (function == DtlCond) {
          DtlObjPtr value;
          DtlObjPtr forms = DtcCondSelect(args, env, value);
          if (!forms) return value;
          tail = runToLast(forms, env);
        } else if (function == DtlIf) {
          tail = runToLast(function(args, env), env);
        } else {
          return function(args, env);
        }
        if (!tail) return DtlNil();
        break;
      }
      case DtlCompiledTag: {
        const DtlObjPtr evaluated = DtcEvalArgs(args, env);
        return op->function()(evaluated, env);
      }
      case DtlProcedureTag: {
        DtlObjPtr local = DtcMakeFrame(op->third());
        DtcBindParams(op->first(), DtcEvalArgs(args, env), local);
        tail = runToLast(op->second(), local);
        if (!tail) return DtlNil();
        env = std::move(local);
        break;
      }
      default: DtlError("Cannot apply a non-function");
    }
    x = std::move(tail);
  }
}

DtlObjPtr DtcEvalArgs(const DtlObjPtr& args, const DtlObjPtr& frame) {
  // The forms are evaluated from the last to the first; most calls have a
  // few arguments, which need no heap.
  constexpr std::size_t inlineCount = 8;
  const DtlObjPtr* inlineForms[inlineCount];
  std::vector<const DtlObjPtr*> moreForms;
  std::size_t count = 0;
  const DtlObjPtr* cell = &args;
  for (; DtcIs(*cell, DtlConsTag); cell = &(*cell)->second(), ++count) {
    if (count < inlineCount) {
      inlineForms[count] = &(*cell)->first();
    } else {
      if (count == inlineCount) moreForms.assign(inlineForms, inlineForms + inlineCount);
      moreForms.push_back(&(*cell)->first());
    }
  }
  if (!DtcIsNil(*cell)) DtlError("function arguments are not a list");
  const DtlObjPtr* const* forms = count <= inlineCount ? inlineForms : moreForms.data();
  DtlObjPtr values = DtlNil();
  while (count > 0) {
    --count;
    values = cons(DtcEval(*forms[count], frame), values);
  }
  return values;
}

void DtcBindParams(const DtlObjPtr& params, const DtlObjPtr& args, const DtlObjPtr& frame) {
  if (DtcLength(params) != DtcLength(args)) DtlError("Wrong number of args for function application");
  const DtlObjPtr* param = &params;
  const DtlObjPtr* arg = &args;
  for (; !DtcIsNil(*param); param = &(*param)->second(), arg = &(*arg)->second()) {
    if (!DtcIs((*param)->first(), DtlSymbolTag)) DtlError("Non-symbol in function parameter list for apply");
    set1env((*param)->first(), (*arg)->first(), frame);
  }
}
