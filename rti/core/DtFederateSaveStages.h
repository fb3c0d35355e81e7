#pragma once
// DtFederateSaveStages: a federate's save file, written and read by its
// managers in the file's order: the federate manager's own record, the class
// tree, the time manager (when the federate has one: its state and queued
// messages), the data distribution manager (when it has one: its channels
// and regions), the interaction manager, the object manager and the MOM
// manager (while it is joined: its switches and its two objects). Each stage
// is traced at level 3 before and after. A stage that reports failure or
// throws stops the run: the later stages are neither written nor read (what
// they would find is no longer where they expect it), a line at level 1 says
// which stage, and the run reports failure, so that the federate's save or
// restore is not taken for a whole one.
//
// Used on the federate's thread, for one save or one restore.

class DtFederateMgr;
class DtRtiSaveFile;

class DtFederateSaveStages {
public:
  explicit DtFederateSaveStages(DtFederateMgr& mgr) : mgr_(mgr) {}

  // True when every stage wrote all of its records.
  bool save(DtRtiSaveFile& file);
  // True when every stage read its records back.
  bool restore(DtRtiSaveFile& file);

private:
  DtFederateMgr& mgr_;
};
