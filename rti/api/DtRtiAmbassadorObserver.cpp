#include "api/DtRtiAmbassadorObserver.h"

#include "api/DtObserverMembers.h"
#include "util/DtList.h"

DtRtiAmbassadorObserver::~DtRtiAmbassadorObserver() = default;

DtRtiAmbassadorObserver* DtRtiAmbassadorObserver::ofItem(const DtListItem* item) {
  // Filed as DtListMember* (see DtRtiAmbObserverList::addObserver).
  return item ? static_cast<DtRtiAmbassadorObserver*>(static_cast<DtListMember*>(item->data())) : nullptr;
}

DtRtiAmbassadorObserver* DtRtiAmbassadorObserver::next() const { return item() ? ofItem(item()->next()) : nullptr; }

DtRtiAmbassadorObserver* DtRtiAmbassadorObserver::prev() const { return item() ? ofItem(item()->prev()) : nullptr; }

DtRtiAmbassadorObserver* DtRtiAmbassadorObserver::wrapNext() const {
  if (!item()) return nullptr;
  if (DtRtiAmbassadorObserver* following = next()) return following;
  return ofItem(list()->head());
}

DtRtiAmbassadorObserver* DtRtiAmbassadorObserver::wrapPrev() const {
  if (!item()) return nullptr;
  if (DtRtiAmbassadorObserver* preceding = prev()) return preceding;
  return ofItem(list()->tail());
}

void DtRtiAmbassadorObserver::setWantsSuccessfulCalls(bool wants) {
  if (wants == wantsSuccessfulCalls_) return;
  wantsSuccessfulCalls_ = wants;
  // Only an observer list's members are counted.
  if (auto* members = dynamic_cast<DtObserverMembers*>(list())) members->successWishChanged(wants);
}
