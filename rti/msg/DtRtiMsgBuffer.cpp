#include "msg/DtRtiMsgBuffer.h"

#include <cstdlib>
#include <cstring>
#include <vector>

DtRtiMsgBuffer::DtRtiMsgBuffer(const DtRtiMsgBuffer& other, DtBufferPlaceHolder* where) {
  initBuffer(other.data_, other.size_, where);
}

DtRtiMsgBuffer& DtRtiMsgBuffer::operator=(const DtRtiMsgBuffer& other) {
  if (this == &other) return *this;
  if (inCallerMemory()) data_ = nullptr;
  initBuffer(other.data_, other.size_, nullptr);
  return *this;
}

DtRtiMsgBuffer::~DtRtiMsgBuffer() { std::free(owned_); }

void DtRtiMsgBuffer::initBuffer(int n, DtBufferPlaceHolder* where) {
  if (n < 0) n = 0;
  data_ = where ? reinterpret_cast<char*>(where) : reserve(n);
  size_ = n;
  zeroFill();
}

void DtRtiMsgBuffer::initBuffer(const char* bytes, int n, DtBufferPlaceHolder* where) {
  if (n < 0) n = 0;
  data_ = where ? reinterpret_cast<char*>(where) : reserve(n);
  if (data_ != bytes && n > 0) std::memmove(data_, bytes, static_cast<std::size_t>(n));
  size_ = n;
}

char* DtRtiMsgBuffer::reserve(int n) {
  if (n > capacity_) {
    const bool wasData = data_ == owned_;
    std::free(owned_);
    owned_ = static_cast<char*>(std::malloc(static_cast<std::size_t>(n)));
    capacity_ = owned_ ? n : 0;
    if (wasData) data_ = owned_;
  }
  return owned_;
}

void DtRtiMsgBuffer::setSize(int n) {
  if (n < 0) n = 0;
  if (data_ == owned_ && n > capacity_) {
    char* grown = static_cast<char*>(std::malloc(static_cast<std::size_t>(n)));
    if (!grown) return;  // the size stays; callers check size() where it matters
    if (size_ > 0) std::memcpy(grown, owned_, static_cast<std::size_t>(size_));
    std::free(owned_);
    owned_ = data_ = grown;
    capacity_ = n;
  }
  if (n > size_) std::memset(data_ + size_, 0, static_cast<std::size_t>(n - size_));
  size_ = n;
  sizeChanged(n);
}

void DtRtiMsgBuffer::insertBytes(char* at, int n) { insertBytes(static_cast<int>(at - data_), n); }

void DtRtiMsgBuffer::insertBytes(int offset, int n) {
  if (n <= 0 || offset < 0 || offset > size_) return;
  const int oldSize = size_;
  if (offset == oldSize) {
    setSize(oldSize + n);
    return;
  }
  std::vector<char> tail(data_ + offset, data_ + oldSize);
  setSize(oldSize + n);
  if (size_ != oldSize + n) return;  // refused or out of memory: nothing moved
  std::memset(data_ + offset, 0, static_cast<std::size_t>(n));
  std::memcpy(data_ + offset + n, tail.data(), tail.size());
}

void DtRtiMsgBuffer::removeBytes(char* at, int n) { removeBytes(static_cast<int>(at - data_), n); }

void DtRtiMsgBuffer::removeBytes(int offset, int n) {
  if (n <= 0 || offset < 0 || offset + n > size_) return;
  const int tail = size_ - offset - n;
  if (tail > 0) std::memmove(data_ + offset, data_ + offset + n, static_cast<std::size_t>(tail));
  setSize(size_ - n);
}

void DtRtiMsgBuffer::zeroFill() {
  if (data_ && size_ > 0) std::memset(data_, 0, static_cast<std::size_t>(size_));
}
