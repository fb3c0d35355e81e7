#pragma once
// One link of a DtList: neighbours and an untyped data pointer that the list
// never owns.

class DtList;

class DtListItem {
public:
  explicit DtListItem(void* data) : data_(data) {}
  DtListItem(const DtListItem&) = delete;
  DtListItem& operator=(const DtListItem&) = delete;
  virtual ~DtListItem();

  void* data() const { return data_; }
  DtListItem* next() const { return next_; }
  DtListItem* prev() const { return prev_; }

private:
  friend class DtList;
  template <class>
  friend struct DtLinkOps;
  DtListItem* prev_ = nullptr;
  DtListItem* next_ = nullptr;
  void* data_;
};
