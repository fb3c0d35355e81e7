#include "exec/DtExecSaveFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string_view>

#include "save/DtSaveFileName.h"
#include "util/DtBigEndian.h"

namespace {

struct Closer {
  void operator()(std::FILE* stream) const { std::fclose(stream); }
};

// ---- writing

bool holdsLineFeed(const std::string& text) { return text.find('\n') != std::string::npos; }

void putU32(std::string& out, std::uint32_t value) {
  char bytes[4];
  DtPutBigEndian(value, bytes);
  out.append(bytes, 4);
}

void putTime(std::string& out, const std::string& encoded) {
  putU32(out, static_cast<std::uint32_t>(encoded.size()));
  out += encoded;
}

void putList(std::string& out, const std::vector<std::uint32_t>& handles) {
  putU32(out, static_cast<std::uint32_t>(handles.size()));
  for (const std::uint32_t handle : handles) putU32(out, handle);
}

// The first text of the state that holds a line feed, or null.
const char* textWithLineFeed(const DtExecSavedState& state) {
  if (holdsLineFeed(state.executionName)) return "the execution name";
  if (holdsLineFeed(state.fedFile)) return "the FED file name";
  for (const DtExecSavedFederate& federate : state.federates) {
    if (holdsLineFeed(federate.name)) return "a federate name";
    for (const DtExecSavedSyncEntry& entry : federate.syncPoints) {
      if (holdsLineFeed(entry.label) || holdsLineFeed(entry.tag)) return "a synchronization label or tag";
    }
  }
  for (const DtExecSavedSyncPoint& point : state.syncPoints) {
    if (holdsLineFeed(point.label) || holdsLineFeed(point.tag)) return "a synchronization label or tag";
  }
  return nullptr;
}

// ---- reading

// The bytes of a file, read from the front: text lines, then the tail.
class Cursor {
public:
  explicit Cursor(const std::string& bytes) : bytes_(bytes) {}

  // The next line without its line feed; none at the end, or when it has
  // no line feed or is too long.
  std::optional<std::string_view> line() {
    const std::size_t end = bytes_.find('\n', at_);
    if (end == std::string::npos || end - at_ > DtExecSaveFile::lineLimit) return std::nullopt;
    const std::string_view text(bytes_.data() + at_, end - at_);
    at_ = end + 1;
    return text;
  }
  std::optional<std::uint32_t> u32() {
    if (left() < 4) return std::nullopt;
    const auto value = DtGetBigEndian<std::uint32_t>(bytes_.data() + at_);
    at_ += 4;
    return value;
  }
  std::optional<std::string> bytes(std::uint32_t size) {
    if (left() < size) return std::nullopt;
    std::string taken(bytes_.data() + at_, size);
    at_ += size;
    return taken;
  }
  std::optional<std::string> time() {
    const std::optional<std::uint32_t> size = u32();
    return size ? bytes(*size) : std::nullopt;
  }
  std::size_t left() const { return bytes_.size() - at_; }

private:
  const std::string& bytes_;
  std::size_t at_ = 0;
};

// A decimal number of 32 bits, nothing else.
std::optional<std::uint32_t> number(std::string_view text) {
  if (text.empty() || text.size() > 10) return std::nullopt;
  std::uint64_t value = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + static_cast<std::uint64_t>(c - '0');
  }
  if (value > 0xFFFFFFFFu) return std::nullopt;
  return static_cast<std::uint32_t>(value);
}

std::optional<bool> flag(std::string_view text) {
  if (text == "0") return false;
  if (text == "1") return true;
  return std::nullopt;
}

// The text before the first blank; `rest` gets what follows the blank.
std::optional<std::string_view> word(std::string_view text, std::string_view* rest) {
  const std::size_t blank = text.find(' ');
  if (blank == std::string_view::npos) return std::nullopt;
  *rest = text.substr(blank + 1);
  return text.substr(0, blank);
}

