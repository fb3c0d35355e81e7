#pragma once
// DtNameIndex: the FOM's names (classes, attributes, parameters, routing
// spaces) filed under their text ignoring letter case, so that a look-up
// costs the same however large the model is.
//
// A class is also found by its name without the root class's name in front:
// an index made with the root prefix "objectroot" files "ObjectRoot.A.B"
// under "A.B" too, and a name that itself begins with "objectroot" (compared
// as written) is not looked up that way. Where two entries answer one name,
// the lower handle wins, as a scan in handle order would find it.
//
// The index keeps views of the texts it is given: they must outlive it (the
// records' own names do). Used on the federate's thread only.

#include <cstdint>
#include <optional>
#include <string_view>
#include <unordered_map>

class DtNameIndex {
public:
  explicit DtNameIndex(std::string_view rootPrefix = {});

  // Files the text under `handle`; a text filed already keeps its handle.
  void add(std::string_view text, std::uint32_t handle);
  // The handle filed for the name (null finds nothing).
  std::optional<std::uint32_t> find(const char* name) const;
  // Whether the text itself is filed, not counting the short forms.
  bool contains(std::string_view text) const { return names_.contains(text); }
  void clear();
  void reserve(std::size_t count);

private:
  struct NoCaseHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view text) const;
  };
  struct NoCaseEqual {
    using is_transparent = void;
    bool operator()(std::string_view a, std::string_view b) const;
  };
  using Map = std::unordered_map<std::string_view, std::uint32_t, NoCaseHash, NoCaseEqual>;

  static std::optional<std::uint32_t> lookUp(const Map& map, std::string_view text);

  std::string_view rootPrefix_;  // lower case, without the dot
  Map names_;                    // full names
  Map shortNames_;               // names that had the root prefix and a dot, without them
};
