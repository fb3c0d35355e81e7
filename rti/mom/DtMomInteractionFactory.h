#pragma once
// DtMomInteractionFactory: makes the MOM interaction object for the class
// handle of a received interaction. It knows the 46 classes that a federate
// may send to a MOM (the Adjust, Request and Service classes), found by name
// in the federate's FOM, and every FOM subclass of them, which makes the
// same object. Reports and alerts are only sent, never made here.
//
// The MOM manager makes one at join with the federate's FOM, which must
// outlive it. The map is fixed once the constructor has run; a class that
// the FOM lacks is left out, and its handle makes nothing.

#include <cstdint>
#include <unordered_map>

class DtFomClassMgr;
class DtInteractionClassInfo;
class DtMomInteraction;

class DtMomInteractionFactory {
public:
  // A new interaction of one class, owned by the caller; null when memory
  // runs out.
  using Creator = DtMomInteraction* (*)();

  explicit DtMomInteractionFactory(DtFomClassMgr* fom);
  DtMomInteractionFactory(const DtMomInteractionFactory&) = delete;
  DtMomInteractionFactory& operator=(const DtMomInteractionFactory&) = delete;
  virtual ~DtMomInteractionFactory();

  // A new interaction for the class handle, owned by the caller and without
  // a handle mapper yet; null for a handle that names no mapped class.
  virtual DtMomInteraction* create(std::uint32_t handle) const;
  virtual DtFomClassMgr* handleMapper() const { return fom_; }

protected:
  // Maps the 46 classes; the constructor runs it (this class's, since it is
  // called during construction). A subclass maps more in its own
  // constructor.
  virtual void populateMom();
  const std::unordered_map<std::uint32_t, Creator>& map() const { return map_; }
  // Files the creator under the handle, replacing an earlier one.
  virtual void map(std::uint32_t handle, Creator creator);
  // The class and, in their order, all its subclasses.
  virtual void map(const DtInteractionClassInfo* interactionClass, Creator creator);
  // The class of that name (ignoring case, "InteractionRoot." optional) and
  // its subclasses; a name that the FOM lacks maps nothing.
  virtual void map(const char* name, Creator creator);

private:
  std::unordered_map<std::uint32_t, Creator> map_;
  DtFomClassMgr* fom_;
};
