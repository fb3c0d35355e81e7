#pragma once
// A set of up to 64 descriptors for DtSelect: a count followed by the
// descriptors, in the order they were added. Unlike the C library's fd_set
// it holds descriptors of any number.

class DtFdSet {
public:
  static constexpr int capacity = 64;

  // False when the set is full; a descriptor already there is not added again.
  bool add(int fd);
  // Later entries move down one place.
  void remove(int fd);
  bool contains(int fd) const;
  void clear() { count_ = 0; }
  int count() const { return count_; }
  bool empty() const { return count_ == 0; }
  int operator[](int index) const { return fds_[index]; }

private:
  int count_ = 0;
  int fds_[capacity] = {};
};
