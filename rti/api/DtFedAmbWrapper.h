#pragma once
// DtFedAmbWrapper: one link of the chain through which every callback reaches
// the federate's own ambassador. It forwards each callback unchanged to the
// next ambassador (nothing when there is none, and nothing is caught); a
// subclass overrides the callbacks it wants to see, print or hold back.
// Used only on the thread that calls tick. Exported: plug-ins derive from it.

#include "RTI.hh"
#include "api/DtFedAmbCallbackTable.h"

class RTI_EXPORT DtFedAmbWrapper : public RTI::FederateAmbassador {
public:
  // next may be null; it is not owned.
  explicit DtFedAmbWrapper(RTI::FederateAmbassador* next = nullptr);
  DtFedAmbWrapper(const DtFedAmbWrapper& other) = default;
  DtFedAmbWrapper& operator=(const DtFedAmbWrapper& other) = default;
  ~DtFedAmbWrapper() override;

  virtual RTI::FederateAmbassador* fedAmb() const;
  virtual void setFedAmb(RTI::FederateAmbassador* next);

  // The 42 callbacks, one per row of the callback table, each forwarded
  // unchanged to the next ambassador.
#define DT_FED_AMB_WRAPPER_CALLBACK(name, ...) void name(DT_RTI_PARAMS(__VA_ARGS__)) override;
  DT_FED_AMB_CALLBACKS(DT_FED_AMB_WRAPPER_CALLBACK)
#undef DT_FED_AMB_WRAPPER_CALLBACK

private:
  RTI::FederateAmbassador* fedAmb_;
};
