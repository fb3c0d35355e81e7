#pragma once
// DtMomMgr: the management object model of one federate (the Manager.Federate
// and Manager.Federation objects, the MOM interactions, and the reporting of
// service calls through its observer "MOMObserver" and its federate-
// ambassador wrapper "MOM Wrapper").
//
// The ambassador makes it, when RTI_momServiceAvailable is set, before its
// implementor, with its link to the ambassador (DtMomAmbassador: the RID
// parameters, the observer list and the RTI services), and deletes it first
// of all its parts, while the observer list and the wrapper chain still
// exist. The federate manager drives it: join after the other managers are
// made, with its view of the federate (DtMomFederate), tick in every
// posttick, resign at resignation; it does not own it.
//
// This is the interface the rest of the RTI calls. Until the management
// object model is built, it keeps what it is given and does nothing.

#include <memory>

#include "RTI.hh"
#include "mom/DtMomHandleList.h"
#include "objects/DtInteractionMomHook.h"

class DtConnectionMgr;
class DtFomClassMgr;
class DtInteractionMgr;
class DtMomAmbassador;
class DtMomFederate;
class DtObjectMgr;

class DtMomMgr : public DtInteractionMomHook {
public:
  using Creator = DtMomMgr* (*)(DtMomAmbassador* ambassador);

  // The ambassador's way to make it: the installed creator's result, else a
  // new DtMomMgr.
  static std::unique_ptr<DtMomMgr> create(DtMomAmbassador* ambassador);
  // Replaces the default creation (null restores it); for plug-ins' creator
  // hooks and tests. Process-wide.
  static void setCreatorFunction(Creator creator);

  // Keeps the link; the ambassador's implementor does not exist yet.
  explicit DtMomMgr(DtMomAmbassador* ambassador);
  DtMomMgr(const DtMomMgr&) = delete;
  DtMomMgr& operator=(const DtMomMgr&) = delete;
  // Takes its observer out of the ambassador's observer list and its wrapper
  // out of the wrapper chain before deleting them.
  ~DtMomMgr() override;

  // Starts the management object model for the federate that has just
  // joined; the federate manager calls it after making the other managers.
  virtual void join(DtConnectionMgr* connectMgr, DtFomClassMgr* fom, DtMomFederate* federate, DtObjectMgr* objMgr,
                    DtInteractionMgr* interMgr);
  // Stops it for the federate that resigns.
  virtual void resign();
  // Its per-tick work, from the federate manager's posttick.
  virtual void tick();
  // The rtiexec named this federate the publisher of Manager.Federation.
  virtual void designateFederationPublisher();
  // Before a subscription to an interaction class: nothing to prepare yet.
  void prepareForSubscribe(DtInteractionClassInfo&) override {}

  DtMomAmbassador* ambassador() const { return ambassador_; }
  // The federates seen alive, in the order first seen: what the
  // Manager.Federation object reports.
  DtMomHandleList* federateList() { return &federateList_; }

private:
  DtMomAmbassador* ambassador_;
  DtMomHandleList federateList_;
};
