#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <vector>

#include "LinkCheck.h"
#include "util/DtSortedList.h"

namespace {

// An item that remembers its insertion order and records apply() calls.
class TaggedItem : public DtSortedListItem {
public:
  TaggedItem(std::uint32_t key, int tag, std::vector<std::uint32_t>* applied)
      : DtSortedListItem(key), tag(tag), applied_(applied) {}
  void apply() override { applied_->push_back(key()); }
  int tag;

private:
  std::vector<std::uint32_t>* applied_;
};

class TaggedList : public DtSortedList {
public:
  explicit TaggedList(int descending) : DtSortedList(descending) {}
  DtSortedListItem* makeItem(std::uint32_t key) override { return new TaggedItem(key, nextTag++, &applied); }
  int nextTag = 0;
  std::vector<std::uint32_t> applied;
};

std::vector<std::uint32_t> keys(const DtSortedList& list) {
  std::vector<std::uint32_t> out;
  for (DtSortedListItem* item = list.head(); item; item = item->next()) out.push_back(item->key());
  return out;
}

std::vector<int> tags(const DtSortedList& list) {
  std::vector<int> out;
  for (DtSortedListItem* item = list.head(); item; item = item->next())
    out.push_back(static_cast<TaggedItem*>(item)->tag);
  return out;
}

TEST(DtSortedList, EqualKeysKeepTheirOrderOfInsertion) {
  struct Case {
    int descending;
    std::vector<std::uint32_t> keys;
    std::vector<int> tags;
  };
  // Keys 5, 3, 5, 1 are inserted with the tags 0, 1, 2, 3.
  for (const Case& c : {Case{0, {1, 3, 5, 5}, {3, 1, 0, 2}}, Case{1, {5, 5, 3, 1}, {0, 2, 1, 3}}}) {
    TaggedList list(c.descending);
    for (std::uint32_t key : {5u, 3u, 5u, 1u}) list.insert(key);
    EXPECT_EQ(keys(list), c.keys);
    EXPECT_EQ(tags(list), c.tags);
    expectLinksConsistent(list);
    list.applyAll();
    EXPECT_EQ(list.applied, (std::vector<std::uint32_t>{1, 3, 5, 5})) << "ascending whatever the direction";
  }
}

TEST(DtSortedList, RemoveFindAndClear) {
  DtSortedList list;
  for (std::uint32_t key : {4u, 8u, 2u}) list.insert(key);
  EXPECT_EQ(list.removeItem(nullptr), 0u);
  EXPECT_EQ(list.find(9), nullptr);
  DtSortedListItem* eight = list.find(8);
  ASSERT_NE(eight, nullptr);
  EXPECT_EQ(list.removeItem(eight), 8u);
  EXPECT_EQ(keys(list), (std::vector<std::uint32_t>{2, 4}));
  expectLinksConsistent(list);
  list.clear();
  EXPECT_EQ(list.count(), 0u);
  EXPECT_EQ(list.head(), nullptr);
  EXPECT_EQ(list.tail(), nullptr);
}

TEST(DtSortedList, RepositionAfterAKeyChange) {
  struct Case {
    std::uint32_t from;
    std::uint32_t to;
    std::vector<std::uint32_t> ascending;
  };
  const Case cases[] = {
      {1, 9, {3, 5, 9}}, {5, 0, {0, 1, 3}}, {3, 4, {1, 4, 5}}, {3, 5, {1, 5, 5}}, {5, 3, {1, 3, 3}},
  };
  for (int descending : {0, 1}) {
    for (const Case& c : cases) {
      DtSortedList list(descending);
      for (std::uint32_t key : {1u, 3u, 5u}) list.insert(key);
      DtSortedListItem* item = list.find(c.from);
      item->setKey(c.to);
      list.reposition(item);
      std::vector<std::uint32_t> expected = c.ascending;
      if (descending) expected.assign(c.ascending.rbegin(), c.ascending.rend());
      EXPECT_EQ(keys(list), expected) << c.from << "->" << c.to << " descending=" << descending;
      expectLinksConsistent(list);
    }
  }
}

TEST(DtSortedList, SetDescendingReversesOnlyOnAChange) {
  DtSortedList list;
  for (std::uint32_t key : {2u, 1u, 3u}) list.insert(key);
  list.setDescending(0);
  EXPECT_EQ(keys(list), (std::vector<std::uint32_t>{1, 2, 3}));
  list.setDescending(1);
  EXPECT_EQ(list.descending(), 1);
  EXPECT_EQ(keys(list), (std::vector<std::uint32_t>{3, 2, 1}));
  expectLinksConsistent(list);
  list.insert(2);
  EXPECT_EQ(keys(list), (std::vector<std::uint32_t>{3, 2, 2, 1}));
  list.reverse();
  EXPECT_EQ(list.descending(), 0);
  EXPECT_EQ(keys(list), (std::vector<std::uint32_t>{1, 2, 2, 3}));
  expectLinksConsistent(list);
}

// The places that inserts and repositions find, against the plain walks
// that define them, on inputs that land at either end, near the tail and
// anywhere, with many equal keys.
struct Entry {
  std::uint32_t key;
  int tag;
  bool operator==(const Entry&) const = default;
};

std::vector<Entry> entries(const DtSortedList& list) {
  std::vector<Entry> out;
  for (DtSortedListItem* item = list.head(); item; item = item->next()) {
    out.push_back({item->key(), static_cast<TaggedItem*>(item)->tag});
  }
  return out;
}

// Walk from the head past every entry the new one may follow.
void modelInsert(std::vector<Entry>& model, Entry entry, bool descending) {
  const auto mayPrecede = [descending](const Entry& a, const Entry& b) {
    return descending ? a.key >= b.key : a.key <= b.key;
  };
  auto position = model.begin();
  while (position != model.end() && mayPrecede(*position, entry)) ++position;
  model.insert(position, entry);
}

// Forward: before the first later entry it may precede; backward: after
// the first earlier entry that may precede it.
void modelReposition(std::vector<Entry>& model, std::size_t i, bool descending) {
  const auto mayPrecede = [descending](const Entry& a, const Entry& b) {
    return descending ? a.key >= b.key : a.key <= b.key;
  };
  const Entry moved = model[i];
  if (i + 1 < model.size() && !mayPrecede(moved, model[i + 1])) {
    std::size_t c = i + 1;
    while (c < model.size() && !mayPrecede(moved, model[c])) ++c;
    model.insert(model.begin() + static_cast<std::ptrdiff_t>(c), moved);
    model.erase(model.begin() + static_cast<std::ptrdiff_t>(i));
  } else if (i > 0 && !mayPrecede(model[i - 1], moved)) {
    std::ptrdiff_t c = static_cast<std::ptrdiff_t>(i) - 1;
    while (c >= 0 && !mayPrecede(model[static_cast<std::size_t>(c)], moved)) --c;
    model.erase(model.begin() + static_cast<std::ptrdiff_t>(i));
    model.insert(model.begin() + c + 1, moved);
  }
}

TEST(DtSortedList, InsertsAndRepositionsFindThePlacesOfTheWalkFromTheHead) {
  struct Input {
    const char* name;
    std::function<std::uint32_t(std::uint32_t i, std::mt19937& random)> key;
  };
  const Input inputs[] = {
      {"rising", [](std::uint32_t i, std::mt19937&) { return i / 3; }},
      {"falling", [](std::uint32_t i, std::mt19937&) { return 1000 - i / 3; }},
      {"rising with jitter", [](std::uint32_t i, std::mt19937& r) { return i + r() % 8; }},
      {"few values", [](std::uint32_t, std::mt19937& r) { return static_cast<std::uint32_t>(r() % 5); }},
      {"anywhere", [](std::uint32_t, std::mt19937& r) { return static_cast<std::uint32_t>(r() % 1000); }},
  };
  for (int descending : {0, 1}) {
    for (const Input& input : inputs) {
      std::mt19937 random(42);
      TaggedList list(descending);
      std::vector<Entry> model;
      for (std::uint32_t i = 0; i < 300; ++i) {
        const std::uint32_t key = input.key(i, random);
        modelInsert(model, {key, list.nextTag}, descending);
        list.insert(key);
      }
      ASSERT_EQ(entries(list), model) << input.name << " descending=" << descending;

      for (int change = 0; change < 300; ++change) {
        const std::size_t i = random() % model.size();
        DtSortedListItem* item = list.head();
        for (std::size_t k = 0; k < i; ++k) item = item->next();
        const std::uint32_t key = input.key(static_cast<std::uint32_t>(300 + change), random);
        item->setKey(key);
        model[i].key = key;
        list.reposition(item);
        modelReposition(model, i, descending);
      }
      EXPECT_EQ(entries(list), model) << input.name << " descending=" << descending;
      expectLinksConsistent(list);
    }
  }
}

TEST(DtSortedList, ApplyMayRemoveItsOwnItem) {
  struct SelfRemoving : DtSortedListItem {
    SelfRemoving(std::uint32_t key, DtSortedList* list) : DtSortedListItem(key), list(list) {}
    void apply() override {
      if (key() % 2) list->removeItem(this);
    }
    DtSortedList* list;
  };
  DtSortedList list;
  for (std::uint32_t key : {1u, 2u, 3u, 4u}) list.insertSorted(new SelfRemoving(key, &list));
  list.applyAll();
  EXPECT_EQ(keys(list), (std::vector<std::uint32_t>{2, 4}));
}

}  // namespace
