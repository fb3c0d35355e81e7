#include "config/DtRIDBuiltins.h"

#include <strings.h>

#include <mutex>
#include <unordered_map>

#include "config/DtMtlEnvironment.h"
#include "config/DtMulticastDefinition.h"
#include "config/DtRIDLists.h"
#include "config/DtRIDParameters.h"
#include "config/DtlCons.h"
#include "config/DtlError.h"
#include "config/DtlObj.h"
#include "util/DtFilename.h"
#include "util/DtNotify.h"

namespace {

// Global frame -> lists. Interpreters may live on different threads (one
// ambassador each), hence the lock; a load only touches its own entry.
std::mutex registryMutex;
std::unordered_map<const DtlObj*, DtRIDLists*>& registry() {
  static auto* const map = new std::unordered_map<const DtlObj*, DtRIDLists*>;
  return *map;
}

DtRIDLists& listsOf(const DtlObjPtr& frame, const char* builtin) {
  const DtlObj* global = frame.get();
  while (global && global->first()) global = global->first().get();  // a frame's first is its parent
  std::lock_guard<std::mutex> lock(registryMutex);
  const auto found = registry().find(global);
  if (found == registry().end()) DtlErrorf("%s: no RID parameters to add to", builtin);
  return *found->second;
}

// The first `count` arguments, each a string, else the built-in's error.
void checkStrings(const DtlObjPtr& args, int count, const char* message) {
  const DtlObjPtr* cell = &args;
  for (int i = 0; i < count; ++i, cell = &(*cell)->second()) {
    if (!DtcIs(*cell, DtlConsTag) || !DtcIs((*cell)->first(), DtlStringTag)) DtlError(message);
  }
}

const char* stringAt(const DtlObjPtr& args, int n) { return DtcNth(args, n)->name(); }

DtlObjPtr addDestAddrString(const DtlObjPtr& args, const DtlObjPtr& frame) {
  static const char* const name = "RTI-addDestAddrString";
  checkStrings(args, 1, "RTI-addDestAddrString: need a string");
  if (!listsOf(frame, name).addDestination(stringAt(args, 1))) {
    DtNotifyError("%s: at most %u destination addresses, %s is left out\n", name, DtRIDLists::maxDestinations,
                  stringAt(args, 1));
  }
  return car(args);
}

DtMulticastDefinition* multicastDefinition(const DtlObjPtr& args, const char* message) {
  checkStrings(args, 3, message);
  const char* word = stringAt(args, 3);
  std::uint8_t inclusive = 0;
  if (strcasecmp(word, "inclusive") == 0) {
    inclusive = 1;
  } else if (strcasecmp(word, "exclusive") != 0) {
    DtNotifyError(" DM region not defined inclusive or exclusive,assuming exclusive ");
  }
  return new DtMulticastDefinition(stringAt(args, 1), DtRIDParameters::addressOf(stringAt(args, 2)), inclusive);
}

DtlObjPtr addDMObjectMulticastAddr(const DtlObjPtr& args, const DtlObjPtr& frame) {
  DtRIDLists& lists = listsOf(frame, "RTI-addDMObjectMulticastAddr");
  lists.addObjectMulticast(multicastDefinition(args, "RTI-addDMObjectMulticastAddr: needs 3 strings"));
  return car(args);
}

DtlObjPtr addDMInteractionMulticastAddr(const DtlObjPtr& args, const DtlObjPtr& frame) {
  DtRIDLists& lists = listsOf(frame, "RTI-addDMInteractionMulticastAddr");
  lists.addInteractionMulticast(multicastDefinition(args, "RTI-addDMInteractionMulticastAddr: needs 3 strings"));
  return car(args);
}

DtlObjPtr addPluginName(const DtlObjPtr& args, const DtlObjPtr& frame) {
  checkStrings(args, 1, "RTI-addPluginName: needs a string");
  listsOf(frame, "RTI-addPluginName").addPluginName(new DtFilename(stringAt(args, 1)));
  return car(args);
}

}  // namespace

DtRIDBuiltins::DtRIDBuiltins(DtMtlEnvironment& environment, DtRIDLists& lists)
    : frame_(environment.environment().get()) {
  {
    std::lock_guard<std::mutex> lock(registryMutex);
    registry()[frame_] = &lists;
  }
  environment.registerFunction("RTI-addDestAddrString", addDestAddrString);
  environment.registerFunction("RTI-addDMObjectMulticastAddr", addDMObjectMulticastAddr);
  environment.registerFunction("RTI-addDMInteractionMulticastAddr", addDMInteractionMulticastAddr);
  environment.registerFunction("RTI-addPluginName", addPluginName);
}

DtRIDBuiltins::~DtRIDBuiltins() {
  std::lock_guard<std::mutex> lock(registryMutex);
  registry().erase(frame_);
}
