#pragma once
// The pointer work shared by the library's intrusive lists (DtList and
// DtSortedList): their items carry prev_ and next_ and befriend this helper.

template <class Item>
struct DtLinkOps {
  // Puts the item between two neighbours (either may be null at an end).
  static void insertBetween(Item*& head, Item*& tail, Item* item, Item* prev, Item* next) {
    item->prev_ = prev;
    item->next_ = next;
    if (prev) {
      prev->next_ = item;
    } else {
      head = item;
    }
    if (next) {
      next->prev_ = item;
    } else {
      tail = item;
    }
  }

  // Closes the gap the item leaves; the item's own pointers are untouched.
  static void unlink(Item*& head, Item*& tail, Item* item) {
    if (item->prev_) {
      item->prev_->next_ = item->next_;
    } else {
      head = item->next_;
    }
    if (item->next_) {
      item->next_->prev_ = item->prev_;
    } else {
      tail = item->prev_;
    }
  }

  static void deleteAll(Item* head) {
    while (head) {
      Item* next = head->next_;
      delete head;
      head = next;
    }
  }
};
