#pragma once
// DtPacketFilter: decides from one field of a received datagram whether a
// socket hands it up. It keeps a list of 32-bit values and a mode: mode 0
// passes only the listed values, mode 1 passes every value that is not
// listed. A new filter is in mode 1 with an empty list, so it passes all.
//
// Used by the one thread that uses its socket.

#include <cstdint>

#include "util/DtList.h"

class DtPacketFilter {
public:
  enum Mode { PassListed = 0, PassUnlisted = 1 };
  // How match() reads the field: a 32-bit value in host memory order, or one byte.
  enum Width { Word = 0, Byte = 1 };

  DtPacketFilter() = default;
  DtPacketFilter(const DtPacketFilter&) = delete;
  DtPacketFilter& operator=(const DtPacketFilter&) = delete;
  virtual ~DtPacketFilter();

  // setMode(mode), then add(count, values).
  virtual void set(int mode, int count, const std::uint32_t* values);
  // Appends the values in order; duplicates stay.
  virtual void add(int count, const std::uint32_t* values);
  // Removes one entry for each value named (the first equal one); values
  // that are not listed are ignored.
  virtual void remove(int count, const std::uint32_t* values);
  // Empties the list, then stores the mode.
  virtual void setMode(int mode);
  // Reads the field at data + offset (width Word or Byte; any other width
  // reads a byte) and tells whether the filter passes it.
  virtual bool match(const void* data, int offset, int width) const;
  virtual void clear();

  int mode() const { return mode_; }
  std::uint32_t count() const { return values_.count(); }

private:
  int mode_ = PassUnlisted;
  DtList values_;  // the values themselves, carried in the data pointers
};
