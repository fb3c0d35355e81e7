#pragma once
// DtMomTallyList: the message tallies of several classes (one DtMtallySet
// each), summed for the count attributes of Manager.Federate and written as
// "class/count" pairs in the count reports.
//
// A list built over the managers' own per-class tallies must not own them
// (owns false); a list filled with tallies made for it (the object manager's
// object counts, handed over through DtTallySink) owns them and deletes them
// with itself. A copy holds the same tallies and owns none.

#include <cstdint>
#include <memory>
#include <string>

#include "RTI.hh"
#include "objects/DtMtallySet.h"
#include "objects/DtTallySink.h"
#include "util/DtFomTypes.h"
#include "util/DtList.h"

class DtMomTallyList : public DtList, public DtTallySink {
public:
  explicit DtMomTallyList(bool owns = false) : owns_(owns) {}
  DtMomTallyList(const DtMomTallyList& other) : DtList(other), owns_(false) {}
  // Deleted: a list that owns its tallies cannot share them, and one that
  // does not has nothing to copy into.
  DtMomTallyList& operator=(const DtMomTallyList&) = delete;
  // Deletes the tallies when it owns them.
  ~DtMomTallyList() override;

  virtual void append(const DtMtallySet* tallies);
  // Appends a tally made for the list; only a list that owns its tallies
  // takes one (another frees it after an error message).
  void adopt(std::unique_ptr<DtMtallySet> tallies) override;
  // The received (or sent) messages of every class, both transports.
  virtual std::int32_t total(RTI::Boolean received) const;
  // Empties the list and deletes every tally, owned or not: for the owner.
  virtual void deleteAll();
  // Adds the text of the counts selected by direction and transport to the
  // set under the parameter, with its NUL.
  virtual void encodeVerbose(RTI::ParameterHandleValuePairSet* set, RTI::ParameterHandle parameter,
                             RTI::Boolean received, DtTransportType transport) const;

  // That text: "class/count" for every class whose selected count is not 0,
  // joined by "," ("11/5,14/2"); the empty text when all are 0.
  std::string text(RTI::Boolean received, DtTransportType transport) const;
  // A new list that owns one tally per pair of such a text, holding the
  // count under the given direction and transport. Pairs are separated by
  // any run of blanks and commas. Null when a pair lacks its "/", or its
  // class is no 32-bit handle, or its count no signed 32-bit number.
  static std::unique_ptr<DtMomTallyList> fromText(const std::string& text, RTI::Boolean received,
                                                  DtTransportType transport);
  // A new list that owns copies of these tallies (their class handles too).
  std::unique_ptr<DtMomTallyList> deepCopy() const;

  bool owns() const { return owns_; }
  const DtMtallySet* tallies(const DtListItem* item) const { return static_cast<const DtMtallySet*>(item->data()); }

private:
  bool owns_;
};
