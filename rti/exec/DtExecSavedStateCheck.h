#pragma once
// DtExecSavedStateCheck: whether the numbers of an rtiexec save file agree
// with the rest of it, beyond each being well formed: the federate handles
// are distinct, not 0, and below the next handle to give (so that a joiner
// after the restore cannot get a handle a restored federate holds); the
// designated federate and the least next-event federate are 0 or below it
// too; a synchronization point names no handle at or above it; each time
// record belongs to a federate of the file, once; and every time list and
// the constrained sync's waiting list name federates of the file.

#include <string>

struct DtExecSavedState;

class DtExecSavedStateCheck {
public:
  // What does not agree; empty when all does.
  static std::string fault(const DtExecSavedState& state);
};
