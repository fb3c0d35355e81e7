#pragma once
// What the federation core's tests share: a scratch working directory with a
// RID file of the test's own, a federate manager whose answers the test
// scripts, a region of the RTI's class, and an argument of every type that
// the service table uses, so that tests can call any service generically.

#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "NullFederateAmbassador.hh"
#include "RTI.hh"
#include "ServiceLog.h"
#include "api/DtAttrValueSet.h"
#include "api/DtAttributeHandleSet.h"
#include "api/DtConcreteFedHandleSet.h"
#include "api/DtParamValueSet.h"
#include "api/DtRtiServiceTable.h"
#include "core/DtFederateMgr.h"
#include "core/DtRtiAmbassadorImplementor.h"
#include "ddm/DtRegion.h"
#include "fedtime.hh"
#include "net/DtConnectionMgr.h"
#include "objects/DtFomClassMgr.h"
#include "rti/api/FlatRegion.h"
#include "rti/config/ConfigTestFiles.h"
#include "rti/net/ConnTestSupport.h"

// A working directory of its own (where the ambassador writes its log file)
// and RTI_RID_FILE naming a RID file written there with the given forms, on
// top of a federation of the test's own (its port and multicast group on the
// loopback), so that an ambassador's sockets never meet another test's.
class RidScope {
public:
  explicit RidScope(const std::string& forms = "")
      : directory_(true),
        ridFile_("RTI_RID_FILE", directory_.write("test-rid.mtl", nettest::ridText(federation_, forms) + "\n").c_str()),
        config_("RTI_CONFIG", nullptr) {}

  const ScratchDirectory& directory() const { return directory_; }
  const nettest::FederationPort& federation() const { return federation_; }

private:
  nettest::FederationPort federation_;
  ScratchDirectory directory_;
  ScopedEnv ridFile_;
  ScopedEnv config_;
};

// A federate manager whose state the test sets and whose calls it records.
// tick() answers from a script (false once the script is used up) and runs
// the test's hook first, so that a fake clock can move.
class FakeFederateMgr : public DtFederateMgr {
public:
  // No connection manager: the fake never reaches the network.
  explicit FakeFederateMgr(DtRIDParameters* params) : DtFederateMgr(params, nullptr) {}

  // The one the implementor made, while it exists.
  static FakeFederateMgr* last;
  // Installs it as the federate manager that every implementor makes.
  struct Install {
    Install() { DtFederateMgr::setCreatorFunction(&make); }
    ~Install() { DtFederateMgr::setCreatorFunction(nullptr); }
  };

  void join(const char* federate = "F1", const char* execution = "Fx", RTI::FederateHandle handle = 7) {
    setJoinedNames(federate, execution);
    federateHandle_ = handle;
  }
  void leave() { clearJoinedNames(); }
  void setSaveState(bool saveInitiated, bool restoreInitiated) {
    saveInitiated_ = saveInitiated;
    restoreInitiated_ = restoreInitiated;
  }
  // The managers the federate has, for the test to fill, take or swap.
  std::unique_ptr<DtFomClassMgr>& fomSlot() { return fom_; }
  std::unique_ptr<DtObjectMgr>& objMgrSlot() { return objMgr_; }
  std::unique_ptr<DtInteractionMgr>& interMgrSlot() { return interMgr_; }
  std::unique_ptr<DtTimeMgr>& timeMgrSlot() { return timeMgr_; }
  std::unique_ptr<DtDataDistMgr>& ddmMgrSlot() { return ddmMgr_; }
  // Reads the FED file into the federate's class manager; false when it
  // cannot be read.
  bool readFom(const char* fedFile);
  // Uses a connection manager of its own, made as a federate's is.
  void connect();
  void setConnectMgr(std::unique_ptr<DtConnectionMgr> manager) { connectMgr_ = std::move(manager); }

  std::vector<std::string> calls;  // every service (with its arguments) and tick step, in order
  bool saveInProgress = false;     // testSaveProgress throws SaveInProgress("Save1")
  std::deque<bool> tickScript;     // the answers of tick()
  std::function<void()> onTick;    // runs at every tick()
  DtMomMgr* initMom = nullptr;
  bool initCalled = false;

