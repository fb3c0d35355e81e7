#include "msg/DtRtiMsgCbMgr.h"

#include "msg/DtRtiMsg.h"
#include "util/DtNotify.h"

int DtRtiMsgCbMgr::theMaxNumMsgKinds = 255;

// A registration and whether it was removed while a dispatch was running.
struct DtRtiMsgCbMgr::Record {
  DtRtiMsgCallbackInfo info;
  bool removed = false;
};

DtRtiMsgCbMgr::DtRtiMsgCbMgr()
    : lists_(new DtList[static_cast<std::size_t>(theMaxNumMsgKinds)]), listCount_(theMaxNumMsgKinds) {}

DtRtiMsgCbMgr::DtRtiMsgCbMgr(const DtRtiMsgCbMgr& other) : DtRtiMsgCbMgr() { copyList(other); }

DtRtiMsgCbMgr& DtRtiMsgCbMgr::operator=(const DtRtiMsgCbMgr& other) {
  if (this != &other) {
    emptyList();
    copyList(other);
  }
  return *this;
}

DtRtiMsgCbMgr::~DtRtiMsgCbMgr() {
  emptyList();
  delete[] lists_;
}

void DtRtiMsgCbMgr::addMsgCallback(DtRtiMsgKind kind, DtRtiMsgCallbackInfo* record) {
  if (!inRange(kind)) {
    DtNotifyError("Trying to add DtRtiMsg callback on bad msg kind: %d\n", static_cast<int>(kind));
    delete record;
    return;
  }
  lists_[kind].insertAfter(new Record{*record}, nullptr);
  delete record;
}

void DtRtiMsgCbMgr::addMsgCallback(DtRtiMsgKind kind, DtRtiMsgCallback func, void* usr) {
  addMsgCallback(kind, new DtRtiMsgCallbackInfo(func, usr));
}

void DtRtiMsgCbMgr::removeMsgCallback(DtRtiMsgKind kind, const DtRtiMsgCallbackInfo& record) {
  if (!inRange(kind)) return;
  DtList& list = lists_[kind];
  for (DtListItem* item = list.head(); item;) {
    DtListItem* next = item->next();
    auto* r = static_cast<Record*>(item->data());
    if (!r->removed && r->info.match(record)) {
      if (dispatching_ > 0) {
        // The walk in progress may stand on it: only mark it.
        r->removed = true;
        removedDuringDispatch_ = true;
      } else {
        list.remove(item);
        delete r;
      }
    }
    item = next;
  }
}

void DtRtiMsgCbMgr::removeMsgCallback(DtRtiMsgKind kind, DtRtiMsgCallback func, void* usr) {
  removeMsgCallback(kind, DtRtiMsgCallbackInfo(func, usr));
}

void DtRtiMsgCbMgr::processMsg(const DtRtiMsg& msg) const {
  const int kind = msg.msgKind();
  if (!inRange(kind)) return;
  struct Depth {
    const DtRtiMsgCbMgr* mgr;
    explicit Depth(const DtRtiMsgCbMgr* m) : mgr(m) { ++mgr->dispatching_; }
    ~Depth() {
      if (--mgr->dispatching_ == 0 && mgr->removedDuringDispatch_) mgr->sweep();
    }
  } depth(this);
  for (DtListItem* item = lists_[kind].head(); item;) {
    DtListItem* next = item->next();
    const auto* r = static_cast<const Record*>(item->data());
    if (!r->removed) r->info.call(msg);
    item = next;
  }
}

int DtRtiMsgCbMgr::numCallbacks(DtRtiMsgKind kind) const {
  if (!inRange(kind)) return 0;
  int count = 0;
  for (DtListItem* item = lists_[kind].head(); item; item = item->next())
    if (!static_cast<const Record*>(item->data())->removed) ++count;
  return count;
}

void DtRtiMsgCbMgr::sweep() const {
  removedDuringDispatch_ = false;
  for (int kind = 0; kind < listCount_; ++kind) {
    DtList& list = lists_[kind];
    for (DtListItem* item = list.head(); item;) {
      DtListItem* next = item->next();
      auto* r = static_cast<Record*>(item->data());
      if (r->removed) {
        list.remove(item);
        delete r;
      }
      item = next;
    }
  }
}

void DtRtiMsgCbMgr::emptyList() {
  for (int kind = 0; kind < listCount_; ++kind) {
    DtList& list = lists_[kind];
    while (DtListItem* item = list.head()) delete static_cast<Record*>(list.remove(item));
  }
}

void DtRtiMsgCbMgr::copyList(const DtRtiMsgCbMgr& other) {
  // Walked from the tail, so that the copy calls in the same order.
  for (int kind = 0; kind < listCount_ && kind < other.listCount_; ++kind)
    for (DtListItem* item = other.lists_[kind].tail(); item; item = item->prev()) {
      const auto* r = static_cast<const Record*>(item->data());
      if (!r->removed) lists_[kind].insertAfter(new Record{r->info}, nullptr);
    }
}
