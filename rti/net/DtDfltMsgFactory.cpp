#include "net/DtDfltMsgFactory.h"

#include "net/DtRtiMsg.h"

namespace {

struct Creators {
  DtRtiMsgKind kind;
  DtRtiMsgRecvCreator recv;
  DtRtiMsgSendCreator send;
};

template <class Msg>
constexpr Creators entry(DtRtiMsgKind kind) {
  return {kind, static_cast<DtRtiMsgRecvCreator>(&Msg::create), static_cast<DtRtiMsgSendCreator>(&Msg::create)};
}

// In increasing kind order.
const Creators theClasses[] = {
    {DtInvalidMsgKind, nullptr, nullptr},
};

}  // namespace

DtDfltMsgFactory::DtDfltMsgFactory() {
  for (const Creators& c : theClasses)
    if (c.recv || c.send) addCreators(c.kind, c.recv, c.send);
}
