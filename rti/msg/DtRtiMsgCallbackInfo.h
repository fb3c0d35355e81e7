#pragma once
// DtRtiMsgCallbackInfo: one registration of a callback for a message kind:
// a function and the user data it is called with. Two registrations match
// when both are equal.
//
// A message class registers functions that take the class itself; such a
// registration (typed) keeps the function as it was given, for matching,
// and calls it through a small invoker that checks the message's class
// first, so that no function is ever called through a pointer of another
// type.

#include "util/DtNotify.h"

class DtRtiMsg;

typedef void (*DtRtiMsgCallback)(const DtRtiMsg& msg, void* usr);

class DtRtiMsgCallbackInfo {
public:
  DtRtiMsgCallbackInfo(DtRtiMsgCallback func, void* usr) : func_(func), usr_(usr) {}
  DtRtiMsgCallbackInfo(const DtRtiMsgCallbackInfo&) = default;
  DtRtiMsgCallbackInfo& operator=(const DtRtiMsgCallbackInfo&) = default;
  virtual ~DtRtiMsgCallbackInfo() = default;

  // A registration of a function that takes message class M (or a base).
  template <class M>
  static DtRtiMsgCallbackInfo typed(void (*func)(const M&, void*), void* usr) {
    // Through void(*)(), the one function type that converts to any other
    // without a warning; the pointer is converted back before every call.
    DtRtiMsgCallbackInfo info(reinterpret_cast<DtRtiMsgCallback>(reinterpret_cast<void (*)()>(func)), usr);
    info.invoke_ = &invokeAs<M>;
    return info;
  }

  virtual int match(const DtRtiMsgCallbackInfo& other) const { return func_ == other.func_ && usr_ == other.usr_; }
  virtual DtRtiMsgCallback func() const { return func_; }
  virtual void* usr() const { return usr_; }

  // Calls the function with the message and the user data.
  void call(const DtRtiMsg& msg) const;

private:
  using Invoker = void (*)(DtRtiMsgCallback func, const DtRtiMsg& msg, void* usr);

  template <class M>
  static void invokeAs(DtRtiMsgCallback func, const DtRtiMsg& msg, void* usr) {
    if (const M* typedMsg = dynamic_cast<const M*>(&msg)) {
      reinterpret_cast<void (*)(const M&, void*)>(reinterpret_cast<void (*)()>(func))(*typedMsg, usr);
    } else {
      reportWrongClass(msg);
    }
  }
  static void reportWrongClass(const DtRtiMsg& msg);

  DtRtiMsgCallback func_;
  void* usr_;
  Invoker invoke_ = nullptr;
};
