#pragma once
// DtInteractionMgr: the interaction service of one joined federate. It
// carries out the declaration services of interaction classes (publish,
// unpublish, subscribe actively or passively, unsubscribe) and tells the
// other federates with the four class messages (kinds 10 to 13); it keeps
// their declarations in the class records, queues the relevance advisories
// (turn interactions on and off) and hands them to the federate at its tick;
// it sends interactions in receive order or, time-stamped, in the class's
// order, and delivers received ones as the nearest class the federate
// subscribes to. With the RID file's multicast definitions it joins the
// class groups of what it subscribes (each group once, left with its last
// class). It counts interactions for the management object model, changes a
// class's transport and order, and writes and reads its save record.
//
// The federate manager makes it after a join through create() (a plug-in's
// class when one set a creator) and owns it; the implementor hands it the
// services; the connection manager calls its message handlers inside tick.
// No thread and no lock: everything runs on the federate's thread.
//
// The receive path is the federation's hot path: a class look-up by handle
// and the subscription test, then the federate gets the parameters where
// the received message holds them (DtReceivedParamSet): no value is copied
// and, once warm, nothing is allocated, also when a base class is delivered
// and sees fewer parameters.

#include <cstdint>
#include <deque>
#include <memory>
#include <unordered_map>
#include <utility>

#include "RTI.hh"
#include "msg/DtMsgSubscriptions.h"
#include "objects/DtClassGroups.h"
#include "objects/DtInteractionAdvisorySink.h"
#include "util/DtFomTypes.h"

class DtConnectionMgr;
class DtFomClassMgr;
class DtInteractionClassInfo;
class DtInteractionMomHook;
class DtInteractionMsg;
class DtPubInterMsg;
class DtReceivedParamSet;
class DtRIDParameters;
class DtResignMsg;
class DtRtiMsg;
class DtRtiSaveFile;
class DtSubInterMsg;
class DtTimeStamping;
class DtUnpubInterMsg;
class DtUnsubInterMsg;

class DtInteractionMgr : public DtInteractionAdvisorySink {
public:
  using Creator = DtInteractionMgr* (*)(DtConnectionMgr*, DtFomClassMgr*, DtRIDParameters*);

  // The installed creator's result (unchanged, null included); else, with
  // RTI_dataDistMgmt set, the data distribution form's; else a new
  // interaction manager.
  static std::unique_ptr<DtInteractionMgr> create(DtConnectionMgr* connectMgr, DtFomClassMgr* fom,
                                                  DtRIDParameters* params);
  // Null restores the default. Process-wide.
  static void setCreatorFunction(Creator creator);
  // The maker of the data distribution form, which lives in a layer above
  // this one and installs it there (null: none, so a plain manager serves
  // with data distribution on too). Process-wide.
  static void setDataDistCreator(Creator creator);

  // The default of every interaction manager's relevance advisory switch.
  // Process-wide: the implementor's constructor writes it from its RID
  // parameters, so the ambassador made last decides it.
  static std::uint8_t theDefaultInteractionAdvisorySwitch;
  static void setDefaultInteractionAdvisory(int on) { theDefaultInteractionAdvisorySwitch = on ? 1 : 0; }

  // Keeps the three (all borrowed; the connection manager may be null, then
  // nothing is registered or sent), takes the switch from the default, turns
  // the interaction messages' channel on when RTI_dataDistMgmt is set, and
  // registers the handlers of kinds 0 and 45 (23 and 48 with the channel),
  // 10, 11, 12 and 13.
  DtInteractionMgr(DtConnectionMgr* connectMgr, DtFomClassMgr* fom, DtRIDParameters* params);
  DtInteractionMgr(const DtInteractionMgr&) = delete;
  DtInteractionMgr& operator=(const DtInteractionMgr&) = delete;
  // Removes the handlers; the multicast groups are not left.
  ~DtInteractionMgr() override;

  // The time manager (null without time management).
  virtual DtTimeStamping* timeMgr() const { return timeMgr_; }
  virtual void setTimeMgr(DtTimeStamping* timeMgr) { timeMgr_ = timeMgr; }

  // The base accepts every interaction but the federate's own.
  virtual bool acceptInteraction(const DtInteractionMsg& msg) const;
  // The class exists and is subscribed, actively, passively or with a region.
  virtual bool subscribed(RTI::InteractionClassHandle theClass) const;
  // False for an unknown class.
  virtual bool published(RTI::InteractionClassHandle theClass) const;

