#pragma once
// Base class of objects kept in a DtMemberList: the object knows the list and
// the item it sits in, so that it can leave the list in constant time.
// Put it into a list as a DtListMember* (convert to the base before the
// pointer becomes untyped), so that the list finds the base again.
// Exported: the service observers of plug-ins derive from it.

#include "port/DtExport.h"

class DtList;
class DtListItem;

class DT_EXPORT DtListMember {
public:
  DtListMember() = default;
  // A copy is not in any list.
  DtListMember(const DtListMember&) {}
  // NOLINTNEXTLINE(bugprone-unhandled-self-assignment): assigning copies nothing.
  DtListMember& operator=(const DtListMember&) { return *this; }
  virtual ~DtListMember();

  DtList* list() const { return list_; }
  DtListItem* item() const { return item_; }

private:
  friend class DtMemberList;
  DtList* list_ = nullptr;
  DtListItem* item_ = nullptr;
};
