#pragma once
// DtRegionEntryListWithAttributes: a list of regions with the attributes
// that go with them (what the object side of data distribution hands on for
// an association of attributes with regions).

#include "api/DtAttributeHandleSet.h"
#include "ddm/DtRegionEntryList.h"

class DtRegionEntryListWithAttributes : public DtRegionEntryList {
public:
  DtAttributeHandleSet& attributes() { return attributes_; }
  const DtAttributeHandleSet& attributes() const { return attributes_; }

private:
  DtAttributeHandleSet attributes_;
};
