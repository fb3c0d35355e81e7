#pragma once
// DtInteractionMgr: the interaction side of declaration and object
// management for one joined federate: publication and subscription of
// interaction classes, sending interactions, their transport and order, and
// the interaction relevance advisory switch. The federate manager makes it
// after a join (its data distribution form when RTI_dataDistMgmt is set) and
// owns it; the implementor hands it the services.
//
// This is the interface the implementor and the federate manager call;
// until interactions are built, each service answers "<service> not
// implemented", and the region operations are empty as in the plain manager.

#include <cstdint>
#include <memory>

#include "RTI.hh"
#include "util/DtFomTypes.h"

class DtConnectionMgr;
class DtFomClassMgr;
class DtMomMgr;
class DtRIDParameters;
class DtResignMsg;
class DtTimeMgr;

class DtInteractionMgr {
public:
  using Creator = DtInteractionMgr* (*)(DtConnectionMgr*, DtFomClassMgr*, DtRIDParameters*);

  // The installed creator's result, else the interaction manager for the
  // RID parameters.
  static std::unique_ptr<DtInteractionMgr> create(DtConnectionMgr* connectMgr, DtFomClassMgr* fom,
                                                  DtRIDParameters* params);
  // Null restores the default. Process-wide.
  static void setCreatorFunction(Creator creator);

  // The default of every interaction manager's relevance advisory switch.
  // Process-wide: the implementor's constructor writes it from its RID
  // parameters, so the ambassador made last decides it.
  static std::uint8_t theDefaultInteractionAdvisorySwitch;

  // The switch starts from the default above.
  DtInteractionMgr(DtConnectionMgr* connectMgr, DtFomClassMgr* fom, DtRIDParameters* params);
  DtInteractionMgr(const DtInteractionMgr&) = delete;
  DtInteractionMgr& operator=(const DtInteractionMgr&) = delete;
  virtual ~DtInteractionMgr();

  virtual void publish(RTI::InteractionClassHandle theClass);
  virtual void unpublish(RTI::InteractionClassHandle theClass);
  virtual void subscribe(RTI::InteractionClassHandle theClass, RTI::Boolean active);
  virtual void unsubscribe(RTI::InteractionClassHandle theClass);
  // Sends an interaction; a null time sends it without a time stamp. The
  // first form's number is 0 from the implementor; the second sends with a
  // region (empty in the plain manager). Returns the message's serial number.
  virtual std::uint32_t send(RTI::InteractionClassHandle theClass,
                             const RTI::ParameterHandleValuePairSet& parameters,
                             const RTI::FedTime* time, const char* tag, RTI::ULong number);
  virtual std::uint32_t send(RTI::InteractionClassHandle theClass,
                             const RTI::ParameterHandleValuePairSet& parameters,
                             const RTI::FedTime* time, const char* tag,
                             const RTI::Region& region);
  virtual void setTransport(RTI::InteractionClassHandle theClass, DtTransportType type);
  virtual void setOrder(RTI::InteractionClassHandle theClass, DtOrderType type);

  // The federate's interaction relevance advisory switch (1 on, 0 off).
  void enableRelevanceAdvisorySwitch() { relevanceAdvisorySwitch_ = 1; }
  void disableRelevanceAdvisorySwitch() { relevanceAdvisorySwitch_ = 0; }
  std::uint8_t relevanceAdvisorySwitch() const { return relevanceAdvisorySwitch_; }

  // Region operations: empty in the plain manager.
  virtual void subscribeInteractionClassWithRegion(RTI::InteractionClassHandle theClass,
                                                   RTI::Region& region, RTI::Boolean active);
  virtual void unsubscribeInteractionClassWithRegion(RTI::InteractionClassHandle theClass,
                                                     RTI::Region& region);

  // From the federate manager: the time and MOM managers after a join (either
  // may be null), the per-tick step and another federate's resignation.
  virtual void setTimeMgr(DtTimeMgr* timeMgr);
  virtual void setMomMgr(DtMomMgr* momMgr);
  virtual void tick();
  virtual void processResign(const DtResignMsg& msg);

protected:
  DtConnectionMgr* connectMgr_;
  DtFomClassMgr* fom_;
  DtRIDParameters* params_;
  DtTimeMgr* timeMgr_ = nullptr;
  DtMomMgr* momMgr_ = nullptr;

private:
  std::uint8_t relevanceAdvisorySwitch_;
};
