#pragma once
// DtMomFederationSR: the state record of the Manager.Federation object that
// every federate keeps for itself: its 8 attributes, read through the
// inspector (the federates from the MOM manager's list of live ones). The two
// save times are kept here, zero at first.

#include <cstdint>

#include "mom/DtMomOwnedTime.h"
#include "mom/DtMomSR.h"

class DtMomFederationSR : public DtMomSR {
public:
  DtMomFederationSR(DtFomClassMgr* fom, DtMomInspector* inspector, std::uint32_t classHandle);

  void encodeAttribute(std::uint32_t handle, DtString& out) override;

private:
  DtMomOwnedTime nextSaveTime_;
  DtMomOwnedTime lastSaveTime_;
};
