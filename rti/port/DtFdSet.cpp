#include "port/DtFdSet.h"

bool DtFdSet::add(int fd) {
  if (contains(fd)) return true;
  if (count_ == capacity) return false;
  fds_[count_++] = fd;
  return true;
}

void DtFdSet::remove(int fd) {
  int kept = 0;
  for (int i = 0; i < count_; ++i) {
    if (fds_[i] != fd) fds_[kept++] = fds_[i];
  }
  count_ = kept;
}

bool DtFdSet::contains(int fd) const {
  for (int i = 0; i < count_; ++i) {
    if (fds_[i] == fd) return true;
  }
  return false;
}
