#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "api/DtAttrValueSet.h"
#include "api/DtParamValueSet.h"
#include "rti/util/NotifyCapture.h"

namespace {

// The attribute and the parameter sets share their pair handling; each case
// runs on both, made through the API's factories.
template <class Set>
struct Factory;

template <>
struct Factory<RTI::AttributeHandleValuePairSet> {
  static RTI::AttributeHandleValuePairSet* create(RTI::ULong n) { return RTI::AttributeSetFactory::create(n); }
};

template <>
struct Factory<RTI::ParameterHandleValuePairSet> {
  static RTI::ParameterHandleValuePairSet* create(RTI::ULong n) { return RTI::ParameterSetFactory::create(n); }
};

template <class Set>
class DtValuePairSetTest : public testing::Test {
protected:
  static std::unique_ptr<Set> make(RTI::ULong capacity) { return std::unique_ptr<Set>(Factory<Set>::create(capacity)); }

  static std::vector<std::string> pairs(const Set& set) {
    std::vector<std::string> texts;
    for (RTI::ULong i = set.start(); set.valid(i); i = set.next(i)) {
      RTI::ULong length = 0;
      const char* value = set.getValuePointer(i, length);
      texts.push_back(std::to_string(set.getHandle(i)) + "=" + std::string(value, length));
    }
    return texts;
  }
};

using SetTypes = testing::Types<RTI::AttributeHandleValuePairSet, RTI::ParameterHandleValuePairSet>;
TYPED_TEST_SUITE(DtValuePairSetTest, SetTypes);

TYPED_TEST(DtValuePairSetTest, CapacityIsEnforcedAndRemovalFillsTheGap) {
  auto set = this->make(2);
  set->add(1, "a", 1);
  set->add(2, "bb", 2);
  EXPECT_THROW(set->add(3, "c", 1), RTI::ValueCountExceeded);
  set->remove(1);
  EXPECT_EQ(this->pairs(*set), (std::vector<std::string>{"2=bb"}));
  set->remove(9);
  EXPECT_EQ(set->size(), 1u);
  set->empty();
  EXPECT_EQ(set->size(), 0u);
  set->add(4, "", 0);  // an empty value is a value
  EXPECT_EQ(this->pairs(*set), (std::vector<std::string>{"4="}));
}

TYPED_TEST(DtValuePairSetTest, ValuesAreCopiedInAndOut) {
  auto set = this->make(3);
  char value[] = "xyz";
  set->add(7, value, 3);
  set->add(7, "second", 6);  // a repeated handle is a further pair
  value[0] = 'X';
  RTI::ULong length = 99;
  char out[8] = {};
  set->getValue(0, out, length);
  EXPECT_EQ(length, 3u);
  EXPECT_STREQ(out, "xyz");
  EXPECT_EQ(set->getValueLength(1), 6u);
  EXPECT_THROW(set->add(8, nullptr, 2), RTI::ValueLengthExceeded);
  EXPECT_EQ(set->size(), 2u);
}

// Short values are kept inside the pair, long ones apart: the lengths
// round the boundary, with NULs inside, keep every byte; a set holds as many
// pairs as its capacity, however many it made room for at first.
TYPED_TEST(DtValuePairSetTest, ValuesOfEveryLengthKeepTheirBytes) {
  const RTI::ULong lengths[] = {0, 1, 31, 32, 33, 64, 1000};
  auto set = this->make(40);
  std::vector<std::string> expected;
  RTI::Handle handle = 1;
  for (const RTI::ULong length : lengths) {
    std::string value(length, '\0');
    for (RTI::ULong i = 0; i < length; ++i) value[i] = static_cast<char>(i % 3 == 0 ? 0 : 'a' + i % 26);
    set->add(handle, value.data(), length);
    expected.push_back(std::to_string(handle++) + "=" + value);
  }
  while (handle <= 40) {
    set->add(handle, "v", 1);
    expected.push_back(std::to_string(handle++) + "=v");
  }
  EXPECT_THROW(set->add(handle, "v", 1), RTI::ValueCountExceeded);
  EXPECT_EQ(this->pairs(*set), expected);
  RTI::ULong length = 99;
  EXPECT_NE(set->getValuePointer(0, length), nullptr);  // an empty value still points somewhere
  EXPECT_EQ(length, 0u);
}

TYPED_TEST(DtValuePairSetTest, BadIndexesThrow) {
  auto set = this->make(1);
  set->add(1, "a", 1);
  RTI::ULong length = 0;
  char buffer[4];
  EXPECT_THROW(set->getHandle(1), RTI::ArrayIndexOutOfBounds);
  EXPECT_THROW(set->getValueLength(1), RTI::ArrayIndexOutOfBounds);
  EXPECT_THROW(set->getValue(1, buffer, length), RTI::ArrayIndexOutOfBounds);
  EXPECT_THROW(set->getValuePointer(1, length), RTI::ArrayIndexOutOfBounds);
  EXPECT_EQ(set->valid(1), 0u);
}

TYPED_TEST(DtValuePairSetTest, MoveFromTakesThePairOutOfTheOtherSet) {
  auto source = this->make(3);
  source->add(1, "A", 1);
  source->add(2, "B", 1);
  source->add(3, "C", 1);
  auto target = this->make(1);
  RTI::ULong index = 0;
  target->moveFrom(*source, index);
  EXPECT_EQ(index, 0u);
  EXPECT_EQ(this->pairs(*source), (std::vector<std::string>{"3=C", "2=B"}));
  EXPECT_EQ(this->pairs(*target), (std::vector<std::string>{"1=A"}));

  EXPECT_THROW(target->moveFrom(*source, index), RTI::ValueCountExceeded);
  EXPECT_EQ(source->size(), 2u);  // nothing taken when the target is full
  index = 2;
  EXPECT_THROW(target->moveFrom(*source, index), RTI::ArrayIndexOutOfBounds);
}

TYPED_TEST(DtValuePairSetTest, PrintsHandleLengthAndFourBytesToALine) {
  auto set = this->make(3);
  set->add(5, "abcde", 5);
  set->add(6, "1234", 4);
  set->add(7, "", 0);
  NotifyCapture capture;
  dynamic_cast<DtValuePairSet<TypeParam>&>(*set).print();
  EXPECT_EQ(capture.text(),
            "NumValues:           3\n"
            "Handle:              5\n"
            "Bytes:               5\n"
            " 61 62 63 64\n"
            " 65\n"
            "Handle:              6\n"
            "Bytes:               4\n"
            " 31 32 33 34\n"
            "Handle:              7\n"
            "Bytes:               0\n");
}

TEST(DtAttrValueSetTest, AttributeHandlesAbove319AreRefused) {
  DtAttrValueSet set(2);
  set.add(319, "v", 1);
  EXPECT_THROW(set.add(320, "v", 1), RTI::AttributeNotDefined);
  EXPECT_EQ(set.size(), 1u);
}

TEST(DtAttrValueSetTest, TransportOrderAndRegionBelongToTheWholeSet) {
  DtAttrValueSet set(2);
  set.add(1, "v", 1);
  set.setTransportType(1);
  set.setOrderType(1);
  RTI::Region* region = reinterpret_cast<RTI::Region*>(&set);  // only compared
  set.setRegion(region);
  EXPECT_EQ(set.getTransportType(0), 1u);
  EXPECT_EQ(set.getOrderType(0), 1u);
  EXPECT_EQ(set.getRegion(5), region);
  EXPECT_THROW(set.getTransportType(1), RTI::ArrayIndexOutOfBounds);
  EXPECT_THROW(set.getOrderType(1), RTI::ArrayIndexOutOfBounds);
}

TEST(DtAttrValueSetTest, NewSetsTakeTheDefaultRegionSet) {
  DtAttrValueSet::setDefaultRegion(7);
  std::unique_ptr<RTI::AttributeHandleValuePairSet> attrs(RTI::AttributeSetFactory::create(1));
  DtParamValueSet params(1);
  DtAttrValueSet::setDefaultRegion(0);
  EXPECT_EQ(dynamic_cast<DtAttrValueSet&>(*attrs).regionSet(), 7u);
  EXPECT_EQ(params.regionSet(), 0u);
  EXPECT_EQ(DtAttrValueSet(1).regionSet(), 0u);
}

TEST(DtParamValueSetTest, ParameterHandlesAbove65535AreRefused) {
  DtParamValueSet set(2);
  set.add(65535, "v", 1);
  EXPECT_THROW(set.add(65536, "v", 1), RTI::InteractionParameterNotDefined);
  EXPECT_EQ(set.size(), 1u);
  set.setTransportType(1);
  EXPECT_EQ(set.getTransportType(), 1u);
  EXPECT_EQ(set.getOrderType(), 0u);
  EXPECT_EQ(set.getRegion(), nullptr);
}

}  // namespace
