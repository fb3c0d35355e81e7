#pragma once
// DtClassGroups: the multicast groups that a manager's subscribed classes
// (object or interaction classes) were given. Subscribing a class uses the
// groups of the class and of every class below it; a group is joined on the
// connection manager with its first use and left with its last, however
// many classes share it.
//
// Used on the federate's thread only; no lock.

#include <cstdint>
#include <unordered_map>

class DtConnectionMgr;

class DtClassGroups {
public:
  // The class and its subclasses, each with a group (0: none).
  template <class ClassInfo>
  void add(DtConnectionMgr* connectMgr, const ClassInfo* cls) {
    if (!cls) return;
    use(connectMgr, cls->destinationAddress());
    for (const ClassInfo* subclass : cls->subclasses()) add(connectMgr, subclass);
  }
  template <class ClassInfo>
  void remove(DtConnectionMgr* connectMgr, const ClassInfo* cls) {
    if (!cls) return;
    release(connectMgr, cls->destinationAddress());
    for (const ClassInfo* subclass : cls->subclasses()) remove(connectMgr, subclass);
  }
  // Leaves every group in use (the manager goes).
  void leaveAll(DtConnectionMgr* connectMgr);

  // Group -> the number of classes that use it.
  const std::unordered_map<std::uint32_t, std::uint32_t>& useCounts() const { return uses_; }

private:
  void use(DtConnectionMgr* connectMgr, std::uint32_t group);
  void release(DtConnectionMgr* connectMgr, std::uint32_t group);

  std::unordered_map<std::uint32_t, std::uint32_t> uses_;
};
