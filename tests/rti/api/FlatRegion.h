#pragma once
// A region for tests that hand a service a region but look only at its
// identity: one extent in space 1, every bound and notification limit 0,
// and setting a bound changes nothing. Base is RTI::Region or a region
// class of the RTI's own.

#include <RTI.hh>

template <class Base = RTI::Region>
class FlatRegion : public Base {
public:
  RTI::ULong getRangeLowerBound(RTI::ExtentIndex, RTI::DimensionHandle) const override { return 0; }
  RTI::ULong getRangeUpperBound(RTI::ExtentIndex, RTI::DimensionHandle) const override { return 0; }
  void setRangeLowerBound(RTI::ExtentIndex, RTI::DimensionHandle, RTI::ULong) override {}
  void setRangeUpperBound(RTI::ExtentIndex, RTI::DimensionHandle, RTI::ULong) override {}
  RTI::SpaceHandle getSpaceHandle() const override { return 1; }
  RTI::ULong getNumberOfExtents() const override { return 1; }
  RTI::ULong getRangeLowerBoundNotificationLimit(RTI::ExtentIndex, RTI::DimensionHandle) const override { return 0; }
  RTI::ULong getRangeUpperBoundNotificationLimit(RTI::ExtentIndex, RTI::DimensionHandle) const override { return 0; }
};
