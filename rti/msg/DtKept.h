#pragma once
// A value that a message decodes from its bytes on first use and keeps (a
// handle set, a value set, a text). It belongs to that one message: copying
// a message gives the copy none, so that it decodes its own.

#include <memory>

template <class T>
class DtKept {
public:
  DtKept() = default;
  DtKept(const DtKept&) {}
  DtKept& operator=(const DtKept&) {
    value_.reset();
    return *this;
  }

  T* get() const { return value_.get(); }
  void reset(T* value = nullptr) { value_.reset(value); }
  explicit operator bool() const { return value_ != nullptr; }

private:
  std::unique_ptr<T> value_;
};
