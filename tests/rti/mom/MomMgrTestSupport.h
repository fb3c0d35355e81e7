#pragma once
// What the MOM manager's tests share: an ambassador that writes down the
// services called and throws where a test asks (telling the observers of
// the failure, as the real one does), a connection manager that keeps the
// interactions sent, and a joined federate over the MOM test FOM: RID
// parameters, object and interaction managers and the MOM manager.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <type_traits>
#include <vector>

#include "MomObjectsTestSupport.h"
#include "api/DtRtiAmbObserverList.h"
#include "config/DtRIDParameters.h"
#include "mom/DtMomAmbassador.h"
#include "mom/DtMomMgr.h"
#include "msg/DtUpdateMsgs.h"
#include "objects/DtInteractionMgr.h"

namespace momtest {

class FakeAmbassador final : public DtMomAmbassador {
public:
  DtRIDParameters* ridParameters() const override { return rid.get(); }
  DtRtiAmbObserverList* observers() const override { return observerList.get(); }

#define FAKE_SERVICE(type, kind, name, ...) \
  type name(DT_RTI_TYPES(__VA_ARGS__)) override { return serve<type>(#name); }
  DT_RTI_SERVICES(FAKE_SERVICE)
#undef FAKE_SERVICE

  std::unique_ptr<DtRIDParameters> rid = std::make_unique<DtRIDParameters>();
  std::unique_ptr<DtRtiAmbObserverList> observerList = std::make_unique<DtRtiAmbObserverList>();
  std::vector<std::string> calls;
  std::string failing;  // the service that throws RTI::ObjectNotKnown

private:
  template <class Result>
  Result serve(const char* name) {
    calls.emplace_back(name);
    if (failing == name) {
      RTI::ObjectNotKnown failure("not here");
      for (DtRtiAmbassadorObserver* o = observerList->first(); o; o = o->next()) o->federateSaveBegun(&failure);
      throw failure;
    }
    if constexpr (!std::is_void_v<Result>) return Result{};
  }
};

// Keeps a copy of every interaction handed over, and its lines.
class InteractionRecorder : public objtest::TestConnectionMgr {
public:
  explicit InteractionRecorder(std::uint32_t handle) : objtest::TestConnectionMgr(handle) {}
  std::vector<std::unique_ptr<DtInteractionMsg>> interactions;

protected:
  void posted(const DtRtiMsg& msg) override {
    if (const auto* interaction = dynamic_cast<const DtInteractionMsg*>(&msg)) {
      interactions.emplace_back(static_cast<DtInteractionMsg*>(interaction->clone(1)));
    }
  }
};

// A federate with its MOM manager, joined over the FED text.
struct MomJoined {
  explicit MomJoined(const std::string& ridLines = "", const std::string& fed = momFedText(), std::uint32_t handle = 7)
      : fom(fomFromText(fed)), conn(std::make_unique<InteractionRecorder>(handle)) {
    ambassador.rid = objtest::ridWith(ridLines);
    federate.handle = handle;
    conn->ambassador = &fedAmb;
    objects = std::make_unique<DtObjectMgr>(conn.get(), fom.get(), nullptr);
    interactions = DtInteractionMgr::create(conn.get(), fom.get(), ambassador.rid.get());
    mom = std::make_unique<DtMomMgr>(&ambassador);
    join();
  }
  ~MomJoined() { mom.reset(); }
  void join() { mom->join(conn.get(), fom.get(), &federate, objects.get(), interactions.get()); }

  // A received interaction of the class, from federate 3, with the pairs.
  void receive(const char* className, const std::vector<std::pair<std::string, std::string>>& pairs) {
    const ClassPairs of(*fom, className);
    const auto set = of.write(pairs);
    DtInteractionRoMsg msg(of.handle(), *set, "", 0, nullptr);
    msg.setFederateHandle(3);
    mom->processInteraction(static_cast<const DtInteractionMsg&>(msg));
  }

  // The interactions sent since the last call: "<last name component>
  // <parameter>=<value>..." with the values shown as text.
  std::vector<std::string> takeSent() {
    std::vector<std::string> lines;
    for (const auto& msg : conn->interactions) {
      const auto* cls = fom->interactionByHandle(static_cast<RTI::InteractionClassHandle>(msg->handle()));
      std::string name = cls ? cls->name() : "?";
      name = name.substr(name.rfind('.') + 1);
      for (RTI::ULong i = 0; i < msg->params().size(); ++i) {
        RTI::ULong length = 0;
        const char* bytes = msg->params().getValuePointer(i, length);
        name += " " +
                std::string(fom->paramName(msg->params().getHandle(i), static_cast<std::uint32_t>(msg->handle()))) +
                "=" + shown(std::string(bytes, length));
      }
      lines.push_back(name);
    }
    conn->interactions.clear();
    return lines;
  }

  FakeAmbassador ambassador;
  FakeFederate federate;
  std::unique_ptr<DtFomClassMgr> fom;
  std::unique_ptr<InteractionRecorder> conn;
  objtest::RecordingFedAmb fedAmb;
  std::unique_ptr<DtObjectMgr> objects;
  std::unique_ptr<DtInteractionMgr> interactions;
  std::unique_ptr<DtMomMgr> mom;
};

}  // namespace momtest