  ~FakeFederateMgr() override;
  void init(DtMomMgr* momMgr) override {
    initCalled = true;
    initMom = momMgr;
    DtFederateMgr::init(momMgr);
  }
  void createFederationExecution(const char* execution, const char* fed) override {
    calls.push_back(logCall("create", execution, fed));
  }
  void destroyFederationExecution(const char* execution) override { calls.push_back(logCall("destroy", execution)); }
  RTI::FederateHandle joinFederationExecution(const char* federate, const char* execution,
                                              RTI::FederateAmbassador*) override {
    calls.push_back(logCall("join", federate, execution));
    join(federate, execution);
    return federateHandle_;
  }
  void resignFederationExecution(RTI::ResignAction action) override {
    calls.push_back(logCall("resign", static_cast<unsigned long>(action)));
    clearJoinedNames();
  }
  void registerFederationSynchronizationPoint(const char* label, const char* tag,
                                              const RTI::FederateHandleSet& federates) override {
    std::string set = "{";
    for (RTI::ULong i = 0; i < federates.size(); ++i) set += (i ? "," : "") + logText(federates.getHandle(i));
    calls.push_back(logCall("registerSync", label, tag, (set + "}").c_str()));
  }
  void registerFederationSynchronizationPoint(const char* label, const char* tag) override {
    calls.push_back(logCall("registerSync", label, tag));
  }
  void synchronizationPointAchieved(const char* label) override { calls.push_back(logCall("syncAchieved", label)); }
  RTI::Boolean tick() override {
    record("tick");
    if (onTick) onTick();
    if (tickScript.empty()) return RTI::RTI_FALSE;
    const bool result = tickScript.front();
    tickScript.pop_front();
    return result ? RTI::RTI_TRUE : RTI::RTI_FALSE;
  }
  void pretick() override { record("pretick"); }
  void posttick() override { record("posttick"); }
  void requestFederationSave(const char* label, const RTI::FedTime* time) override {
    calls.push_back(logCall("save", label, time));
  }
  void federateSaveBegun() override { record("saveBegun"); }
  void federateSaveComplete() override { record("saveComplete"); }
  void federateSaveNotComplete() override { record("saveNotComplete"); }
  void requestFederationRestore(const char* label) override { calls.push_back(logCall("restore", label)); }
  void federateRestoreComplete() override { record("restoreComplete"); }
  void federateRestoreNotComplete() override { record("restoreNotComplete"); }
  DtTransportType getTransportationHandle(const DtString& name) override {
    calls.push_back(logCall("getTransportationHandle", name.string()));
    return DtReliable;
  }
  char* getTransportationName(DtTransportType type) override {
    calls.push_back(logCall("getTransportationName", static_cast<unsigned long>(type)));
    return copyOf("reliable");
  }
  DtOrderType getOrderHandle(const DtString& name) override {
    calls.push_back(logCall("getOrderHandle", name.string()));
    return DtTimestampOrder;
  }
  char* getOrderName(DtOrderType type) override {
    calls.push_back(logCall("getOrderName", static_cast<unsigned long>(type)));
    return copyOf("timestamp");
  }
  void testSaveProgress() override {
    record("testSaveProgress");
    if (saveInProgress) throw RTI::SaveInProgress("Save1");
  }

  int count(const std::string& call) const;

private:
  static DtFederateMgr* make(DtRIDParameters* params);
  // A new array holding the text, as the library returns names.
  static char* copyOf(const char* text);
  void record(const char* call) { calls.emplace_back(call); }
};

// The implementor as the library makes it, remembered so that a test can
// file observers through it; installed as the implementor of every
// ambassador made meanwhile.
class PlainImplementor : public DtRtiAmbassadorImplementor {
public:
  explicit PlainImplementor(DtRIDParameters* params) : DtRtiAmbassadorImplementor(params, nullptr) { last = this; }
  ~PlainImplementor() override {
    if (last == this) last = nullptr;
  }
  static inline PlainImplementor* last = nullptr;
  struct Install {
    Install() { setCreatorFunction(&make); }
    ~Install() { setCreatorFunction(nullptr); }
  };

private:
  static DtRtiAmbassadorImplementor* make(DtRIDParameters* params) { return new PlainImplementor(params); }
};