// The number before the first blank; `text` keeps what follows the blank.
std::optional<std::uint32_t> numberWord(std::string_view* text) {
  const auto read = word(*text, text);
  return read ? number(*read) : std::nullopt;
}

class Parser {
public:
  explicit Parser(const std::string& bytes) : in_(bytes) {}

  std::optional<DtExecSavedState> parse() {
    DtExecSavedState state;
    if (!header(state) || !federates(state) || !syncPoints(state) || !tail(state)) return std::nullopt;
    if (in_.left() != 0) return fail("bytes after the end of the save");
    return state;
  }
  const std::string& reason() const { return reason_; }

private:
  std::nullopt_t fail(const std::string& why) {
    if (reason_.empty()) reason_ = why;
    return std::nullopt;
  }
  bool failed(const std::string& why) {
    fail(why);
    return false;
  }
  bool numberLine(std::uint32_t* value, const char* what) {
    const auto text = in_.line();
    const auto read = text ? number(*text) : std::nullopt;
    if (!read) return failed(std::string("no ") + what);
    *value = *read;
    return true;
  }
  bool flagLine(bool* value, const char* what) {
    const auto text = in_.line();
    const auto read = text ? flag(*text) : std::nullopt;
    if (!read) return failed(std::string("no ") + what);
    *value = *read;
    return true;
  }

  bool header(DtExecSavedState& state) {
    const auto first = in_.line();
    if (!first || first->rfind("Saved to ", 0) != 0) return failed("not a save file (first line)");
    const auto name = in_.line();
    const auto fedFile = name ? in_.line() : std::nullopt;
    if (!fedFile) return failed("no execution or FED file name");
    state.executionName = *name;
    state.fedFile = *fedFile;
    const auto counts = in_.line();
    std::string_view rest;
    const auto count = counts ? word(*counts, &rest) : std::nullopt;
    const auto federates = count ? number(*count) : std::nullopt;
    const auto next = count ? number(rest) : std::nullopt;
    if (!federates || !next) return failed("no federate count and next handle");
    federateCount_ = *federates;
    state.nextFederateHandle = *next;
    return numberLine(&state.designated, "designated federate") &&
           numberLine(&state.cycleMinNerFederate, "next-event federate") &&
           flagLine(&state.nerSetChanged, "next-event set flag") &&
           flagLine(&state.nerChangedInCycle, "next-event cycle flag") &&
           numberLine(&state.nerCycle, "next-event cycle");
  }

  bool federates(DtExecSavedState& state) {
    for (std::uint32_t k = 0; k < federateCount_; ++k) {
      const auto text = in_.line();
      if (!text) return failed("fewer federate lines than federates");
      DtExecSavedFederate federate;
      std::uint32_t entryCount = 0;
      if (!federateLine(*text, federate, &entryCount)) return failed("a damaged federate line");
      for (std::uint32_t e = 0; e < entryCount; ++e) {
        DtExecSavedSyncEntry entry;
        if (!syncEntry(entry)) return false;
        federate.syncPoints.push_back(std::move(entry));
      }
      state.federates.push_back(std::move(federate));
    }
    return true;
  }

  // "<handle> <connection> <entry count> <name>"; false when a number is missing.
  static bool federateLine(std::string_view text, DtExecSavedFederate& federate, std::uint32_t* entryCount) {
    const auto handle = numberWord(&text);
    if (!handle) return false;
    const auto connection = numberWord(&text);
    if (!connection) return false;
    const auto entries = numberWord(&text);
    if (!entries) return false;
    federate.handle = *handle;
    federate.connection = *connection;
    federate.name = text;
    *entryCount = *entries;
    return true;
  }

