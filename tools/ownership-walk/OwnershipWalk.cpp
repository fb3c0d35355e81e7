#include "OwnershipWalk.h"

#include <unistd.h>

#include <deque>
#include <map>
#include <memory>
#include <random>

#include "NullFederateAmbassador.hh"
#include "api/DtAttributeHandleSet.h"
#include "config/DtFedReader.h"
#include "config/DtRIDParameters.h"
#include "exec/DtFedExec.h"
#include "msg/DtFederationMsgs.h"
#include "msg/DtOwnershipMsg.h"
#include "msg/DtRtiMsgKind.h"
#include "net/DtConnectionMgr.h"
#include "objects/DtFomClassMgr.h"
#include "objects/DtObjectClassInfo.h"
#include "objects/DtObjectMgr.h"
#include "objects/DtRtiObject.h"
#include "util/DtNotify.h"

namespace {

constexpr const char* executionName = "Walk";
constexpr int executionHandle = 1;
constexpr int rtiexecId = 0;  // the rtiexec's place in the exchange
constexpr int liveFederates = 3;
constexpr RTI::AttributeHandle attributeCount = 3;  // privilegeToDelete, Position, Name

const char* const fedText =
    "(FED (Federation Walk) (FEDversion v1.3) (spaces) (objects (class ObjectRoot"
    " (attribute privilegeToDelete reliable receive) (class RTIprivate)"
    " (class Ship (attribute Position reliable receive) (attribute Name reliable receive))))"
    " (interactions (class InteractionRoot reliable receive (class RTIprivate reliable receive))))\n";

std::string setText(const RTI::AttributeHandleSet& set) {
  std::string out = "{";
  for (RTI::ULong i = 0; i < set.size(); ++i) out += (i ? "," : "") + std::to_string(set.getHandle(i));
  return out + "}";
}

std::string describe(const DtRtiMsg& msg) {
  if (const auto* m = dynamic_cast<const DtOwnershipMsg*>(&msg)) {
    std::string line = std::string(DtOwnerMsgKindName(m->ownerMsgKind())) + " object " +
                       std::to_string(m->objHandle()) + " " + setText(m->attrHandles());
    if (m->recipientFederate() != 0) line += " to " + std::to_string(m->recipientFederate());
    return line;
  }
  if (const auto* m = dynamic_cast<const DtResignMsg*>(&msg)) {
    return "resign of " + std::to_string(m->federateHandle());
  }
  return DtRtiMsgKinds::name(msg.msgKind());
}

// Every member's messages to every member: for each receiver, one queue per
// sender, in the order sent.
class Exchange {
public:
  void join(int member) { inboxes_[member]; }
  // What was on its way to the member is lost with it.
  void leave(int member) { inboxes_.erase(member); }
  void post(int sender, const DtRtiMsg& msg) {
    for (auto& [member, queues] : inboxes_) queues[sender].emplace_back(msg.clone(1));
  }
  // The (receiver, sender) pairs with something waiting.
  std::vector<std::pair<int, int>> ready() const {
    std::vector<std::pair<int, int>> pairs;
    for (const auto& [member, queues] : inboxes_) {
      for (const auto& [sender, queue] : queues) {
        if (!queue.empty()) pairs.emplace_back(member, sender);
      }
    }
    return pairs;
  }
  std::unique_ptr<DtRtiMsg> take(int member, int sender) {
    std::deque<std::unique_ptr<DtRtiMsg>>& queue = inboxes_.at(member).at(sender);
    std::unique_ptr<DtRtiMsg> msg = std::move(queue.front());
    queue.pop_front();
    return msg;
  }

private:
  std::map<int, std::map<int, std::deque<std::unique_ptr<DtRtiMsg>>>> inboxes_;
};

// A connection manager whose every send goes into the exchange; the rest
// (stamping, the factory, dispatch by kind) is the real one's.
class ExchangeConnectionMgr : public DtConnectionMgr {
public:
  ExchangeConnectionMgr(Exchange& exchange, int member) : exchange_(exchange), member_(member) {}
  int send(const DtRtiMsg& msg, DtTransportType, unsigned long) override {
    exchange_.post(member_, msg);
    return 0;
  }
  bool listenToMulticastGroup(unsigned long) override { return true; }
  bool dropMulticastGroup(unsigned long) override { return true; }

private:
  Exchange& exchange_;
  int member_;
};

// Counts the attributes that came and went, for the walk's figures.
class CountingFedAmb : public NullFederateAmbassador {
public:
  void attributeOwnershipAcquisitionNotification(RTI::ObjectHandle, const RTI::AttributeHandleSet& a) override {
    transfers += a.size();
  }
  std::uint64_t transfers = 0;
};

std::string writeFedFile() {
  char path[] = "/tmp/ownership-walk-XXXXXX";
  const int fd = mkstemp(path);
  if (fd < 0) return {};
  const std::string text = fedText;
  const bool written = write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
  close(fd);
  if (!written) {
    unlink(path);
    return {};
  }
  return path;
}

struct Federate {
  Federate(std::uint32_t handle, Exchange& exchange, DtRIDParameters& rid, const std::string& fedFile)
      : handle(handle), conn(exchange, static_cast<int>(handle)) {
    DtFedReader reader;
    fom = DtFomClassMgr::loadFed(reader, fedFile.c_str(), nullptr, nullptr);
    if (!fom) return;
    conn.connectFederation(&amb, executionName, handle, executionHandle);
    mgr = std::make_unique<DtObjectMgr>(&conn, fom.get(), &rid);
    ship = fom->classByName("ObjectRoot.Ship")->handle();
  }
  ~Federate() { mgr.reset(); }

