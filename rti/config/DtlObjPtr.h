// The counted handle through which every configuration-language value is held.
#pragma once

#include <cstddef>

class DtlObj;

// A single pointer to a DtlObj (null allowed). Copying a handle takes a count
// on its object, destroying one gives it back; the object goes when its last
// handle does (environment frames also go a little earlier, see DtlObj).
// Moving a handle passes its count on without touching the object.
//
// A handle holding nil is also what a language error throws (DtlError).
class DtlObjPtr {
public:
  DtlObjPtr() noexcept = default;
  DtlObjPtr(std::nullptr_t) noexcept {}
  // Takes a new count on `object`.
  DtlObjPtr(DtlObj* object) noexcept;
  DtlObjPtr(const DtlObjPtr& other) noexcept;
  DtlObjPtr(DtlObjPtr&& other) noexcept : object_(other.object_) { other.object_ = nullptr; }
  ~DtlObjPtr();

  // The new object is counted before the old one is released, so assigning
  // a handle to itself (or to a part of its own object) is safe.
  DtlObjPtr& operator=(const DtlObjPtr& other) noexcept;
  DtlObjPtr& operator=(DtlObjPtr&& other) noexcept;

  DtlObj* get() const noexcept { return object_; }
  DtlObj* operator->() const noexcept { return object_; }
  DtlObj& operator*() const noexcept { return *object_; }
  explicit operator bool() const noexcept { return object_ != nullptr; }
  bool isNull() const noexcept { return object_ == nullptr; }

  // Identity: two handles are equal when they hold the same object.
  friend bool operator==(const DtlObjPtr& a, const DtlObjPtr& b) noexcept { return a.object_ == b.object_; }

  // Gives up the object without releasing its count (the caller now owns
  // that count). Used by the iterative release of long lists.
  DtlObj* detach() noexcept {
    DtlObj* object = object_;
    object_ = nullptr;
    return object;
  }

private:
  DtlObj* object_ = nullptr;
};
