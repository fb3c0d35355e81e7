#include <unistd.h>

#include <cmath>
#include <cstring>
#include <stdexcept>
#include <string>
#include <thread>

#include "LispTestSupport.h"
#include "config/DtlCons.h"
#include "config/DtlLoader.h"
#include "config/DtlParam.h"

namespace {

class DtMtlEnvironmentTest : public LispTest {
protected:
  DtMtlEnvironmentTest() {
    env.registerVariable("RTI_udpPort", &udpPort);
    env.registerVariable("RTI_destAddrString", &destAddr);
    env.registerVariable("RTI_IOPeriod", &ioPeriod);
  }

  int udpPort = 4000;
  const char* destAddr = "229.7.7.7";
  float ioPeriod = 0.01f;
  ScratchDirectory dir;
};

TEST_F(DtMtlEnvironmentTest, HostValuesArePushedBeforeAndPulledAfterALoad) {
  EXPECT_EQ(Show("RTI_udpPort"), "4000");
  EXPECT_EQ(Show("RTI_destAddrString"), "\"229.7.7.7\"");
  udpPort = 4100;  // the host changes it: the next load sees that
  Run("(setq seen RTI_udpPort) (setq RTI_udpPort 5000) (setq RTI_destAddrString \"224.1.2.3\")");
  EXPECT_EQ(Show("seen"), "4100");
  EXPECT_EQ(udpPort, 5000);
  EXPECT_STREQ(destAddr, "224.1.2.3");
  // The host text is the interpreter's own string, valid while bound.
  EXPECT_EQ(destAddr, env.value("RTI_destAddrString")->string());
}

template <typename T>
struct BindingCase {
  const char* assignment;  // the Lisp value given to v
  T host;                  // what the host variable then holds
};

template <typename T>
void CheckBinding(T initial, const char* pushed, std::initializer_list<BindingCase<T>> cases) {
  DtMtlEnvironment env;
  T variable = initial;
  ASSERT_EQ(env.registerVariable("v", &variable), 1);
  EXPECT_EQ(Printed(env.value("v")), pushed);
  for (const BindingCase<T>& c : cases) {
    SCOPED_TRACE(c.assignment);
    env.loadExpr((std::string("(setq v ") + c.assignment + ")").c_str());
    EXPECT_EQ(variable, c.host);
  }
}

TEST(DtMtlEnvironmentBinding, EachHostType) {
  CheckBinding<std::uint16_t>(65535, "65535", {{"70000", 4464}, {"-1", 65535}, {"7", 7}});
  CheckBinding<std::int16_t>(-5, "-5", {{"40000", -25536}, {"-2", -2}});
  CheckBinding<std::uint32_t>(0xFFFFFFFFu, "-1", {{"3000000000", 3000000000u}, {"-1", 0xFFFFFFFFu}, {"0x10", 16u}});
  CheckBinding<int>(-7, "-7", {{"2147483647", 2147483647}, {"12", 12}});
  CheckBinding<double>(2.5, "2.500000", {{"0.125", 0.125}, {"3", 3.0}});
  CheckBinding<float>(0.25f, "0.250000", {{"1.5", 1.5f}, {"-2", -2.0f}, {"1e300", INFINITY}});
}

TEST(DtMtlEnvironmentBinding, StringVariables) {
  DtMtlEnvironment env;
  const char* unset = nullptr;
  ASSERT_EQ(env.registerVariable("s", &unset), 1);
  EXPECT_EQ(Printed(env.value("s")), "\"\"");  // a null text pushes as empty
  env.loadExpr("(setq s (string-append \"a\" \"b\"))");
  EXPECT_STREQ(unset, "ab");
  // Unchanged by a load that leaves it alone; re-pointed by one that sets it.
  const char* before = unset;
  env.loadExpr("(setq other 1)");
  EXPECT_EQ(unset, before);
  env.loadExpr("(setq s \"c\")");
  EXPECT_STREQ(unset, "c");
  // A later value of the wrong kind drops the Lisp string, yet the host keeps
  // its text, still readable.
  StderrOf([&] { env.loadExpr("(setq s 5)"); });
  EXPECT_STREQ(unset, "c");
  env.loadExpr("(setq seen s)");
  EXPECT_EQ(Printed(env.value("seen")), "\"c\"");
}

TEST_F(DtMtlEnvironmentTest, ValueOfTheWrongKindWarnsAndKeepsTheHostValue) {
  std::string warnings =
      StderrOf([&] { Run("(setq RTI_udpPort 2.5) (setq RTI_destAddrString 5) (setq RTI_IOPeriod \"x\")"); });
  EXPECT_EQ(warnings,
            "Lisp Warning: Variable RTI_udpPort should be an integer, not 2.500000"
            "Lisp Warning: Variable RTI_destAddrString should be a string, not 5"
            "Lisp Warning: Variable RTI_IOPeriod should be a float, not \"x\"");
  EXPECT_EQ(udpPort, 4000);
  EXPECT_STREQ(destAddr, "229.7.7.7");
  EXPECT_FLOAT_EQ(ioPeriod, 0.01f);
  // The next load puts the host value back into Lisp.
  Run("(setq seen RTI_udpPort)");
  EXPECT_EQ(Show("seen"), "4000");
  // Silent below level 1.
  DtSetNotifyLevel(0);
  EXPECT_EQ(StderrOf([&] { Run("(setq RTI_udpPort 2.5)"); }), "");
  DtSetNotifyLevel(2);
}

TEST_F(DtMtlEnvironmentTest, RegisteringABoundNameIsRefused) {
  NotifyCapture capture(1);
  int other = 1;
  EXPECT_EQ(env.registerVariable("RTI_udpPort", &other), 0);
  EXPECT_EQ(env.registerVariable("car", &other), 0);
  EXPECT_EQ(capture.text(), "DtcRegister: RTI_udpPort is already bound\nDtcRegister: car is already bound\n");
  EXPECT_EQ(Show("RTI_udpPort"), "4000");
  // A name that was only read (bound to *unbound*) may still be registered.
  Run("'later");
  EXPECT_EQ(env.registerVariable("later", &other), 1);
  EXPECT_EQ(Show("later"), "1");
}

TEST_F(DtMtlEnvironmentTest, LoadFileKeepsEveryGoodForm) {
  NotifyCapture capture(2);
  const std::string evalError = dir.write("eval.mtl", "(setq RTI_udpPort 5001)\n(setq x (car nil))\n(setq y 3)\n");
  EXPECT_EQ(Printed(env.loadFile(evalError.c_str(), 1)), "y");
  EXPECT_EQ(udpPort, 5001);
  EXPECT_EQ(Show("y"), "3");
  EXPECT_EQ(capture.text(), "Loading Config File: " + evalError + "\nError: car of non-cons\n");

  const std::string syntaxError = dir.write("syntax.mtl", "(setq RTI_udpPort 5002)\n)\n(setq z 3)\n");
  EXPECT_EQ(Printed(env.loadFile(syntaxError.c_str(), 1)), "RTI_udpPort");
  EXPECT_EQ(udpPort, 5002);
  EXPECT_FALSE(env.value("z"));

  const std::string onlyBad = dir.write("bad.mtl", "(setq RTI_udpPort (car nil))");
  EXPECT_FALSE(env.loadFile(onlyBad.c_str(), 1));
  const std::string empty = dir.write("empty.mtl", "; nothing but a comment");
  EXPECT_FALSE(env.loadFile(empty.c_str(), 1));

  capture.clear();
  EXPECT_FALSE(env.loadFile((dir.path() + "/missing.mtl").c_str(), 0));
  EXPECT_EQ(capture.text(), "");
  EXPECT_FALSE(env.loadFile((dir.path() + "/missing.mtl").c_str(), 1));
  EXPECT_EQ(capture.text(), "Couldn't open " + dir.path() + "/missing.mtl\n");
}

TEST_F(DtMtlEnvironmentTest, LoadFromPathTriesEachDirectory) {
  dir.write("rid.mtl", "(setq RTI_udpPort 6000)");
  NotifyCapture capture(1);
  const DtlObjPtr path = Eval(("'(\"/nonexistent\" \"" + dir.path() + "\")").c_str());
  EXPECT_EQ(Printed(env.loadFileFromPath(path, "rid.mtl", 1)), "RTI_udpPort");
  EXPECT_EQ(udpPort, 6000);
  EXPECT_EQ(Printed(env.loadFileFromPath(path, "other.mtl", 1)), "nil");
  EXPECT_EQ(capture.text(), "Couldn't find other.mtl\n");
  EXPECT_EQ(Printed(env.loadFileFromPath(DtlNil(), "rid.mtl", 0)), "nil");
}

// A host variable whose hand-over or taking back throws when told to.
class RefusingParam : public DtlParam {
public:
  RefusingParam() : DtlParam("RTI_refusing") {}
  DtlObjPtr defaultValue() const override { return DtcMakeInteger(0); }
  void push() override {
    if (refusePush) throw std::runtime_error("push refused");
  }
  bool pull() override {
    if (refusePull) throw std::runtime_error("pull refused");
    return false;
  }
  bool refusePush = false;
  bool refusePull = false;
};

TEST_F(DtMtlEnvironmentTest, AFailingStepOfALoadIsReportedAsAnErrorAndTheLoadGoesOn) {
  auto* refusing = new RefusingParam;  // the frame owns it
  ASSERT_EQ(DtcRegister(refusing, env.environment()), 1);
  const std::string file = dir.write("rid.mtl", "(setq RTI_udpPort 6000)");
  refusing->refusePush = refusing->refusePull = true;
  NotifyCapture capture(1);
  env.loadFile(file.c_str(), 1);
  EXPECT_EQ(udpPort, 6000);  // loaded and taken back all the same
  EXPECT_EQ(capture.text(), "Configuration: handing the host variables over before loading " + file +
                                " failed: push refused\nConfiguration: taking the host variables back after loading " +
                                file + " failed: pull refused\n");

  // A load that stops at a language error says so after the error itself.
  refusing->refusePush = refusing->refusePull = false;
  capture.clear();
  EXPECT_EQ(Printed(env.loadFileFromPath(Eval("'(5)"), "rid.mtl", 1)), "nil");
  EXPECT_EQ(capture.text(),
            "Error: Non-string in directory list\n"
            "Configuration: loading rid.mtl failed: a configuration language error: Non-string in directory list\n");
}

TEST_F(DtMtlEnvironmentTest, EvalStringFormsAssignmentsAndFiles) {
  env.evalString("(setq RTI_udpPort 5000)", 1);
  EXPECT_EQ(udpPort, 5000);
  char assignment[] = "RTI_udpPort=5001";
  EXPECT_EQ(Printed(env.evalString(assignment, 1)), "RTI_udpPort");
  EXPECT_EQ(udpPort, 5001);
  EXPECT_STREQ(assignment, "RTI_udpPort=5001");  // the caller's text is untouched
  // No limit on the length of an assignment.
  const std::string address(200, '9');
  env.evalString(("RTI_destAddrString=\"" + address + "\"").c_str(), 1);
  EXPECT_EQ(destAddr, address);
  const std::string file = dir.write("f.mtl", "(setq RTI_udpPort 5002)");
  env.evalString(file.c_str(), 1);
  EXPECT_EQ(udpPort, 5002);
  // An assignment to a name nobody bound only warns.
  NotifyCapture capture(1);
  EXPECT_EQ(Printed(env.evalString("nobody=1", 1)), "nil");
  EXPECT_EQ(capture.text(), "Lisp Warning: can't set unbound variable: nobody\n");
}

TEST_F(DtMtlEnvironmentTest, NotifyLevelIsAConfigurationVariable) {
  const std::string file = dir.write("level.mtl", "(setq DtNotifyLevel 4)");
  env.loadFile(file.c_str(), 0);
  EXPECT_EQ(DtGetNotifyLevel(), 4);
  DtSetNotifyLevel(3);
  EXPECT_EQ(Printed(env.loadExpr("DtNotifyLevel")), "3");
  DtSetNotifyLevel(2);
}

DtlObjPtr Twice(const DtlObjPtr& args, const DtlObjPtr&) { return DtcMakeInteger(2 * car(args)->intValue()); }

DtlObjPtr Unevaluated(const DtlObjPtr& args, const DtlObjPtr&) { return args; }

TEST_F(DtMtlEnvironmentTest, HostFunctionsFormsAndValues) {
  EXPECT_EQ(Printed(env.registerFunction("twice", Twice)), "twice");
  EXPECT_EQ(Printed(env.registerSpecialForm("raw", Unevaluated)), "raw");
  EXPECT_EQ(Printed(env.registerValue("answer", DtcMakeInteger(42))), "answer");
  EXPECT_EQ(Show("(twice (+ 1 2))"), "6");
  EXPECT_EQ(Show("(raw (+ 1 2) x)"), "((+ 1 2) x)");
  EXPECT_EQ(Show("answer"), "42");
  EXPECT_EQ(Printed(env.value("answer")), "42");
  EXPECT_FALSE(env.value("no-such-name"));
  EXPECT_TRUE(DtcIs(env.environment(), DtlFrameTag));
}

TEST_F(DtMtlEnvironmentTest, PrintRegisteredReadsBackAsAConfiguration) {
  udpPort = 5005;
  destAddr = "a b";
  ioPeriod = 0.5f;
  Run("(setq unrelated 1)");
  const std::string printed = StdoutOf([&] { Run("(print-registered)"); });
  EXPECT_EQ(printed,
            "(setqb DtNotifyLevel 2)\n(setqb RTI_udpPort 5005)\n(setqb RTI_destAddrString \"a b\")\n"
            "(setqb RTI_IOPeriod 0.500000)\n");

  DtMtlEnvironment other;
  int port = 0;
  const char* address = "";
  float period = 0;
  other.registerVariable("RTI_udpPort", &port);
  other.registerVariable("RTI_destAddrString", &address);
  other.registerVariable("RTI_IOPeriod", &period);
  other.loadExpr(printed.c_str());
  EXPECT_EQ(port, 5005);
  EXPECT_STREQ(address, "a b");
  EXPECT_FLOAT_EQ(period, 0.5f);
}

TEST(DtMtlEnvironmentThreads, InterpretersOnSeveralThreads) {
  // Each thread owns its interpreter; they share only nil, t, *unbound* and
  // the notify level.
  const auto work = [](int seed, int* out) {
    DtMtlEnvironment env;
    int value = 0;
    env.registerVariable("v", &value);
    for (int i = 0; i < 200; ++i)
      env.loadExpr(("(setq f (lambda (n) (if (= n 0) t (f (- n 1))))) (f 20) (setq v (+ " + std::to_string(seed) + " " +
                    std::to_string(i) + "))")
                       .c_str());
    *out = value;
  };
  int a = 0;
  int b = 0;
  std::thread first(work, 1000, &a);
  std::thread second(work, 2000, &b);
  first.join();
  second.join();
  EXPECT_EQ(a, 1199);
  EXPECT_EQ(b, 2199);
}

}  // namespace