  std::uint32_t handle;
  ExchangeConnectionMgr conn;
  CountingFedAmb amb;
  std::unique_ptr<DtFomClassMgr> fom;
  std::unique_ptr<DtObjectMgr> mgr;
  RTI::ObjectClassHandle ship = 0;
};

class Walk {
public:
  Walk(const OwnershipWalkOptions& options, const std::string& fedFile, DtRIDParameters& rid)
      : options_(options), random_(options.seed), fedFile_(fedFile), rid_(rid), execConn_(exchange_, rtiexecId) {
    exchange_.join(rtiexecId);
    exec_ =
        std::make_unique<DtFedExec>(&execConn_, DtString(executionName), DtString("walk.fed"), executionHandle, &rid_);
  }

  OwnershipWalkResult run() {
    for (int i = 0; i < liveFederates; ++i) join();
    settle();
    for (auto& [handle, federate] : federates_) registerShip(*federate);
    settle();
    check(true);
    for (int step = 0; step < options_.steps && result_.ok; ++step) {
      this->step();
      check(false);
    }
    if (result_.ok) {
      settle();
      check(true);
    }
    for (const auto& [handle, federate] : federates_) result_.transfers += federate->amb.transfers;
    result_.transfers += goneTransfers_;
    return std::move(result_);
  }

private:
  int draw(int below) { return std::uniform_int_distribution<int>(0, below - 1)(random_); }
  bool chance(int percent) { return draw(100) < percent; }

  void note(const std::string& line) {
    if (options_.keepTrace) result_.trace.push_back(std::to_string(result_.trace.size()) + ": " + line);
  }
  void fail(const std::string& why) {
    if (!result_.ok) return;
    result_.ok = false;
    result_.failure = why;
    note("FAILED: " + why);
  }

  void join() {
    const std::uint32_t handle = nextHandle_++;
    auto federate = std::make_unique<Federate>(handle, exchange_, rid_, fedFile_);
    if (!federate->mgr) {
      fail("the FED file cannot be read");
      return;
    }
    exchange_.join(static_cast<int>(handle));
    exec_->addFederate(("walker" + std::to_string(handle)).c_str(), handle, handle);
    DtAttributeHandleSet all;
    for (RTI::AttributeHandle a = 0; a < attributeCount; ++a) all.add(a);
    federate->mgr->publish(federate->ship, all);
    federate->mgr->subscribe(federate->ship, all, RTI::RTI_TRUE);
    note("federate " + std::to_string(handle) + " joins");
    federates_[handle] = std::move(federate);
  }

  // The federates that join later know none of the objects registered
  // before them (nothing here updates an attribute, which would let them
  // discover one), so each one brings an object of its own for the
  // federates alive with it to trade.
  void registerShip(Federate& federate) {
    objects_.push_back(federate.mgr->registerObj(federate.ship, ("ship" + std::to_string(federate.handle)).c_str()));
    note("federate " + std::to_string(federate.handle) + " registers object " + std::to_string(objects_.back()));
  }

