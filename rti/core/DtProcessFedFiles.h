#pragma once
// DtProcessFedFiles: the FED file that a create in this process gave for a
// federation execution, whichever ambassador made it, so that every
// federate of the process that joins the execution reads that file. A
// later create of the name (by any ambassador) replaces the file; a
// manager's own mappings (DtFederateMgr) come before these.
//
// Process-wide and thread safe.

#include <optional>

#include "util/DtString.h"

class DtProcessFedFiles {
public:
  static void remember(const DtString& executionName, const DtString& fedFile);
  // The file of the latest create of the name in this process, if any.
  static std::optional<DtString> find(const DtString& executionName);
  // Forgets every name (for tests that start afresh).
  static void clear();
};
