#pragma once
// DtRtiAmbassadorObserver: watches every service call of one federate. After
// each call of its RTIambassador, the ambassador tells every observer of its
// observer list (DtRtiAmbObserverList) what was called: the arguments as the
// federate gave them, the result, and the RTI::Exception the call threw (null
// after success). The notifications come from the service table, one per
// service, in its order; each does nothing here, and a derived observer
// overrides those it wants. Arguments and results stay the caller's.
//
// An observer is in at most one list, which it knows through its
// DtListMember base: the walk of a notification goes from the list's first
// observer along next(). An observer may take itself out of its list while
// it is notified (that ends the walk of that call) but must not delete itself
// then; whoever deletes an observer takes it out of its list first, since the
// destructor does not.
//
// An observer that needs only the calls that failed says so
// (setWantsSuccessfulCalls(false)): it is then not told of the calls that
// succeed, and while no observer of a list wants them the ambassador skips
// the walk after a successful call, so that such an observer costs a call
// nothing.
//
// Used on the thread that calls the ambassador.

#include "RTI.hh"
#include "api/DtRtiServiceTable.h"
#include "util/DtListMember.h"

class RTI_EXPORT DtRtiAmbassadorObserver : public DtListMember {
public:
  DtRtiAmbassadorObserver() = default;
  ~DtRtiAmbassadorObserver() override;

  // The neighbours in the list; null at the ends and for an observer in no
  // list. The wrap forms go round from the tail to the head and back.
  virtual DtRtiAmbassadorObserver* next() const;
  virtual DtRtiAmbassadorObserver* prev() const;
  virtual DtRtiAmbassadorObserver* wrapNext() const;
  virtual DtRtiAmbassadorObserver* wrapPrev() const;

#define DT_RTI_OBSERVER_NOTIFICATION(type, kind, name, ...)                                               \
  virtual void name(DT_RTI_TYPES(__VA_ARGS__) DT_RTI_COMMA_IF(__VA_ARGS__) DT_RTI_RESULT_TYPE(kind, type) \
                        RTI::Exception*) {}
  DT_RTI_SERVICES(DT_RTI_OBSERVER_NOTIFICATION)
#undef DT_RTI_OBSERVER_NOTIFICATION

  // Whether the observer is told of calls that succeeded (it always is of
  // those that failed); true unless it says otherwise. Changing it while
  // listed tells the list.
  bool wantsSuccessfulCalls() const { return wantsSuccessfulCalls_; }
  void setWantsSuccessfulCalls(bool wants);

  // The observer that a list item holds (null for a null observer).
  static DtRtiAmbassadorObserver* ofItem(const DtListItem* item);

private:
  bool wantsSuccessfulCalls_ = true;
};
