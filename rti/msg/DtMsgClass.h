#pragma once
// The pattern every concrete message class follows, written once:
//
//   class DtLocDelMsg : public DtMsgClass<DtLocDelMsg, DtRtiMsg, DtNetLocDelMsg, DtLocDelMsgKind> { ... };
//
// gives the class
//   - DtLocDelMsg(DtBufferPlaceHolder* where): the empty message, its body's
//     minimum size in zero bytes, header written (the send creator's form);
//   - DtLocDelMsg(const DtNetLocDelMsg* body, DtBufferPlaceHolder* where): the
//     received message, its length taken from the header (the receive
//     creator's form; passing the body itself as `where` adopts the bytes);
//   - clone, internalDtRtiMsgKind and layout;
//   - the statics create (both forms, which the factory stores), addCallback
//     and removeCallback, which register a function taking the class (or one
//     of its bases) with a callback registry (the connection manager) under
//     the class's kind; the char `mom` picks the registry of the management
//     object model. (The library's own handlers register through
//     DtMsgSubscription, which removes what it added when it goes.)
// The class adds its value constructor, its accessors and what its body
// needs beyond the layout. A class whose kind depends on a class-wide switch
// declares its own static currentKind(); one whose empty size is not the
// layout's declares its own static emptySize().

#include <type_traits>

#include "msg/DtMsgCallbackRegistry.h"
#include "msg/DtRtiMsg.h"

template <class Self, class Base, class Net, DtRtiMsgKind Kind>
class DtMsgClass : public Base {
public:
  using NetBody = Net;

  explicit DtMsgClass(DtBufferPlaceHolder* where = nullptr) : Base(Self::emptySize(), Self::currentKind(), where) {}
  DtMsgClass(const Net* body, DtBufferPlaceHolder* where) : Base(reinterpret_cast<const char*>(body), where) {}

  static constexpr DtRtiMsgKind currentKind() { return Kind; }
  static int emptySize() {
    return Net::layout.fixedSize + (Net::layout.channel && DtRtiMsgKinds::hasChannel(Self::currentKind()) ? 4 : 0) +
           (hasTrailingText() ? 1 : 0);
  }

  // A message read from these bytes into an own buffer (its transport type
  // and in-memory values start afresh), or (copyContents 0) an empty one.
  DtRtiMsg* clone(char copyContents) const override {
    if (copyContents && this->size() >= DtNetMsgHeader::theSize)
      return new Self(reinterpret_cast<const Net*>(this->data()), nullptr);
    return new Self(static_cast<DtBufferPlaceHolder*>(nullptr));
  }
  DtRtiMsgKind internalDtRtiMsgKind() const override { return Self::currentKind(); }
  const DtMsgLayout* layout() const override { return &Net::layout; }

  static DtRtiMsg* create(DtBufferPlaceHolder* where) { return new Self(where); }
  static DtRtiMsg* create(const DtNetMsgHeader* header, DtBufferPlaceHolder* where) {
    return new Self(reinterpret_cast<const Net*>(header), where);
  }

  template <class M>
  static void addCallback(DtMsgCallbackRegistry* mgr, void (*fn)(const M&, void*), void* usr, char mom = 0) {
    static_assert(std::is_base_of_v<M, Self>, "the callback must take this message class or a base of it");
    if (mgr) mgr->addMsgCallback(Self::currentKind(), DtRtiMsgCallbackInfo::typed(fn, usr), mom);
  }
  template <class M>
  static void removeCallback(DtMsgCallbackRegistry* mgr, void (*fn)(const M&, void*), void* usr, char mom = 0) {
    if (mgr) mgr->removeMsgCallback(Self::currentKind(), DtRtiMsgCallbackInfo::typed(fn, usr), mom);
  }

protected:
  // For classes built on this one (a subclass writes its own kind).
  DtMsgClass(int size, DtRtiMsgKind kind, DtBufferPlaceHolder* where) : Base(size, kind, where) {}
  DtMsgClass(const char* bytes, DtBufferPlaceHolder* where) : Base(bytes, where) {}

  // The body's typed fields, read and written within the message's bytes.
  using Base::get;
  using Base::put;

private:
  static constexpr bool hasTrailingText() {
    return !Net::layout.parts.empty() && Net::layout.parts.back().type == DtPartType::TrailingText;
  }
};