  void resign(Federate& federate) {
    const std::uint32_t handle = federate.handle;
    note("federate " + std::to_string(handle) + " resigns releasing its attributes");
    // As the federate manager resigns: the object manager hands over what
    // it owns and holds, then the resign message; nothing more reaches it.
    federate.mgr->prepareToResign(RTI::RELEASE_ATTRIBUTES);
    federate.mgr.reset();
    if (auto msg = std::unique_ptr<DtRtiMsg>(federate.conn.create(DtResignMsgKind))) {
      static_cast<DtResignMsg&>(*msg).set(executionName, handle, RTI::RELEASE_ATTRIBUTES);
      federate.conn.sendStampedAndDelete(msg.release(), DtReliable, 0);
    }
    goneTransfers_ += federate.amb.transfers;
    exchange_.leave(static_cast<int>(handle));
    federates_.erase(handle);
    ++result_.resigns;
  }

  void deliver(int member, int sender) {
    const std::unique_ptr<DtRtiMsg> msg = exchange_.take(member, sender);
    note("to " + std::to_string(member) + " from " + std::to_string(sender) + ": " + describe(*msg));
    ++result_.deliveries;
    if (member == rtiexecId) {
      execConn_.processMsg(*msg);
      return;
    }
    Federate& federate = *federates_.at(static_cast<std::uint32_t>(member));
    federate.conn.processMsg(*msg);
    // Another federate's resignation reaches the object manager through
    // the federate manager.
    if (const auto* resign = dynamic_cast<const DtResignMsg*>(msg.get())) {
      if (resign->federateHandle() != federate.handle) federate.mgr->processResign(*resign);
    }
    federate.mgr->tick();
  }

  void settle() {
    for (int i = 0; i < 100000; ++i) {
      const std::vector<std::pair<int, int>> ready = exchange_.ready();
      if (ready.empty()) return;
      const auto [member, sender] = ready[static_cast<std::size_t>(draw(static_cast<int>(ready.size())))];
      deliver(member, sender);
    }
    fail("the federation does not come to rest");
  }

  // A random subset of the set, never empty when the set is not.
  DtAttributeHandleSet someOf(const DtAttributeHandleSet& set) {
    DtAttributeHandleSet some;
    for (RTI::ULong i = 0; i < set.size(); ++i) {
      if (chance(50)) some.add(set.getHandle(i));
    }
    if (some.isEmpty() && !set.isEmpty()) some.add(set.getHandle(static_cast<RTI::ULong>(draw(set.size()))));
    return some;
  }

  template <class Service>
  void call(Federate& federate, const std::string& what, RTI::ObjectHandle object, const DtAttributeHandleSet& set,
            Service service) {
    if (set.isEmpty()) return;
    ++result_.services;
    std::string outcome = "ok";
    try {
      service(*federate.mgr, object, set);
    } catch (const RTI::Exception& e) {
      ++result_.refused;
      outcome = std::string("refused: ") + (e._name ? e._name : "");
    }
    note("federate " + std::to_string(federate.handle) + " " + what + " object " + std::to_string(object) + " " +
         setText(set) + ": " + outcome);
  }

  void useService(Federate& federate) {
    std::vector<RTI::ObjectHandle> known;
    for (const RTI::ObjectHandle handle : objects_) {
      if (federate.mgr->knownObj(handle)) known.push_back(handle);
    }
    if (known.empty()) return;
    const RTI::ObjectHandle object = known[static_cast<std::size_t>(draw(static_cast<int>(known.size())))];
    const DtRtiObject* o = federate.mgr->knownObj(object);
    DtAttributeHandleSet all;
    for (RTI::AttributeHandle a = 0; a < attributeCount; ++a) all.add(a);
    const DtAttributeHandleSet notOwned = all.removeSetIntersection(o->ownedAttrs());
    const DtAttributeHandleSet owned = o->ownedAttrs();
    DtAttributeHandleSet askedFor;
    for (RTI::AttributeHandle a = 0; a < attributeCount; ++a) {
      if (o->owned(a) && (o->pendingRemoteRequest(a) != 0 || o->isRequestCanceled(a))) askedFor.add(a);
    }
    switch (draw(8)) {
      case 0:
      case 1:
        call(federate, "acquires", object, someOf(notOwned),
             [](DtObjectMgr& m, RTI::ObjectHandle h, auto& a) { m.acquireAttrs(h, a, false, "walk"); });
        return;
      case 2:
        call(federate, "acquires if available", object,
             someOf(notOwned.removeSetIntersection(o->uncondRequestedAttrs())),
             [](DtObjectMgr& m, RTI::ObjectHandle h, auto& a) { m.acquireAttrs(h, a, true, "walk"); });
        return;
      case 3:
        call(federate, "cancels acquiring", object, someOf(o->uncondRequestedAttrs()),
             [](DtObjectMgr& m, RTI::ObjectHandle h, auto& a) { m.cancelAcquire(h, a); });
        return;
      case 4:
        call(federate, "offers", object, someOf(owned.removeSetIntersection(o->divestingAttrs())),
             [](DtObjectMgr& m, RTI::ObjectHandle h, auto& a) { m.divestOwnership(h, a, true, "walk"); });
        return;
      case 5:
        call(federate, "gives up", object, someOf(owned),
             [](DtObjectMgr& m, RTI::ObjectHandle h, auto& a) { m.divestOwnership(h, a, false, nullptr); });
        return;
      case 6:
        call(federate, "withdraws its offer of", object, someOf(o->divestingAttrs()),
             [](DtObjectMgr& m, RTI::ObjectHandle h, auto& a) { m.cancelDivest(h, a); });
        return;
      default:
        call(federate, "releases", object, someOf(askedFor),
             [](DtObjectMgr& m, RTI::ObjectHandle h, auto& a) { delete m.releaseResponse(h, a); });
        return;
    }
  }

