#pragma once
// DtAttributeHandleSet: the library's RTI::AttributeHandleSet, a 320-bit
// membership map of attribute handles 0 to 319 with a count. Its 44-byte
// encoded form is how attribute handle sets travel in messages and save
// files, so a handle of 320 or more is refused rather than lost.

#include <cstdint>
#include <memory>

#include "RTI.hh"

class DtClassDescription;

class DtAttributeHandleSet : public RTI::AttributeHandleSet {
public:
  static constexpr std::uint32_t handleLimit = 320;  // handles 0 to handleLimit - 1
  static constexpr std::uint32_t wordCount = handleLimit / 32;
  static constexpr std::uint32_t encodedSize = 4 + 4 * wordCount;  // 44

  DtAttributeHandleSet();
  // The members of a set of any class; AttributeNotDefined for a handle of
  // 320 or more.
  explicit DtAttributeHandleSet(const RTI::AttributeHandleSet& other);

  RTI::ULong size() const override;
  // The i-th member in ascending handle order; ArrayIndexOutOfBounds when i
  // is not below size().
  RTI::AttributeHandle getHandle(RTI::ULong i) const override;
  // Both throw AttributeNotDefined for a handle of 320 or more.
  void add(RTI::AttributeHandle h) override;
  void remove(RTI::AttributeHandle h) override;
  void empty() override;
  RTI::Boolean isEmpty() const override;
  RTI::Boolean isMember(RTI::AttributeHandle h) const override;

  // New sets; neither operand changes. The other set may be of any class.
  virtual DtAttributeHandleSet setUnion(const RTI::AttributeHandleSet& other) const;
  virtual DtAttributeHandleSet setIntersection(const RTI::AttributeHandleSet& other) const;
  virtual DtAttributeHandleSet removeSetIntersection(const RTI::AttributeHandleSet& other) const;

  // The encoded form: the count as a big-endian u32, then map words 0 to 9
  // as big-endian u32s; bit i of word k stands for handle 32k + i.
  virtual std::uint32_t encodedLength() const;
  virtual void encode(char* buffer) const;
  // Reads encodedSize bytes. The count is taken from the map, not from the
  // count word, so a set read from the wire is always consistent.
  static std::unique_ptr<DtAttributeHandleSet> decode(const char* bytes);
  // The same, as a value.
  static DtAttributeHandleSet decoded(const char* bytes);

  // AttributeNotDefined for a handle of 320 or more.
  static void checkHandle(RTI::AttributeHandle h);

  // "NumHandles:" with the count, then the members twenty to a line, at
  // notify level 2.
  virtual void print() const;
  // "NumHandles:" with the count, then one line per member with its index,
  // its name in the class ("(null)" when the class has none) and its
  // handle, at notify level 2.
  virtual void print(const DtClassDescription* classInfo) const;
  // The same for a set of any class, its members in the set's own order.
  static void printNames(const RTI::AttributeHandleSet& set, const DtClassDescription* classInfo);

private:
  // The set of the two maps, each word of the result combine(ours, theirs).
  template <class Combine>
  DtAttributeHandleSet combined(const RTI::AttributeHandleSet& other, Combine combine) const;

  std::uint16_t count_;
  std::uint32_t map_[wordCount];
};
