#pragma once
// DtMsgRegistration: one callback filed under one message kind in a callback
// registry for as long as the object lives. The constructor registers, the
// destructor (or reset) removes exactly what was registered: the same
// registry, kind, record and table, whatever has changed since (a class-wide
// switch that picks a message class's kind, say).
//
// Move-only: a moved-from registration holds nothing and removes nothing.
// The registration keeps its user data: an object that registers itself
// keeps its registrations as members, which are not moved apart from it.
// Not thread safe, as the registries are not: made and destroyed on the
// thread that dispatches the registry's messages.
//
// A registry removes every registration that matches the record, so two
// registrations of one function with one user pointer under one kind are one:
// the first to go takes both. Code registers through DtMsgSubscription,
// which takes the kind from the message class and checks the function's
// type against it.

#include "msg/DtMsgCallbackRegistry.h"
#include "msg/DtRtiMsgCallbackInfo.h"
#include "msg/DtRtiMsgKind.h"

class DtMsgRegistration {
public:
  // Registers the record under the kind in the registry's normal table, or
  // in the management object model's when `mom` is not 0. A null registry
  // registers nothing.
  DtMsgRegistration(DtMsgCallbackRegistry* registry, DtRtiMsgKind kind, const DtRtiMsgCallbackInfo& record,
                    char mom = 0);
  DtMsgRegistration(DtMsgRegistration&& other) noexcept;
  DtMsgRegistration& operator=(DtMsgRegistration&& other) noexcept;
  DtMsgRegistration(const DtMsgRegistration&) = delete;
  DtMsgRegistration& operator=(const DtMsgRegistration&) = delete;
  ~DtMsgRegistration();

  // Removes the registration now; the object then holds nothing.
  void reset();
  // True while a callback is registered through this object.
  bool active() const { return registry_ != nullptr; }
  DtRtiMsgKind kind() const { return kind_; }

private:
  DtMsgCallbackRegistry* registry_;
  DtRtiMsgKind kind_;
  DtRtiMsgCallbackInfo record_;
  char mom_;
};
