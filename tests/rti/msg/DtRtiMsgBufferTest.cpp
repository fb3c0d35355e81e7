#include "msg/DtRtiMsgBuffer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// A buffer that records every size it is told of.
class RecordingBuffer : public DtRtiMsgBuffer {
public:
  using DtRtiMsgBuffer::initBuffer;
  void sizeChanged(int n) override { told.push_back(n); }
  std::string bytes() const { return std::string(data(), static_cast<std::size_t>(size())); }
  std::vector<int> told;
};

TEST(DtRtiMsgBuffer, ANewBufferIsZeroAndGrowsWithZeroFill) {
  RecordingBuffer buffer;
  buffer.initBuffer(4, nullptr);
  EXPECT_EQ(buffer.bytes(), std::string(4, '\0'));
  buffer.data()[0] = 'a';
  buffer.data()[3] = 'd';
  buffer.setSize(7);
  EXPECT_EQ(buffer.bytes(), std::string("a\0\0d\0\0\0", 7));
  buffer.setSize(2);
  EXPECT_EQ(buffer.bytes(), std::string("a\0", 2));
  buffer.setSize(3);  // bytes past a shrink come back as zeros
  EXPECT_EQ(buffer.bytes(), std::string("a\0\0", 3));
  EXPECT_EQ(buffer.told, (std::vector<int>{7, 2, 3}));
}

TEST(DtRtiMsgBuffer, InsertingAndRemovingInTheMiddleMovesTheTail) {
  RecordingBuffer buffer;
  buffer.initBuffer("abcdefgh", 8, nullptr);
  buffer.insertBytes(3, 4);
  EXPECT_EQ(buffer.bytes(), std::string("abc\0\0\0\0defgh", 12));
  buffer.removeBytes(buffer.data() + 3, 4);
  EXPECT_EQ(buffer.bytes(), "abcdefgh");
  buffer.insertBytes(buffer.data() + 8, 2);  // an append
  EXPECT_EQ(buffer.bytes(), std::string("abcdefgh\0\0", 10));
  buffer.removeBytes(8, 2);  // the tail is cut
  EXPECT_EQ(buffer.bytes(), "abcdefgh");
  buffer.insertBytes(2, 0);
  buffer.removeBytes(2, 0);
  buffer.removeBytes(6, 5);  // past the end: refused
  EXPECT_EQ(buffer.bytes(), "abcdefgh");
  EXPECT_EQ(buffer.told, (std::vector<int>{12, 8, 10, 8}));
}

TEST(DtRtiMsgBuffer, ReceivedBytesAreCopiedOrAdoptedInPlace) {
  char received[] = "hello";
  RecordingBuffer copied;
  copied.initBuffer(received, 5, nullptr);
  EXPECT_NE(copied.data(), received);
  EXPECT_FALSE(copied.inCallerMemory());

  RecordingBuffer adopted;
  adopted.initBuffer(received, 5, DtPlaceHolderAt(received));
  EXPECT_EQ(adopted.data(), received);
  EXPECT_TRUE(adopted.inCallerMemory());
  EXPECT_EQ(adopted.bytes(), "hello");

  char memory[8];
  RecordingBuffer placed;
  placed.initBuffer(received, 5, DtPlaceHolderAt(memory));
  EXPECT_EQ(placed.data(), memory);
  placed.setSize(3);  // shrinks in place
  EXPECT_EQ(placed.data(), memory);
}

TEST(DtRtiMsgBuffer, ReserveBeyondTheCapacityLosesTheContents) {
  RecordingBuffer buffer;
  buffer.initBuffer("abcd", 4, nullptr);
  char* block = buffer.reserve(2);  // fits: nothing changes
  EXPECT_EQ(block, buffer.data());
  EXPECT_EQ(buffer.bytes(), "abcd");
  block = buffer.reserve(64);
  EXPECT_EQ(block, buffer.data());
}

TEST(DtRtiMsgBuffer, AssignmentCopiesIntoAnOwnBlock) {
  RecordingBuffer source;
  source.initBuffer("source!", 7, nullptr);
  char memory[4] = {'x', 'y', 'z', 'w'};
  RecordingBuffer target;
  target.initBuffer(memory, 4, DtPlaceHolderAt(memory));
  target = source;
  EXPECT_EQ(target.bytes(), "source!");
  EXPECT_FALSE(target.inCallerMemory());
  EXPECT_EQ(std::string(memory, 4), "xyzw");
  target = target;  // NOLINT: self-assignment leaves it alone
  EXPECT_EQ(target.bytes(), "source!");
}

}  // namespace
