#pragma once
// Checks a doubly linked list of the library: the backward links, the tail
// and the count must agree with the forward walk.

#include <gtest/gtest.h>

#include <cstdint>

template <class List>
void expectLinksConsistent(const List& list) {
  std::uint32_t n = 0;
  decltype(list.head()) last = nullptr;
  for (auto item = list.head(); item; item = item->next(), ++n) {
    EXPECT_EQ(item->prev(), last);
    last = item;
  }
  EXPECT_EQ(list.tail(), last);
  EXPECT_EQ(list.count(), n);
}
