#include "objects/DtFomClassMgr.h"

#include <climits>
#include <string>

#include "config/DtFedReader.h"
#include "config/DtMulticastDefinition.h"
#include "config/DtRIDParameters.h"
#include "objects/DtAttrInfo.h"
#include "objects/DtFomLimits.h"
#include "objects/DtInteractionClassInfo.h"
#include "objects/DtObjectClassInfo.h"
#include "objects/DtSpaceInfo.h"
#include "save/DtRtiSaveFile.h"
#include "save/DtSavePackets.h"
#include "util/DtCreatorHook.h"
#include "util/DtIpv4Address.h"
#include "util/DtNotify.h"

namespace {

DtCreatorHook<DtFomClassMgr, const DtRIDParameters*> theCreator;

constexpr const char defaultSpaceName[] = "HlaDefaultSpace";

// Handles above 32 bits name nothing in the model.
bool fits(unsigned long handle, std::uint32_t count) { return handle < count; }

bool isPrivilegeName(const char* name) {
  return DtAttrInfo::thePrivilegeToDelete.equalNoCase(name) || DtAttrInfo::thePrivilegeToDeleteObject.equalNoCase(name);
}

}  // namespace

// Construction ----------------------------------------------------------------

DtFomClassMgr::DtFomClassMgr()
    : classes_(DtFomLimits::maxClasses), interactions_(DtFomLimits::maxInteractions), spaces_(DtFomLimits::maxSpaces) {
  init();
}

DtFomClassMgr::DtFomClassMgr(const DtRIDParameters*) : DtFomClassMgr() {}

DtFomClassMgr::DtFomClassMgr(const DtFomClassMgr& other)
    : DtFomBuilder(),
      classes_(DtFomLimits::maxClasses),
      interactions_(DtFomLimits::maxInteractions),
      spaces_(DtFomLimits::maxSpaces) {
  copyFrom(other);
}

DtFomClassMgr& DtFomClassMgr::operator=(const DtFomClassMgr& other) {
  if (this == &other) return *this;
  classes_.clear();
  interactions_.clear();
  spaces_.clear();
  classNames_.clear();
  interactionNames_.clear();
  spaceNames_.clear();
  copyFrom(other);
  return *this;
}

DtFomClassMgr::~DtFomClassMgr() {
  classes_.clear();
  interactions_.clear();
  spaces_.clear();
}

void DtFomClassMgr::init() {
  numClasses_ = 0;
  numInteractions_ = 0;
  spaceNames_.add(spaces_.put(0, std::make_unique<DtSpaceInfo>(defaultSpaceName, 0))->name(), 0);
  numSpaces_ = 1;
}

void DtFomClassMgr::copyFrom(const DtFomClassMgr& other) {
  numClasses_ = other.numClasses_;
  numInteractions_ = other.numInteractions_;
  numSpaces_ = other.numSpaces_;
  // A base always has a lower handle than its subclasses: it is copied first.
  for (std::uint32_t h = 0; h < numClasses_; ++h) {
    const DtObjectClassInfo* source = other.classes_.at(h);
    if (!source) continue;
    DtObjectClassInfo* copy = classes_.put(h, std::make_unique<DtObjectClassInfo>(*source));
    if (source->baseClass()) {
      DtObjectClassInfo* base = classes_.at(source->baseClass()->handle());
      copy->setBaseClass(base);
      base->addSubclass(copy);
    }
    classNames_.add(copy->name(), h);
  }
  for (std::uint32_t h = 0; h < numInteractions_; ++h) {
    const DtInteractionClassInfo* source = other.interactions_.at(h);
    if (!source) continue;
    DtInteractionClassInfo* copy = interactions_.put(h, std::make_unique<DtInteractionClassInfo>(*source));
    if (source->baseClass()) {
      DtInteractionClassInfo* base = interactions_.at(source->baseClass()->handle());
      copy->setBaseClass(base);
      base->addSubclass(copy);
    }
    interactionNames_.add(copy->name(), h);
  }
  for (std::int32_t h = 0; h < numSpaces_; ++h) {
    const DtSpaceInfo* source = other.spaces_.at(static_cast<std::uint32_t>(h));
    if (!source) continue;
    spaceNames_.add(spaces_.put(static_cast<std::uint32_t>(h), std::make_unique<DtSpaceInfo>(*source))->name(),
                    static_cast<std::uint32_t>(h));
  }
}