// A region of the RTI's own class, with a fixed handle.
class TestRegion : public FlatRegion<DtRegion> {
public:
  explicit TestRegion(std::uint32_t token = 42) { setHandle(token); }
};

// One argument of each type that the services take, alive as long as the
// object: get<T>() for the parameter type T as the service table writes it.
class ServiceArgs {
public:
  ServiceArgs() : values(4), parameters(4), federates(4) {
    attributes.add(1);
    federates.add(3);
  }

  template <class T>
  T get();

  DtAttributeHandleSet attributes;
  DtAttrValueSet values;
  DtParamValueSet parameters;
  DtConcreteFedHandleSet federates;
  RTIfedTime time{1.5};
  RTIfedTime outTime{-1.0};
  TestRegion region;
  RTI::Region* regions[1] = {&region};
  RTI::AttributeHandle handles[1] = {1};
  NullFederateAmbassador federateAmbassador;
};

template <>
inline const char* ServiceArgs::get<const char*>() {
  return "arg";
}
template <>
inline RTI::FederateAmbassador* ServiceArgs::get<RTI::FederateAmbassador*>() {
  return &federateAmbassador;
}
template <>
inline RTI::ResignAction ServiceArgs::get<RTI::ResignAction>() {
  return RTI::DELETE_OBJECTS;
}
template <>
inline const RTI::FederateHandleSet& ServiceArgs::get<const RTI::FederateHandleSet&>() {
  return federates;
}
template <>
inline const RTI::FedTime& ServiceArgs::get<const RTI::FedTime&>() {
  return time;
}
template <>
inline RTI::FedTime& ServiceArgs::get<RTI::FedTime&>() {
  return outTime;
}
template <>
inline unsigned long ServiceArgs::get<unsigned long>() {
  return 1;
}
template <>
inline long ServiceArgs::get<long>() {
  return 1;
}
template <>
inline double ServiceArgs::get<double>() {
  return 0.0;
}
template <>
inline RTI::Boolean ServiceArgs::get<RTI::Boolean>() {
  return RTI::RTI_TRUE;
}
template <>
inline const RTI::AttributeHandleSet& ServiceArgs::get<const RTI::AttributeHandleSet&>() {
  return attributes;
}
template <>
inline const RTI::AttributeHandleValuePairSet& ServiceArgs::get<const RTI::AttributeHandleValuePairSet&>() {
  return values;
}
template <>
inline const RTI::ParameterHandleValuePairSet& ServiceArgs::get<const RTI::ParameterHandleValuePairSet&>() {
  return parameters;
}
template <>
inline RTI::EventRetractionHandle ServiceArgs::get<RTI::EventRetractionHandle>() {
  return RTI::EventRetractionHandle{5, 7};
}
template <>
inline RTI::Region& ServiceArgs::get<RTI::Region&>() {
  return region;
}
template <>
inline const RTI::Region& ServiceArgs::get<const RTI::Region&>() {
  return region;
}
template <>
inline RTI::Region* ServiceArgs::get<RTI::Region*>() {
  return &region;
}
template <>
inline RTI::Region** ServiceArgs::get<RTI::Region**>() {
  return regions;
}
template <>
inline RTI::AttributeHandle* ServiceArgs::get<RTI::AttributeHandle*>() {
  return handles;
}

// Calls of the services of one family (or all) through an ambassador, by
// name, with ServiceArgs' arguments; results are dropped.
struct ServiceCall {
  const char* name;
  std::function<void(RTI::RTIambassador&, ServiceArgs&)> call;
};

#define QLX_SERVICE_ARG(pair) args.get<DT_RTI_TYPE(pair)>()
#define QLX_SERVICE_CALL(type, kind, name, ...)                                               \
  ServiceCall{#name, [](RTI::RTIambassador& ambassador, [[maybe_unused]] ServiceArgs& args) { \
                (void)ambassador.name(DT_RTI_EACH(QLX_SERVICE_ARG, __VA_ARGS__));             \
              }},
