#include "LispTestSupport.h"
#include "config/DtlCons.h"
#include "config/DtlEnv.h"
#include "config/DtlIntegerParam.h"
#include "config/DtlLoader.h"

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#define EXPECT_NO_LEAK() EXPECT_EQ(__lsan_do_recoverable_leak_check(), 0)
#else
#define EXPECT_NO_LEAK() (void)0
#endif

namespace {

class DtlObjTest : public LispTest {
protected:
  std::string ErrorFrom(void (*action)()) {
    NotifyCapture capture(1);
    try {
      action();
    } catch (const DtlObjPtr&) {
      return capture.text();
    }
    return "no error";
  }
};

TEST_F(DtlObjTest, PrintsEveryKind) {
  const DtlObjPtr one = DtcMakeInteger(1);
  const DtlObjPtr two = DtcMakeInteger(2);
  EXPECT_EQ(Printed(cons(one, cons(two, DtlNil()))), "(1 2)");
  EXPECT_EQ(Printed(cons(one, two)), "(1 . 2)");
  EXPECT_EQ(Printed(cons(one, cons(two, DtcMakeString("x")))), "(1 2 . \"x\")");
  EXPECT_EQ(Printed(cons(cons(one, DtlNil()), DtlNil())), "((1))");
  EXPECT_EQ(Printed(DtcMakeString("a b")), "\"a b\"");
  EXPECT_EQ(Printed(DtcMakeFloat(2.5)), "2.500000");
  EXPECT_EQ(Printed(DtcMakeFloat(-1e20)), "-100000000000000000000.000000");
  EXPECT_EQ(Printed(DtcMakeInteger(-7)), "-7");
  EXPECT_EQ(Printed(DtlNil()), "nil");
  EXPECT_EQ(Printed(DtlT()), "t");
  EXPECT_EQ(Printed(DtcMakeSymbol("Abc")), "Abc");
  EXPECT_EQ(Printed(DtcMakeSymbol(nullptr)), "(unbound symbol name)");
  EXPECT_EQ(Printed(DtcMakeObj(DtlStringTag)), "(unbound string)");
  DtlObjPtr locative = DtcMakeObj(DtlLocativeTag);
  locative->setIntValue(42);
  EXPECT_EQ(Printed(locative), "42");
  EXPECT_EQ(Show("car"), "#<primitive-function car>");
  EXPECT_EQ(Show("quote").rfind("#<special-form ", 0), 0u);
  EXPECT_EQ(Show("(lambda (x) x)").rfind("#<procedure ", 0), 0u);
  EXPECT_EQ(Printed(env.environment()).rfind("#<environment-frame ", 0), 0u);
}

TEST_F(DtlObjTest, ValueErrors) {
  EXPECT_EQ(ErrorFrom([] { DtcMakeObj(static_cast<DtlTagType>(11)); }),
            "Error: unknown tag request to DtlObj::DtlObj(DtlTagType)\n");
  EXPECT_EQ(ErrorFrom([] { car(DtlNil()); }), "Error: car of non-cons\n");
  EXPECT_EQ(ErrorFrom([] { cdr(DtcMakeInteger(1)); }), "Error: cdr of non-cons\n");
  EXPECT_EQ(ErrorFrom([] { DtcLength(cons(DtlNil(), DtcMakeInteger(5))); }), "Error: DtcLength of non-cons\n");
  EXPECT_EQ(ErrorFrom([] { DtcPrintList(DtlNil(), stdout); }), "Error: Non-cons passed to DtlObj::DtcPrintList\n");
  EXPECT_EQ(DtcLength(DtlNil()), 0);
}

TEST_F(DtlObjTest, EqualityByIdentityAndByStructure) {
  const DtlObjPtr one = DtcMakeInteger(1);
  EXPECT_TRUE(DtcEq(one, one));
  EXPECT_FALSE(DtcEq(one, DtcMakeInteger(1)));
  EXPECT_TRUE(DtcEqual(one, DtcMakeInteger(1)));
  EXPECT_FALSE(DtcEqual(one, DtcMakeFloat(1.0)));  // different kinds
  EXPECT_EQ(Show("(= 1 1.0)"), "t");
  EXPECT_EQ(Show("(equal '(a (1 \"s\") 2.5) '(a (1 \"s\") 2.5))"), "t");
  EXPECT_EQ(Show("(equal '(a b) '(a b c))"), "nil");
  EXPECT_EQ(Show("(equal \"abc\" \"ABC\")"), "nil");
  EXPECT_EQ(Show("(eq? 'a 'a)"), "t");
  EXPECT_EQ(Show("(eq? \"a\" \"a\")"), "nil");
  EXPECT_EQ(ErrorOf("(equal (lambda (x) x) (lambda (x) x))"), "Error: Unknown type passed to equal!\n");
}

// Deleted when the frame that lists it is destroyed.
class ProbeParam : public DtlIntParam {
public:
  ProbeParam(bool* destroyed) : DtlIntParam("probe", &value_), destroyed_(destroyed) {}
  ~ProbeParam() override { *destroyed_ = true; }

private:
  int value_ = 0;
  bool* destroyed_;
};

TEST_F(DtlObjTest, FrameHoldingItsOwnProcedureIsFreed) {
  bool destroyed = false;
  DtlObjPtr frame = DtcMakeFrame(env.environment());
  ASSERT_EQ(DtcRegister(new ProbeParam(&destroyed), frame), 1);
  DtlStringStream stream("(define (g) 1)");
  DtcEval(lread(&stream, frame), frame);
  ASSERT_EQ(EnvLocalProcRefcnt(frame), 1u);
  EXPECT_EQ(frame->refCount(), 2u);  // this handle and g's enclosing frame
  frame = DtlObjPtr();
  EXPECT_TRUE(destroyed);
  EXPECT_NO_LEAK();
}

TEST_F(DtlObjTest, ProcedureFramesOfFinishedCallsAreFreed) {
  Run("(define (outer n) (define (inner) n) (inner))"
      "(define (make) (define (g) 7) g)"
      "(define (adder n) (lambda (x) (+ x n)))");
  EXPECT_EQ(Show("(outer 5)"), "5");
  EXPECT_EQ(Show("(sequence (setq h (make)) (h))"), "7");
  EXPECT_EQ(Show("(sequence (setq h 0) h)"), "0");  // drops the closure: its frame goes with it
  EXPECT_EQ(Show("((adder 2) 3)"), "5");
  EXPECT_NO_LEAK();
}

TEST_F(DtlObjTest, InterpreterLeavesNoCycleBehind) {
  {
    DtMtlEnvironment other;
    other.loadExpr(
        "(define (adder n) (lambda (x) (+ x n)))"
        "(setq add2 (adder 2))"
        "(define (make) (define (g) 7) g)"
        "(setq h (make))");
  }
  EXPECT_NO_LEAK();
}

TEST_F(DtlObjTest, ValueOutlivingItsInterpreterIsSafe) {
  DtlObjPtr procedure;
  {
    DtMtlEnvironment other;
    procedure = other.loadExpr("(lambda (x) (+ x 1))");
  }
  ASSERT_TRUE(procedure);
  EXPECT_EQ(Printed(procedure->third()).rfind("#deleted# #<environment-frame ", 0), 0u);
  // Its enclosing frame was emptied with the interpreter: the global names
  // it uses are gone, which is an error, not a crash.
  env.registerValue("orphan", procedure);
  EXPECT_EQ(ErrorOf("(orphan 1)"), "Error: Non-frame as environment\n");
}

TEST_F(DtlObjTest, LongAndDeepValuesAreReleasedWithoutRecursion) {
  constexpr int count = 1000000;
  DtlObjPtr list = DtlNil();
  DtlObjPtr nested = DtlNil();
  for (int i = 0; i < count; ++i) {
    list = cons(DtcMakeInteger(i), list);
    nested = cons(nested, DtlNil());
  }
  EXPECT_EQ(DtcLength(list), count);
  EXPECT_TRUE(DtcEqual(list, list));
  list = DtlObjPtr();
  nested = DtlObjPtr();
  // Built by the language itself, and dropped with its binding.
  Run("(define (build n acc) (if (= n 0) acc (build (- n 1) (cons n acc))))"
      "(setq big (build 20000 nil))");
  EXPECT_EQ(Show("(length big)"), "20000");
  Run("(setq big nil)");
  EXPECT_NO_LEAK();
}

TEST_F(DtlObjTest, DeepValuesFailToPrintOrCompareWithTheLanguageError) {
  DtlObjPtr nested = DtlNil();
  for (int i = 0; i < 5000; ++i) nested = cons(nested, DtlNil());
  NotifyCapture capture(1);
  EXPECT_THROW(Printed(nested), DtlObjPtr);
  EXPECT_THROW(DtcEqual(nested, cons(nested, DtlNil())), DtlObjPtr);
  EXPECT_EQ(capture.text(), "Error: Lists nested too deeply to print\nError: Lists nested too deeply to compare\n");
}

}  // namespace
