#include "ddm/DtObjectRegionTables.h"

#include "ddm/DtRemoteRegionSet.h"
#include "objects/DtRtiObject.h"

void DtObjectRegionTables::setAttrPubRegionSet(std::uint32_t object, RTI::AttributeHandle attribute,
                                               DtRemoteRegionSet* set) {
  if (!set) {
    removeAttrPubAllRegionSet(object, attribute);
    return;
  }
  if (set->regionSetHandle() == 0) {
    if (!defaultPub_.contains(object)) defaultPub_.put({object, {}});
    DtAttributeHandleSet& attrs = defaultPub_.find(object)->attrs;
    if (!attrs.isMember(attribute)) removeAttrPubRegionSet(object, attribute);
    attrs.add(attribute);
    return;
  }
  if (!attrPub_.contains(object)) attrPub_.put({object, {}});
  DtHandleIndex<AttrSet>& attrs = attrPub_.find(object)->attrs;
  if (!attrs.contains(attribute)) removeAttrPubDefaultRegionSet(object, attribute);
  if (AttrSet* filed = attrs.find(attribute)) {
    filed->set = set;
  } else {
    attrs.put({static_cast<std::uint32_t>(attribute), set});
  }
}

DtRemoteRegionSet* DtObjectRegionTables::attrPubRegionSet(std::uint32_t object, RTI::AttributeHandle attribute) const {
  const ObjectSets* sets = attrPub_.find(object);
  const AttrSet* filed = sets ? sets->attrs.find(attribute) : nullptr;
  return filed ? filed->set : nullptr;
}

void DtObjectRegionTables::removeAttrPubRegionSet(std::uint32_t object, RTI::AttributeHandle attribute) {
  ObjectSets* sets = attrPub_.find(object);
  if (!sets) return;
  sets->attrs.take(attribute);
  if (sets->attrs.empty()) attrPub_.take(object);
}

void DtObjectRegionTables::removeAttrPubDefaultRegionSet(std::uint32_t object, RTI::AttributeHandle attribute) {
  ObjectAttrs* filed = defaultPub_.find(object);
  if (!filed) return;
  filed->attrs.remove(attribute);
  if (filed->attrs.isEmpty()) defaultPub_.take(object);
}

void DtObjectRegionTables::removeAttrPubDefaultRegionSet(std::uint32_t object) { defaultPub_.take(object); }

void DtObjectRegionTables::removeAttrPubAllRegionSet(std::uint32_t object, RTI::AttributeHandle attribute) {
  removeAttrPubRegionSet(object, attribute);
  removeAttrPubDefaultRegionSet(object, attribute);
}

DtAttributeHandleSet DtObjectRegionTables::defaultPubAttrs(std::uint32_t object) const {
  const ObjectAttrs* filed = defaultPub_.find(object);
  return filed ? filed->attrs : DtAttributeHandleSet();
}

std::vector<std::pair<RTI::AttributeHandle, DtRemoteRegionSet*>> DtObjectRegionTables::takeAttrPubRegionSets(
    std::uint32_t object) {
  std::vector<std::pair<RTI::AttributeHandle, DtRemoteRegionSet*>> taken;
  if (auto sets = attrPub_.take(object)) {
    for (const AttrSet& entry : sets->attrs) taken.emplace_back(entry.handle, entry.set);
  }
  return taken;
}

void DtObjectRegionTables::addObjectDefaultByClass(DtRtiObject& object) {
  const std::uint32_t cls = object.knownClassHandle();
  if (!byClass_.contains(cls)) byClass_.put({cls, {}});
  DtHandleIndex<ObjectRef>& objects = byClass_.find(cls)->objects;
  if (ObjectRef* filed = objects.find(object.objHandle())) {
    filed->object = &object;
  } else {
    objects.put({object.objHandle(), &object});
  }
}

void DtObjectRegionTables::removeObjectDefaultByClass(const DtRtiObject& object) {
  if (ClassObjects* filed = byClass_.find(object.knownClassHandle())) filed->objects.take(object.objHandle());
}

std::vector<DtRtiObject*> DtObjectRegionTables::objectDefaultByClass(std::uint32_t classHandle) const {
  std::vector<DtRtiObject*> objects;
  if (const ClassObjects* filed = byClass_.find(classHandle)) {
    for (const ObjectRef& ref : filed->objects) objects.push_back(ref.object);
  }
  return objects;
}

void DtObjectRegionTables::setAttrSubRegionSet(std::uint32_t federate, std::uint32_t classHandle,
                                               RTI::AttributeHandle attribute, DtRemoteRegionSet* set) {
  if (!attrSub_.contains(federate)) attrSub_.put({federate, {}});
  DtHandleIndex<ClassSets>& classes = attrSub_.find(federate)->classes;
  if (!classes.contains(classHandle)) classes.put({classHandle, {}});
  DtHandleIndex<AttrSet>& attrs = classes.find(classHandle)->attrs;
  if (AttrSet* filed = attrs.find(attribute)) {
    filed->set = set;
  } else {
    attrs.put({static_cast<std::uint32_t>(attribute), set});
  }
}

DtRemoteRegionSet* DtObjectRegionTables::attrSubRegionSet(std::uint32_t federate, std::uint32_t classHandle,
                                                          RTI::AttributeHandle attribute) const {
  const FederateSets* classes = attrSub_.find(federate);
  const ClassSets* attrs = classes ? classes->classes.find(classHandle) : nullptr;
  const AttrSet* filed = attrs ? attrs->attrs.find(attribute) : nullptr;
  return filed ? filed->set : nullptr;
}

void DtObjectRegionTables::removeAttrSubRegionSet(std::uint32_t federate, std::uint32_t classHandle,
                                                  RTI::AttributeHandle attribute) {
  FederateSets* classes = attrSub_.find(federate);
  ClassSets* attrs = classes ? classes->classes.find(classHandle) : nullptr;
  if (attrs) attrs->attrs.take(attribute);
}

void DtObjectRegionTables::forgetSet(const DtRemoteRegionSet* set) {
  for (ObjectSets& object : attrPub_) {
    for (const std::uint32_t attribute : object.attrs.handles()) {
      if (object.attrs.find(attribute)->set == set) object.attrs.take(attribute);
    }
  }
  for (const std::uint32_t object : attrPub_.handles()) {
    if (attrPub_.find(object)->attrs.empty()) attrPub_.take(object);
  }
  for (FederateSets& federate : attrSub_) {
    for (ClassSets& cls : federate.classes) {
      for (const std::uint32_t attribute : cls.attrs.handles()) {
        if (cls.attrs.find(attribute)->set == set) cls.attrs.take(attribute);
      }
    }
  }
}

void DtObjectRegionTables::clear() {
  attrPub_.clear();
  defaultPub_.clear();
  byClass_.clear();
  attrSub_.clear();
}

bool DtObjectRegionTables::empty() const {
  return attrPub_.empty() && defaultPub_.empty() && byClass_.empty() && attrSub_.empty();
}
