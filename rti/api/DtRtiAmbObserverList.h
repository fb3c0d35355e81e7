#pragma once
// DtRtiAmbObserverList: the service observers of one ambassador, filed by
// name. The order of notification is the order of filing; filing again under
// a name in use takes the earlier observer out (it is not deleted, and nobody
// is told) and puts the new one at the end. The list deletes the observers
// still filed when it is destroyed, in filing order; an observer taken out or
// replaced belongs to whoever took it out or filed it.
//
// Nothing here is locked: used on the thread that calls the ambassador.

#include "RTI.hh"
#include "api/DtObserverMembers.h"
#include "api/DtRtiAmbassadorObserver.h"
#include "util/DtHashlist.h"
#include "util/DtString.h"

class RTI_EXPORT DtRtiAmbObserverList {
public:
  static constexpr std::uint32_t bucketCount = 119;

  DtRtiAmbObserverList();
  DtRtiAmbObserverList(const DtRtiAmbObserverList&) = delete;
  DtRtiAmbObserverList& operator=(const DtRtiAmbObserverList&) = delete;
  virtual ~DtRtiAmbObserverList();

  // The first observer to notify; null for an empty list.
  virtual DtRtiAmbassadorObserver* first() const;
  // Files the observer (null is allowed; a walk stops there) under the name.
  virtual void addObserver(const DtString& name, DtRtiAmbassadorObserver* observer);
  // Takes the named observer out and returns it; null when none is filed.
  virtual DtRtiAmbassadorObserver* removeObserver(const DtString& name);
  // Whether any filed observer wants to be told of successful calls.
  bool successfulCallsWatched() const { return members_.successWatchers() != 0; }

private:
  DtObserverMembers members_;  // notification order; declared first, so it outlives the index
  DtHashlist byName_;
};
