#pragma once
// Service reporting turned on in a federate's MOM as a federate turns it
// on: a Manager.Federate.Adjust.SetServiceReporting to every federate (the
// MOM takes its own federate's too), then ticks until the MOM has taken one
// in. The federate has RTI_momServiceAvailable 1 and the MOM classes in its
// FED file.

#include <memory>

#include "RTI.hh"
#include "core/DtPrivRefs.h"
#include "core/DtRtiAmbassadorAccess.h"
#include "mom/DtMomMgr.h"

// True once reporting is on; `tick` is called at most `ticks` times.
template <class Tick>
bool BenchTurnMomReportingOn(RTI::RTIambassador& rti, Tick tick, int ticks) {
  const RTI::InteractionClassHandle adjust =
      rti.getInteractionClassHandle("Manager.Federate.Adjust.SetServiceReporting");
  rti.publishInteractionClass(adjust);
  const std::unique_ptr<RTI::ParameterHandleValuePairSet> values(RTI::ParameterSetFactory::create(2));
  values->add(rti.getParameterHandle("Federate", adjust), "0", 2);
  values->add(rti.getParameterHandle("ReportingState", adjust), "True", 5);
  rti.sendInteraction(adjust, *values, "");
  const DtMomMgr* mom = DtRtiAmbassadorAccess::refs(rti).momMgr.get();
  for (int i = 0; i < ticks && mom && !mom->needObserve(); ++i) tick();
  return mom && mom->needObserve();
}