std::unique_ptr<DtFomClassMgr> DtFomClassMgr::create(const DtRIDParameters* rid) { return theCreator.make(rid); }

void DtFomClassMgr::setCreatorFunction(Creator creator) { theCreator.set(creator); }

std::unique_ptr<DtFomClassMgr> DtFomClassMgr::loadFed(DtFedReader& reader, const char* fedFile,
                                                      const DtRIDParameters* rid, int* result) {
  std::unique_ptr<DtFomClassMgr> fom = create(rid);
  const int read = reader.readFed(fedFile, fom.get());
  if (result) *result = read;
  if (read != DtFedReader::accepted) return nullptr;
  if (rid && rid->useDMFiltering()) fom->processDMFilteringParameters(rid);
  return fom;
}

unsigned DtFomClassMgr::maxClasses() { return DtFomLimits::maxClasses; }
void DtFomClassMgr::setMaxClasses(unsigned count) { DtFomLimits::maxClasses = count; }
unsigned DtFomClassMgr::maxAttributes() { return DtFomLimits::maxAttributes; }
void DtFomClassMgr::setMaxAttributes(unsigned count) { DtFomLimits::maxAttributes = count; }
unsigned DtFomClassMgr::maxInteractions() { return DtFomLimits::maxInteractions; }
void DtFomClassMgr::setMaxInteractions(unsigned count) { DtFomLimits::maxInteractions = count; }
unsigned DtFomClassMgr::maxParameters() { return DtFomLimits::maxParameters; }
void DtFomClassMgr::setMaxParameters(unsigned count) { DtFomLimits::maxParameters = count; }
unsigned DtFomClassMgr::maxSpaces() { return DtFomLimits::maxSpaces; }
void DtFomClassMgr::setMaxSpaces(unsigned count) { DtFomLimits::maxSpaces = count; }

// Building --------------------------------------------------------------------

void DtFomClassMgr::addSpace(const char* name) {
  const auto handle = static_cast<std::uint32_t>(numSpaces_);
  spaceNames_.add(spaces_.put(handle, std::make_unique<DtSpaceInfo>(name, numSpaces_))->name(), handle);
  ++numSpaces_;
}

void DtFomClassMgr::addDimension(const char* spaceName, const char* dimension) {
  DtSpaceInfo* found = spaceByName(spaceName);
  if (!found) {
    DtNotifyInfo("Can not add dimension %s: %s is not a valid space name.\n", dimension, spaceName);
    return;
  }
  found->addDim(dimension);
}

std::int32_t DtFomClassMgr::spaceOf(const char* element, const char* name, const char* spaceName) const {
  if (!spaceName) return 0;
  const DtSpaceInfo* found = spaceByName(spaceName);
  if (!found) {
    DtNotifyError("Can not add %s %s: %s is not a valid space name.\n", element, name, spaceName);
    throw RTI::NameNotFound("");
  }
  return found->handle();
}

void DtFomClassMgr::addPrivilegeAttribute(DtObjectClassInfo& root) {
  root.addAttr(DtAttrInfo::thePrivilegeToDeleteObject.string(), DtReliable, DtTimestampOrder, 0);
}

void DtFomClassMgr::addObjClass(const char* name, const char* baseName) {
  DtObjectClassInfo* base = nullptr;
  if (baseName) {
    base = classByName(baseName);
    if (!base) {
      DtNotifyInfo("Can not add class %s: %s is not a valid base class.\n", name, baseName);
      return;
    }
  }
  if (classNames_.contains(name)) {
    DtNotifyError("Can not add class %s: two classes with the same name\n", name);
    throw RTI::RTIinternalError("two classes with the same name\n");
  }
  if (base && !base->baseClass() && base->numAttributes() == 0) {
    DtNotifyError(
        "ObjectRoot class missing privilegeToDeleteObject (or privilegeToDelete).\n"
        "Forcing insertion as (attribute privilegeToDeleteObject reliable timestamp)\n");
    addPrivilegeAttribute(*base);
  }
  const DtObjectClassInfo* record =
      classes_.put(numClasses_, std::make_unique<DtObjectClassInfo>(name, base, numClasses_));
  classNames_.add(record->name(), numClasses_);
  if (++numClasses_ == 2) numClasses_ = 3;
}

