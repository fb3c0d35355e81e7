// The evaluator of the configuration language.
#pragma once

#include "config/DtlObjPtr.h"

// The value of the expression in the frame. Numbers, strings, nil and
// locatives are themselves; a symbol is looked up (DtcSymeval); a cons is an
// application of its evaluated car:
//   special form        called with the unevaluated arguments; if and cond
//                       hand back the forms to run, the last in tail position
//   compiled function   called with the evaluated arguments
//   procedure           arguments bound in a new frame under the procedure's
//                       own; the last body form in tail position
// Tail positions continue the evaluator's loop, so a procedure that calls
// itself there runs in constant native stack. Argument evaluation and nested
// applications recurse, up to DtlDepthGuard::MaxDepth, beyond which the
// language error "Evaluation nested too deeply" is raised.
DtlObjPtr DtcEval(const DtlObjPtr& expression, const DtlObjPtr& frame);

// The evaluated arguments, in their written order, evaluated from the last
// to the first in `frame`; an argument part that is not a proper list raises
// "function arguments are not a list".
DtlObjPtr DtcEvalArgs(const DtlObjPtr& args, const DtlObjPtr& frame);

// Binds each parameter symbol to its argument in `frame`; raises "Wrong
// number of args for function application" or "Non-symbol in function
// parameter list for apply".
void DtcBindParams(const DtlObjPtr& params, const DtlObjPtr& args, const DtlObjPtr& frame);
