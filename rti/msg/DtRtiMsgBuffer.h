#pragma once
// DtRtiMsgBuffer: the bytes of one message, in a block it owns (malloc'ed,
// grown to exactly the size asked for) or in memory the caller supplies
// through a DtBufferPlaceHolder. The first base of every message.
//
// Not thread safe: one thread changes a message at a time.

#include <cstdint>

#include "msg/DtBufferPlaceHolder.h"

class DtRtiMsgBuffer {
public:
  DtRtiMsgBuffer() = default;
  DtRtiMsgBuffer(const DtRtiMsgBuffer&) = delete;  // the placeholder form says where
  // The other buffer's bytes, copied into `where` (or an own block).
  DtRtiMsgBuffer(const DtRtiMsgBuffer& other, DtBufferPlaceHolder* where);
  // Copies the other's bytes into this buffer's own block (reused when large
  // enough). A buffer that worked in caller memory moves to an own block, so
  // that the caller's memory is never written past what its builder sized.
  DtRtiMsgBuffer& operator=(const DtRtiMsgBuffer& other);
  virtual ~DtRtiMsgBuffer();

  virtual char* data() const { return data_; }
  virtual int size() const { return size_; }
  // Grows (an own block to exactly n bytes, zero-filling the new bytes) or
  // shrinks; tells sizeChanged. Caller memory is never grown: it must hold n.
  virtual void setSize(int n);
  // Opens a gap of n zero bytes at the place; the tail moves up.
  virtual void insertBytes(char* at, int n);
  virtual void insertBytes(int offset, int n);
  // Closes n bytes at the place; the tail moves down.
  virtual void removeBytes(char* at, int n);
  virtual void removeBytes(int offset, int n);
  virtual void zeroFill();
  // Makes the own block hold at least n bytes, losing its contents when it
  // must grow; returns it.
  virtual char* reserve(int n);
  virtual void sizeChanged(int n) = 0;

  // True when the bytes live in memory the buffer does not own.
  bool inCallerMemory() const { return data_ != nullptr && data_ != owned_; }

protected:
  // For a message being built: n zero bytes in `where` or an own block.
  void initBuffer(int n, DtBufferPlaceHolder* where);
  // For received bytes: copied into `where` or an own block; passing the
  // bytes themselves as `where` adopts them without a copy.
  void initBuffer(const char* bytes, int n, DtBufferPlaceHolder* where);

private:
  char* data_ = nullptr;
  char* owned_ = nullptr;
  int capacity_ = 0;
  std::int32_t size_ = 0;
};
