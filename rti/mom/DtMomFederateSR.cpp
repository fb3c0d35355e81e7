#include "mom/DtMomFederateSR.h"

#include "mom/DtMomFederateView.h"
#include "mom/DtMomObjectClasses.h"

DtMomFederateSR::DtMomFederateSR(DtFomClassMgr* fom, DtMomInspector* inspector, std::uint32_t classHandle)
    : DtMomSR(fom, inspector, classHandle) {
  populate(DtMomFederateClass);
}

void DtMomFederateSR::encodeAttribute(std::uint32_t handle, DtString& out) {
  const DtMomInspector& at = *inspector_;
  out = "";
  switch (element(handle)) {
    case DtMomFEDid: out = at.getFEDid(); break;
    case DtMomFederateType: out = at.getFederateType(); break;
    case DtMomLookahead: encode(at.getLookahead(lookahead_.get()), out); break;
    case DtMomFederateState: encode(at.getFederateState(), out); break;
    case DtMomTimeConstrained: encode(at.getTimeConstrained(), out); break;
    case DtMomObjectsUpdated: encode(at.getObjectsUpdated(), out); break;
    case DtMomReflectionsReceived: encode(at.getReflectionsReceived(), out); break;
    case DtMomFederateHost: out = at.getFederateHost(); break;
    case DtMomUpdatesSent: encode(at.getUpdatesSent(), out); break;
    case DtMomFederateTime: encode(at.getFederateTime(federateTime_.get()), out); break;
    case DtMomTSOlength: encode(at.getTSOlength(), out); break;
    case DtMomROlength: encode(at.getROlength(), out); break;
    case DtMomInteractionsReceived: encode(at.getInteractionsReceived(), out); break;
    case DtMomInteractionsSent: encode(at.getInteractionsSent(), out); break;
    case DtMomTimeManagerState: encode(at.getTimeManagerState(), out); break;
    case DtMomMinNextEventTime: encode(at.getMinNextEventTime(minNextEventTime_.get()), out); break;
    case DtMomTimeRegulating: encode(at.getTimeRegulating(), out); break;
    case DtMomRTIversion: out = at.getRTIversion(); break;
    case DtMomObjectsReflected: encode(at.getObjectsReflected(), out); break;
    case DtMomObjectsOwned: encode(at.getObjectsOwned(), out); break;
    case DtMomAsynchronousDelivery: encode(at.getAsynchronousDelivery(), out); break;
    case DtMomLBTS: encode(at.getLBTS(lbts_.get()), out); break;
    case DtMomFederateHandle: encode(at.getFederateHandle(), out); break;
    default: break;  // not an attribute of Manager.Federate
  }
}
