#pragma once
// DtMomFedAmbWrapper: the MOM manager's link in the chain of federate-
// ambassador wrappers, filed as "MOM Wrapper" while the MOM is joined, so
// that every callback to the federate passes through the MOM on its way.
// It forwards each callback unchanged to the next ambassador.
//
// Made and deleted by the MOM manager (the wrapper chain holds it while it
// is filed); used on the thread that ticks.

#include "api/DtFedAmbWrapper.h"

class DtMomMgr;

class DtMomFedAmbWrapper : public DtFedAmbWrapper {
public:
  explicit DtMomFedAmbWrapper(DtMomMgr& mgr) : mgr_(mgr) {}

  DtMomMgr& mgr() const { return mgr_; }

private:
  DtMomMgr& mgr_;
};
