#pragma once
// DtSyncPt: one synchronization point in the rtiexec: its label, its tag,
// an achieved flag, and the federates it concerns (none listed: every
// federate of the execution). An execution keeps one per registered point;
// each federate keeps its own copy (label, tag, its achieved flag, no
// federates) of the points that concern it.
//
// DtSyncHashlist: the points of an execution or of a federate, by label, in
// the order filed; it owns them.
//
// Used on the rtiexec's thread only.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class DtSyncPt {
public:
  DtSyncPt(std::string label, std::string tag, bool achieved = false, std::vector<std::uint32_t> federates = {});
  virtual ~DtSyncPt();

  const std::string& name() const { return label_; }
  void setName(std::string label) { label_ = std::move(label); }
  const std::string& tag() const { return tag_; }
  void setTag(std::string tag) { tag_ = std::move(tag); }
  bool achieved() const { return achieved_; }
  void setAchieved(bool achieved) { achieved_ = achieved; }
  const std::vector<std::uint32_t>& federates() const { return federates_; }
  void setFederates(std::vector<std::uint32_t> federates) { federates_ = std::move(federates); }
  // No federates listed, or this one among them.
  bool concerns(unsigned long federateHandle) const;

private:
  std::string label_;
  std::string tag_;
  bool achieved_;
  std::vector<std::uint32_t> federates_;
};

class DtSyncHashlist {
public:
  DtSyncHashlist() = default;
  // Copies every point (each copy its own).
  DtSyncHashlist(const DtSyncHashlist& other);
  DtSyncHashlist& operator=(const DtSyncHashlist& other);
  virtual ~DtSyncHashlist();

  // Files the point under its label, replacing (and deleting) one there.
  DtSyncPt* addSyncPoint(std::unique_ptr<DtSyncPt> point);
  // Takes the point out (null when there is none); the caller owns it.
  std::unique_ptr<DtSyncPt> remove(const std::string& label);
  DtSyncPt* lookupSyncPoint(const std::string& label) const;
  // In the order filed.
  std::vector<DtSyncPt*> list() const;
  std::size_t count() const { return points_.size(); }
  void empty() { points_.clear(); }

private:
  std::vector<std::unique_ptr<DtSyncPt>> points_;
};
