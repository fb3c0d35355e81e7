// The object counts per class that the management object model reports:
// objects owned, objects updated and objects reflected.
#include <vector>

#include "objects/DtFomClassMgr.h"
#include "objects/DtObjectMgr.h"
#include "objects/DtRtiObject.h"
#include "objects/DtTallySink.h"

namespace {

// Counts the objects of the list that `counted` accepts under their actual
// class, then hands the sink one set per class in ascending handle order:
// every class, or only those with a count. Handles that name no class (the
// model leaves gaps) are never reported.
template <class Counted>
void tally(const DtFomClassMgr* fom, const DtList& objects, bool zerosToo, DtTallySink& sink, Counted&& counted) {
  const int classes = fom ? fom->numClasses() : 0;
  if (classes <= 0) return;
  std::vector<std::uint32_t> counts(static_cast<std::size_t>(classes), 0);
  for (const DtListItem* item = objects.head(); item; item = item->next()) {
    const auto* object = static_cast<const DtRtiObject*>(item->data());
    const std::uint32_t theClass = object->actualClassHandle();
    if (theClass < counts.size() && counted(*object)) ++counts[theClass];
  }
  for (std::uint32_t theClass = 0; theClass < counts.size(); ++theClass) {
    if (!fom->classByHandle(theClass)) continue;
    if (counts[theClass] == 0 && !zerosToo) continue;
    auto set = std::make_unique<DtMtallySet>();
    set->setTally(counts[theClass], RTI::RTI_FALSE, DtBestEffort);
    set->setHandle(theClass);
    sink.adopt(std::move(set));
  }
}

}  // namespace

void DtObjectMgr::getObjectsOwned(DtTallySink& sink) const {
  tally(fom_, ownedObjects(), false, sink, [](const DtRtiObject& o) { return o.ownPriviledgeToDelete(); });
}

void DtObjectMgr::getObjectsUpdated(DtTallySink& sink) const {
  tally(fom_, ownedObjects(), false, sink, [](const DtRtiObject&) { return true; });
}

void DtObjectMgr::getObjectsReflected(DtTallySink& sink) const {
  tally(fom_, allObjects(), true, sink, [](const DtRtiObject& o) { return o.inScope(); });
}
