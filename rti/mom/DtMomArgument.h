#pragma once
// DtMomArgument: one argument of a reported service call or callback as the
// text that ReportServiceInvocation carries. One constructor per kind of
// argument, chosen by its type:
//   nothing                      empty text (a position the call leaves empty)
//   RTI::Boolean                 "True" for any non-zero value, else "False"
//   unsigned long (handles,      unsigned decimal
//     counts, region tokens)
//   long (routing spaces)        signed decimal
//   int (RTI::ResignAction)      decimal
//   retraction handle            "<serial>,<sending federate>", both signed
//   attribute-handle array       its first element, unsigned; empty for a
//     and its count                count of 0 (the array is not read then)
//   C string                     the characters; empty for null
//   RTI::FedTime                 the time's printable text
//   regions, region arrays,      the object's address ("%p")
//     federate ambassadors
//   handle and value-pair sets   every handle as "<handle>," in index order,
//                                signed; values are never shown
// A handle reads as unsigned alone and as signed inside a list or a pair,
// so 4294967295 alone is "4294967295" and in a list "-1,".

#include "RTI.hh"
#include "util/DtString.h"

class DtMomArgument : public DtString {
public:
  DtMomArgument() = default;
  explicit DtMomArgument(const RTI::Boolean& value);
  explicit DtMomArgument(unsigned long value);
  explicit DtMomArgument(long value);
  explicit DtMomArgument(int value);
  DtMomArgument(long serialNumber, long sendingFederate);
  explicit DtMomArgument(const RTI::EventRetractionHandle& handle);
  DtMomArgument(const unsigned long* handles, unsigned long count);
  explicit DtMomArgument(const char* text);
  explicit DtMomArgument(const RTI::FedTime& time);
  explicit DtMomArgument(const RTI::Region& region);
  explicit DtMomArgument(const RTI::Region* region);
  explicit DtMomArgument(RTI::Region* const* regions);
  explicit DtMomArgument(const RTI::FederateAmbassador* ambassador);
  explicit DtMomArgument(const RTI::AttributeHandleSet& set);
  explicit DtMomArgument(const RTI::AttributeHandleSet* set);
  explicit DtMomArgument(const RTI::FederateHandleSet& set);
  explicit DtMomArgument(const RTI::AttributeHandleValuePairSet& set);
  explicit DtMomArgument(const RTI::ParameterHandleValuePairSet& set);
  DtMomArgument(const DtMomArgument& other) = default;
  DtMomArgument& operator=(const DtMomArgument& other) = default;
  ~DtMomArgument() override;

private:
  void setAddress(const void* address);
  template <class Set>
  void setHandles(const Set& set);
};
