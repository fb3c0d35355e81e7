#include "config/DtlObj.h"

#include <cstring>
#include <new>
#include <vector>

#include "config/DtlError.h"
#include "config/DtlHashTable.h"
#include "config/DtlParam.h"
#include "util/DtList.h"
#include "util/DtNotify.h"

// Values whose count reached zero (or frames that only their own procedures
// still hold) wait here to be destroyed. While a queue is running on this
// thread, every further release only adds to it, so dropping a long list or a
// deep chain of frames takes a loop, not a recursion as deep as the value.
class DtlReleaseQueue {
public:
  static void schedule(DtlObj* object) noexcept {
    if (object->queued_) return;
    object->queued_ = 1;
    if (active_) {
      active_->push(object);
      return;
    }
    DtlReleaseQueue queue;
    active_ = &queue;
    queue.push(object);
    queue.run();
    active_ = nullptr;
  }

private:
  void push(DtlObj* object) {
    if (count_ < inlineCapacity)
      inline_[count_] = object;
    else
      overflow_.push_back(object);
    ++count_;
  }

  DtlObj* pop() {
    --count_;
    if (count_ < inlineCapacity) return inline_[count_];
    DtlObj* object = overflow_.back();
    overflow_.pop_back();
    return object;
  }

  void run() noexcept {
    while (count_ > 0) {
      DtlObj* object = pop();
      object->queued_ = 0;
      if (!object->deleted_) object->destroyFields(*this);
      if (object->refCount_ == 0) delete object;
    }
  }

  // Most releases free a few values: those need no heap.
  static constexpr std::size_t inlineCapacity = 32;
  DtlObj* inline_[inlineCapacity];
  std::vector<DtlObj*> overflow_;
  std::size_t count_ = 0;
  static thread_local DtlReleaseQueue* active_;
};

thread_local DtlReleaseQueue* DtlReleaseQueue::active_ = nullptr;

DtlObj::DtlObj(DtlTagType tag) : tag_(tag) {
  if (tag > DtlFrameTag) DtlError("unknown tag request to DtlObj::DtlObj(DtlTagType)");
  if (tag == DtlFrameTag) payload_.frame.table = new DtlHashTable;
}

void DtlObj::setText(const char* text, const char* failure) {
  char* copy = nullptr;
  if (text) {
    const std::size_t length = std::strlen(text);
    copy = new (std::nothrow) char[length + 1];
    if (!copy) DtlError(failure);
    std::memcpy(copy, text, length + 1);
  }
  delete[] payload_.named.text;
  payload_.named.text = copy;
}

void DtlObj::setPname(const char* name) { setText(name, "out of memory in DtlObj::setPname()"); }

void DtlObj::setString(const char* text) { setText(text, "out of memory in DtlObj::setString()"); }

void DtlObj::setFcnPname(const char* name) { setText(name, "out of memory in DtlObj::setFcnPname()"); }

const char* DtlObj::name() const {
  switch (tag()) {
    case DtlSymbolTag:
    case DtlSpecialFormTag:
    case DtlCompiledTag:
    case DtlStringTag: return payload_.named.text ? payload_.named.text : "";
    default: return "";
  }
}

void DtlObj::retain(DtlObj* object) noexcept {
  if (object && !object->permanent_) ++object->refCount_;
}

void DtlObj::release(DtlObj* object) noexcept {
  if (!object || object->permanent_) return;
  if (--object->refCount_ == 0) {
    DtlReleaseQueue::schedule(object);
    return;
  }
  if (object->deleted_) return;
  if (object->tag() == DtlFrameTag) {
    if (localProceduresHoldOnly(object)) DtlReleaseQueue::schedule(object);
  } else if (object->tag() == DtlProcedureTag && object->refCount_ == 1) {
    // The procedure may now be held by nothing but the table of the frame
    // it was defined in: that frame may have become garbage.
    DtlObj* frame = object->third_.get();
    if (frame && frame->tag() == DtlFrameTag && !frame->deleted_ && !frame->permanent_ &&
        localProceduresHoldOnly(frame))
      DtlReleaseQueue::schedule(frame);
  }
}

bool DtlObj::localProceduresHoldOnly(DtlObj* frame) noexcept {
  const DtlHashTable* table = frame->table();
  // Only procedure bindings can account for the count: skip the walk of
  // the buckets when there are too few of them.
  if (!table || table->procedureBindings() < frame->refCount_) return false;
  return table->localProcedureCount(frame) == frame->refCount_;
}

void DtlObj::destroyNow(DtlObj* object) noexcept {
  if (!object || object->permanent_ || object->deleted_) return;
  // Hold it while it is destroyed, so that the releases inside cannot free
  // it under our feet; the last handle frees the memory.
  retain(object);
  DtlReleaseQueue::schedule(object);
  release(object);
}

