#pragma once
// DtObjectRegionTables: what the object data distribution manager keeps per
// object and per attribute about the other federates' region sets:
// - for each remote object, the remote publication set each attribute is
//   associated with, or, for the default set, the attributes associated
//   with it (an attribute is in one of the two at most);
// - the remote objects in scope through the default region, by known class;
// - for each subscribing federate, class and attribute, the remote
//   subscription set it subscribes through (the default sets are not kept).
//
// It borrows the sets and objects it names. Used on the federate's thread
// only.

#include <cstdint>
#include <vector>

#include "RTI.hh"
#include "api/DtAttributeHandleSet.h"
#include "ddm/DtHandleIndex.h"

class DtRemoteRegionSet;
class DtRtiObject;

class DtObjectRegionTables {
public:
  // ---- remote publication sets of remote objects' attributes
  // Null takes the attribute out of both; a set of handle 0 files it with
  // the default set's attributes, another set by itself.
  void setAttrPubRegionSet(std::uint32_t object, RTI::AttributeHandle attribute, DtRemoteRegionSet* set);
  // The non-default set, or null.
  DtRemoteRegionSet* attrPubRegionSet(std::uint32_t object, RTI::AttributeHandle attribute) const;
  void removeAttrPubRegionSet(std::uint32_t object, RTI::AttributeHandle attribute);
  void removeAttrPubDefaultRegionSet(std::uint32_t object, RTI::AttributeHandle attribute);
  void removeAttrPubDefaultRegionSet(std::uint32_t object);
  void removeAttrPubAllRegionSet(std::uint32_t object, RTI::AttributeHandle attribute);
  // The attributes associated with the default set (empty: none).
  DtAttributeHandleSet defaultPubAttrs(std::uint32_t object) const;
  // The object's attributes with a non-default set, in the order they came;
  // the object's entry goes.
  std::vector<std::pair<RTI::AttributeHandle, DtRemoteRegionSet*>> takeAttrPubRegionSets(std::uint32_t object);
  bool hasAttrPubRegionSets(std::uint32_t object) const { return attrPub_.contains(object); }

  // ---- remote objects in scope through the default region
  void addObjectDefaultByClass(DtRtiObject& object);
  void removeObjectDefaultByClass(const DtRtiObject& object);
  // The class's objects, in the order they came (empty: none).
  std::vector<DtRtiObject*> objectDefaultByClass(std::uint32_t classHandle) const;

  // ---- remote subscription sets
  void setAttrSubRegionSet(std::uint32_t federate, std::uint32_t classHandle, RTI::AttributeHandle attribute,
                           DtRemoteRegionSet* set);
  DtRemoteRegionSet* attrSubRegionSet(std::uint32_t federate, std::uint32_t classHandle,
                                      RTI::AttributeHandle attribute) const;
  void removeAttrSubRegionSet(std::uint32_t federate, std::uint32_t classHandle, RTI::AttributeHandle attribute);
  // Every one of the federate's.
  void removeFederate(std::uint32_t federate) { attrSub_.take(federate); }

  // ---- every entry naming the set goes (the set is about to)
  void forgetSet(const DtRemoteRegionSet* set);
  void clear();
  // Nothing is filed.
  bool empty() const;

private:
  struct AttrSet {
    std::uint32_t handle;  // the attribute
    DtRemoteRegionSet* set;
  };
  struct ObjectSets {
    std::uint32_t handle;  // the object
    DtHandleIndex<AttrSet> attrs;
  };
  struct ObjectAttrs {
    std::uint32_t handle;  // the object
    DtAttributeHandleSet attrs;
  };
  struct ObjectRef {
    std::uint32_t handle;  // the object
    DtRtiObject* object;
  };
  struct ClassObjects {
    std::uint32_t handle;  // the class
    DtHandleIndex<ObjectRef> objects;
  };
  struct ClassSets {
    std::uint32_t handle;  // the class
    DtHandleIndex<AttrSet> attrs;
  };
  struct FederateSets {
    std::uint32_t handle;  // the federate
    DtHandleIndex<ClassSets> classes;
  };

  DtHandleIndex<ObjectSets> attrPub_;
  DtHandleIndex<ObjectAttrs> defaultPub_;
  DtHandleIndex<ClassObjects> byClass_;
  DtHandleIndex<FederateSets> attrSub_;
};
