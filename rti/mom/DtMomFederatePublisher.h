#pragma once
// DtMomFederatePublisher: this federate's Manager.Federate object, named
// "HLA_Federate" and the federate handle ("HLA_Federate3"), registered and
// updated anonymously with the federation. The RTI holds its MOM attributes;
// the local RTI component holds the class's others.
//
// Besides the updates others ask for, it sends all of its attributes every
// period: on the first tick after it is made (or after setTiming), then on
// the first tick after each period has run out. A period of 0 sends none.
// Deleting it tells the federation that the object is gone.

#include <cstdint>
#include <functional>

#include "mom/DtMomPublisher.h"

class DtMomInspector;

class DtMomFederatePublisher : public DtMomPublisher {
public:
  // The clock of the periodic updates, in seconds: DtRealTime while none is
  // set (a test sets its own).
  using Clock = std::function<double()>;

  // `period` in whole seconds (the RID's RTI_momFederateUpdateInterval); a
  // negative one counts as 0.
  DtMomFederatePublisher(DtConnectionMgr* connectMgr, DtFomClassMgr* fom, DtObjectMgr* objMgr,
                         DtMomInspector* inspector, std::uint32_t federateHandle, int period);
  ~DtMomFederatePublisher() override;

  // A new period; the next tick at a later clock reading sends at once.
  virtual void setTiming(std::uint32_t period);
  // Sends every MOM attribute when the period has run out.
  virtual void tick();

  std::uint32_t period() const { return period_; }
  void setClock(Clock clock) { clock_ = std::move(clock); }

private:
  double now() const;

  std::uint32_t period_;
  double nextUpdate_ = 0.0;
  Clock clock_;
};
