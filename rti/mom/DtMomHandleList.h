#pragma once
// DtMomHandleList: an ordered list of handles (attributes, classes or
// federates) as the management object model carries them, with the class
// they belong to and, for subscriptions, whether they are subscribed
// actively. Its text form is the handles in decimal joined by ","; that is
// how the FederatesInFederation attribute, the attribute and class lists of
// the MOM interactions and their reports travel.
//
// Each item's data word is the handle itself, not a pointer: the list owns
// nothing beyond its items. Whoever fills a list sets its class handle and
// active flag; a new list has class 0 and is not active.

#include <cstdint>
#include <vector>

#include "RTI.hh"
#include "util/DtList.h"
#include "util/DtString.h"

class DtMomHandleList : public DtList {
public:
  DtMomHandleList() = default;
  // The set's handles in index order.
  explicit DtMomHandleList(const RTI::AttributeHandleSet& set);
  DtMomHandleList(const DtMomHandleList& other);
  // The other list's handles in order, its class handle and active flag.
  DtMomHandleList& operator=(const DtMomHandleList& other);
  ~DtMomHandleList() override = default;

  // Adds the text form to the set under the parameter, with its NUL.
  virtual void encodeVerbose(RTI::ParameterHandleValuePairSet* set, RTI::ParameterHandle parameter) const;
  virtual void append(std::uint32_t handle);
  virtual std::uint32_t classHandle() const { return classHandle_; }
  virtual void setClassHandle(std::uint32_t handle) { classHandle_ = handle; }
  virtual RTI::Boolean active() const { return active_; }
  virtual void setActive(RTI::Boolean active) { active_ = active; }
  // The text form: "3,12,5"; the empty text for an empty list.
  virtual void encode(DtString& out) const;
  // The handle that an item of this list holds.
  virtual std::uint32_t data(const DtListItem* item) const;
  // Replaces the contents with the handles of a text form. Handles are
  // separated by any run of blanks and commas ("3, 12 ,5" gives 3, 12, 5);
  // a piece that does not begin with a number reads as 0, "12ab" as 12.
  // A piece whose number is no 32-bit handle (negative, or 4294967296 and
  // more) refuses the whole text: false, and the list stays as it was.
  virtual bool decodeVerbose(const DtString& text);
  // Adds every handle to the set; a handle the set refuses is left out and
  // the others still go in.
  virtual void getAttributes(RTI::AttributeHandleSet* set) const;
  // Appends the set's handles in index order after those already here.
  virtual void setAttributes(const RTI::AttributeHandleSet& set);

  // The handles in list order.
  std::vector<std::uint32_t> handles() const;

private:
  std::uint32_t classHandle_ = 0;
  RTI::Boolean active_ = RTI::RTI_FALSE;
};