  // Declaration services. Each throws InteractionClassNotDefined for an
  // unknown class; unpublish InteractionClassNotPublished and unsubscribe
  // InteractionClassNotSubscribed when there is nothing to undo; nothing
  // changes and nothing is sent before a throw. Publishing or subscribing
  // actively again sends the message again; a passive subscription after an
  // active one sends one unsubscribe message, from none it sends nothing.
  virtual void publish(RTI::InteractionClassHandle theClass);
  virtual void unpublish(RTI::InteractionClassHandle theClass);
  virtual void subscribe(RTI::InteractionClassHandle theClass, RTI::Boolean active);
  virtual void unsubscribe(RTI::InteractionClassHandle theClass);

  // Sends with a region: the plain manager (data distribution off) sends a
  // plain interaction, the region ignored, with the plain send's checks.
  virtual std::uint32_t send(RTI::InteractionClassHandle theClass, const RTI::ParameterHandleValuePairSet& parameters,
                             const RTI::FedTime* time, const char* tag, const RTI::Region& region);
  // Sends an interaction of a published class; a null time sends it
  // untimed. InteractionClassNotDefined, InteractionClassNotPublished, and
  // (with RTI_checkFlag) InteractionParameterNotDefined for a parameter the
  // class does not have. A regulating federate sends in the class's order
  // and a time-stamp-ordered interaction takes the time manager's next
  // serial number, which is returned (else 0).
  virtual std::uint32_t send(RTI::InteractionClassHandle theClass, const RTI::ParameterHandleValuePairSet& parameters,
                             const RTI::FedTime* time, const char* tag, RTI::ULong destination);

  // One class message each, on the internal transport to the federation.
  virtual void sendSubscribeMsg(RTI::InteractionClassHandle theClass);
  virtual void sendPublishMsg(RTI::InteractionClassHandle theClass);
  virtual void sendUnsubscribeMsg(RTI::InteractionClassHandle theClass);
  virtual void sendUnpublishMsg(RTI::InteractionClassHandle theClass);
  // Builds and sends one interaction: kind 45 (48) with a time, else 0 (23).
  virtual void sendInteractionMsg(RTI::InteractionClassHandle theClass,
                                  const RTI::ParameterHandleValuePairSet& parameters, DtTransportType transport,
                                  DtOrderType order, const RTI::FedTime* time, const char* tag, std::uint32_t serial,
                                  RTI::ULong destination);

  // The receive side, from the connection manager's dispatch. Messages of
  // this federate itself are dropped; a declaration of an unknown class is
  // ignored with a level-2 message; an interaction nobody here subscribes
  // is dropped silently.
  virtual void processInteraction(const DtInteractionMsg& msg);
  virtual void processPub(const DtPubInterMsg& msg);
  virtual void processUnpub(const DtUnpubInterMsg& msg);
  virtual void processSub(const DtSubInterMsg& msg);
  virtual void processUnsub(const DtUnsubInterMsg& msg);
  // Another federate resigned (from the federate manager): its
  // subscriptions go.
  virtual void processResign(const DtResignMsg& msg);

  // The relevance advisories: queued only while the switch is on, handed to
  // the federate ambassador at tick, stop advisories first, each in the
  // order queued (duplicates as often as queued).
  void addPendingStartInters(std::uint32_t classHandle) override;
  void addPendingStopInters(std::uint32_t classHandle) override;
  virtual void sendPendingStartInters();
  virtual void sendPendingStopInters();
  virtual void tick();

  // The class itself when subscribed, else the nearest subscribed base
  // class; null when none is (or for null).
  virtual DtInteractionClassInfo* firstSubscribedClass(DtInteractionClassInfo* interactionClass) const;
  // Where an interaction of the class goes: its multicast group with the
  // RID file's multicast definitions, else 0 (the federation's default).
  virtual std::uint32_t localAddrMap(RTI::InteractionClassHandle theClass, RTI::ULong destination);

  // InvalidTransportationHandle / InvalidOrderingHandle for a value other
  // than 0 or 1, then the class checks of send.
  virtual void setTransport(RTI::InteractionClassHandle theClass, DtTransportType type);
  virtual void setOrder(RTI::InteractionClassHandle theClass, DtOrderType type);

  // Data distribution's hooks: empty in the plain manager.
  virtual void checkForRegionalSubscribe(DtInteractionClassInfo& interactionClass);
  virtual void checkForRegionalPublish(DtInteractionClassInfo& interactionClass);
  virtual void subscribeInteractionClassWithRegion(RTI::InteractionClassHandle theClass, RTI::Region& region,
                                                   RTI::Boolean active);
  virtual void unsubscribeInteractionClassWithRegion(RTI::InteractionClassHandle theClass, RTI::Region& region);

