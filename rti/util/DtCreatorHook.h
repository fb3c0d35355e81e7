#pragma once
// DtCreatorHook: the replaceable creation of one of the library's classes.
// Code loaded before the class is made (a plug-in's "SetPluginCreators", a
// test) installs a creator function; make() then returns what the creator
// makes, and otherwise a new object of the default class. Process-wide: one
// hook per class, set from any thread.

#include <atomic>
#include <memory>

template <class Product, class... Args>
class DtCreatorHook {
public:
  using Creator = Product* (*)(Args...);

  // Null restores the default.
  void set(Creator creator) { creator_.store(creator); }
  bool installed() const { return creator_.load() != nullptr; }

  template <class Default = Product>
  std::unique_ptr<Product> make(Args... args) const {
    if (const Creator creator = creator_.load()) return std::unique_ptr<Product>(creator(args...));
    return std::make_unique<Default>(args...);
  }

  // The creator's product, or null when none is installed.
  std::unique_ptr<Product> makeInstalled(Args... args) const {
    const Creator creator = creator_.load();
    return creator ? std::unique_ptr<Product>(creator(args...)) : nullptr;
  }

private:
  std::atomic<Creator> creator_{nullptr};
};
