#include "api/DtRtiAmbObserverList.h"

#include "util/DtHashKey.h"
#include "util/DtStringKey.h"

DtRtiAmbObserverList::DtRtiAmbObserverList() : byName_(&members_, bucketCount) {}

DtRtiAmbObserverList::~DtRtiAmbObserverList() {
  // Name by name in filing order, so each observer leaves the list before it
  // goes. The key is copied first: removing the entry frees the list's own.
  while (DtListItem* keyItem = byName_.keys()->head()) {
    const DtStringKey key(static_cast<const DtHashKey*>(keyItem->data())->string());
    delete removeObserver(key.string());
  }
}

DtRtiAmbassadorObserver* DtRtiAmbObserverList::first() const {
  return DtRtiAmbassadorObserver::ofItem(members_.head());
}

void DtRtiAmbObserverList::addObserver(const DtString& name, DtRtiAmbassadorObserver* observer) {
  // As a DtListMember*, so that the member list finds the base again.
  byName_.add(DtStringKey(name), static_cast<DtListMember*>(observer));
}

DtRtiAmbassadorObserver* DtRtiAmbObserverList::removeObserver(const DtString& name) {
  return static_cast<DtRtiAmbassadorObserver*>(static_cast<DtListMember*>(byName_.remove(DtStringKey(name))));
}
