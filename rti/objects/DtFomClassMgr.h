#pragma once
// DtFomClassMgr: the federation object model of one federate as its FED
// file describes it: routing spaces with their dimensions, object classes
// with their attributes, interaction classes with their parameters. It gives
// every handle, answers the name and handle look-ups of the HLA support
// services, applies the RID file's data-distribution multicast groups to the
// classes, and writes and reads the class records of a federation save.
//
// Handles: routing space 0 is "HlaDefaultSpace", the FED file's spaces
// follow from 1; object classes get 0, 1, 3, 4, ... and interaction classes
// 0, 1, 4, 5, ... in FED order (2, and 2 and 3, name no class); attributes
// and parameters are numbered per class, inherited ones first.
//
// The FED reader builds it through DtFomBuilder (loadFed does the whole
// reading); afterwards the model is only read, apart from the classes'
// declaration state. The manager owns every record. Name look-ups take the
// same time whatever the size of the model. No lock: one federate's thread
// uses it.

#include <cstdint>
#include <memory>

#include "RTI.hh"
#include "config/DtFomBuilder.h"
#include "objects/DtHandleArray.h"
#include "objects/DtNameIndex.h"

class DtFedReader;
class DtInteractionClassInfo;
class DtObjectClassInfo;
class DtRIDParameters;
class DtRtiSaveFile;
class DtSpaceInfo;

class DtFomClassMgr : public DtFomBuilder {
public:
  // A plug-in's replacement for create(); the manager it returns is the
  // caller's.
  using Creator = DtFomClassMgr* (*)(const DtRIDParameters* rid);

  DtFomClassMgr();
  // The RID parameters are not kept.
  explicit DtFomClassMgr(const DtRIDParameters* rid);
  // Deep copies: every record copied, with its base and subclasses linked
  // among the copies.
  DtFomClassMgr(const DtFomClassMgr& other);
  DtFomClassMgr& operator=(const DtFomClassMgr& other);
  ~DtFomClassMgr() override;

  // A new manager: the plug-in's when one set a creator, else this class.
  static std::unique_ptr<DtFomClassMgr> create(const DtRIDParameters* rid);
  // Null restores this class.
  static void setCreatorFunction(Creator creator);
  // Creates a manager, reads the FED file into it and, when the RID file
  // gave multicast groups, applies them. `result` receives the reader's
  // result; a file that is not accepted gives null, never a part of a model.
  static std::unique_ptr<DtFomClassMgr> loadFed(DtFedReader& reader, const char* fedFile, const DtRIDParameters* rid,
                                                int* result = nullptr);

  // The sizes every manager and class record starts with; each table doubles
  // when it runs out of room, and the size here grows with it. A setter
  // changes only the tables made afterwards.
  static unsigned maxClasses();
  static void setMaxClasses(unsigned count);
  static unsigned maxAttributes();
  static void setMaxAttributes(unsigned count);
  static unsigned maxInteractions();
  static void setMaxInteractions(unsigned count);
  static unsigned maxParameters();
  static void setMaxParameters(unsigned count);
  static unsigned maxSpaces();
  static void setMaxSpaces(unsigned count);

  // DtFomBuilder, called by the FED reader in file order. An unknown base
  // class, class or space leaves the element out with an information
  // message. A name that the class or model has already, an unknown space
  // of an attribute or interaction class, or a 321st attribute of a class
  // is reported at error level and thrown (RTIinternalError, NameNotFound),
  // which ends the reading.
  void addSpace(const char* space) override;
  void addDimension(const char* space, const char* dimension) override;
  void addInterClass(const char* className, const char* baseName, DtTransportType transport, DtOrderType order,
                     const char* space) override;
  void addObjClass(const char* className, const char* baseName) override;
  void addParameter(const char* className, const char* parameter) override;
  void addAttribute(const char* className, const char* attribute, DtTransportType transport, DtOrderType order,
                    const char* space) override;

