#pragma once
// DtRestoreUndo: a federate's state as it was before it took its share of a
// federation restore, kept so that a restore that fails anywhere (its own
// file or another federate's) leaves it as it was. The state is written by
// the federate's managers, as a save writes it, to a private file in the
// system's temporary folder, read back by them on rollBack(), and removed
// when it is no longer needed.
//
// Used on the federate's thread, for one restore at a time.

#include <string>

class DtFederateMgr;

class DtRestoreUndo {
public:
  DtRestoreUndo() = default;
  DtRestoreUndo(const DtRestoreUndo&) = delete;
  DtRestoreUndo& operator=(const DtRestoreUndo&) = delete;
  ~DtRestoreUndo();

  // Keeps the federate's state now; false (nothing kept) when it could not
  // be written whole.
  bool take(DtFederateMgr& mgr);
  // Puts the kept state back, then forgets it; false when nothing was kept
  // or it could not be read back whole.
  bool rollBack(DtFederateMgr& mgr);
  // The restore held: the kept state goes.
  void forget();
  bool holds() const { return !path_.empty(); }

private:
  std::string path_;
};
