#include "exec/DtSyncPt.h"

#include <algorithm>

DtSyncPt::DtSyncPt(std::string label, std::string tag, bool achieved, std::vector<std::uint32_t> federates)
    : label_(std::move(label)), tag_(std::move(tag)), achieved_(achieved), federates_(std::move(federates)) {}

DtSyncPt::~DtSyncPt() = default;

bool DtSyncPt::concerns(unsigned long federateHandle) const {
  return federates_.empty() || std::find(federates_.begin(), federates_.end(), federateHandle) != federates_.end();
}

DtSyncHashlist::DtSyncHashlist(const DtSyncHashlist& other) { *this = other; }

DtSyncHashlist& DtSyncHashlist::operator=(const DtSyncHashlist& other) {
  if (this == &other) return *this;
  points_.clear();
  for (const auto& point : other.points_) points_.push_back(std::make_unique<DtSyncPt>(*point));
  return *this;
}

DtSyncHashlist::~DtSyncHashlist() = default;

DtSyncPt* DtSyncHashlist::addSyncPoint(std::unique_ptr<DtSyncPt> point) {
  remove(point->name());
  points_.push_back(std::move(point));
  return points_.back().get();
}

std::unique_ptr<DtSyncPt> DtSyncHashlist::remove(const std::string& label) {
  const auto found = std::find_if(points_.begin(), points_.end(), [&](const auto& p) { return p->name() == label; });
  if (found == points_.end()) return nullptr;
  std::unique_ptr<DtSyncPt> point = std::move(*found);
  points_.erase(found);
  return point;
}

DtSyncPt* DtSyncHashlist::lookupSyncPoint(const std::string& label) const {
  const auto found = std::find_if(points_.begin(), points_.end(), [&](const auto& p) { return p->name() == label; });
  return found == points_.end() ? nullptr : found->get();
}

std::vector<DtSyncPt*> DtSyncHashlist::list() const {
  std::vector<DtSyncPt*> result;
  for (const auto& point : points_) result.push_back(point.get());
  return result;
}
