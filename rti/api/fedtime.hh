// clang-format off
#pragma once
// Federation time of libhlatime: RTIfedTime, a time held as a double.
// Encoded as the 8 bytes of the IEEE 754 double, big-endian; printed in the
// shortest form that reads back to the same double ("inf" for infinity).
//
// It brings <string.h> and <sys/types.h> as the headers of other HLA 1.3
// RTIs do: federates written for them call strcmp, strlen and the like
// without including either.

#include <string.h>
#include <sys/types.h>

#include "RTI.hh"

class RTI_EXPORT RTIfedTime : public RTI::FedTime {
public:
  RTIfedTime();
  RTIfedTime(const RTI::Double& time);
  RTIfedTime(const RTI::FedTime& time);
  RTIfedTime(const RTIfedTime& time);
  ~RTIfedTime() override;

  // RTI::FedTime
  void setZero() override;
  RTI::Boolean isZero() override;
  // Epsilon is the smallest positive time. Adding a positive time never
  // leaves a finite time unchanged: t + epsilon is the next double after t.
  void setEpsilon() override;
  void setPositiveInfinity() override;
  RTI::Boolean isPositiveInfinity() override;
  int encodedLength() const override;
  void encode(char* buff) const override;
  int getPrintableLength() const override;
  void getPrintableString(char* buff) override;

  // The operations with another RTI::FedTime accept only an RTIfedTime and
  // throw RTI::InvalidFederationTime for any other class, and for a result
  // that is not a number (infinity minus infinity).
  RTI::FedTime& operator+=(const RTI::FedTime& other) override;
  RTI::FedTime& operator-=(const RTI::FedTime& other) override;
  RTI::Boolean operator<=(const RTI::FedTime& other) const override;
  RTI::Boolean operator<(const RTI::FedTime& other) const override;
  RTI::Boolean operator>=(const RTI::FedTime& other) const override;
  RTI::Boolean operator>(const RTI::FedTime& other) const override;
  RTI::Boolean operator==(const RTI::FedTime& other) const override;
  RTI::FedTime& operator=(const RTI::FedTime& other) override;

  // The double behind the time, and operations with doubles.
  RTI::Double getTime() const;
  RTI::Boolean operator==(const RTIfedTime& other) const;
  RTI::Boolean operator==(const RTI::Double& other) const;
  RTI::Boolean operator!=(const RTIfedTime& other) const;
  RTI::Boolean operator!=(const RTI::FedTime& other) const;
  RTI::Boolean operator!=(const RTI::Double& other) const;
  RTI::Boolean operator<=(const RTI::Double& other) const;
  RTI::Boolean operator<(const RTI::Double& other) const;
  RTI::Boolean operator>=(const RTI::Double& other) const;
  RTI::Boolean operator>(const RTI::Double& other) const;
  RTI::FedTime& operator=(const RTI::Double& other);
  RTI::FedTime& operator=(const RTIfedTime& other);
  RTI::FedTime& operator+=(const RTI::Double& other);
  RTI::FedTime& operator-=(const RTI::Double& other);
  RTI::FedTime& operator*=(const RTI::FedTime& other);
  RTI::FedTime& operator/=(const RTI::FedTime& other);
  RTI::FedTime& operator*=(const RTI::Double& other);
  RTI::FedTime& operator/=(const RTI::Double& other);
  RTIfedTime operator+(const RTI::FedTime& other) const;
  RTIfedTime operator+(const RTI::Double& other) const;
  RTIfedTime operator-(const RTI::FedTime& other) const;
  RTIfedTime operator-(const RTI::Double& other) const;
  RTIfedTime operator*(const RTI::FedTime& other) const;
  RTIfedTime operator*(const RTI::Double& other) const;
  RTIfedTime operator/(const RTI::FedTime& other) const;
  RTIfedTime operator/(const RTI::Double& other) const;

private:
  void set(RTI::Double time);

  RTI::Double _fedTime;  // never NaN, so that times are totally ordered
};

namespace RTI {

// The free operators of federation time live in namespace RTI, where
// argument-dependent lookup finds them for an RTI::FedTime (and so for an
// RTIfedTime) from any namespace, even one that declares operators of its own.

// With the members above, every mix of RTI::FedTime and RTIfedTime has an
// exact == and !=, so that C++20 never picks a rewritten or reversed
// operator== (which it would refuse, the API's returning RTI::Boolean).
RTI_EXPORT Boolean operator==(const FedTime& left, const RTIfedTime& right);
RTI_EXPORT Boolean operator!=(const FedTime& left, const RTIfedTime& right);

RTI_EXPORT RTIfedTime operator+(const Double& left, const FedTime& right);
RTI_EXPORT RTIfedTime operator-(const Double& left, const FedTime& right);
RTI_EXPORT RTIfedTime operator*(const Double& left, const FedTime& right);
RTI_EXPORT RTIfedTime operator/(const Double& left, const FedTime& right);

// Writes the printable text of a time.
RTI_EXPORT std::ostream& operator<<(std::ostream& stream, const FedTime& time);

}  // namespace RTI
