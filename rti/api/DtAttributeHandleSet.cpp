#include "api/DtAttributeHandleSet.h"

#include <bit>
#include <cinttypes>
#include <cstdio>

#include "api/DtClassDescription.h"
#include "api/DtHandleLimit.h"
#include "util/DtBigEndian.h"
#include "util/DtNotify.h"
#include "util/DtPrintField.h"

namespace {

std::uint32_t bitOf(RTI::AttributeHandle h) { return std::uint32_t{1} << (h % 32); }

// The members of a word, without a call into the compiler's support library
// (which std::popcount makes on processors it cannot assume to count).
int membersOf(std::uint32_t word) {
  word = word - ((word >> 1) & 0x55555555u);
  word = (word & 0x33333333u) + ((word >> 2) & 0x33333333u);
  word = (word + (word >> 4)) & 0x0F0F0F0Fu;
  return static_cast<int>((word * 0x01010101u) >> 24);
}

}  // namespace

RTI::AttributeHandleSet* RTI::AttributeHandleSetFactory::create(RTI::ULong count) {
  if (count > DtAttributeHandleSet::handleLimit) throw RTI::ValueCountExceeded("");
  return new DtAttributeHandleSet();
}

DtAttributeHandleSet::DtAttributeHandleSet() : count_(0), map_{} {}

DtAttributeHandleSet::DtAttributeHandleSet(const RTI::AttributeHandleSet& other) : DtAttributeHandleSet() {
  for (RTI::ULong i = 0; i < other.size(); ++i) add(other.getHandle(i));
}

void DtAttributeHandleSet::checkHandle(RTI::AttributeHandle h) {
  DtCheckHandleBelow<RTI::AttributeNotDefined>(h, handleLimit, "Attribute");
}

RTI::ULong DtAttributeHandleSet::size() const { return count_; }

RTI::AttributeHandle DtAttributeHandleSet::getHandle(RTI::ULong i) const {
  if (i >= count_) throw RTI::ArrayIndexOutOfBounds("");
  RTI::ULong before = 0;  // members in the words already passed
  for (std::size_t k = 0; k < wordCount; ++k) {
    RTI::ULong inWord = static_cast<RTI::ULong>(membersOf(map_[k]));
    if (i < before + inWord) {
      std::uint32_t word = map_[k];
      for (RTI::ULong skip = i - before; skip > 0; --skip) word &= word - 1;  // clear lowest
      return 32 * k + static_cast<RTI::AttributeHandle>(std::countr_zero(word));
    }
    before += inWord;
  }
  throw RTI::ArrayIndexOutOfBounds("");  // unreachable while count_ matches the map
}

void DtAttributeHandleSet::add(RTI::AttributeHandle h) {
  checkHandle(h);
  if ((map_[h / 32] & bitOf(h)) == 0) {
    map_[h / 32] |= bitOf(h);
    ++count_;
  }
}

void DtAttributeHandleSet::remove(RTI::AttributeHandle h) {
  checkHandle(h);
  if ((map_[h / 32] & bitOf(h)) != 0) {
    map_[h / 32] &= ~bitOf(h);
    --count_;
  }
}

void DtAttributeHandleSet::empty() {
  count_ = 0;
  for (std::uint32_t& word : map_) word = 0;
}

RTI::Boolean DtAttributeHandleSet::isEmpty() const { return count_ == 0 ? RTI::RTI_TRUE : RTI::RTI_FALSE; }

RTI::Boolean DtAttributeHandleSet::isMember(RTI::AttributeHandle h) const {
  if (h >= handleLimit) return RTI::RTI_FALSE;
  return (map_[h / 32] & bitOf(h)) != 0 ? RTI::RTI_TRUE : RTI::RTI_FALSE;
}

