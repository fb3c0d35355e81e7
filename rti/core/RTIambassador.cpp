// The RTI ambassador: assembles the federate's local RTI component, hands
// every service to the implementor and tells the observers about each call.
#include "RTI.hh"

#include <cstdio>
#include <ctime>
#include <memory>
#include <string>
#include <type_traits>

#include "api/DtRtiAmbObserverList.h"
#include "api/DtRtiServiceTable.h"
#include "config/DtPluginLoader.h"
#include "config/DtRIDParameters.h"
#include "core/DtPrivRefs.h"
#include "core/DtRtiAmbassadorImplementor.h"
#include "core/DtRtiPlugin.h"
#include "mom/DtMomMgr.h"
#include "util/DtNotify.h"

namespace {

// Relative to the working directory; an earlier ambassador's file of the
// same name is emptied.
DtString logFileName(const DtRIDParameters& rid) {
  if (rid.reuseLogFile()) return DtString("orvekRti.log");
  char name[64];
  std::snprintf(name, sizeof name, "orvekRti%ld.log", static_cast<long>(std::time(nullptr)));
  return DtString(name);
}

// How a plug-in's report names an RTI exception that its entry threw: the
// class and the reason. Called inside the loader's handler.
std::string describeRtiException() {
  try {
    throw;
  } catch (const RTI::Exception& e) {
    return std::string("RTI::") + (e._name ? e._name : "Exception") + " \"" + (e._reason ? e._reason : "") + "\"";
  } catch (...) {
    return {};
  }
}

template <class Notify>
void notifyEach(const DtRtiAmbObserverList* observers, Notify&& notify) {
  // Each observer's next() is read after it was told, so an observer that
  // takes itself out ends the walk.
  for (DtRtiAmbassadorObserver* observer = observers ? observers->first() : nullptr; observer;
       observer = observer->next()) {
    notify(*observer);
  }
}

// After a successful call only the observers that want successes are told;
// with none of them in the list there is no walk at all.
template <class Notify>
void notifySucceeded(const DtRtiAmbObserverList* observers, Notify&& notify) {
  if (!observers || !observers->successfulCallsWatched()) return;
  notifyEach(observers, [&](DtRtiAmbassadorObserver& o) {
    if (o.wantsSuccessfulCalls()) notify(o);
  });
}

// The one pattern of every service: the implementor does the work; the
// observers are told the arguments, the result and the exception (null after
// success, told only to those that want successes); an RTI::Exception is
// rethrown as the very object the implementor threw. Any other exception
// passes with no observer told.
template <class Result, class Call, class Notify>
Result serve(const DtPrivRefs& refs, Call&& call, Notify&& notify) {
  DtRtiAmbassadorImplementor& implementor = *refs.implementor;
  const DtRtiAmbObserverList* observers = refs.observers.get();
  if constexpr (std::is_void_v<Result>) {
    try {
      call(implementor);
    } catch (RTI::Exception& exception) {
      notifyEach(observers, [&](DtRtiAmbassadorObserver& o) { notify(o, &exception); });
      throw;
    }
    notifySucceeded(observers, [&](DtRtiAmbassadorObserver& o) { notify(o, nullptr); });
  } else {
    Result result{};
    try {
      result = call(implementor);
    } catch (RTI::Exception& exception) {
      notifyEach(observers, [&](DtRtiAmbassadorObserver& o) { notify(o, result, &exception); });
      throw;
    }
    notifySucceeded(observers, [&](DtRtiAmbassadorObserver& o) { notify(o, result, nullptr); });
    return result;
  }
}

}  // namespace

// The notification's result argument by the row's kind, and the parameter
// of the notifying lambda that receives it.
#define DT_RTI_RESULT_ARG_NONE
#define DT_RTI_RESULT_ARG_REF result,
#define DT_RTI_RESULT_ARG_VAL result,
#define DT_RTI_RESULT_PARAM_NONE
// clang-format off
#define DT_RTI_RESULT_PARAM_REF auto& result,
#define DT_RTI_RESULT_PARAM_VAL auto& result,
// clang-format on

#define DT_RTI_AMBASSADOR_SERVICE(type, kind, name, ...)                                                             \
  type RTI::RTIambassador::name(DT_RTI_PARAMS(__VA_ARGS__)) {                                                        \
    return serve<type>(                                                                                              \
        *_privRefs,                                                                                                  \
        [&](DtRtiAmbassadorImplementor& implementor) -> type { return implementor.name(DT_RTI_ARGS(__VA_ARGS__)); }, \
        [&](DtRtiAmbassadorObserver& observer, DT_RTI_RESULT_PARAM_##kind RTI::Exception* e) {                       \
          observer.name(DT_RTI_ARGS(__VA_ARGS__) DT_RTI_COMMA_IF(__VA_ARGS__) DT_RTI_RESULT_ARG_##kind e);           \
        });                                                                                                          \
  }
DT_RTI_SERVICES(DT_RTI_AMBASSADOR_SERVICE)
#undef DT_RTI_AMBASSADOR_SERVICE

namespace RTI {

RTIambassador::RTIambassador() : _privRefs(nullptr) {
  auto refs = std::make_unique<DtPrivRefs>();
  refs->ridParameters = std::make_unique<DtRIDParameters>();
  DtRIDParameters& rid = *refs->ridParameters;
  DtSetNotifyLevel(rid.notifyLevel());
  DtOpenLogOutput(logFileName(rid).string(), 0, 1);

  // Plug-ins' creator hooks run as they load, before anything they may
  // replace is made.
  refs->pluginLoader = std::make_unique<DtPluginLoader>(rid.pluginDir());
  refs->pluginLoader->setExceptionDescriber(&describeRtiException);
  refs->pluginLoader->loadPlugins(rid.pluginNames());
  refs->observers = std::make_unique<DtRtiAmbObserverList>();
  if (rid.momServiceAvailable()) {
    refs->momLink = std::make_unique<DtAmbassadorMomLink>(*this, *refs);
    refs->momMgr = DtMomMgr::create(refs->momLink.get());
  }

  refs->implementor = DtRtiAmbassadorImplementor::create(&rid, refs->momMgr.get());
  if (!refs->implementor) {
    // Out of memory, or a plug-in's creator that made nothing.
    throw RTIinternalError("Unable to create the RTI ambassador implementor");
  }
  refs->implementor->setObservers(refs->observers.get());
  // Each plug-in's "InitLRCPlugin", as DtRtiPlugin.h declares it.
  refs->pluginLoader->callEntries(DtPluginLoader::lrcEntryName, [implementor = refs->implementor.get()](void* entry) {
    reinterpret_cast<decltype(&InitLRCPlugin)>(entry)(implementor);
  });
  _privRefs = refs.release();

  DtNotifyVerbose("\nRTI Ambassador Instantiation Complete\n\n");
  DtNotifyInfo("Using Orvek Technologies' RTI version %s\n", RTI_VERSION);
}

RTIambassador::~RTIambassador() {
  // The MOM manager takes its observer and wrapper out of the observer list
  // and the wrapper chain, so it goes while both exist; the plug-ins are
  // unloaded after everything they may have made is gone. The log file
  // stays open.
  _privRefs->momMgr.reset();
  _privRefs->momLink.reset();
  _privRefs->observers.reset();
  _privRefs->implementor.reset();
  _privRefs->pluginLoader.reset();
  _privRefs->ridParameters.reset();
  delete _privRefs;
}

}  // namespace RTI
