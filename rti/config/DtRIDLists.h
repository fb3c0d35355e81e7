#pragma once
// DtRIDLists: what a RID file collects through the four RID built-ins of
// DtRIDBuiltins: destination addresses, the data-distribution multicast
// definitions of object and interaction classes, and plug-in names. Each
// DtRIDParameters has its own, so one load never sees another's entries.
//
// It owns what its lists hold (DtMulticastDefinition and DtFilename items).
// Used on the thread that loads the RID file.

#include <cstdint>
#include <vector>

#include "util/DtList.h"
#include "util/DtString.h"

class DtFilename;
class DtMulticastDefinition;

class DtRIDLists {
public:
  static constexpr std::uint32_t maxDestinations = 200;

  DtRIDLists() = default;
  DtRIDLists(const DtRIDLists&) = delete;
  DtRIDLists& operator=(const DtRIDLists&) = delete;
  ~DtRIDLists();

  // Appends a copy of the text; false (and nothing added) once the list
  // holds maxDestinations.
  bool addDestination(const char* text);
  // Take ownership of the entry.
  void addObjectMulticast(DtMulticastDefinition* definition);
  void addInteractionMulticast(DtMulticastDefinition* definition);
  void addPluginName(DtFilename* name);

  const std::vector<DtString>& destinations() const { return destinations_; }
  const DtList& objectMulticasts() const { return objectMulticasts_; }
  const DtList& interactionMulticasts() const { return interactionMulticasts_; }
  const DtList& pluginNames() const { return pluginNames_; }

private:
  std::vector<DtString> destinations_;
  DtList objectMulticasts_;       // of DtMulticastDefinition
  DtList interactionMulticasts_;  // of DtMulticastDefinition
  DtList pluginNames_;            // of DtFilename
};
