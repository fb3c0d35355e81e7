#pragma once
// DtMomFederateSR: the state record of a federate's Manager.Federate object:
// its 23 attributes, read through the inspector. The four times are kept
// here, so that a time the inspector cannot read (no time manager) keeps its
// last value, zero at first.

#include <cstdint>

#include "mom/DtMomOwnedTime.h"
#include "mom/DtMomSR.h"

class DtMomFederateSR : public DtMomSR {
public:
  DtMomFederateSR(DtFomClassMgr* fom, DtMomInspector* inspector, std::uint32_t classHandle);

  void encodeAttribute(std::uint32_t handle, DtString& out) override;

private:
  DtMomOwnedTime lookahead_;
  DtMomOwnedTime federateTime_;
  DtMomOwnedTime minNextEventTime_;
  DtMomOwnedTime lbts_;
};
