#include "msg/DtNetNumber.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

using Bytes = std::vector<unsigned char>;

template <class T>
Bytes bytesOf(const T& number) {
  Bytes out(sizeof(T));
  std::memcpy(out.data(), &number, sizeof(T));
  return out;
}

class ByteOrder : public ::testing::Test {
protected:
  ~ByteOrder() override { DtSetNetByteOrder(1); }
};

struct Case {
  int order;
  Bytes u16, u32, f64, i16, i32, f32;
};

TEST_F(ByteOrder, EveryWireNumberStoresItsBytesByTheSwitch) {
  const Case cases[] = {
      {1,
       {0x12, 0x34},
       {0x12, 0x34, 0x56, 0x78},
       {0x3F, 0xF0, 0, 0, 0, 0, 0, 0},
       {0xFF, 0xFE},
       {0xFF, 0xFF, 0xFF, 0xFD},
       {0x3F, 0x80, 0, 0}},
      {0,
       {0x34, 0x12},
       {0x78, 0x56, 0x34, 0x12},
       {0, 0, 0, 0, 0, 0, 0xF0, 0x3F},
       {0xFE, 0xFF},
       {0xFD, 0xFF, 0xFF, 0xFF},
       {0, 0, 0x80, 0x3F}},
      {7,
       {0x34, 0x12},
       {0x78, 0x56, 0x34, 0x12},
       {0, 0, 0, 0, 0, 0, 0xF0, 0x3F},
       {0xFE, 0xFF},
       {0xFD, 0xFF, 0xFF, 0xFF},
       {0, 0, 0x80, 0x3F}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.order);
    DtSetNetByteOrder(c.order);
    EXPECT_EQ(DtNetByteOrder(), c.order);
    const DtNetU16 u16(0x1234);
    const DtNetU32 u32(0x12345678u);
    const DtNetF64 f64(1.0);
    const DtNetI16 i16(-2);
    const DtNetI32 i32(-3);
    DtNetF32 f32;
    EXPECT_EQ(f32 = 1.0f, 1.0f);
    EXPECT_EQ(bytesOf(u16), c.u16);
    EXPECT_EQ(bytesOf(u32), c.u32);
    EXPECT_EQ(bytesOf(f64), c.f64);
    EXPECT_EQ(bytesOf(i16), c.i16);
    EXPECT_EQ(bytesOf(i32), c.i32);
    EXPECT_EQ(bytesOf(f32), c.f32);
    EXPECT_EQ(u16, 0x1234);
    EXPECT_EQ(u32, 0x12345678u);
    EXPECT_EQ(f64, 1.0);
    EXPECT_EQ(i16, -2);
    EXPECT_EQ(i32, -3);
    EXPECT_EQ(f32, 1.0f);
  }
}

TEST_F(ByteOrder, CopiesKeepTheBytesWhateverTheSwitch) {
  const DtNetU32 stored(0x01020304u);  // big-endian
  DtSetNetByteOrder(0);
  DtNetU32 copy(stored);
  DtNetU32 assigned;
  assigned = stored;
  EXPECT_EQ(bytesOf(copy), (Bytes{1, 2, 3, 4}));
  EXPECT_EQ(bytesOf(assigned), (Bytes{1, 2, 3, 4}));
  EXPECT_EQ(copy, 0x04030201u);  // read by the switch in force
}

TEST_F(ByteOrder, NumbersAreReadAndWrittenAtOddAddresses) {
  unsigned char buffer[11] = {};
  DtNetF64::write(buffer + 1, -2.5);
  DtNetU16::write(buffer + 9, 0xBEEF);
  EXPECT_EQ(DtNetF64::read(buffer + 1), -2.5);
  EXPECT_EQ(DtNetU16::read(buffer + 9), 0xBEEF);
  EXPECT_EQ(buffer[9], 0xBE);
}

}  // namespace