  // A federation save: one record with the relevance advisory switch.
  // False when it could not be written. restore reads the next record; one
  // of another type (or none) stops it with a level-1 message and false.
  // The class groups follow the restored subscriptions (the class records
  // are restored before this record).
  virtual bool save(DtRtiSaveFile& file) const;
  virtual bool restore(DtRtiSaveFile& file);

  // Joins the groups of the class and of its subclasses (each group once
  // however many classes need it), and leaves them again.
  virtual void addClassMulticast(DtInteractionClassInfo* interactionClass);
  virtual void removeClassMulticast(DtInteractionClassInfo* interactionClass);

  // The management object model's counts of the class.
  virtual void incrementSentTally(RTI::InteractionClassHandle theClass, DtTransportType transport);
  virtual void incrementReceivedTally(RTI::InteractionClassHandle theClass, DtTransportType transport);
  // Only when RTI_momServiceAvailable is set.
  void fastIncrementSentTally(RTI::InteractionClassHandle theClass, DtTransportType transport);
  void fastIncrementReceivedTally(RTI::InteractionClassHandle theClass, DtTransportType transport);

  // For subclasses that keep lists of their own: called first by the
  // destructor.
  virtual void destroyInteractionLists() {}

  DtConnectionMgr* connectMgr() const { return connectMgr_; }
  DtFomClassMgr* fom() const { return fom_; }
  DtRIDParameters* params() const { return params_; }
  DtInteractionMomHook* momMgr() const { return momMgr_; }
  // The management object model (null: none), told before every
  // subscription.
  void setMomMgr(DtInteractionMomHook* momMgr) { momMgr_ = momMgr; }

  // The federate's interaction relevance advisory switch (1 on, 0 off).
  void enableRelevanceAdvisorySwitch() { relevanceAdvisorySwitch_ = 1; }
  void disableRelevanceAdvisorySwitch() { relevanceAdvisorySwitch_ = 0; }
  std::uint8_t relevanceAdvisorySwitch() const { return relevanceAdvisorySwitch_; }

  // The connection manager's entries, with the manager as user data.
  static void processInteraction(const DtInteractionMsg& msg, void* mgr);
  static void processPub(const DtPubInterMsg& msg, void* mgr);
  static void processUnpub(const DtUnpubInterMsg& msg, void* mgr);
  static void processSub(const DtSubInterMsg& msg, void* mgr);
  static void processUnsub(const DtUnsubInterMsg& msg, void* mgr);

  // Groups joined, and how many subscribed classes need each (for tests and
  // the data distribution form).
  const std::unordered_map<std::uint32_t, std::uint32_t>& multicastUseCounts() const {
    return classGroups_.useCounts();
  }

protected:
  // The class of the handle; InteractionClassNotDefined (empty reason)
  // when there is none.
  DtInteractionClassInfo& definedClass(RTI::InteractionClassHandle theClass) const;
  // ... that is also published, else InteractionClassNotPublished.
  DtInteractionClassInfo& publishedClass(RTI::InteractionClassHandle theClass) const;
  // A received class message that names a class this federate knows and
  // comes from another federate; null otherwise (with the level-2 message
  // `ignoring` for an unknown class, when given).
  DtInteractionClassInfo* remoteDeclaration(const DtRtiMsg& msg, std::uint32_t classHandle, const char* ignoring) const;
  bool dmFiltering() const;

private:
  template <class Msg>
  void sendClassMsg(RTI::InteractionClassHandle theClass);
  void deliver(RTI::InteractionClassHandle theClass, const RTI::ParameterHandleValuePairSet& parameters,
               const DtInteractionMsg& msg);
  void subscribeHandlers();

  DtConnectionMgr* connectMgr_;
  DtFomClassMgr* fom_;
  DtRIDParameters* params_;
  std::deque<std::uint32_t> pendingStart_;
  std::deque<std::uint32_t> pendingStop_;
  std::uint8_t relevanceAdvisorySwitch_;
  DtClassGroups classGroups_;
  DtInteractionMomHook* momMgr_ = nullptr;
  DtTimeStamping* timeMgr_ = nullptr;
  // The interaction handler stays under the kinds it was registered with,
  // though the channel switch is process-wide and may change before this
  // manager goes.
  DtMsgSubscriptions handlers_;
  // The set a delivery hands over, kept with its room between deliveries.
  std::unique_ptr<DtReceivedParamSet> view_;
  bool viewInUse_ = false;
};
