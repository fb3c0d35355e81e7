#pragma once
// DtExecSaveFile: the rtiexec's own file of a federation save, one per
// execution and label ("<label>-<execution>-HLA_fedex.sav" in the save
// folder), and DtExecSavedState, what it holds: the execution's federates
// with their synchronization points, its synchronization points and its
// time-management state.
//
// The file is text lines, each ended by a line feed, then a binary tail:
//   Saved to <label> at <date>                  (the date ends the line)
//   <execution name>
//   <FED file name>
//   <federates> <next federate handle>
//   <designated federate>
//   <least next-event federate of the cycle>
//   <next-event set changed 0|1>
//   <next-event changed in cycle 0|1>
//   <next-event cycle>
//   per federate:  <handle> <connection> <sync entries> <name>
//     per entry:   <achieved 0|1> <label>
//                  <tag>
//   <n> sync points
//   per point:     <federates> <label>
//                  <tag>
//                  "  <handle>" per federate
// The tail's integers are u32 big-endian, each time a u32 size and that
// many bytes of its encoding: the cycle's least and lag next-event LBTS,
// the time records (a count, then per record the handle, constrained,
// regulating, time available, NER pending, then its time, lookahead, NER
// time and NER lookahead), the eight time lists (a count and the handles
// of each), and the federates awaited by the constrained sync (a count and
// the handles).
//
// A name, label or tag is the rest of its line, blanks and all; one that
// holds a line feed cannot be written (write refuses the whole file). The
// reader takes nothing on trust: every number must be whole and in range,
// every count must be met by the lines or bytes that follow, and a line
// longer than lineLimit or a file past fileLimit is refused; a file that
// fails any of it is refused whole, with the reason; so is one whose
// numbers disagree with the rest of it (DtExecSavedStateCheck).

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct DtExecSavedSyncEntry {
  bool achieved = false;
  std::string label;
  std::string tag;
  bool operator==(const DtExecSavedSyncEntry&) const = default;
};

struct DtExecSavedFederate {
  std::uint32_t handle = 0;
  std::uint32_t connection = 0;
  std::string name;
  std::vector<DtExecSavedSyncEntry> syncPoints;  // the federate's own
  bool operator==(const DtExecSavedFederate&) const = default;
};

struct DtExecSavedSyncPoint {
  std::string label;
  std::string tag;
  std::vector<std::uint32_t> federates;
  bool operator==(const DtExecSavedSyncPoint&) const = default;
};

// A federate's time record; the times are their encodings.
struct DtExecSavedTimeRecord {
  std::uint32_t handle = 0;
  std::uint32_t constrained = 0;
  std::uint32_t regulating = 0;
  std::uint32_t timeAvailable = 0;
  std::uint32_t nerPending = 0;
  std::string time;
  std::string lookahead;
  std::string nerTime;
  std::string nerLookahead;
  bool operator==(const DtExecSavedTimeRecord&) const = default;
};

struct DtExecSavedState {
  static constexpr std::size_t timeListCount = 8;

  std::string executionName;
  std::string fedFile;
  std::uint32_t nextFederateHandle = 1;
  std::uint32_t designated = 0;
  std::uint32_t cycleMinNerFederate = 0;
  bool nerSetChanged = false;
  bool nerChangedInCycle = false;
  std::uint32_t nerCycle = 0;
  std::vector<DtExecSavedFederate> federates;
  std::vector<DtExecSavedSyncPoint> syncPoints;
  // The binary tail; times are their encodings.
  std::string cycleMinNerLbts;
  std::string cycleLagNerLbts;
  std::vector<DtExecSavedTimeRecord> timeRecords;
  std::array<std::vector<std::uint32_t>, timeListCount> timeLists;
  std::vector<std::uint32_t> constrainedSyncWaiting;
  bool operator==(const DtExecSavedState&) const = default;
};

class DtExecSaveFile {
public:
  static constexpr std::size_t lineLimit = 1 << 20;
  static constexpr std::size_t fileLimit = std::size_t{1} << 30;

  // "<directory><label>-<execution>-HLA_fedex.sav", the label and the name
  // escaped as in the federates' files.
  static std::string fileName(const std::string& directory, const char* label, const char* executionName);

  // The file's bytes; none, with the reason, when a text holds a line feed.
  // `savedAt` is the date of the first line, with its line feed.
  static std::optional<std::string> format(const DtExecSavedState& state, const char* label, const std::string& savedAt,
                                           std::string* reason);
  // The state read from the bytes; none, with the reason, when they are not
  // a whole save.
  static std::optional<DtExecSavedState> parse(const std::string& bytes, std::string* reason);

  // Writes the file (emptied or made); false, with the reason, when it
  // cannot be written whole (the write, the flush and the close count).
  static bool write(const std::string& path, const std::string& bytes, std::string* reason);
  // The file's bytes (opened for reading only); none when it cannot be
  // opened, or is longer than fileLimit.
  static std::optional<std::string> read(const std::string& path, std::string* reason);
};
