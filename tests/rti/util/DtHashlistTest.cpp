#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "NotifyCapture.h"
#include "util/DtHashlist.h"
#include "util/DtMemberList.h"
#include "util/DtStringKey.h"
#include "util/DtUlongKey.h"

namespace {

std::vector<void*> dataOf(const DtList* list) {
  std::vector<void*> out;
  for (DtListItem* item = list->head(); item; item = item->next()) out.push_back(item->data());
  return out;
}

TEST(DtHashKey, StringHashesWeighCharactersByPosition) {
  struct Case {
    const char* text;
    std::uint32_t hash;
  };
  for (const Case& c :
       {Case{"ab", 293}, Case{"ca", 293}, Case{"", 0}, Case{"\xff", 0xffffffffu}, Case{"a\x80", 97u - 256u}}) {
    EXPECT_EQ(DtStringKey(c.text).hash(), c.hash) << c.text;
  }
  EXPECT_NE(DtStringKey("ab"), DtStringKey("ca")) << "equal hashes, different texts";
  EXPECT_EQ(DtStringKey("ab"), DtStringKey(DtString("ab")));
}

TEST(DtHashKey, NumberKeysAreEqualExactlyWhenTheirValuesAre) {
  EXPECT_EQ(DtUlongKey(5), DtUlongKey(5));
  EXPECT_NE(DtUlongKey(5), DtUlongKey(124));
  EXPECT_EQ(DtUlongKey(4000000000u).hash(), 4000000000u);
  DtHashKey* clone = DtUlongKey(7).clone();
  EXPECT_EQ(static_cast<DtUlongKey*>(clone)->value(), 7u);
  delete clone;
}

TEST(DtHashKey, ChangingAStringKeysTextTakesTheHashAnew) {
  DtStringKey key("ab");
  EXPECT_EQ(key.hash(), 293u);
  key.setString(DtString("a"));
  EXPECT_EQ(key.hash(), 97u);
  key.string() += "a";
  EXPECT_EQ(key.hash(), 97u + 2 * 97u);
}

TEST(DtHashlist, AddingAKeyAgainReplacesItsEntryAndMovesItToTheEnd) {
  int first = 1, second = 2, other = 3;
  DtHashlist table(119);
  table.add(DtStringKey("x"), &first);
  table.add(DtStringKey("y"), &other);
  void* replaced = nullptr;
  DtListItem* item = table.add(DtStringKey("x"), &second, &replaced);
  EXPECT_EQ(replaced, &first);
  EXPECT_EQ(item->data(), &second);
  EXPECT_EQ(dataOf(table.list()), (std::vector<void*>{&other, &second}));
  ASSERT_EQ(table.keys()->count(), 2u);
  EXPECT_EQ(static_cast<DtHashKey*>(table.keys()->tail()->data())->string(), "x");
  EXPECT_EQ(table.find(DtStringKey("x")), &second);

  table.add(DtStringKey("z"), &other, &replaced);
  EXPECT_EQ(replaced, nullptr);
}

TEST(DtHashlist, KeysSharingABucketStayDistinct) {
  int a = 1, b = 2, c = 3, d = 4;
  DtHashlist table(119);
  table.add(DtUlongKey(5), &a);
  table.add(DtUlongKey(124), &b);
  table.add(DtStringKey("ab"), &c);
  table.add(DtStringKey("ca"), &d);
  EXPECT_EQ(table.bucket(DtUlongKey(5)), table.bucket(DtUlongKey(124)));
  EXPECT_EQ(table.bucket(DtUlongKey(5))->count(), 2u);
  EXPECT_EQ(table.find(DtUlongKey(5)), &a);
  EXPECT_EQ(table.find(DtUlongKey(124)), &b);
  EXPECT_EQ(table.find(DtStringKey("ab")), &c);
  EXPECT_EQ(table.find(DtStringKey("ca")), &d);
  EXPECT_EQ(table.findItem(DtStringKey("ca"))->data(), &d);
  EXPECT_EQ(table.findItem(DtStringKey("zz")), nullptr);
}

TEST(DtHashlist, RemoveAndClearLeaveTheDataAlone) {
  int a = 1, b = 2;
  DtHashlist table(7);
  table.add(DtUlongKey(1), &a);
  table.add(DtUlongKey(2), &b);
  EXPECT_EQ(table.remove(DtUlongKey(9)), nullptr);
  EXPECT_EQ(table.list()->count(), 2u);
  EXPECT_EQ(table.remove(DtUlongKey(1)), &a);
  EXPECT_EQ(table.find(DtUlongKey(1)), nullptr);
  EXPECT_EQ(table.keys()->count(), 1u);

  table.clear();
  EXPECT_EQ(table.list()->count(), 0u);
  EXPECT_EQ(table.keys()->count(), 0u);
  for (std::uint32_t v = 0; v < 7; ++v) EXPECT_EQ(table.bucket(DtUlongKey(v))->count(), 0u);
  EXPECT_EQ(a + b, 3);
}

TEST(DtHashlist, CopiesCloneKeysAndShareData) {
  int a = 1, b = 2;
  DtHashlist table(119);
  table.add(DtStringKey("a"), &a);
  table.add(DtStringKey("b"), &b);
  DtHashlist copy(table);
  EXPECT_EQ(copy.bucketCount(), 119u);
  EXPECT_EQ(dataOf(copy.list()), dataOf(table.list()));
  EXPECT_NE(copy.keys()->head()->data(), table.keys()->head()->data());

  DtHashlist assigned(3);
  assigned.add(DtStringKey("old"), &a);
  assigned = table;
  EXPECT_EQ(assigned.bucketCount(), 3u);
  EXPECT_EQ(assigned.find(DtStringKey("old")), nullptr);
  EXPECT_EQ(assigned.find(DtStringKey("b")), &b);
  assigned = assigned;
  EXPECT_EQ(dataOf(assigned.list()), (std::vector<void*>{&a, &b}));
}

TEST(DtHashlist, OverAMemberListTheObjectsLearnWhereTheySit) {
  struct Observer : DtListMember {};
  DtMemberList members;
  Observer one;
  Observer two;
  {
    DtHashlist table(&members, 119);
    DtListItem* item = table.add(DtUlongKey(1), static_cast<DtListMember*>(&one));
    table.add(DtUlongKey(2), static_cast<DtListMember*>(&two));
    EXPECT_EQ(one.list(), &members);
    EXPECT_EQ(one.item(), item);
    table.remove(DtUlongKey(1));
    EXPECT_EQ(one.list(), nullptr);
    EXPECT_EQ(members.count(), 1u);
  }
  EXPECT_EQ(members.count(), 0u) << "the hash list empties the list it was given";
  EXPECT_EQ(two.list(), nullptr);
}

// Growing must leave both insertion-order lists and every held item alone.
TEST(DtHashlist, GrowingKeepsEveryEntryAndBothOrders) {
  for (std::uint32_t start : {0u, 1u, 7u, 119u}) {
    constexpr std::uint32_t n = 3000;
    std::vector<int> data(n);
    std::vector<std::unique_ptr<DtHashKey>> keys;
    for (std::uint32_t i = 0; i < n; ++i) {
      if (i % 2) {
        keys.push_back(std::make_unique<DtUlongKey>(i * 7919u));
      } else {
        keys.push_back(std::make_unique<DtStringKey>(("Radio" + std::to_string(i)).c_str()));
      }
    }
    DtHashlist table(start);
    table.add(*keys[0], &data[0]);
    DtListItem* firstEntry = table.findEntry(*keys[0]);
    DtListItem* firstData = table.list()->head();
    for (std::uint32_t i = 1; i < n; ++i) table.add(*keys[i], &data[i]);

    EXPECT_GE(table.bucketCount(), n) << start;
    EXPECT_EQ(table.findEntry(*keys[0]), firstEntry) << "a bucket item moves across as it is";
    EXPECT_EQ(table.list()->head(), firstData);
    std::uint32_t i = 0;
    DtListItem* keyItem = table.keys()->head();
    for (DtListItem* item = table.list()->head(); item; item = item->next(), keyItem = keyItem->next(), ++i) {
      ASSERT_LT(i, n);
      EXPECT_EQ(item->data(), &data[i]);
      EXPECT_TRUE(*static_cast<DtHashKey*>(keyItem->data()) == *keys[i]);
      EXPECT_EQ(table.find(*keys[i]), &data[i]);
    }
    EXPECT_EQ(i, n);

    // Replacing and removing after growth.
    void* replaced = nullptr;
    table.add(*keys[0], &data[1], &replaced);
    EXPECT_EQ(replaced, &data[0]);
    EXPECT_EQ(table.list()->tail()->data(), &data[1]);
    for (std::uint32_t k = 1; k < n; k += 2) EXPECT_EQ(table.remove(*keys[k]), &data[k]);
    std::uint32_t inBuckets = 0;
    for (std::uint32_t b = 0; b < table.bucketCount(); ++b) inBuckets += table.bucket(DtUlongKey(b))->count();
    EXPECT_EQ(inBuckets, n / 2) << start;
    EXPECT_EQ(table.find(*keys[2]), &data[2]);
    EXPECT_EQ(table.find(*keys[3]), nullptr);
  }
}

// A walk over the data that adds as it goes (and so makes the table grow)
// carries on from where it stands and meets the new data at the end.
TEST(DtHashlist, AWalkThatAddsGoesOnThroughGrowth) {
  std::vector<int> data(400);
  DtHashlist table(3);
  table.add(DtUlongKey(0), &data[0]);
  std::uint32_t next = 1;
  std::vector<void*> seen;
  for (DtListItem* item = table.list()->head(); item; item = item->next()) {
    seen.push_back(item->data());
    if (next < data.size()) {
      table.add(DtUlongKey(next), &data[next]);
      ++next;
    }
  }
  ASSERT_EQ(seen.size(), data.size());
  for (std::size_t i = 0; i < data.size(); ++i) EXPECT_EQ(seen[i], &data[i]);
}

TEST(DtHashlist, GrowingOverAMemberListLeavesTheMembersWhereTheySit) {
  struct Observer : DtListMember {};
  DtMemberList members;
  std::vector<Observer> observers(500);
  DtHashlist table(&members, 7);
  for (std::uint32_t i = 0; i < observers.size(); ++i) {
    table.add(DtStringKey(("observer" + std::to_string(i)).c_str()), static_cast<DtListMember*>(&observers[i]));
  }
  DtListItem* item = members.head();
  for (Observer& observer : observers) {
    EXPECT_EQ(observer.list(), &members);
    EXPECT_EQ(observer.item(), item);
    item = item->next();
  }
  table.clear();
  EXPECT_EQ(members.count(), 0u);
}

// Names alike but for a few characters have few distinct weighted sums;
// they must still spread over the buckets.
TEST(DtHashlist, SimilarNamesSpreadOverTheBuckets) {
  std::vector<DtStringKey> keys;
  for (int i = 0; i < 5000; ++i) keys.emplace_back(("Radio" + std::to_string(i)).c_str());
  DtHashlist table(119);
  for (DtStringKey& key : keys) table.add(key, &key);
  std::uint32_t longest = 0;
  for (const DtStringKey& key : keys) longest = std::max(longest, table.bucket(key)->count());
  EXPECT_LE(longest, 12u);
}

TEST(DtHashlist, PrintShowsEveryKeyWithItsData) {
  NotifyCapture capture;
  DtHashlist table(119);
  table.add(DtStringKey("name"), nullptr);
  table.add(DtStringKey("other"), reinterpret_cast<void*>(0xbeef));
  table.print();
  EXPECT_EQ(capture.text(), "Key: name\n Data: NULL\nKey: other\n Data: beef\n");
}

}  // namespace