  // Look-ups of the support services. The exceptions carry the empty
  // reason: classHandle NameNotFound; className ObjectClassNotDefined;
  // attrHandle ObjectClassNotDefined for the class, NameNotFound for the
  // attribute; attrName ObjectClassNotDefined, AttributeNotDefined.
  virtual RTI::ObjectClassHandle classHandle(const char* name) const;
  virtual const char* className(RTI::ObjectClassHandle handle) const;
  virtual RTI::AttributeHandle attrHandle(const char* name, RTI::ObjectClassHandle classHandle) const;
  virtual const char* attrName(RTI::AttributeHandle attribute, RTI::ObjectClassHandle classHandle) const;
  // Null for an unknown name or handle (and for handles that name no class).
  virtual DtObjectClassInfo* classByName(const char* name) const;
  virtual DtObjectClassInfo* classByHandle(RTI::ObjectClassHandle handle) const;
  // One more than the highest object class handle given.
  virtual int numClasses() const;

  // spaceHandle NameNotFound; spaceName SpaceNotDefined; dimHandle
  // NameNotFound for the space as for the dimension; dimName
  // SpaceNotDefined for the space, DimensionNotDefined for the dimension.
  virtual RTI::SpaceHandle spaceHandle(const char* name) const;
  virtual const char* spaceName(RTI::SpaceHandle handle) const;
  virtual RTI::DimensionHandle dimHandle(const char* name, RTI::SpaceHandle space) const;
  virtual const char* dimName(RTI::DimensionHandle dimension, RTI::SpaceHandle space) const;
  virtual DtSpaceInfo* spaceByName(const char* name) const;
  virtual DtSpaceInfo* spaceByHandle(RTI::SpaceHandle handle) const;
  // One more than the highest routing space handle.
  virtual int numSpaces() const;

  // interactionHandle NameNotFound; interactionName
  // InteractionClassNotDefined; paramHandle InteractionClassNotDefined for
  // the class, NameNotFound for the parameter; paramName
  // InteractionClassNotDefined, InteractionParameterNotDefined.
  virtual DtInteractionClassInfo* interactionByName(const char* name) const;
  virtual DtInteractionClassInfo* interactionByHandle(RTI::InteractionClassHandle handle) const;
  virtual RTI::InteractionClassHandle interactionHandle(const char* name) const;
  virtual const char* interactionName(RTI::InteractionClassHandle handle) const;
  virtual RTI::ParameterHandle paramHandle(const char* name, RTI::InteractionClassHandle classHandle) const;
  virtual const char* paramName(RTI::ParameterHandle parameter, RTI::InteractionClassHandle classHandle) const;
  // One more than the highest interaction class handle given.
  virtual int numInteractions() const;

  // Gives the classes of the RID file's object and interaction multicast
  // definitions their groups (an inclusive one to the subtree too), then
  // prints the assignments at the verbose level.
  virtual void processDMFilteringParameters(const DtRIDParameters* rid);
  virtual void printDMSubscriptions() const;

  // A federation save: every object class in handle order (its record, its
  // attributes' records, an end record), then every interaction class.
  // False when a record could not be written. The model itself is not
  // saved: a restoring federate has read the same FED file.
  virtual bool save(DtRtiSaveFile& file) const;
  // Reads the records back in the same order. Stops with false, and a
  // message naming the class, at the first record of another kind, a
  // damaged one, or the end of the file; the classes restored before keep
  // their restored state, the others their own.
  virtual bool restore(DtRtiSaveFile& file);

private:
  void init();
  void copyFrom(const DtFomClassMgr& other);
  DtObjectClassInfo* objectClass(RTI::ObjectClassHandle handle) const;  // ObjectClassNotDefined
  DtInteractionClassInfo* interactionClass(RTI::InteractionClassHandle handle) const;
  DtSpaceInfo* space(RTI::SpaceHandle handle) const;  // SpaceNotDefined
  std::int32_t spaceOf(const char* element, const char* name, const char* space) const;
  void addPrivilegeAttribute(DtObjectClassInfo& root);

  DtHandleArray<DtObjectClassInfo> classes_;
  std::uint32_t numClasses_ = 0;
  DtHandleArray<DtInteractionClassInfo> interactions_;
  std::uint32_t numInteractions_ = 0;
  DtHandleArray<DtSpaceInfo> spaces_;
  std::int32_t numSpaces_ = 0;
  DtNameIndex classNames_{"objectroot"};
  DtNameIndex interactionNames_{"interactionroot"};
  DtNameIndex spaceNames_;
};
