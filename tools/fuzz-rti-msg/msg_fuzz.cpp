// libFuzzer target: any bytes as a received datagram, through the default
// factory's receive road; then the same bytes under every registered kind
// (header kind and length rewritten), built without the status check, so
// that status(), every accessor, the print form and the clones of every
// message class meet bytes whose size fields say anything. Each message
// reads an exact-size heap copy, so a read past its end is caught.
#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

#include "MsgAccessors.h"
#include "msg/DtDfltMsgFactory.h"
#include "msg/DtRtiMsg.h"
#include "util/DtNotify.h"
#include "util/DtNotifyHandler.h"

namespace {

// Keeps the reports flowing through the formatting code without output.
class Sink : public DtNotifyHandler {
public:
  void notify(const char*, int) override {}
};

void exercise(DtRtiMsg& msg, bool checked) {
  const int status = msg.status();
  if (checked && status != DtRtiMsg::Valid) __builtin_trap();  // the factory let a bad one through
  // What the receiving connection reports for a refused one.
  if ((status == DtRtiMsg::Valid) != msg.statusText(status).empty()) __builtin_trap();
  msg.print();
  (void)msg.time();
  (void)msg.serialNumber();
  (void)msg.orderType();
  (void)msg.fedExName();
  volatile long read = readAccessors(msg);
  (void)read;
  std::unique_ptr<DtRtiMsg> copy(msg.clone(1));
  if (copy->size() != msg.size() || std::memcmp(copy->data(), msg.data(), static_cast<std::size_t>(msg.size())) != 0)
    __builtin_trap();
  std::unique_ptr<DtRtiMsg> empty(msg.clone(0));
  if (empty->status() != DtRtiMsg::Valid) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static DtDfltMsgFactory factory;
  static const bool quiet = [] {
    DtSetNotifyHandler(new Sink);
    DtSetNotifyLevel(2);
    DtOpenLogOutput(nullptr, 0, 0);
    return true;
  }();
  (void)quiet;
  if (size > DtRtiMsg::theMaxSize) return 0;

  // As it came: the connection's road.
  {
    std::vector<char> datagram(data, data + size);
    int status = -1;
    std::unique_ptr<DtRtiMsg> msg(factory.createReceived(datagram.data(), static_cast<int>(datagram.size()),
                                                         DtPlaceHolderAt(datagram.data()), &status));
    if (msg) exercise(*msg, true);
  }

  // Under every kind that has a class.
  if (size < DtNetMsgHeader::theSize) return 0;
  for (int kind = 0; kind < DtRtiMsgFactory::theMaxMsgKinds; ++kind) {
    std::vector<char> bytes(data, data + size);
    DtNetMsgHeader::at(bytes.data())->setKind(kind);
    DtNetMsgHeader::at(bytes.data())->setLength(static_cast<std::uint16_t>(size));
    std::unique_ptr<DtRtiMsg> msg(factory.create(DtNetMsgHeader::at(bytes.data()), DtPlaceHolderAt(bytes.data())));
    if (msg) exercise(*msg, false);
  }
  return 0;
}