void DtlObj::destroyFields(DtlReleaseQueue&) noexcept {
  if (deleted_) {
    DtNotifyError("Lisp Error: Attempt to deleted already-deleted object\n");
  } else {
    switch (tag()) {
      case DtlSymbolTag:
      case DtlSpecialFormTag:
      case DtlCompiledTag:
      case DtlStringTag:
        delete[] payload_.named.text;
        payload_.named.text = nullptr;
        break;
      case DtlFrameTag:
        if (DtList* params = payload_.frame.params) {
          payload_.frame.params = nullptr;
          for (DtListItem* item = params->head(); item; item = item->next())
            delete static_cast<DtlParam*>(item->data());
          delete params;
        }
        delete payload_.frame.table;
        payload_.frame.table = nullptr;
        break;
      default: break;
    }
    deleted_ = 1;
  }
  // The release queue is active: these only enqueue, they never recurse.
  release(third_.detach());
  release(second_.detach());
  release(first_.detach());
}

std::uint32_t EnvLocalProcRefcnt(const DtlObjPtr& frame) {
  if (!DtcIs(frame, DtlFrameTag)) DtlError("non-frame to EnvLocalProcRefcnt");
  return frame->table() ? frame->table()->localProcedureCount(frame.get()) : 0;
}

// ---- handles ----

DtlObjPtr::DtlObjPtr(DtlObj* object) noexcept : object_(object) { DtlObj::retain(object); }

DtlObjPtr::DtlObjPtr(const DtlObjPtr& other) noexcept : object_(other.object_) { DtlObj::retain(object_); }

DtlObjPtr::~DtlObjPtr() { DtlObj::release(object_); }

DtlObjPtr& DtlObjPtr::operator=(const DtlObjPtr& other) noexcept {
  if (this == &other) return *this;
  DtlObj* old = object_;
  DtlObj::retain(other.object_);
  object_ = other.object_;
  DtlObj::release(old);
  return *this;
}

DtlObjPtr& DtlObjPtr::operator=(DtlObjPtr&& other) noexcept {
  if (this != &other) {
    DtlObj* old = object_;
    object_ = other.object_;
    other.object_ = nullptr;
    DtlObj::release(old);
  }
  return *this;
}

// ---- shared values ----

namespace {

const DtlObjPtr& makeShared(DtlTagType tag, const char* name) {
  auto* object = new DtlObj(tag);
  if (name) object->setPname(name);
  object->makePermanent();
  // Never freed: the handle and its object live until the process ends.
  return *new DtlObjPtr(object);
}

}  // namespace

const DtlObjPtr& DtlNil() {
  static const DtlObjPtr& nil = makeShared(DtlNilTag, nullptr);
  return nil;
}

const DtlObjPtr& DtlT() {
  static const DtlObjPtr& t = makeShared(DtlSymbolTag, "t");
  return t;
}

const DtlObjPtr& DtlUnbound() {
  static const DtlObjPtr& unbound = makeShared(DtlSymbolTag, "*unbound*");
  return unbound;
}

// ---- constructors ----

DtlObjPtr DtcAllocate(DtlTagType tag, const char* failure) {
  DtlObj* object = new (std::nothrow) DtlObj(tag);
  if (!object) DtlError(failure);
  return DtlObjPtr(object);
}

DtlObjPtr DtcMakeObj(DtlTagType tag) { return DtcAllocate(tag, "out of memory in DtlObj::DtlObj(DtlTagType)"); }

DtlObjPtr DtcMakeInteger(std::int32_t value) {
  DtlObjPtr object = DtcMakeObj(DtlIntegerTag);
  object->setIntValue(value);
  return object;
}

DtlObjPtr DtcMakeFloat(double value) {
  DtlObjPtr object = DtcMakeObj(DtlFloatTag);
  object->setFloatValue(value);
  return object;
}

DtlObjPtr DtcMakeString(const char* text) {
  DtlObjPtr object = DtcMakeObj(DtlStringTag);
  object->setString(text);
  return object;
}

DtlObjPtr DtcMakeSymbol(const char* name) {
  DtlObjPtr object = DtcAllocate(DtlSymbolTag, "out of memory in DtcMakeSymbol");
  object->setPname(name);
  return object;
}

DtlObjPtr cons(const DtlObjPtr& car, const DtlObjPtr& cdr) {
  DtlObjPtr object = DtcAllocate(DtlConsTag, "out of memory in cons");
  object->setFirst(car);
  object->setSecond(cdr);
  return object;
}

DtlObjPtr alloc_compiled_c(DtlTagType tag, const char* name, DtlNativeFunction function) {
  DtlObjPtr object = DtcAllocate(tag, "out of memory in alloc_compiled_c");
  object->setFcnPname(name);
  object->setFunction(function);
  return object;
}

DtlObjPtr DtcMakeProcedure(const DtlObjPtr& params, const DtlObjPtr& body, const DtlObjPtr& frame) {
  DtlObjPtr object = DtcAllocate(DtlProcedureTag, "out of memory in lambda");
  object->setFirst(params);
  object->setSecond(body);
  object->setThird(frame);
  return object;
}

DtlObjPtr DtcMakeFrame(const DtlObjPtr& parent) {
  DtlObjPtr object = DtcMakeObj(DtlFrameTag);
  object->setFirst(parent);
  return object;
}
