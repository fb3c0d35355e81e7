// libFuzzer target: one federate's object manager between two others, fed
// a run of steps drawn from the input: ownership messages of any kind, about
// any of its objects or none, from either peer, to it or to another, with
// any attributes and tag; and its own ownership services with any
// arguments (a refused one must change nothing). Its own messages come back
// to it as from the loopback. After every step the record of each object
// must hold: no attribute both owned and held, the owned and held lists
// exactly the objects with owned and with held attributes.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <memory>
#include <string>

#include <unistd.h>

#include "NullFederateAmbassador.hh"
#include "config/DtFedReader.h"
#include "msg/DtObjectMsgs.h"
#include "msg/DtOwnershipMsg.h"
#include "net/DtConnectionMgr.h"
#include "objects/DtFomClassMgr.h"
#include "objects/DtObjectMgr.h"
#include "objects/DtRtiObject.h"
#include "util/DtNotify.h"
#include "util/DtNotifyHandler.h"

namespace {

constexpr std::uint32_t self = 3;
const std::uint32_t peers[] = {21, 22};

class Quiet : public DtNotifyHandler {
public:
  void notify(const char*, int) override {}
};

// Keeps what the manager sends, to hand it back as received.
class LoopbackConnectionMgr : public DtConnectionMgr {
public:
  int sendStampedAndDelete(DtRtiMsg* msg, DtTransportType, unsigned long) override { return keep(msg, self); }
  int sendStampedAnonymousAndDelete(DtRtiMsg* msg, DtTransportType, unsigned long) override { return keep(msg, 0); }
  int sendStamped(DtRtiMsg& msg, DtTransportType, unsigned long) override { return keep(msg.clone(1), self); }
  int sendStampedAnonymous(DtRtiMsg& msg, DtTransportType, unsigned long) override { return keep(msg.clone(1), 0); }
  bool listenToMulticastGroup(unsigned long) override { return true; }
  bool dropMulticastGroup(unsigned long) override { return true; }
  RTI::FederateAmbassador* fedAmb() const override { return ambassador; }
  unsigned long fedHandle() const override { return self; }