  bool syncEntry(DtExecSavedSyncEntry& entry) {
    const auto text = in_.line();
    std::string_view label;
    const auto achieved = text ? word(*text, &label) : std::nullopt;
    const auto value = achieved ? flag(*achieved) : std::nullopt;
    const auto tag = value ? in_.line() : std::nullopt;
    if (!tag) return failed("a damaged synchronization entry");
    entry.achieved = *value;
    entry.label = label;
    entry.tag = *tag;
    return true;
  }

  bool syncPoints(DtExecSavedState& state) {
    const auto text = in_.line();
    std::string_view rest;
    const auto count = text ? word(*text, &rest) : std::nullopt;
    const auto points = count ? number(*count) : std::nullopt;
    if (!points || rest != "sync points") return failed("no synchronization point count");
    for (std::uint32_t k = 0; k < *points; ++k) {
      const auto head = in_.line();
      std::string_view label;
      const auto members = head ? word(*head, &label) : std::nullopt;
      const auto memberCount = members ? number(*members) : std::nullopt;
      const auto tag = memberCount ? in_.line() : std::nullopt;
      if (!tag) return failed("a damaged synchronization point");
      DtExecSavedSyncPoint point{std::string(label), std::string(*tag), {}};
      for (std::uint32_t m = 0; m < *memberCount; ++m) {
        const auto member = in_.line();
        const auto handle = member && member->rfind("  ", 0) == 0 ? number(member->substr(2)) : std::nullopt;
        if (!handle) return failed("a damaged synchronization point member");
        point.federates.push_back(*handle);
      }
      state.syncPoints.push_back(std::move(point));
    }
    return true;
  }

  bool list(std::vector<std::uint32_t>& handles) {
    const std::optional<std::uint32_t> count = in_.u32();
    if (!count) return failed("the binary part ends early");
    for (std::uint32_t k = 0; k < *count; ++k) {
      const std::optional<std::uint32_t> handle = in_.u32();
      if (!handle) return failed("the binary part ends early");
      handles.push_back(*handle);
    }
    return true;
  }

  bool tail(DtExecSavedState& state) {
    auto least = in_.time();
    auto lag = least ? in_.time() : std::nullopt;
    const auto records = lag ? in_.u32() : std::nullopt;
    if (!records) return failed("the binary part ends early");
    state.cycleMinNerLbts = std::move(*least);
    state.cycleLagNerLbts = std::move(*lag);
    for (std::uint32_t k = 0; k < *records; ++k) {
      DtExecSavedTimeRecord record;
      std::uint32_t* fields[] = {&record.handle, &record.constrained, &record.regulating, &record.timeAvailable,
                                 &record.nerPending};
      for (std::uint32_t* field : fields) {
        const std::optional<std::uint32_t> value = in_.u32();
        if (!value) return failed("the binary part ends early");
        *field = *value;
      }
      for (std::string* time : {&record.time, &record.lookahead, &record.nerTime, &record.nerLookahead}) {
        std::optional<std::string> value = in_.time();
        if (!value) return failed("the binary part ends early");
        *time = std::move(*value);
      }
      state.timeRecords.push_back(std::move(record));
    }
    for (std::vector<std::uint32_t>& handles : state.timeLists) {
      if (!list(handles)) return false;
    }
    return list(state.constrainedSyncWaiting);
  }

  Cursor in_;
  std::uint32_t federateCount_ = 0;
  std::string reason_;
};

}  // namespace

std::string DtExecSaveFile::fileName(const std::string& directory, const char* label, const char* executionName) {
  return directory + DtSaveFileNamePart(label) + "-" + DtSaveFileNamePart(executionName) + "-HLA_fedex.sav";
}

