// The special forms of the configuration language: each receives its
// arguments unevaluated, with the current frame.
#pragma once

#include "config/DtlObjPtr.h"

// (quote x): x.
DtlObjPtr DtlQuote(const DtlObjPtr& args, const DtlObjPtr& frame);
// define and setq: (define (name params...) body...) binds a new procedure
// ("Variable is already bound" when the name is bound in this frame);
// (define name value) binds the evaluated value in the current frame.
DtlObjPtr DtlDefine(const DtlObjPtr& args, const DtlObjPtr& frame);
// (lambda params body...): a procedure closed over the current frame.
DtlObjPtr DtlLambda(const DtlObjPtr& args, const DtlObjPtr& frame);
// (let ((name value)...) body): the values evaluated in order in the current
// frame, the body in a new frame under it.
DtlObjPtr DtlLet(const DtlObjPtr& args, const DtlObjPtr& frame);
// (sequence form...): the value of the last form.
DtlObjPtr DtlSequence(const DtlObjPtr& args, const DtlObjPtr& frame);
// (if test then [else]): the list of the one form to run (nil when none);
// the evaluator runs it in tail position.
DtlObjPtr DtlIf(const DtlObjPtr& args, const DtlObjPtr& frame);
// (cond (test form...)...): the forms of the first clause whose test holds.
// The evaluator calls DtcCondSelect instead, which also covers a clause that
// is only a test: its value is the test's value.
DtlObjPtr DtlCond(const DtlObjPtr& args, const DtlObjPtr& frame);
// set! and setqb: (set! name value) assigns the variable in the innermost
// frame that binds it, the value evaluated in the current frame; an unbound
// name prints a warning and gives nil.
DtlObjPtr DtlSetBang(const DtlObjPtr& args, const DtlObjPtr& frame);

// The forms to run for a cond: the chosen clause's forms, or a null handle
// with `value` set (nil when no clause holds, the test's value for a clause
// without forms).
DtlObjPtr DtcCondSelect(const DtlObjPtr& args, const DtlObjPtr& frame, DtlObjPtr& value);
