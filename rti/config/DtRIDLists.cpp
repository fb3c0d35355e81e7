#include "config/DtRIDLists.h"

#include "config/DtMulticastDefinition.h"
#include "util/DtFilename.h"

namespace {

template <class Item>
void deleteAll(DtList& list) {
  for (DtListItem* item = list.head(); item; item = item->next()) delete static_cast<Item*>(item->data());
  list.clear();
}

}  // namespace

DtRIDLists::~DtRIDLists() {
  deleteAll<DtFilename>(pluginNames_);
  deleteAll<DtMulticastDefinition>(objectMulticasts_);
  deleteAll<DtMulticastDefinition>(interactionMulticasts_);
}

bool DtRIDLists::addDestination(const char* text) {
  if (destinations_.size() >= maxDestinations) return false;
  destinations_.emplace_back(text);
  return true;
}

void DtRIDLists::addObjectMulticast(DtMulticastDefinition* definition) { objectMulticasts_.append(definition); }

void DtRIDLists::addInteractionMulticast(DtMulticastDefinition* definition) {
  interactionMulticasts_.append(definition);
}

void DtRIDLists::addPluginName(DtFilename* name) { pluginNames_.append(name); }
