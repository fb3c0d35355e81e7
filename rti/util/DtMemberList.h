#pragma once
// DtMemberList: a DtList of DtListMember objects. Linking an item records the
// list and the item in its member, unlinking clears them. Unlike DtList it
// deletes its data when told to (removeMember, deleteMember, deleteMembers).
// The data of every item must be a DtListMember* (or null).

#include "util/DtList.h"
#include "util/DtListMember.h"

class DtMemberList : public DtList {
public:
  DtMemberList() = default;
  // A member sits in one list at a time, so member lists are not copied.
  DtMemberList(const DtMemberList&) = delete;
  DtMemberList& operator=(const DtMemberList&) = delete;
  // Unlinks every item (clearing the members' records); deletes no member.
  ~DtMemberList() override;

  void link(DtListItem* item, DtListItem* after) override { linkMember(item, after); }
  void unlink(DtListItem* item) override { unlinkMember(item); }

  virtual void linkMember(DtListItem* item, DtListItem* after);
  virtual void unlinkMember(DtListItem* item);
  // Removes the item and deletes its member.
  virtual void removeMember(DtListItem* item);
  // Removes and deletes every member.
  virtual void deleteMembers();
  // Finds the member's item, removes it and deletes the member.
  void deleteMember(DtListMember* member);

  static DtListMember* memberOf(const DtListItem* item) { return static_cast<DtListMember*>(item->data()); }
};
