#include "api/DtObserverMembers.h"

#include "api/DtRtiAmbassadorObserver.h"

DtObserverMembers::~DtObserverMembers() {
  // Unlinks through this class while the count still exists.
  clear();
}

void DtObserverMembers::linkMember(DtListItem* item, DtListItem* after) {
  DtMemberList::linkMember(item, after);
  const DtRtiAmbassadorObserver* observer = DtRtiAmbassadorObserver::ofItem(item);
  if (observer && observer->wantsSuccessfulCalls()) ++successWatchers_;
}

void DtObserverMembers::unlinkMember(DtListItem* item) {
  const DtRtiAmbassadorObserver* observer = DtRtiAmbassadorObserver::ofItem(item);
  if (observer && observer->wantsSuccessfulCalls()) --successWatchers_;
  DtMemberList::unlinkMember(item);
}

void DtObserverMembers::successWishChanged(bool wants) {
  if (wants) {
    ++successWatchers_;
  } else {
    --successWatchers_;
  }
}
