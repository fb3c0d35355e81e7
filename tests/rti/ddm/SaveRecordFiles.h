#pragma once
// Save records as byte strings for the data distribution save tests: a
// file's records read and written whole, big-endian fields made, read and
// changed in place.

#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "save/DtRtiSaveFile.h"

namespace ddmtest {

using Records = std::vector<std::string>;

inline std::string be32(std::uint32_t v) {
  const char bytes[4] = {static_cast<char>(v >> 24), static_cast<char>(v >> 16), static_cast<char>(v >> 8),
                         static_cast<char>(v)};
  return std::string(bytes, 4);
}
inline std::uint32_t u32At(const std::string& record, std::size_t at) {
  return (std::uint32_t{static_cast<unsigned char>(record[at])} << 24) |
         (std::uint32_t{static_cast<unsigned char>(record[at + 1])} << 16) |
         (std::uint32_t{static_cast<unsigned char>(record[at + 2])} << 8) |
         std::uint32_t{static_cast<unsigned char>(record[at + 3])};
}
inline std::string withU32(std::string record, std::size_t at, std::uint32_t v) {
  return record.replace(at, 4, be32(v));
}

inline Records readRecords(const std::string& path) {
  DtRtiSaveFile file(path.c_str(), true);
  Records records;
  while (const DtSavePacket* packet = file.readNextPacket()) {
    records.emplace_back(packet->bytes().data(), packet->bytes().size());
  }
  return records;
}
inline void writeRecords(const std::string& path, const Records& records) {
  DtRtiSaveFile file(path.c_str(), false);
  for (const std::string& r : records) ASSERT_TRUE(file.writePacket(r.data(), static_cast<int>(r.size())));
}

}  // namespace ddmtest
