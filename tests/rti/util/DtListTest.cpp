#include <gtest/gtest.h>

#include <vector>

#include "LinkCheck.h"
#include "util/DtList.h"
#include "util/DtMemberList.h"

namespace {

std::vector<int> values(const DtList& list) {
  std::vector<int> out;
  for (DtListItem* item = list.head(); item; item = item->next()) out.push_back(*static_cast<int*>(item->data()));
  return out;
}

TEST(DtList, InsertAppendRemoveAndFind) {
  int a = 1, b = 2, c = 3;
  DtList list;
  DtListItem* itemB = list.append(&b);
  list.insertAfter(&a, nullptr);
  DtListItem* itemC = list.insertAfter(&c, itemB);
  EXPECT_EQ(values(list), (std::vector<int>{1, 2, 3}));
  expectLinksConsistent(list);

  EXPECT_EQ(list.remove(nullptr), nullptr);
  EXPECT_EQ(list.count(), 3u);
  EXPECT_EQ(list.remove(itemB), &b);
  EXPECT_EQ(b, 2) << "the data stays alive";
  EXPECT_EQ(values(list), (std::vector<int>{1, 3}));
  expectLinksConsistent(list);

  DtListItem* second = list.append(&a);
  EXPECT_EQ(list.find(&a), list.head()) << "the item nearer the head";
  EXPECT_NE(list.find(&a), second);
  EXPECT_EQ(list.find(&c), itemC);
  EXPECT_EQ(list.find(&b), nullptr);

  list.clear();
  EXPECT_EQ(list.count(), 0u);
  EXPECT_EQ(list.head(), nullptr);
  EXPECT_EQ(list.tail(), nullptr);
}

TEST(DtList, RemovingTheCurrentItemDuringAWalk) {
  int data[5] = {0, 1, 2, 3, 4};
  DtList list;
  for (int& d : data) list.append(&d);
  for (DtListItem* item = list.head(); item;) {
    DtListItem* next = item->next();
    if (*static_cast<int*>(item->data()) % 2 == 0) list.remove(item);
    item = next;
  }
  EXPECT_EQ(values(list), (std::vector<int>{1, 3}));
  expectLinksConsistent(list);
}

TEST(DtList, CopiesAreShallowAndIndependent) {
  int a = 1, b = 2;
  DtList list;
  list.append(&a);
  list.append(&b);
  DtList copy(list);
  EXPECT_EQ(copy.head()->data(), &a);
  EXPECT_NE(copy.head(), list.head());
  copy.remove(copy.head());
  EXPECT_EQ(list.count(), 2u);

  DtList assigned;
  assigned.append(&b);
  assigned = list;
  EXPECT_EQ(values(assigned), (std::vector<int>{1, 2}));
  assigned = assigned;
  EXPECT_EQ(values(assigned), (std::vector<int>{1, 2}));
}

class Member : public DtListMember {
public:
  explicit Member(int* deletions) : deletions_(deletions) {}
  ~Member() override { ++*deletions_; }

private:
  int* deletions_;
};

TEST(DtMemberList, MembersKnowTheirListAndItem) {
  int deletions = 0;
  Member member(&deletions);
  {
    DtMemberList list;
    DtListItem* item = list.append(static_cast<DtListMember*>(&member));
    EXPECT_EQ(member.list(), &list);
    EXPECT_EQ(member.item(), item);
    list.remove(item);
    EXPECT_EQ(member.list(), nullptr);
    EXPECT_EQ(member.item(), nullptr);
    list.append(static_cast<DtListMember*>(&member));
  }
  EXPECT_EQ(member.list(), nullptr) << "a destroyed list leaves no dangling record";
  EXPECT_EQ(deletions, 0) << "destroying the list deletes no member";
}

TEST(DtMemberList, RemoveMemberAndDeleteMembersDeleteTheMembers) {
  int deletions = 0;
  DtMemberList list;
  for (int i = 0; i < 4; ++i) list.append(static_cast<DtListMember*>(new Member(&deletions)));
  list.insertAfter(nullptr, list.head());

  list.removeMember(list.head());
  EXPECT_EQ(list.count(), 4u);
  EXPECT_EQ(deletions, 1);
  list.removeMember(nullptr);
  EXPECT_EQ(list.count(), 4u);

  auto* last = static_cast<DtListMember*>(list.tail()->data());
  list.deleteMember(last);
  EXPECT_EQ(list.count(), 3u);
  EXPECT_EQ(deletions, 2);

  list.deleteMembers();
  EXPECT_EQ(list.count(), 0u);
  EXPECT_EQ(deletions, 4) << "the null member is skipped";
}

}  // namespace