// Two sets of this class combine word by word; a set of another class is
// walked handle by handle.
template <class Combine>
DtAttributeHandleSet DtAttributeHandleSet::combined(const RTI::AttributeHandleSet& other, Combine combine) const {
  const auto* ours = dynamic_cast<const DtAttributeHandleSet*>(&other);
  DtAttributeHandleSet result;
  if (ours) {
    int members = 0;
    for (std::size_t k = 0; k < wordCount; ++k) {
      result.map_[k] = combine(map_[k], ours->map_[k]);
      members += membersOf(result.map_[k]);
    }
    result.count_ = static_cast<std::uint16_t>(members);
    return result;
  }
  DtAttributeHandleSet theirs;
  for (RTI::ULong i = 0; i < other.size(); ++i) {
    const RTI::AttributeHandle h = other.getHandle(i);
    if (h < handleLimit) theirs.add(h);
  }
  return combined(theirs, combine);
}

DtAttributeHandleSet DtAttributeHandleSet::setUnion(const RTI::AttributeHandleSet& other) const {
  if (!dynamic_cast<const DtAttributeHandleSet*>(&other)) {
    // Handles of another set beyond ours are refused as add refuses them.
    DtAttributeHandleSet result(*this);
    for (RTI::ULong i = 0; i < other.size(); ++i) result.add(other.getHandle(i));
    return result;
  }
  return combined(other, [](std::uint32_t a, std::uint32_t b) { return a | b; });
}

DtAttributeHandleSet DtAttributeHandleSet::setIntersection(const RTI::AttributeHandleSet& other) const {
  return combined(other, [](std::uint32_t a, std::uint32_t b) { return a & b; });
}

DtAttributeHandleSet DtAttributeHandleSet::removeSetIntersection(const RTI::AttributeHandleSet& other) const {
  return combined(other, [](std::uint32_t a, std::uint32_t b) { return a & ~b; });
}

std::uint32_t DtAttributeHandleSet::encodedLength() const { return encodedSize; }

void DtAttributeHandleSet::encode(char* buffer) const {
  DtPutBigEndian<std::uint32_t>(count_, buffer);
  for (std::size_t k = 0; k < wordCount; ++k) DtPutBigEndian(map_[k], buffer + 4 + 4 * k);
}

std::unique_ptr<DtAttributeHandleSet> DtAttributeHandleSet::decode(const char* bytes) {
  return std::make_unique<DtAttributeHandleSet>(decoded(bytes));
}

DtAttributeHandleSet DtAttributeHandleSet::decoded(const char* bytes) {
  DtAttributeHandleSet set;
  int members = 0;
  for (std::size_t k = 0; k < wordCount; ++k) {
    set.map_[k] = DtGetBigEndian<std::uint32_t>(bytes + 4 + 4 * k);
    members += membersOf(set.map_[k]);
  }
  set.count_ = static_cast<std::uint16_t>(members);
  return set;
}

void DtAttributeHandleSet::print() const {
  DtPrintField("NumHandles:", static_cast<unsigned int>(count_));
  constexpr RTI::ULong perLine = 20;
  // Members are below 320, so " %u" takes at most 4 characters.
  char line[perLine * 4 + 2];
  int used = 0;
  RTI::ULong onLine = 0;
  for (RTI::ULong i = 0; i < count_; ++i) {
    used += std::snprintf(line + used, sizeof line - static_cast<std::size_t>(used), " %" PRIu32,
                          static_cast<std::uint32_t>(getHandle(i)));
    if (++onLine == perLine) {
      DtNotifyInfo("%s\n", line);
      used = 0;
      onLine = 0;
      line[0] = '\0';
    }
  }
  // The last line is printed even when empty, then one more line end.
  line[used] = '\0';
  DtNotifyInfo("%s\n\n", line);
}

void DtAttributeHandleSet::print(const DtClassDescription* classInfo) const { printNames(*this, classInfo); }

void DtAttributeHandleSet::printNames(const RTI::AttributeHandleSet& set, const DtClassDescription* classInfo) {
  DtPrintField("NumHandles:", static_cast<unsigned int>(set.size()));
  for (RTI::ULong i = 0; i < set.size(); ++i) {
    const RTI::AttributeHandle h = set.getHandle(i);
    DtNotifyInfo("\t%u: %s (%u)\n", static_cast<unsigned int>(i), DtClassDescription::printableName(classInfo, h),
                 static_cast<unsigned int>(h));
  }
}
