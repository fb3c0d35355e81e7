// The rtiexec's console commands, from a table: each case sets up its
// executions, types its lines, and gets the results, the printed text and
// the resign messages sent on the federates' behalf.

#include <gtest/gtest.h>

#include <functional>
#include <utility>

#include "ExecTestSupport.h"

using namespace exectest;

namespace {

// X with federates 1 (A) and 3 (C), Y with 3 (E), Z with none.
void threeExecutions(ExecHarness& h) {
  h.create("X");
  h.create("Y");
  h.create("Z");
  h.joinAndConfirm("X", "A", 11, 1, 1);
  h.join("X", "B", 12);
  h.joinAndConfirm("X", "C", 13, 3, 1);
  h.join("Y", "D", 14);
  h.join("Y", "D2", 15);
  h.joinAndConfirm("Y", "E", 16, 3, 2);
}

const char* const quitHeader = "\nAttempting to quit. Checking for active federations.\n\n";
const char* const proceed = "Proceed with quit anyway?\n  yes(y) = continue with quit\n  no(n) = cancel quit\n";
const char* const options =
    "\nListing options:\n  quit(q) = quit\n  list(l) = list all federates\n"
    "  delete(d) <handle> <name> = delete federate by handle\n\n";

struct ConsoleCase {
  const char* name;
  std::function<void(ExecHarness&)> setup;
  std::vector<std::pair<const char*, int>> lines;  // typed, and what each returns
  std::string printed;
  std::vector<std::string> sent;
};

const ConsoleCase cases[] = {
    {"QuitWithoutExecutionsEndsAtOnce", [](ExecHarness&) {}, {{"q\n", -1}}, quitHeader, {}},
    {"QuitAsksWhileExecutionsExistAndWaitsForAnAnswer",
     threeExecutions,
     {{"quit\n", 1}, {"maybe\n", 0}, {"n\n", 0}, {"q\n", 1}, {"yes\n", -1}},
     std::string(quitHeader) +
         "Federation X is still active.\n   1\tA\n   3\tC\nFederation Y is still active.\n   3\tE\n" +
         "Federation Z is still active.\n" +
         "\nQuiting RTI Executive while federates are still joined\n is known to cause abnormal behavior!\n" + proceed +
         "Quit must be confirmed:\n  yes(y) = confirm\n  no(n) = cancel\n" + "\nQuit canceled!\n" + quitHeader +
         "Federation X is still active.\n   1\tA\n   3\tC\nFederation Y is still active.\n   3\tE\n" +
         "Federation Z is still active.\n" +
         "\nQuiting RTI Executive while federates are still joined\n is known to cause abnormal behavior!\n" + proceed,
     {}},
    {"AnyLineBeginningWithLLists",
     threeExecutions,
     {{"lamp\n", 0}},
     "\nFederates for X:\n   1\tA\n   3\tC\nFederates for Y:\n   3\tE\nNo federates are currently joined to Z\n",
     {}},
    {"WithoutExecutionsListAndDeleteSaySo",
     [](ExecHarness&) {},
     {{"list\n", 0}, {"d 3\n", 0}},
     "\nNo federation execution exists!\n\nNo federation execution exists!\n",
     {}},
    {"DeleteNeedsAHandle",
     threeExecutions,
     {{"d\n", 0}, {"delete 0\n", 0}, {"dx\n", 0}},
     "\nNo handle given\n\nNo handle given\n\nNo handle given\n",
     {}},
    {"DeleteOfAMissingExecution", threeExecutions, {{"d 3 Q\n", 0}}, "\nFederation execution Q does not exist!\n", {}},
    {"DeleteWithoutANameResignsTheHandleInEveryExecution",
     threeExecutions,
     {{"d 3\n", 0}},
     "\nResign: federate 3 has resigned X.\nResign: federate 3 has resigned Y.\n",
     {"Resign 3 action=3 exec=1", "Resign 3 action=3 exec=2"}},
    {"DeleteWithANameResignsOnlyThere",
     threeExecutions,
     {{"delete\t3  Y \r\n", 0}},
     "\nResign: federate 3 has resigned Y.\n",
     {"Resign 3 action=3 exec=2"}},
    {"DeleteOfAHandleNobodyHas",
     threeExecutions,
     {{"d 2\n", 0}, {"d 99999999999 X\n", 0}},
     "\nNo federate has handle 2\n\nNo federate has handle 4294967295\n",
     {}},
    {"AnUnknownCommandListsTheOptions",
     threeExecutions,
     {{"hello\n", 0}},
     std::string("\nUnrecognized command: hello\n\n") + options,
     {}},
};

void PrintTo(const ConsoleCase& c, std::ostream* out) { *out << c.name; }

class RtiExecConsole : public ::testing::TestWithParam<ConsoleCase> {};

TEST_P(RtiExecConsole, AnswersEachLine) {
  const ConsoleCase& c = GetParam();
  ExecHarness harness;
  c.setup(harness);
  harness.takeSent();
  NotifyCapture capture(2);
  for (const auto& [line, result] : c.lines) EXPECT_EQ(harness.exec().processCommand(line), result) << line;
  EXPECT_EQ(capture.text(), c.printed);
  EXPECT_EQ(harness.takeSent(), c.sent);
}

INSTANTIATE_TEST_SUITE_P(Table, RtiExecConsole, ::testing::ValuesIn(cases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