void DtFomClassMgr::addAttribute(const char* className, const char* attribute, DtTransportType transport,
                                 DtOrderType order, const char* spaceName) {
  DtObjectClassInfo* record = classByName(className);
  if (!record) {
    DtNotifyInfo("Can not add attribute %s: %s is not a valid class name.\n", attribute, className);
    return;
  }
  const std::int32_t space = spaceOf("attribute", attribute, spaceName);
  if (!record->baseClass() && record->numAttributes() == 0 && !isPrivilegeName(attribute)) {
    DtNotifyError(
        "privilegeToDeleteObject (or privilegeToDelete) must be first attribute in ObjectRoot.\n"
        "Forcing insertion as (attribute privilegeToDeleteObject reliable timestamp)\n");
    addPrivilegeAttribute(*record);
  }
  try {
    record->addAttr(attribute, transport, order, space);
  } catch (const RTI::RTIinternalError& refusal) {
    DtNotifyError("Can not add attribute %s to class %s: %s", attribute, className,
                  refusal._reason ? refusal._reason : "\n");
    throw;
  }
}

void DtFomClassMgr::addInterClass(const char* name, const char* baseName, DtTransportType transport, DtOrderType order,
                                  const char* spaceName) {
  DtInteractionClassInfo* base = nullptr;
  if (baseName) {
    base = interactionByName(baseName);
    if (!base) {
      DtNotifyInfo("Can not add class %s: %s is not a valid base class.\n", name, baseName);
      return;
    }
  }
  if (interactionNames_.contains(name)) {
    DtNotifyError("Can not add class %s: two classes with the same name\n", name);
    throw RTI::RTIinternalError("two classes with the same name\n");
  }
  const std::int32_t space = spaceOf("class", name, spaceName);
  DtInteractionClassInfo* record =
      interactions_.put(numInteractions_, std::make_unique<DtInteractionClassInfo>(name, base, numInteractions_));
  record->setSpaceHandle(space);
  record->setTransport(transport);
  record->setOrder(order);
  interactionNames_.add(record->name(), numInteractions_);
  if (++numInteractions_ == 2) numInteractions_ = 4;
}

void DtFomClassMgr::addParameter(const char* className, const char* parameter) {
  DtInteractionClassInfo* record = interactionByName(className);
  if (!record) {
    DtNotifyInfo("Can not add parameter %s: %s is not a valid class name.\n", parameter, className);
    return;
  }
  try {
    record->addParam(parameter);
  } catch (const RTI::RTIinternalError& refusal) {
    DtNotifyError("Can not add parameter %s to class %s: %s", parameter, className,
                  refusal._reason ? refusal._reason : "\n");
    throw;
  }
}

// Object classes --------------------------------------------------------------

DtObjectClassInfo* DtFomClassMgr::classByName(const char* name) const {
  const auto handle = classNames_.find(name);
  return handle ? classes_.at(*handle) : nullptr;
}

DtObjectClassInfo* DtFomClassMgr::classByHandle(RTI::ObjectClassHandle handle) const {
  return fits(handle, numClasses_) ? classes_.at(static_cast<std::uint32_t>(handle)) : nullptr;
}

int DtFomClassMgr::numClasses() const { return static_cast<int>(numClasses_); }

DtObjectClassInfo* DtFomClassMgr::objectClass(RTI::ObjectClassHandle handle) const {
  DtObjectClassInfo* record = classByHandle(handle);
  if (!record) throw RTI::ObjectClassNotDefined("");
  return record;
}

