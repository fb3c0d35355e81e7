#pragma once
// DtPacketFilter: decides from one field of a received datagram whether a
// socket hands it up. It keeps a list of 32-bit values and a mode:
// PassListed passes only the listed values, PassUnlisted every value that is
// not listed. A new filter is PassUnlisted with an empty list, so it passes
// all.
//
// Used by the one thread that uses its socket.

#include <cstdint>
#include <vector>

class DtPacketFilter {
public:
  enum class Mode : std::uint8_t { PassListed = 0, PassUnlisted = 1 };
  // How match() reads the field: a 32-bit value in host memory order, or one byte.
  enum class Width : std::uint8_t { Word = 0, Byte = 1 };

  DtPacketFilter() = default;
  DtPacketFilter(const DtPacketFilter&) = delete;
  DtPacketFilter& operator=(const DtPacketFilter&) = delete;
  virtual ~DtPacketFilter();

  // setMode(mode), then add(count, values).
  virtual void set(Mode mode, int count, const std::uint32_t* values);
  // Appends the values in order; duplicates stay.
  virtual void add(int count, const std::uint32_t* values);
  // Removes one entry for each value named (the first equal one); values
  // that are not listed are ignored.
  virtual void remove(int count, const std::uint32_t* values);
  // Empties the list, then stores the mode.
  virtual void setMode(Mode mode);
  // Reads the field at data + offset and tells whether the filter passes it.
  virtual bool match(const void* data, int offset, Width width) const;
  virtual void clear();

  Mode mode() const { return mode_; }
  std::uint32_t count() const { return static_cast<std::uint32_t>(values_.size()); }

private:
  Mode mode_ = Mode::PassUnlisted;
  std::vector<std::uint32_t> values_;
};
