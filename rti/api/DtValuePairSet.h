#pragma once
// DtValuePairSet: what the library's attribute and parameter value sets
// share. A set holds at most its capacity of handle/value pairs in index
// order (repeated handles are further pairs) and belongs, as a whole, to one
// region set, transport and order. It owns its pairs, never its region.
//
// ApiSet is RTI::AttributeHandleValuePairSet or
// RTI::ParameterHandleValuePairSet; the two instantiations are made in
// DtValuePairSet.cpp.

#include <cstdint>
#include <memory>
#include <vector>

#include "RTI.hh"
#include "api/DtAttrVal.h"

class DtClassDescription;

template <class ApiSet>
class DtValuePairSet : public ApiSet {
public:
  DtValuePairSet(const DtValuePairSet&) = delete;
  DtValuePairSet& operator=(const DtValuePairSet&) = delete;
  ~DtValuePairSet() override;

  // i is an index; each of these throws ArrayIndexOutOfBounds when i is not
  // below size(). getValue copies getValueLength(i) bytes into buff, which
  // must hold them, and stores the length in valueLength.
  RTI::ULong size() const override;
  RTI::Handle getHandle(RTI::ULong i) const override;
  RTI::ULong getValueLength(RTI::ULong i) const override;
  void getValue(RTI::ULong i, char* buff, RTI::ULong& valueLength) const override;
  // The pair's own bytes, valid until the pair is removed or the set emptied.
  char* getValuePointer(RTI::ULong i, RTI::ULong& valueLength) const override;

  // ValueCountExceeded when the set is full; a handle that cannot travel is
  // refused with the exception of its kind (see the concrete sets).
  void add(RTI::Handle h, const char* buff, RTI::ULong valueLength) override;
  // Removes the first pair of that handle; the last pair takes its index.
  void remove(RTI::Handle h) override;
  // Adds a copy of the other set's i-th pair, then removes that handle from
  // the other set (the API passes it as const, yet the move changes it).
  void moveFrom(const ApiSet& other, RTI::ULong& i) override;
  void empty() override;
  RTI::ULong start() const override;
  RTI::ULong valid(RTI::ULong i) const override;
  RTI::ULong next(RTI::ULong i) const override;

  // "NumValues:", then per pair its handle, length and bytes, at notify
  // level 2.
  virtual void print() const;
  // One line per pair with its index, its handle's name in the class
  // ("(null)" when the class has none) and the handle, at notify level 3.
  virtual void print(const DtClassDescription* classInfo) const;
  // The same for a set of any class.
  static void printNames(const ApiSet& set, const DtClassDescription* classInfo);
  virtual void setRegionSet(std::uint32_t regionSet);
  virtual std::uint32_t regionSet() const;
  virtual void setRegion(RTI::Region* region);
  virtual void setTransportType(std::uint32_t transport);
  virtual std::uint32_t transportType() const;
  virtual void setOrderType(std::uint32_t order);
  virtual std::uint32_t orderType() const;

protected:
  DtValuePairSet(RTI::ULong capacity, std::uint32_t regionSet);

  void checkIndex(RTI::ULong i) const;
  RTI::Region* region() const { return region_; }

private:
  // Throws when a pair of that handle could not travel.
  virtual void checkHandle(RTI::Handle h) const = 0;

  RTI::ULong capacity_;
  std::uint32_t regionSet_;
  std::uint32_t transport_;  // DtTransportType, 0 until set
  std::uint32_t order_;      // DtOrderType, 0 until set
  std::vector<std::unique_ptr<DtAttrVal>> entries_;
  RTI::Region* region_;
};

extern template class DtValuePairSet<RTI::AttributeHandleValuePairSet>;
extern template class DtValuePairSet<RTI::ParameterHandleValuePairSet>;