  void step() {
    const std::vector<std::pair<int, int>> ready = exchange_.ready();
    const int what = draw(100);
    if (what < 55 && !ready.empty()) {
      const auto [member, sender] = ready[static_cast<std::size_t>(draw(static_cast<int>(ready.size())))];
      deliver(member, sender);
    } else if (what < 90 && !federates_.empty()) {
      auto it = federates_.begin();
      std::advance(it, draw(static_cast<int>(federates_.size())));
      useService(*it->second);
    } else if (what < 94 && federates_.size() >= 2) {
      // Someone is always left to take what a resigning federate gives.
      auto it = federates_.begin();
      std::advance(it, draw(static_cast<int>(federates_.size())));
      resign(*it->second);
    } else if (what < 98 && federates_.size() < liveFederates) {
      join();
      if (result_.ok) registerShip(*federates_.rbegin()->second);
    } else {
      note("the federation comes to rest");
      settle();
      check(true);
    }
  }

  // No attribute has two owners or holders; at rest, every one has one.
  void check(bool atRest) {
    if (!result_.ok) return;
    if (atRest) ++result_.quietChecks;
    for (const RTI::ObjectHandle object : objects_) {
      for (RTI::AttributeHandle a = 0; a < attributeCount; ++a) {
        std::string who;
        int count = 0;
        for (const auto& [handle, federate] : federates_) {
          const DtRtiObject* o = federate->mgr->allObj(object);
          if (!o) continue;
          if (o->owned(a)) who += " owned by " + std::to_string(handle);
          if (o->lrcManaged(a)) who += " held by " + std::to_string(handle);
          if (o->rtiOwned(a)) who += " owned by the RTI at " + std::to_string(handle);
          count += (o->owned(a) ? 1 : 0) + (o->lrcManaged(a) ? 1 : 0) + (o->rtiOwned(a) ? 1 : 0);
        }
        const std::string attribute = "attribute " + std::to_string(a) + " of object " + std::to_string(object);
        if (count > 1) fail(attribute + " has two owners or holders:" + who);
        if (atRest && count == 0) fail(attribute + " is lost: nobody owns or holds it at rest");
        if (!result_.ok) return;
      }
    }
  }

  OwnershipWalkOptions options_;
  OwnershipWalkResult result_;
  std::mt19937_64 random_;
  std::string fedFile_;
  DtRIDParameters& rid_;
  Exchange exchange_;
  ExchangeConnectionMgr execConn_;
  std::unique_ptr<DtFedExec> exec_;
  std::map<std::uint32_t, std::unique_ptr<Federate>> federates_;
  std::vector<RTI::ObjectHandle> objects_;
  std::uint32_t nextHandle_ = 1;
  std::uint64_t goneTransfers_ = 0;
};

}  // namespace

OwnershipWalkResult RunOwnershipWalk(const OwnershipWalkOptions& options) {
  // The RID parameters are read once (the defaults, or the RID file the
  // environment names), with the rtiexec in use.
  static DtRIDParameters* const rid = [] {
    auto* read = new DtRIDParameters;
    read->setUseRtiExec(1);
    return read;
  }();
  // The RTI's diagnostics (a notification of attributes not asked for, ...)
  // stay out of the walk's output.
  const int level = DtGetNotifyLevel();
  DtSetNotifyLevel(0);
  const std::string fedFile = writeFedFile();
  OwnershipWalkResult result;
  if (fedFile.empty()) {
    result.ok = false;
    result.failure = "no FED file could be written";
  } else {
    result = Walk(options, fedFile, *rid).run();
    unlink(fedFile.c_str());
  }
  DtSetNotifyLevel(level);
  return result;
}
