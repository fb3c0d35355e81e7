#include "LispTestSupport.h"

namespace {

class DtlEvalTest : public LispTest {};

struct EvalCase {
  const char* setup;  // forms run first (may be empty)
  const char* expression;
  const char* printed;
};

// Each special form's main path and the edges that matter.
const EvalCase evalCases[] = {
    {"", "(quote (a b))", "(a b)"},
    {"", "'sym", "sym"},
    {"", "42", "42"},
    {"", "\"s\"", "\"s\""},
    {"", "nil", "nil"},
    {"", "t", "t"},
    {"", "eof", "nil"},
    {"", "(setq x 1)", "x"},
    {"(setq x 1)", "x", "1"},
    {"(define f 3)", "f", "3"},
    {"(define (f a b) (+ a b))", "(f 1 2)", "3"},
    {"(define (f a) a)", "f", ""},           // checked by kind below
    {"(define (f a a) a)", "(f 1 2)", "2"},  // a repeated parameter keeps the later argument
    {"(define (f) 1 2 3)", "(f)", "3"},
    {"", "((lambda (x y) (cons x y)) 1 2)", "(1 . 2)"},
    {"", "(let ((a 1) (b 2)) (+ a b))", "3"},
    {"", "(let () 5)", "5"},
    {"(setq a 10)", "(let ((a 1) (b a)) b)", "10"},  // values in the outer frame
    {"", "(let ((a 1)) a ignored)", "1"},            // only the first body form
    {"", "(sequence 1 2 3)", "3"},
    {"", "(if nil 1)", "nil"},
    {"", "(if nil 1 2)", "2"},
    {"", "(if 0 1 2)", "1"},  // only nil is false
    {"", "(cond (nil 1) (t 2 3))", "3"},
    {"", "(cond (nil 1))", "nil"},
    {"", "(cond (nil 1) (7))", "7"},  // a clause of only a test yields the test
    {"(setq x 1)", "(set! x 2)", "x"},
    {"(setq x 1) (set! x (+ x 1))", "x", "2"},
    {"(setq x 1) (setqb x 5)", "x", "5"},
    // Inside a procedure setq makes a local, set! changes the outer binding.
    {"(setq x 1) (define (f) (setq x 2) x)", "(f)", "2"},
    {"(setq x 1) (define (f) (setq x 2) x)", "(sequence (f) x)", "1"},
    {"(setq x 1) (define (f) (set! x 2) x)", "(sequence (f) x)", "2"},
    // set! computes its value where it is written: the procedure's argument.
    {"(setq port 1) (define (setport p) (set! port p))", "(sequence (setport 5000) port)", "5000"},
    // let inside a procedure still finds the global lambda and globals.
    {"(setq g 4) (define (f n) (let ((m (* n 2))) (+ m g)))", "(f 3)", "10"},
    // A closure keeps its frame.
    {"(define (adder n) (lambda (x) (+ x n)))", "((adder 2) 3)", "5"},
    // Tail calls through cond, if and a procedure body.
    {"(define (count n acc) (cond ((= n 0) acc) (t (count (- n 1) (+ acc 1)))))", "(count 5000 0)", "5000"},
};

TEST_F(DtlEvalTest, SpecialFormsAndApplication) {
  for (const EvalCase& c : evalCases) {
    SCOPED_TRACE(std::string(c.setup) + " => " + c.expression);
    DtMtlEnvironment fresh;
    fresh.loadExpr(c.setup);
    DtlStringStream stream(c.expression);
    const DtlObjPtr value = DtcEval(lread(&stream, fresh.environment()), fresh.environment());
    if (*c.printed)
      EXPECT_EQ(Printed(value), c.printed);
    else
      EXPECT_TRUE(DtcIs(fresh.value("f"), DtlProcedureTag));
  }
}

TEST_F(DtlEvalTest, ArgumentsAreEvaluatedFromTheLast) {
  Run("(setq order nil)"
      "(define (g) (set! order (cons 'g order)))"
      "(define (h) (set! order (cons 'h order)))"
      "(define (f a b) 0)"
      "(f (g) (h))");
  EXPECT_EQ(Show("order"), "(g h)");  // h ran first, so g was consed last
}

TEST_F(DtlEvalTest, LetEvaluatesItsValuesInTheOrderWritten) {
  Run("(setq order nil)");
  EXPECT_EQ(Show("(let ((a (set! order (cons 1 order))) (b (set! order (cons 2 order)))) order)"), "(2 1)");
}

TEST_F(DtlEvalTest, SetOfAnUnboundNameWarnsAndGivesNil) {
  NotifyCapture capture(1);
  EXPECT_EQ(Printed(Eval("(set! nowhere 1)")), "nil");
  EXPECT_EQ(capture.text(), "Lisp Warning: can't set unbound variable: nowhere\n");
}

TEST_F(DtlEvalTest, DefineOfABoundProcedureNameFails) {
  Run("(define (f a) a)");
  EXPECT_EQ(ErrorOf("(define (f b) b)"), "Error: Variable is already bound\n");
  Eval("(define f 3)");  // a plain define replaces silently
  EXPECT_EQ(Show("f"), "3");
}

TEST_F(DtlEvalTest, DefineWithAWrongCountPrintsTheArguments) {
  std::string error;
  const std::string printed = StderrOf([&] { error = ErrorOf("(define x 1 2)"); });
  EXPECT_EQ(error, "Error: Wrong number of args to define\n");
  EXPECT_EQ(printed, "Lisp Error: Got 3 args, expected 2\nARGS: (x 1 2)");
}

struct ErrorCase {
  const char* expression;
  const char* message;
};

const ErrorCase errorCases[] = {
    {"never-assigned", "Unbound symbol never-assigned"},
    {"(quote)", "Wrong number of args to quote"},
    {"(quote a b)", "Wrong number of args to quote"},
    {"(setq)", "Wrong number of args to define"},
    {"(setq 1 2)", "Non-symbol to set1env"},
    {"(lambda (x))", "Wrong number of args to lambda"},
    {"(let ((a 1)))", "Wrong number of args to let"},
    {"(let ((1 2)) 3)", "Non-symbol in function parameter list for apply"},
    {"(sequence)", "Wrong number of args to sequence"},
    {"(if t)", "Wrong number of args to if"},
    {"(if t 1 2 3)", "Wrong number of args to if"},
    {"(cond)", "No clauses to cond"},
    {"(cond 5)", "car of non-cons"},
    {"(set! x)", "Wrong number of args to setq"},
    {"(set! 5 1)", "non-symbol to boundp"},
    {"(1 2)", "Cannot apply a non-function"},
    {"(\"f\")", "Cannot apply a non-function"},
    {"((lambda (x) x))", "Wrong number of args for function application"},
    {"((lambda (x) x) 1 2)", "Wrong number of args for function application"},
    {"((lambda (1) 1) 2)", "Non-symbol in function parameter list for apply"},
    {"(list 1 . 2)", "no error"},  // the reader has no dotted pairs: '.' is a symbol
    {"(eval (cons '+ 5))", "function arguments are not a list"},
    {"(eval (cons '+ (cons 1 2)))", "function arguments are not a list"},
};

TEST_F(DtlEvalTest, ErrorsRaiseTheLanguageErrorWithTheirMessage) {
  Run("(setq . 0)");  // so that the symbol '.' evaluates
  for (const ErrorCase& c : errorCases) ExpectError(c.expression, c.message);
}

TEST_F(DtlEvalTest, NonExpressionsAreRejected) {
  // A function object as an expression (only host code can build one).
  NotifyCapture capture(1);
  const DtlObjPtr function = Eval("car");
  const std::string out = StdoutOf([&] { EXPECT_THROW(DtcEval(function, env.environment()), DtlObjPtr); });
  EXPECT_EQ(capture.text(), "unknown expression type in eval: Error: unknown expression type in eval\n");
}

TEST_F(DtlEvalTest, TailRecursionOfAMillionStepsRunsInConstantStack) {
  // Any growth of the native stack per step would hit the evaluator's depth
  // limit long before the end.
  Run("(define (loop n) (if (= n 0) 'done (loop (- n 1))))");
  EXPECT_EQ(Show("(loop 1000000)"), "done");
}

TEST_F(DtlEvalTest, DeepNonTailRecursionIsALanguageErrorNotACrash) {
  Run("(define (depth n) (if (= n 0) 0 (+ 1 (depth (- n 1)))))");
  EXPECT_EQ(Show("(depth 500)"), "500");
  EXPECT_EQ(ErrorOf("(depth 100000)"), "Error: Evaluation nested too deeply\n");
  // The interpreter is still usable afterwards.
  EXPECT_EQ(Show("(depth 10)"), "10");
}

}  // namespace
