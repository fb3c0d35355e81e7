#include "api/DtFedAmbWrapper.h"

DtFedAmbWrapper::DtFedAmbWrapper(RTI::FederateAmbassador* next) : fedAmb_(next) {}

DtFedAmbWrapper::~DtFedAmbWrapper() = default;

RTI::FederateAmbassador* DtFedAmbWrapper::fedAmb() const { return fedAmb_; }

void DtFedAmbWrapper::setFedAmb(RTI::FederateAmbassador* next) { fedAmb_ = next; }

// Every callback goes on to the next ambassador as it came; without one it
// ends here.
#define DT_FED_AMB_WRAPPER_FORWARD(name, ...)                        \
  void DtFedAmbWrapper::name(DT_RTI_PARAMS(__VA_ARGS__)) {           \
    if (fedAmb_ != nullptr) fedAmb_->name(DT_RTI_ARGS(__VA_ARGS__)); \
  }
DT_FED_AMB_CALLBACKS(DT_FED_AMB_WRAPPER_FORWARD)
#undef DT_FED_AMB_WRAPPER_FORWARD
