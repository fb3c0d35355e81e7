#include "objects/DtNameIndex.h"

#include <algorithm>
#include <cstring>

namespace {

char lowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool sameNoCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return lowerAscii(x) == lowerAscii(y); });
}

}  // namespace

std::size_t DtNameIndex::NoCaseHash::operator()(std::string_view text) const {
  // Eight bytes at a time. Setting bit 5 of every byte folds upper-case
  // letters onto lower-case ones (and a few other bytes onto each other,
  // which only the equality test then tells apart).
  constexpr std::uint64_t fold = 0x2020202020202020ull;
  constexpr std::uint64_t mix = 0x9E3779B97F4A7C15ull;
  std::uint64_t hash = mix ^ text.size();
  const char* p = text.data();
  std::size_t left = text.size();
  for (; left >= 8; p += 8, left -= 8) {
    std::uint64_t word;
    std::memcpy(&word, p, 8);
    hash = (hash ^ (word | fold)) * mix;
    hash ^= hash >> 29;
  }
  if (left > 0) {
    std::uint64_t tail = 0;
    for (std::size_t i = 0; i < left; ++i) tail |= std::uint64_t{static_cast<unsigned char>(p[i]) | 0x20u} << (8 * i);
    hash = (hash ^ tail) * mix;
  }
  return static_cast<std::size_t>(hash ^ (hash >> 32));
}

bool DtNameIndex::NoCaseEqual::operator()(std::string_view a, std::string_view b) const { return sameNoCase(a, b); }

DtNameIndex::DtNameIndex(std::string_view rootPrefix) : rootPrefix_(rootPrefix) {}

void DtNameIndex::add(std::string_view text, std::uint32_t handle) {
  names_.try_emplace(text, handle);
  if (rootPrefix_.empty()) return;
  const std::size_t prefixLength = rootPrefix_.size() + 1;
  if (text.size() >= prefixLength && text[rootPrefix_.size()] == '.' &&
      sameNoCase(text.substr(0, rootPrefix_.size()), rootPrefix_)) {
    shortNames_.try_emplace(text.substr(prefixLength), handle);
  }
}

std::optional<std::uint32_t> DtNameIndex::lookUp(const Map& map, std::string_view text) {
  const auto found = map.find(text);
  if (found == map.end()) return std::nullopt;
  return found->second;
}

std::optional<std::uint32_t> DtNameIndex::find(const char* name) const {
  if (!name) return std::nullopt;
  const std::string_view text(name);
  std::optional<std::uint32_t> handle = lookUp(names_, text);
  if (!rootPrefix_.empty() && !text.starts_with(rootPrefix_)) {
    const std::optional<std::uint32_t> shortHandle = lookUp(shortNames_, text);
    if (shortHandle && (!handle || *shortHandle < *handle)) handle = shortHandle;
  }
  return handle;
}

void DtNameIndex::clear() {
  names_.clear();
  shortNames_.clear();
}

void DtNameIndex::reserve(std::size_t count) {
  names_.reserve(count);
  if (!rootPrefix_.empty()) shortNames_.reserve(count);
}
