// An execution's time management in its save file: written through the
// file's text and tail and read into another execution's time management,
// which then answers every federate as the saved one does, a held
// regulation request and a running constrained sync included.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ExecTimeScript.h"
#include "exec/DtExecSaveFile.h"
#include "rti/util/NotifyCapture.h"

namespace {

using exectime::Script;

// Through the bytes of a save file and back.
DtExecSavedState throughTheFile(const DtExecSavedState& state) {
  std::string reason;
  const std::optional<std::string> bytes = DtExecSaveFile::format(state, "L", "now\n", &reason);
  EXPECT_TRUE(bytes) << reason;
  const std::optional<DtExecSavedState> back = bytes ? DtExecSaveFile::parse(*bytes, &reason) : std::nullopt;
  EXPECT_TRUE(back) << reason;
  return back ? *back : DtExecSavedState{};
}

TEST(ExecTimeSave, ARestoredTimeManagementAnswersAsTheSavedOne) {
  Script saved;
  // A regulator, also constrained (holding infinity), in a next-event
  // cycle; another constrained federate and a pending one; then a second
  // regulator asks: its request is held and a constrained sync runs.
  for (const char* line : {"reg 1 0 1", "con 1 0 1", "con 4 0 1", "con 3 5 1", "ner 1 3 1 0", "reg 2 1 2"}) {
    saved.run(line);
  }
  const std::string before = saved.state();
  ASSERT_EQ(before, "state reg=1 con=2 pend=1 held=1 sync=2 awaited=1 cycle=1");
  DtExecSavedState state;
  saved.time().saveState(state);

  Script restored;
  restored.run("reg 9 0 1");  // a state of its own, replaced
  restored.connections().take();
  restored.time().restoreState(throughTheFile(state));
  EXPECT_EQ(restored.state(), before);
  DtExecSavedState again;
  restored.time().saveState(again);
  EXPECT_TRUE(again == state);
  // Both go on alike: the sync ends, the held request is carried out.
  // (A next-event cycle that ran at the save raises nothing after the
  // restore: its answers are asked for again in a new cycle.)
  for (const char* line : {"sync 1 0 1", "sync 4 0 1", "tar 1 3 1", "resign 2", "state"}) {
    EXPECT_EQ(restored.run(line), saved.run(line)) << line;
  }
}

TEST(ExecTimeSave, AfterARestoreTheRegulatorsBoundGoesToEveryone) {
  Script saved;
  saved.run("reg 1 2 1");
  saved.run("reg 2 5 1");
  DtExecSavedState state;
  saved.time().saveState(state);
  Script restored;
  restored.time().restoreState(state);
  restored.time().announceBounds();
  EXPECT_EQ(restored.connections().take(), std::vector<std::string>{"56 fed=1 lbts=3 lag=6"});
  Script empty;
  empty.time().announceBounds();
  EXPECT_TRUE(empty.connections().take().empty());
}

TEST(ExecTimeSave, RecordsThatCannotBeReadAreLeftOut) {
  Script saved;
  saved.run("reg 1 0 1");
  saved.run("con 2 0 1");
  DtExecSavedState state;
  saved.time().saveState(state);
  state.timeRecords[0].lookahead = "bad";
  Script restored;
  NotifyCapture capture(1);
  restored.time().restoreState(state);
  EXPECT_NE(capture.text().find("Failed to read time info in set\n"), std::string::npos);
  EXPECT_NE(capture.text().find("Time info not found for federate handle 1\n"), std::string::npos);
  EXPECT_EQ(restored.state(), "state reg=0 con=1 pend=0 held=0 sync=0 awaited=0 cycle=0");
}

}  // namespace