RTI::ObjectClassHandle DtFomClassMgr::classHandle(const char* name) const {
  const DtObjectClassInfo* record = classByName(name);
  if (!record) throw RTI::NameNotFound("");
  return record->handle();
}

const char* DtFomClassMgr::className(RTI::ObjectClassHandle handle) const { return objectClass(handle)->name(); }

RTI::AttributeHandle DtFomClassMgr::attrHandle(const char* name, RTI::ObjectClassHandle classHandle) const {
  return objectClass(classHandle)->attrHandle(name);
}

const char* DtFomClassMgr::attrName(RTI::AttributeHandle attribute, RTI::ObjectClassHandle classHandle) const {
  return objectClass(classHandle)->attrName(attribute);
}

// Routing spaces --------------------------------------------------------------

DtSpaceInfo* DtFomClassMgr::spaceByName(const char* name) const {
  const auto handle = spaceNames_.find(name);
  return handle ? spaces_.at(*handle) : nullptr;
}

DtSpaceInfo* DtFomClassMgr::spaceByHandle(RTI::SpaceHandle handle) const {
  if (handle < 0 || handle >= numSpaces_) return nullptr;
  return spaces_.at(static_cast<std::uint32_t>(handle));
}

int DtFomClassMgr::numSpaces() const { return numSpaces_; }

DtSpaceInfo* DtFomClassMgr::space(RTI::SpaceHandle handle) const {
  DtSpaceInfo* found = spaceByHandle(handle);
  if (!found) throw RTI::SpaceNotDefined("");
  return found;
}

RTI::SpaceHandle DtFomClassMgr::spaceHandle(const char* name) const {
  const DtSpaceInfo* found = spaceByName(name);
  if (!found) throw RTI::NameNotFound("");
  return found->handle();
}

const char* DtFomClassMgr::spaceName(RTI::SpaceHandle handle) const { return space(handle)->name(); }

RTI::DimensionHandle DtFomClassMgr::dimHandle(const char* name, RTI::SpaceHandle spaceHandle) const {
  // An unknown space is reported as an unknown name here.
  const DtSpaceInfo* found = spaceByHandle(spaceHandle);
  if (!found) throw RTI::NameNotFound("");
  return found->dimHandle(name);
}

const char* DtFomClassMgr::dimName(RTI::DimensionHandle dimension, RTI::SpaceHandle spaceHandle) const {
  if (dimension > UINT32_MAX) throw RTI::DimensionNotDefined("");
  return space(spaceHandle)->dimName(static_cast<std::uint32_t>(dimension));
}

// Interaction classes ---------------------------------------------------------

DtInteractionClassInfo* DtFomClassMgr::interactionByName(const char* name) const {
  const auto handle = interactionNames_.find(name);
  return handle ? interactions_.at(*handle) : nullptr;
}

DtInteractionClassInfo* DtFomClassMgr::interactionByHandle(RTI::InteractionClassHandle handle) const {
  return fits(handle, numInteractions_) ? interactions_.at(static_cast<std::uint32_t>(handle)) : nullptr;
}

int DtFomClassMgr::numInteractions() const { return static_cast<int>(numInteractions_); }

DtInteractionClassInfo* DtFomClassMgr::interactionClass(RTI::InteractionClassHandle handle) const {
  DtInteractionClassInfo* record = interactionByHandle(handle);
  if (!record) throw RTI::InteractionClassNotDefined("");
  return record;
}

RTI::InteractionClassHandle DtFomClassMgr::interactionHandle(const char* name) const {
  const DtInteractionClassInfo* record = interactionByName(name);
  if (!record) throw RTI::NameNotFound("");
  return record->handle();
}

const char* DtFomClassMgr::interactionName(RTI::InteractionClassHandle handle) const {
  return interactionClass(handle)->name();
}

RTI::ParameterHandle DtFomClassMgr::paramHandle(const char* name, RTI::InteractionClassHandle classHandle) const {
  return interactionClass(classHandle)->paramHandle(name);
}

const char* DtFomClassMgr::paramName(RTI::ParameterHandle parameter, RTI::InteractionClassHandle classHandle) const {
  return interactionClass(classHandle)->paramName(parameter);
}

