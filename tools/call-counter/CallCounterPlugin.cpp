// call-counter: an example plug-in of libhlacore. It counts the RTI service
// calls of a federate (with a service observer) and the callbacks the
// federate receives (with a federate-ambassador wrapper), and prints both
// counts, by name, on standard output each time the federate resigns:
//
//   call-counter: 12 service calls (1 failed), 4 callbacks
//   call-counter: call createFederationExecution 1
//   ...
//   call-counter: callback discoverObjectInstance 1
//
// The counts run from the ambassador's construction. Name it in the RID file
// to use it with any federate:
//
//   (setq RTI_pluginDirectory "<the folder that holds it>")
//   (RTI-addPluginName "libcall-counter.so")
#include <DtRtiPlugin.h>

#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <utility>

namespace {

// What the observer and the wrapper count. Both hold it, since the RTI
// deletes each of them at a time of its own.
struct Counts {
  std::map<std::string, unsigned long> calls;
  unsigned long failedCalls = 0;
  std::map<std::string, unsigned long> callbacks;

  static unsigned long total(const std::map<std::string, unsigned long>& counts) {
    unsigned long sum = 0;
    for (const auto& entry : counts) sum += entry.second;
    return sum;
  }

  void print() const {
    std::printf("call-counter: %lu service calls (%lu failed), %lu callbacks\n", total(calls), failedCalls,
                total(callbacks));
    for (const auto& [name, count] : calls) std::printf("call-counter: call %s %lu\n", name.c_str(), count);
    for (const auto& [name, count] : callbacks) {
      std::printf("call-counter: callback %s %lu\n", name.c_str(), count);
    }
    std::fflush(stdout);
  }
};

// Told of every service call after it returned or threw: one notification
// per row of the service table, each counted under the service's name.
class CallCountingObserver : public DtRtiAmbassadorObserver {
public:
  explicit CallCountingObserver(std::shared_ptr<Counts> counts) : counts_(std::move(counts)) {}

#define CALL_COUNTER_NOTIFICATION(type, kind, name, ...)                                          \
  void name(DT_RTI_TYPES(__VA_ARGS__) DT_RTI_COMMA_IF(__VA_ARGS__) DT_RTI_RESULT_TYPE(kind, type) \
                RTI::Exception* failure) override {                                               \
    count(#name, failure);                                                                        \
  }
  DT_RTI_SERVICES(CALL_COUNTER_NOTIFICATION)
#undef CALL_COUNTER_NOTIFICATION

private:
  void count(const char* service, const RTI::Exception* failure) {
    ++counts_->calls[service];
    if (failure) ++counts_->failedCalls;
    if (!failure && std::string(service) == "resignFederationExecution") counts_->print();
  }

  std::shared_ptr<Counts> counts_;
};

// Sees every callback on its way to the federate: counts it under its name
// and passes it on unchanged.
class CallbackCountingWrapper : public DtFedAmbWrapper {
public:
  explicit CallbackCountingWrapper(std::shared_ptr<Counts> counts) : counts_(std::move(counts)) {}

#define CALL_COUNTER_CALLBACK(name, ...)             \
  void name(DT_RTI_PARAMS(__VA_ARGS__)) override {   \
    ++counts_->callbacks[#name];                     \
    DtFedAmbWrapper::name(DT_RTI_ARGS(__VA_ARGS__)); \
  }
  DT_FED_AMB_CALLBACKS(CALL_COUNTER_CALLBACK)
#undef CALL_COUNTER_CALLBACK

private:
  std::shared_ptr<Counts> counts_;
};

}  // namespace

// The observer and the wrapper go to the RTI, which deletes them with the
// ambassador.
extern "C" void InitLRCPlugin(DtRtiAmbassadorImplementor* implementor) {
  auto counts = std::make_shared<Counts>();
  implementor->addObserver("call-counter", new CallCountingObserver(counts));
  // The implementor takes the wrapper only when it does not throw.
  auto wrapper = std::make_unique<CallbackCountingWrapper>(counts);
  implementor->addFedAmbWrapper("call-counter", wrapper.get());
  wrapper.release();
}
