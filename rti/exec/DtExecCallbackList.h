#pragma once
// DtExecCallbackList: the notification lists of the rtiexec side (an
// execution created or destroyed, a federate joined or resigned, a
// synchronization point registered, achieved or reached). Each record is a
// function and the user data it is called with, in the order added; the same
// pair may be added more than once, and a removal takes out the first record
// from the head with both equal.
//
// callAll works on a copy of the records, so that a callback may add or
// remove records (its own included) without disturbing the walk.
// Used on the rtiexec's thread only.

#include <algorithm>
#include <vector>

template <class... Subjects>
class DtExecCallbackList {
public:
  using Function = void (*)(Subjects..., void* data);

  void add(Function fn, void* data) { records_.push_back({fn, data}); }
  void remove(Function fn, void* data) {
    const auto found = std::find(records_.begin(), records_.end(), Record{fn, data});
    if (found != records_.end()) records_.erase(found);
  }
  void callAll(Subjects... subjects) const {
    const std::vector<Record> records = records_;
    for (const Record& record : records) record.fn(subjects..., record.data);
  }
  std::size_t count() const { return records_.size(); }

private:
  struct Record {
    Function fn;
    void* data;
    bool operator==(const Record& other) const { return fn == other.fn && data == other.data; }
  };
  std::vector<Record> records_;
};
