#pragma once
// DtMomInspector, the federate view: the management object model's
// read-only window on the rest of the federate. Every attribute value of the
// Manager.Federate and Manager.Federation objects and every report's content
// is read through it at the moment it is sent; it keeps no copies and
// changes nothing in what it reads (the next save time is brought up to date
// from the time manager on reading, as the federate's own query does).
//
// Time getters fill a time that the caller owns and return it; without a
// time manager they leave it as it was. Count getters give 32-bit counts,
// which wrap as the counters themselves do. The list getters append to the
// caller's list and never clear it first; the publication and subscription
// entries they make are the caller's to delete.
//
// The MOM manager makes one on join, over the managers it is joined with,
// and hands it to both objects' state records; it owns none of them. Used on
// the thread that ticks or calls the service that asks; no lock.

#include <cstdint>

#include "RTI.hh"
#include "mom/DtMomClassLists.h"
#include "mom/DtMomTypes.h"
#include "util/DtString.h"

class DtFomClassMgr;
class DtInteractionMgr;
class DtMomFederate;
class DtMomHandleList;
class DtMomMgr;
class DtMomObjectInfo;
class DtMomTallyList;
class DtObjectMgr;
class DtTallySink;

class DtMomInspector {
public:
  // The MOM manager may come later (setMomMgr); until then the federation
  // has no federates to report.
  DtMomInspector(DtFomClassMgr* fom, DtMomFederate* federate, DtObjectMgr* objMgr, DtInteractionMgr* interMgr,
                 DtMomMgr* momMgr);
  DtMomInspector(const DtMomInspector&) = delete;
  DtMomInspector& operator=(const DtMomInspector&) = delete;
  virtual ~DtMomInspector() = default;

  void setMomMgr(DtMomMgr* momMgr) { momMgr_ = momMgr; }
  DtFomClassMgr* fom() const { return fom_; }
  DtMomFederate* federate() const { return federate_; }
  DtObjectMgr* objMgr() const { return objMgr_; }
  DtInteractionMgr* interMgr() const { return interMgr_; }
  DtMomMgr* momMgr() const { return momMgr_; }

  // ---- Manager.Federate
  virtual DtString getFEDid() const;
  virtual DtString getFederateType() const;
  virtual RTI::FedTime* getLookahead(RTI::FedTime* time) const;
  // Save pending, else saving, else restoring, else running: a restore that
  // has been asked for but not begun reads as running.
  virtual DtMomFederateStates getFederateState() const;
  virtual RTI::Boolean getTimeConstrained() const;
  virtual std::int32_t getObjectsUpdated() const;
  virtual std::int32_t getReflectionsReceived() const;
  // This machine's name, whole however long the system allows it; empty
  // when it cannot be read.
  virtual DtString getFederateHost() const;
  virtual std::int32_t getUpdatesSent() const;
  virtual RTI::FedTime* getFederateTime(RTI::FedTime* time) const;
  // The time-stamped and the receive-order messages waiting in the time
  // manager's queue; 0 without one.
  virtual std::int32_t getTSOlength() const;
  virtual std::int32_t getROlength() const;
  virtual std::int32_t getInteractionsReceived() const;
  virtual std::int32_t getInteractionsSent() const;
  virtual DtMomTimeManagerStates getTimeManagerState() const;
  virtual RTI::FedTime* getMinNextEventTime(RTI::FedTime* time) const;
  virtual RTI::Boolean getTimeRegulating() const;
  virtual DtString getRTIversion() const;
  virtual std::int32_t getObjectsReflected() const;
  virtual std::int32_t getObjectsOwned() const;
  virtual RTI::Boolean getAsynchronousDelivery() const;
  virtual RTI::FedTime* getLBTS(RTI::FedTime* time) const;
  virtual std::uint32_t getFederateHandle() const;

  // ---- Manager.Federation
  // Empty before joining.
  virtual DtString getFederationName() const;
  virtual RTI::FedTime* getNextSaveTime(RTI::FedTime* time) const;
  virtual DtString getNextSaveName() const;
  // The MOM manager's list of the live federates; null without a MOM manager.
  virtual const DtMomHandleList* getFederatesInFederation() const;
  virtual RTI::FedTime* getLastSaveTime(RTI::FedTime* time) const;
  virtual DtString getLastSaveName() const;

  // ---- the reports' contents, in ascending class handle order
  // With `active`: the classes subscribed actively (with or without a
  // region); else those subscribed passively and not actively with a region.
  virtual void getInteractionSubscription(DtMomHandleList* out, RTI::Boolean active) const;
  virtual void getInteractionPublication(DtMomHandleList* out) const;
  // One entry per class that publishes attributes.
  virtual void getObjectPublication(DtMomPublicationList& out) const;
  // One or two entries per class with subscribed attributes: the active
  // ones first, then the passive ones (subscribed through a passive region
  // set, or passively without a region and not actively with one).
  virtual void getObjectSubscription(DtMomSubscriptionList& out) const;
  // The classes and owned attributes of the known object of that name; an
  // unknown name leaves `info` as it was.
  virtual void getObjectInformation(DtMomObjectInfo& info, const char* objectName) const;
  // Every object (interaction) class's own tallies; `out` must not own them.
  virtual void getDetailedUpdatesTally(DtMomTallyList& out) const;
  virtual void getDetailedInteractionsTally(DtMomTallyList& out) const;

  // The RTI's name and version, as RTIversion tells it.
  static constexpr const char* theRtiVersion = "Orvek RTI 2.0.1";

private:
  std::int32_t objectTotal(void (DtObjectMgr::*count)(DtTallySink&) const) const;

  DtFomClassMgr* fom_;
  DtMomFederate* federate_;
  DtObjectMgr* objMgr_;
  DtInteractionMgr* interMgr_;
  DtMomMgr* momMgr_;
};