std::optional<std::string> DtExecSaveFile::format(const DtExecSavedState& state, const char* label,
                                                  const std::string& savedAt, std::string* reason) {
  const std::string labelText = label ? label : "";
  const char* broken = holdsLineFeed(labelText) ? "the label" : textWithLineFeed(state);
  if (broken) {
    if (reason) *reason = std::string(broken) + " holds a line feed";
    return std::nullopt;
  }
  std::string out = "Saved to " + labelText + " at " + savedAt;
  if (out.empty() || out.back() != '\n') out += '\n';
  out += state.executionName + "\n" + state.fedFile + "\n";
  out += std::to_string(state.federates.size()) + " " + std::to_string(state.nextFederateHandle) + "\n";
  out += std::to_string(state.designated) + "\n" + std::to_string(state.cycleMinNerFederate) + "\n";
  out += std::string(state.nerSetChanged ? "1" : "0") + "\n" + (state.nerChangedInCycle ? "1" : "0") + "\n";
  out += std::to_string(state.nerCycle) + "\n";
  for (const DtExecSavedFederate& federate : state.federates) {
    out += std::to_string(federate.handle) + " " + std::to_string(federate.connection) + " " +
           std::to_string(federate.syncPoints.size()) + " " + federate.name + "\n";
    for (const DtExecSavedSyncEntry& entry : federate.syncPoints) {
      out += std::string(entry.achieved ? "1" : "0") + " " + entry.label + "\n" + entry.tag + "\n";
    }
  }
  out += std::to_string(state.syncPoints.size()) + " sync points\n";
  for (const DtExecSavedSyncPoint& point : state.syncPoints) {
    out += std::to_string(point.federates.size()) + " " + point.label + "\n" + point.tag + "\n";
    for (const std::uint32_t handle : point.federates) out += "  " + std::to_string(handle) + "\n";
  }
  putTime(out, state.cycleMinNerLbts);
  putTime(out, state.cycleLagNerLbts);
  putU32(out, static_cast<std::uint32_t>(state.timeRecords.size()));
  for (const DtExecSavedTimeRecord& record : state.timeRecords) {
    for (const std::uint32_t value :
         {record.handle, record.constrained, record.regulating, record.timeAvailable, record.nerPending}) {
      putU32(out, value);
    }
    for (const std::string* time : {&record.time, &record.lookahead, &record.nerTime, &record.nerLookahead}) {
      putTime(out, *time);
    }
  }
  for (const std::vector<std::uint32_t>& handles : state.timeLists) putList(out, handles);
  putList(out, state.constrainedSyncWaiting);
  return out;
}

std::optional<DtExecSavedState> DtExecSaveFile::parse(const std::string& bytes, std::string* reason) {
  Parser parser(bytes);
  std::optional<DtExecSavedState> state = parser.parse();
  if (!state && reason) *reason = parser.reason();
  return state;
}

bool DtExecSaveFile::write(const std::string& path, const std::string& bytes, std::string* reason) {
  std::FILE* stream = std::fopen(path.c_str(), "wb");
  if (!stream) {
    if (reason) *reason = std::strerror(errno);
    return false;
  }
  bool whole = std::fwrite(bytes.data(), 1, bytes.size(), stream) == bytes.size();
  if (std::fflush(stream) != 0) whole = false;
  if (!whole && reason) *reason = std::strerror(errno);
  if (std::fclose(stream) != 0 && whole) {
    if (reason) *reason = std::strerror(errno);
    whole = false;
  }
  return whole;
}

std::optional<std::string> DtExecSaveFile::read(const std::string& path, std::string* reason) {
  const std::unique_ptr<std::FILE, Closer> stream(std::fopen(path.c_str(), "rb"));
  if (!stream) {
    if (reason) *reason = std::strerror(errno);
    return std::nullopt;
  }
  std::string bytes;
  char buffer[65536];
  for (;;) {
    const std::size_t got = std::fread(buffer, 1, sizeof buffer, stream.get());
    bytes.append(buffer, got);
    if (bytes.size() > fileLimit) {
      if (reason) *reason = "the file is too long to be a save";
      return std::nullopt;
    }
    if (got < sizeof buffer) break;
  }
  if (std::ferror(stream.get())) {
    if (reason) *reason = "the file cannot be read";
    return std::nullopt;
  }
  return bytes;
}
