#pragma once
// DtMomHandleCache: the class and parameter handles of the MOM interaction
// classes that a federate sends all the time (a ReportServiceInvocation at
// every service call while calls are reported, an Alert at every failure),
// looked up in the FOM once, at join, so that sending one does not look its
// names up again. A class is known by its parameter table and its name: a
// subclass with a table of its own is not taken for its base. A class (or
// parameter) that the FOM lacks is not kept; its interactions take the long
// way, which fails as it always did.
//
// Filled at join and emptied at resign, on the thread that joins; read on
// the threads that send.

#include <cstdint>
#include <span>
#include <vector>

#include "RTI.hh"
#include "mom/DtMomParameter.h"

class DtFomClassMgr;
class DtMomInteraction;

class DtMomHandleCache {
public:
  struct Entry {
    const char* className;
    const DtMomParameter* table;
    std::uint32_t classHandle;
    std::vector<RTI::ParameterHandle> parameters;  // one per row of the table
  };

  // Looks the interaction's class and parameters up in the FOM and keeps
  // them; nothing when one of them is missing.
  void add(const DtFomClassMgr& fom, const DtMomInteraction& interaction);
  // The entry of the interaction's class, or null.
  const Entry* find(const DtMomInteraction& interaction) const;
  void clear() { entries_.clear(); }

private:
  std::vector<Entry> entries_;
};
