#pragma once
// DtObserverMembers: the member list of an observer list
// (DtRtiAmbObserverList), which also counts the observers in it that want to
// be told of successful calls, so that the ambassador can skip the walk
// after a successful call when none does. Linking and unlinking an observer
// keep the count; an observer that changes its mind while listed tells the
// list (DtRtiAmbassadorObserver::setWantsSuccessfulCalls).

#include <cstdint>

#include "util/DtMemberList.h"

class DtObserverMembers : public DtMemberList {
public:
  DtObserverMembers() = default;
  DtObserverMembers(const DtObserverMembers&) = delete;
  DtObserverMembers& operator=(const DtObserverMembers&) = delete;
  ~DtObserverMembers() override;

  void linkMember(DtListItem* item, DtListItem* after) override;
  void unlinkMember(DtListItem* item) override;

  // How many observers in the list want successful calls.
  std::uint32_t successWatchers() const { return successWatchers_; }
  // A listed observer's wish changed to `wants`.
  void successWishChanged(bool wants);

private:
  std::uint32_t successWatchers_ = 0;
};
