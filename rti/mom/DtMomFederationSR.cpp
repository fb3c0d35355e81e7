#include "mom/DtMomFederationSR.h"

#include "mom/DtMomFederateView.h"
#include "mom/DtMomObjectClasses.h"

DtMomFederationSR::DtMomFederationSR(DtFomClassMgr* fom, DtMomInspector* inspector, std::uint32_t classHandle)
    : DtMomSR(fom, inspector, classHandle) {
  populate(DtMomFederationClass);
}

void DtMomFederationSR::encodeAttribute(std::uint32_t handle, DtString& out) {
  const DtMomInspector& at = *inspector_;
  out = "";
  switch (element(handle)) {
    case DtMomFederationName: out = at.getFederationName(); break;
    case DtMomNextSaveTime: encode(at.getNextSaveTime(nextSaveTime_.get()), out); break;
    case DtMomNextSaveName: out = at.getNextSaveName(); break;
    case DtMomFederatesInFederation: encode(at.getFederatesInFederation(), out); break;
    case DtMomLastSaveTime: encode(at.getLastSaveTime(lastSaveTime_.get()), out); break;
    case DtMomLastSaveName: out = at.getLastSaveName(); break;
    case DtMomFEDid: out = at.getFEDid(); break;
    case DtMomRTIversion: out = at.getRTIversion(); break;
    default: break;  // not an attribute of Manager.Federation
  }
}
