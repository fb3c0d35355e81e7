#include "util/DtMemberList.h"

DtListMember::~DtListMember() = default;

DtMemberList::~DtMemberList() {
  // The base destructor would free the items behind the members' backs.
  clear();
}

void DtMemberList::linkMember(DtListItem* item, DtListItem* after) {
  DtList::link(item, after);
  if (DtListMember* member = memberOf(item)) {
    member->list_ = this;
    member->item_ = item;
  }
}

void DtMemberList::unlinkMember(DtListItem* item) {
  DtList::unlink(item);
  if (DtListMember* member = memberOf(item)) {
    member->list_ = nullptr;
    member->item_ = nullptr;
  }
}

void DtMemberList::removeMember(DtListItem* item) {
  if (!item) return;
  delete static_cast<DtListMember*>(remove(item));
}

void DtMemberList::deleteMembers() {
  DtListItem* item = head();
  while (item) {
    DtListItem* next = item->next();
    removeMember(item);
    item = next;
  }
}

void DtMemberList::deleteMember(DtListMember* member) { removeMember(find(member)); }