// Data-distribution multicast groups ------------------------------------------

void DtFomClassMgr::processDMFilteringParameters(const DtRIDParameters* rid) {
  if (!rid) return;
  for (const DtListItem* item = rid->objectMulticastDefinitions().head(); item; item = item->next()) {
    const auto* definition = static_cast<const DtMulticastDefinition*>(item->data());
    DtObjectClassInfo* record = classByName(definition->className().string());
    if (!record) {
      DtNotifyError("%s Not Found in the fom!\n", definition->className().string());
      continue;
    }
    record->setDestination(definition->address(), definition->inclusive(), record->destinationAddress());
  }
  for (const DtListItem* item = rid->interactionMulticastDefinitions().head(); item; item = item->next()) {
    const auto* definition = static_cast<const DtMulticastDefinition*>(item->data());
    DtInteractionClassInfo* record = interactionByName(definition->className().string());
    if (!record) {
      DtNotifyError("%s Not Found in the fom!\n", definition->className().string());
      continue;
    }
    record->setDestination(definition->address(), definition->inclusive(), record->destinationAddress());
  }
  printDMSubscriptions();
}

void DtFomClassMgr::printDMSubscriptions() const {
  const auto printAssignment = [](const char* name, std::uint32_t address) {
    if (address == 0) {
      DtNotifyVerbose("  %s is assigned to default\n", name);
    } else {
      DtNotifyVerbose("  %s is assigned to %s\n", name, DottedAddress(address).c_str());
    }
  };
  DtNotifyVerbose("DM Object class multicast assignments:\n");
  for (std::uint32_t h = 0; h < numClasses_; ++h) {
    if (const DtObjectClassInfo* record = classes_.at(h)) printAssignment(record->name(), record->destinationAddress());
  }
  DtNotifyVerbose("DM Interaction class multicast assignments:\n");
  for (std::uint32_t h = 0; h < numInteractions_; ++h) {
    if (const DtInteractionClassInfo* record = interactions_.at(h)) {
      printAssignment(record->name(), record->destinationAddress());
    }
  }
}

// Federation save ---------------------------------------------------------------

bool DtFomClassMgr::save(DtRtiSaveFile& file) const {
  bool written = true;
  for (std::uint32_t h = 0; h < numClasses_; ++h) {
    if (const DtObjectClassInfo* record = classes_.at(h)) written = record->save(file) && written;
  }
  for (std::uint32_t h = 0; h < numInteractions_; ++h) {
    if (const DtInteractionClassInfo* record = interactions_.at(h)) written = record->save(file) && written;
  }
  return written;
}

bool DtFomClassMgr::restore(DtRtiSaveFile& file) {
  for (std::uint32_t h = 0; h < numClasses_; ++h) {
    DtObjectClassInfo* record = classes_.at(h);
    if (!record) continue;
    const DtSavePacket* packet = file.readNextPacket();
    if (!packet || packet->type() != DtObjectClassPacket::theType) {
      DtNotifyError("RtiFom received an incorrect object class save packet (%u), restore aborted\n", h);
      return false;
    }
    if (!DtObjectClassPacket::complete(*packet)) {
      DtNotifyError("RtiFom received a damaged object class save packet (%u), restore aborted\n", h);
      return false;
    }
    if (!record->restore(*packet, file)) return false;
  }
  for (std::uint32_t h = 0; h < numInteractions_; ++h) {
    DtInteractionClassInfo* record = interactions_.at(h);
    if (!record) continue;
    const DtSavePacket* packet = file.readNextPacket();
    if (!packet || packet->type() != DtInteractionClassPacket::theType) {
      DtNotifyError("RtiFom received an incorrect interaction class save packet(%u), restore aborted\n", h);
      return false;
    }
    if (!DtInteractionClassPacket::complete(*packet)) {
      DtNotifyError("RtiFom received a damaged interaction class save packet(%u), restore aborted\n", h);
      return false;
    }
    record->restore(*packet);
  }
  return true;
}
