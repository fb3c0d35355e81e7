#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <string>
#include <vector>

#include "LispTestSupport.h"
#include "config/DtlEnv.h"
#include "config/DtlHashTable.h"

namespace {

class DtlBuiltinsTest : public LispTest {};

struct ValueCase {
  const char* expression;
  const char* printed;
};

const ValueCase valueCases[] = {
    // Arithmetic: integers stay integers and wrap at 32 bits; a float wins.
    {"(+ 1 2)", "3"},
    {"(+ 1 2.5)", "3.500000"},
    {"(+ 1 2 2.5)", "5.500000"},
    {"(plus 5)", "5"},
    {"(+ 2147483647 1)", "-2147483648"},
    {"(- 10 3 2)", "5"},
    {"(- 4)", "-4"},
    {"(- 2.5)", "-2.500000"},
    {"(- 10 2.5)", "7.500000"},
    {"(- -2147483648)", "-2147483648"},
    {"(* 2 3 4)", "24"},
    {"(* 65536 65536)", "0"},
    {"(* 2 0.5)", "1.000000"},
    {"(/ 7 2)", "3.500000"},
    {"(/ 8 2)", "4"},
    {"(/ 6.0 2.0)", "3"},
    {"(/ -7 2)", "-3.500000"},
    {"(/ 1e20 1)", "100000000000000000000.000000"},  // whole, but no 32-bit integer
    {"(abs -3)", "3"},
    {"(abs -2.5)", "2.500000"},
    {"(abs -2147483648)", "-2147483648"},
    {"(sin 0)", "0.000000"},
    {"(cos 0)", "1.000000"},
    {"(logior 5 2)", "7"},
    // Comparison: two integers as integers, otherwise as doubles.
    {"(= 1 1.0)", "t"},
    {"(= 1 2)", "nil"},
    {"(< 2 1.5)", "nil"},
    {"(< -1 0)", "t"},
    {"(> 3 2)", "t"},
    {"(>= 2 2)", "t"},
    {"(<= 2.5 2)", "nil"},
    // Lists and predicates.
    {"(list 1 2)", "(1 2)"},
    {"(list)", "nil"},
    {"(car '(1 2))", "1"},
    {"(cdr '(1 2))", "(2)"},
    {"(cons 1 nil)", "(1)"},
    {"(append '(1 2) '(3))", "(1 2 3)"},
    {"(append nil '(3))", "(3)"},
    {"(append '(1) nil)", "(1)"},
    {"(reverse '(1 2 3))", "(3 2 1)"},
    {"(reverse nil)", "nil"},
    {"(length '(1 2 3))", "3"},
    {"(list? nil)", "nil"},
    {"(list? '(1))", "t"},
    {"(null? nil)", "t"},
    {"(nullp 0)", "nil"},
    {"(not nil)", "t"},
    {"(number? 1.5)", "t"},
    {"(number? \"1\")", "nil"},
    {"(string? \"a\")", "t"},
    {"(string? 'a)", "nil"},
    {"(eq 'a 'a)", "t"},
    {"(equal? '(1 \"a\") '(1 \"a\"))", "t"},
    // and / or evaluate their values once more.
    {"(and 1 2)", "t"},
    {"(and 1 nil)", "nil"},
    {"(or nil nil)", "nil"},
    {"(or nil 1)", "t"},
    {"(and ''x 1)", "t"},
    {"(eval '(+ 1 2))", "3"},
    {"(eval ''a)", "a"},
    // Strings.
    {"(string-append \"a\" \"b\" \"c\")", "\"abc\""},
    {"(string-append \"\")", "\"\""},
    {"(string-equal \"a\" \"a\")", "t"},
    {"(string-equal \"a\" \"A\")", "nil"},
    {"(path-cross '(\"a\" \"b\") '(\"c\" \"d\"))", "\".:ac:ad:bc:bd\""},
    {"(path-cross '(\"x/\" \"y/\") '(\"f\"))", "\".:x/f:y/f\""},
    {"(path-cross nil '(\"f\"))", "\".\""},
    {"(path-cross \"x\" '(\"f\"))", "\".\""},
    // Processes.
    {"(getenv \"DTL_TEST_SURELY_UNSET\")", "nil"},
    {"(system \"exit 3\")", "3"},
    {"(popen \"printf 'a\\n\\nb'\")", "(\"a\" \"\" \"b\")"},
    {"(popen \"printf 'one\\ntwo\\n'\")", "(\"one\" \"two\")"},
    {"(popen \"true\")", "nil"},
};

TEST_F(DtlBuiltinsTest, Values) {
  for (const ValueCase& c : valueCases) {
    SCOPED_TRACE(c.expression);
    EXPECT_EQ(Show(c.expression), c.printed);
  }
}

const ValueCase errorCases[] = {
    // Argument counts.
    {"(load)", "Wrong number of args to load"},
    {"(+)", "Wrong number of args to plus"},
    {"(-)", "Wrong number of args to subtract"},
    {"(*)", "Wrong number of args to multiply"},
    {"(/ 1)", "Wrong number of args to divide"},
    {"(= 1)", "Wrong number of args to ="},
    {"(> 1)", "Wrong number of args to >"},
    {"(>= 1)", "Wrong number of args to >="},
    {"(< 1)", "Wrong number of args to <"},
    {"(<= 1 2 3)", "Wrong number of args to <="},
    {"(abort 1)", "Wrong number of args to abort"},
    {"(abs)", "Wrong number of args to abs"},
    {"(and 1)", "Wrong number of args to and"},
    {"(append '(1))", "Wrong number of args to append"},
    {"(car)", "Wrong number of args to car"},
    {"(cdr 1 2)", "Wrong number of args to cdr"},
    {"(cons 1)", "Wrong number of args to cons"},
    {"(sin)", "Wrong number of args to sin"},
    {"(cos 1 2)", "Wrong number of args to cos"},
    {"(describe)", "Wrong number of args to describe"},
    {"(eq 1)", "Wrong number of arguments to eq"},
    {"(equal 1)", "Wrong number of args to equal"},
    {"(eval)", "car of non-cons"},
    {"(exit 1 2)", "Wrong number of args to exit"},
    {"(format t)", "Wrong number of args to format"},
    {"(getenv)", "Wrong number of args to getenv"},
    {"(length)", "Wrong number of args to length"},
    {"(list? 1 2)", "Wrong number of args to listp"},
    {"(logior 1)", "Wrong number of args to logior"},
    {"(make-frame)", "wrong number of args to new-frame"},
    {"(not)", "Wrong number of arguments to not/null"},
    {"(number?)", "Wrong number of args to numberp"},
    {"(or 1 2 3)", "Wrong number of args to or"},
    {"(popen)", "Wrong number of args to popen"},
    {"(prin1)", "Wrong number of arguments to prin1"},
    {"(putenv \"a\")", "Wrong number of args to putenv"},
    {"(reverse)", "Wrong number of args to reverse"},
    {"(string-append)", "Wrong number of args to string-append"},
    {"(string-equal \"a\")", "Wrong number of arguments to string-equal"},
    {"(string?)", "Wrong number of args to stringp"},
    {"(path-cross nil)", "Need two args to path-cross"},
    {"(system)", "Wrong number of args to system"},
    {"(terpri 1)", "No arguments to terpri"},
    // Argument types.
    {"(+ 1 \"a\")", "Non-number to plus"},
    {"(* 'a)", "Non-number to multiply"},
    {"(- \"a\")", "Non-number to subtract"},
    {"(/ 1 \"a\")", "Non-number to divide"},
    {"(/ 1 0)", "Division by zero"},
    {"(/ 1.5 0.0)", "Division by zero"},
    {"(abs \"x\")", "Non-number to abs"},
    {"(sin \"x\")", "Non-number to sin"},
    {"(cos 'x)", "Non-number to cos"},
    {"(logior 1 2.0)", "Non-integer to logior"},
    {"(= \"a\" \"b\")", "Wrong type to DtcEqualSign"},
    {"(> 'a 1)", "Wrong type to DtcGreater"},
    {"(>= 1 'a)", "Wrong type to DtcGreaterEqual"},
    {"(< nil 1)", "Wrong type to DtcLess"},
    {"(<= 1 \"2\")", "Wrong type to DtcLessEqual"},
    {"(append 1 nil)", "Non list in append"},
    {"(append '(1) 2)", "Non list in append"},
    {"(reverse 5)", "Non list in reverse"},
    {"(car nil)", "car of non-cons"},
    {"(cdr 5)", "cdr of non-cons"},
    {"(length '(1 . 2))", "no error"},  // '.' is a symbol: a three-element list
    {"(length 5)", "DtcLength of non-cons"},
    {"(string-append \"a\" 1)", "Non-string to string-append"},
    {"(string-equal 1 \"a\")", "Wrong type arg to DtcStringEqual"},
    {"(getenv 5)", "Non-string argument to getenv"},
    {"(putenv 1 \"a\")", "variable name must be string"},
    {"(putenv \"a\" 1)", "variable value must be string"},
    {"(system 1)", "Non-string argument to system"},
    {"(popen 1)", "Non-string argument to popen"},
    {"(path-cross '(1) '(\"a\"))", "Non-string to path-cross"},
    {"(exit \"x\")", "Non-number to exit"},
    {"(eval 1 2)", "non-frame to eval"},
    {"(make-frame 1)", "non-frame to new-frame"},
    {"(format nil \"x\")", "Sorry, output to string not implemented yet"},
    {"(format \"s\" \"x\")", "Sorry, output to streams not implemented yet"},
    {"(format t 5)", "Format must be a string"},
    {"(format t \"~A\")", "Out of arguments"},
    {"(format t \"~a\" 1)", "Unknown directive to format"},
    {"(format t \"~\")", "Unknown directive to format"},
};

TEST_F(DtlBuiltinsTest, ErrorsRaiseTheLanguageErrorWithTheirMessage) {
  Run("(setq . 0)");
  for (const ValueCase& c : errorCases) ExpectError(c.expression, c.printed);
}

TEST_F(DtlBuiltinsTest, EvalInAGivenFrame) {
  DtlObjPtr frame = DtcMakeFrame(env.environment());
  set1env(DtcIntern("local", frame), DtcMakeInteger(9), frame);
  env.registerValue("small", frame);
  EXPECT_EQ(Show("(eval 'local small)"), "9");
  EXPECT_EQ(Show("(eval '(+ local 1) small)"), "10");
  EXPECT_EQ(ErrorOf("(eval 'local)"), "Error: Unbound symbol local\n");
  const DtlObjPtr child = Eval("(make-frame small)");
  EXPECT_EQ(child->first(), frame);
  env.registerValue("child", child);
  EXPECT_EQ(Show("(eval 'local child)"), "9");
}

TEST_F(DtlBuiltinsTest, FormatPrintsCharactersDirectivesAndArguments) {
  DtlObjPtr result;
  EXPECT_EQ(StdoutOf([&] { result = Eval("(format t \"a~Ab~%\" 5 'extra)"); }), "a5b\n");
  EXPECT_EQ(Printed(result), "nil");
  EXPECT_EQ(StdoutOf([&] { Eval("(format t \"~A and ~A\" \"s\" '(1 2))"); }), "\"s\" and (1 2)");
}

TEST_F(DtlBuiltinsTest, PathCrossWithTooLongAListIsJustTheDot) {
  NotifyCapture capture(1);
  EXPECT_EQ(Show("(path-cross '(\"1\" \"2\" \"3\" \"4\" \"5\" \"6\" \"7\" \"8\") '(\"f\"))"), "\".\"");
  EXPECT_EQ(capture.text(), "DtcListToStr: list too long: 8\n");
  // Long texts are never cut.
  const std::string longDir(3000, 'd');
  const std::string crossed = Eval(("(path-cross '(\"" + longDir + "\") '(\"/f\"))").c_str())->string();
  EXPECT_EQ(crossed, ".:" + longDir + "/f");
}

TEST_F(DtlBuiltinsTest, EnvironmentVariables) {
  unsetenv("DTL_TEST_VAR");
  EXPECT_EQ(Show("(putenv \"DTL_TEST_VAR\" \"v 1\")"), "\"v 1\"");
  EXPECT_STREQ(std::getenv("DTL_TEST_VAR"), "v 1");
  EXPECT_EQ(Show("(getenv \"DTL_TEST_VAR\")"), "\"v 1\"");
  EXPECT_EQ(Show("(putenv \"A=B\" \"x\")"), "nil");  // refused
  unsetenv("DTL_TEST_VAR");
}

TEST_F(DtlBuiltinsTest, PopenCutsLongLinesTo199Characters) {
  const DtlObjPtr lines = Eval("(popen \"head -c 300 /dev/zero | tr '\\0' x; echo; echo y\")");
  ASSERT_TRUE(DtcIs(lines, DtlConsTag));
  EXPECT_EQ(std::string(lines->first()->string()), std::string(199, 'x'));
  EXPECT_STREQ(lines->second()->first()->string(), "y");
}

TEST_F(DtlBuiltinsTest, ExitAndAbortEndTheProcess) {
  EXPECT_EXIT(Eval("(exit 2.7)"), testing::ExitedWithCode(2), "");
  EXPECT_EXIT(Eval("(exit -2.7)"), testing::ExitedWithCode(254), "");
  EXPECT_EXIT(Eval("(exit)"), testing::ExitedWithCode(0), "");
  EXPECT_EXIT(Eval("(exit 3)"), testing::ExitedWithCode(3), "");
  EXPECT_EXIT(Eval("(exit 1e30)"), testing::ExitedWithCode(255), "");
  EXPECT_EXIT(Eval("(abort)"), testing::KilledBySignal(SIGABRT), "");
}

TEST_F(DtlBuiltinsTest, DescribePrintsTheKind) {
  Run("(define (f a) a)");
  EXPECT_EQ(StdoutOf([&] { Eval("(describe 5)"); }), "5 is a fixed-point number\n");
  EXPECT_EQ(StdoutOf([&] { Eval("(describe nil)"); }), "nil isNIL\n");
  EXPECT_EQ(StdoutOf([&] { Eval("(describe 'abc)"); }), "abc is the symbol with name \"abc\"\n");
  EXPECT_EQ(StdoutOf([&] { Eval("(describe 2.5)"); }), "2.500000 is a floating-point number\n");
  EXPECT_EQ(StdoutOf([&] { Eval("(describe '(1))"); }), "(1) is a cons cell\n");
  EXPECT_EQ(StdoutOf([&] { Eval("(describe \"s\")"); }), "\"s\" is a string\n");
  EXPECT_EQ(StdoutOf([&] { Eval("(describe car)"); }), "#<primitive-function car> is a compiled C-function\n");
  EXPECT_NE(StdoutOf([&] { Eval("(describe quote)"); }).find(" is a special form\n"), std::string::npos);
  const std::string procedure = StdoutOf([&] { Eval("(describe f)"); });
  EXPECT_NE(procedure.find(
                " is a lisp procedure\nwith params: (a)\nbody: (a)\nand enclosing environment: #<environment-frame "),
            std::string::npos);
  DtlObjPtr result;
  StdoutOf([&] { result = Eval("(describe 7)"); });
  EXPECT_EQ(Printed(result), "7");
}

TEST_F(DtlBuiltinsTest, Prin1TerpriAndBindings) {
  DtlObjPtr result;
  EXPECT_EQ(StdoutOf([&] { result = Eval("(prin1 '(1 \"a\"))"); }), "(1 \"a\")");
  EXPECT_EQ(Printed(result), "(1 \"a\")");
  EXPECT_EQ(StdoutOf([&] { Eval("(terpri)"); }), "\n");
  EXPECT_EQ(StdoutOf([&] { Eval("(mem)"); }), "Must compile with -DMEMCHK=1 to use mem or DtlMem.\n");

  DtlObjPtr frame = DtcMakeFrame(env.environment());
  set1env(DtcIntern("a", frame), DtcMakeInteger(1), frame);
  set1env(DtcIntern("b", frame), DtcMakeString("x"), frame);
  env.registerValue("small", frame);
  EXPECT_EQ(StdoutOf([&] { Eval("(eval '(bindings) small)"); }), "[97]: a -> 1\n[98]: b -> \"x\"\n");
}

// A frame of thousands of bindings (a large FED file's) still finds each
// one and lists them as the language's 256 buckets, each newest first.
TEST_F(DtlBuiltinsTest, AFrameOfManyBindingsFindsEachAndListsThemByTheLanguagesBuckets) {
  DtlObjPtr frame = DtcMakeFrame(env.environment());
  constexpr int count = 3000;
  std::vector<std::string> buckets(256);
  for (int i = 0; i < count; ++i) {
    const std::string name = "Class" + std::to_string(i);
    set1env(DtcIntern(name.c_str(), frame), DtcMakeInteger(i), frame);
    buckets[DtlHashTable::hash(name.c_str())].insert(0, " " + name + " -> " + std::to_string(i) + "\n");
  }
  EXPECT_EQ(frame->table()->size(), static_cast<std::size_t>(count));
  for (int i = 0; i < count; i += 7) {
    EXPECT_EQ(Printed(DtcSymeval(DtcIntern(("Class" + std::to_string(i)).c_str(), frame), frame)), std::to_string(i));
  }
  std::string expected;
  for (int b = 0; b < 256; ++b) {
    if (!buckets[b].empty()) expected += "[" + std::to_string(b) + "]:" + buckets[b];
  }
  env.registerValue("large", frame);
  EXPECT_EQ(StdoutOf([&] { Eval("(eval '(bindings) large)"); }), expected);
}

TEST_F(DtlBuiltinsTest, LoadAFileOrAlongAPath) {
  ScratchDirectory dir;
  const std::string file = dir.write("a.mtl", "(setq a 1) (setq b (+ a 1))");
  NotifyCapture capture(1);
  EXPECT_EQ(Show(("(load \"" + file + "\")").c_str()), "b");
  EXPECT_EQ(Show("b"), "2");
  dir.write("b.mtl", "(setq c 3)");
  EXPECT_EQ(Show(("(load '(\"/nonexistent\" \"" + dir.path() + "\") \"b.mtl\")").c_str()), "c");
  EXPECT_EQ(Show(("(load '(\"" + dir.path() + "/\") \"b.mtl\")").c_str()), "c");
  EXPECT_EQ(capture.text(), "");
  EXPECT_EQ(Show("(load \"/nonexistent/x.mtl\")"), "nil");
  EXPECT_EQ(capture.text(), "Couldn't open /nonexistent/x.mtl\n");
  capture.clear();
  EXPECT_EQ(Show("(load '(\"/nonexistent\") \"x.mtl\")"), "nil");
  EXPECT_EQ(capture.text(), "Couldn't find x.mtl\n");
  std::string result;
  EXPECT_EQ(StderrOf([&] { result = Show("(load 5)"); }), "Lisp Error: Wrong type arg to DtlLoad 5");
  EXPECT_EQ(result, "nil");
}

}  // namespace
