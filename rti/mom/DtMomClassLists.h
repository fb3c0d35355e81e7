#pragma once
// DtMomPublicationList, DtMomSubscriptionList: one DtMomHandleList per object
// class (its attributes, its class handle and, for subscriptions, whether
// they are subscribed actively), as the MOM inspector reports what the
// federate publishes and subscribes. The inspector allocates the entries for
// the caller, who deletes them after use: these lists never do.

#include "mom/DtMomHandleList.h"
#include "util/DtList.h"

class DtMomPublicationList : public DtList {
public:
  DtMomHandleList* entry(const DtListItem* item) const { return static_cast<DtMomHandleList*>(item->data()); }
};

class DtMomSubscriptionList : public DtList {
public:
  DtMomHandleList* entry(const DtListItem* item) const { return static_cast<DtMomHandleList*>(item->data()); }
};
