#pragma once
// DtConcreteFedHandleSet: the library's RTI::FederateHandleSet, a set of at
// most its capacity of federate handles in order of addition (a removal
// moves the last handle into the gap). Used to name the federates of a
// synchronization point.

#include <vector>

#include "RTI.hh"

class DtConcreteFedHandleSet : public RTI::FederateHandleSet {
public:
  explicit DtConcreteFedHandleSet(RTI::ULong capacity);

  RTI::ULong size() const override;
  // ArrayIndexOutOfBounds when i is not below size().
  RTI::FederateHandle getHandle(RTI::ULong i) const override;
  // ValueCountExceeded when full. A handle added twice is held twice.
  void add(RTI::FederateHandle h) override;
  // Removes the first occurrence; a handle not held is ignored.
  void remove(RTI::FederateHandle h) override;
  void empty() override;
  RTI::Boolean isMember(RTI::FederateHandle h) const override;

private:
  RTI::ULong capacity_;
  std::vector<RTI::FederateHandle> handles_;
};