  RTI::FederateAmbassador* ambassador = nullptr;
  std::deque<std::unique_ptr<DtRtiMsg>> sent;

private:
  int keep(DtRtiMsg* msg, std::uint32_t sender) {
    msg->setFederateHandle(sender);
    if (sent.size() < 64) {
      sent.emplace_back(msg);
    } else {
      delete msg;
    }
    return 0;
  }
};

std::string fedFile;

// Bytes of the input, read one at a time; 0 past the end.
class Input {
public:
  Input(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  bool more() const { return at_ < size_; }
  std::uint8_t byte() { return at_ < size_ ? data_[at_++] : 0; }
  std::uint32_t word() { return byte() | (std::uint32_t{byte()} << 8); }

private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t at_ = 0;
};

void check(DtObjectMgr& mgr) {
  for (const DtListItem* item = mgr.allObjects().head(); item; item = item->next()) {
    const auto* o = static_cast<const DtRtiObject*>(item->data());
    if (!o->ownedAttrs().setIntersection(o->lrcManagedAttrs()).isEmpty()) __builtin_trap();
    if ((mgr.ownedObj(o->objHandle()) != nullptr) != !o->ownedAttrs().isEmpty()) __builtin_trap();
    if ((mgr.lrcManagedObj(o->objHandle()) != nullptr) != !o->lrcManagedAttrs().isEmpty()) __builtin_trap();
  }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  DtSetNotifyHandler(new Quiet);
  char path[] = "/tmp/ownership-fuzz-XXXXXX";
  const int fd = mkstemp(path);
  if (fd < 0) std::abort();
  const char* fed =
      "(FED (Federation F) (FEDversion v1.3) (spaces) (objects (class ObjectRoot"
      " (attribute privilegeToDelete reliable receive) (class RTIprivate)"
      " (class Ship (attribute Position best_effort receive) (attribute Name best_effort receive)"
      " (class Boat (attribute Sail best_effort receive)))))"
      " (interactions (class InteractionRoot best_effort receive (class RTIprivate best_effort receive))))\n";
  if (write(fd, fed, std::strlen(fed)) < 0) std::abort();
  close(fd);
  fedFile = path;
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  DtFedReader reader;
  const std::unique_ptr<DtFomClassMgr> fom = DtFomClassMgr::loadFed(reader, fedFile.c_str(), nullptr, nullptr);
  if (!fom) std::abort();
  LoopbackConnectionMgr conn;
  NullFederateAmbassador amb;
  conn.ambassador = &amb;
  auto mgr = std::make_unique<DtObjectMgr>(&conn, fom.get(), nullptr);
  // Ship 3 and Boat 4: this federate publishes Ship {1} and subscribes
  // both; it registers one object and each peer registers one.
  DtAttributeHandleSet published;
  published.add(1);
  mgr->publish(3, published);
  DtAttributeHandleSet ship;
  for (RTI::AttributeHandle h = 0; h < 3; ++h) ship.add(h);
  DtAttributeHandleSet boat(ship);
  boat.add(3);
  mgr->subscribe(3, ship, RTI::RTI_TRUE);
  mgr->subscribe(4, boat, RTI::RTI_TRUE);
  const RTI::ObjectHandle objects[4] = {mgr->registerObj(3, "mine"), 2100001, 2200001, 999};
  for (int i = 1; i <= 2; ++i) {
    DtRegObjMsg reg(objects[i], i == 1 ? "a" : "b", i == 1 ? 3 : 4, i == 1 ? ship : boat, nullptr);
    reg.setFederateHandle(peers[i - 1]);
    conn.processMsg(reg);
  }
  conn.sent.clear();

  Input in(data, size);
  for (int step = 0; step < 64 && in.more(); ++step) {
    const std::uint8_t what = in.byte();
    const RTI::ObjectHandle object = objects[in.byte() % 4];
    DtAttributeHandleSet attributes;
    const std::uint32_t bits = in.word();
    for (RTI::AttributeHandle h = 0; h < 6; ++h) {
      if (bits & (1u << h)) attributes.add(h == 5 ? 300 : h);
    }
    if (what < 128) {
      // A message of a peer (or of nobody), to this federate or not.
      char tag[8] = {};
      for (char& c : tag) c = static_cast<char>(in.byte() % 95 + 32);
      tag[7] = '\0';
      DtOwnershipMsg msg(static_cast<DtOwnerMsgKind>(what % 17), object, attributes, in.byte() % 2 ? self : peers[0],
                         in.byte() % 2 ? tag : nullptr);
      msg.setClassHandle(in.byte() % 6);
      msg.setFederateHandle(what % 3 == 2 ? 0 : peers[what % 2]);
      conn.processMsg(msg);
    } else if (what < 200) {
      try {
        switch (what % 8) {
          case 0: mgr->acquireAttrs(object, attributes, false, "t"); break;
          case 1: mgr->acquireAttrs(object, attributes, true, nullptr); break;
          case 2: mgr->cancelAcquire(object, attributes); break;
          case 3: mgr->divestOwnership(object, attributes, true, "t"); break;
          case 4: mgr->divestOwnership(object, attributes, false, nullptr); break;
          case 5: mgr->cancelDivest(object, attributes); break;
          case 6: delete mgr->releaseResponse(object, attributes); break;
          default: mgr->queryOwnership(object, bits % 7); break;
        }
      } catch (const RTI::Exception&) {
      }
    } else {
      // What it sent comes back.
      while (!conn.sent.empty()) {
        const std::unique_ptr<DtRtiMsg> msg = std::move(conn.sent.front());
        conn.sent.pop_front();
        conn.processMsg(*msg);
      }
      mgr->tick();
    }
    check(*mgr);
  }
  mgr.reset();
  return 0;
}
