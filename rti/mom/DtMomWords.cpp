#include "mom/DtMomWords.h"

#include <strings.h>

#include "RTI.hh"
#include "mom/DtMomTypes.h"
#include "util/DtFomTypes.h"

namespace {

constexpr DtMomWord transportWords[] = {{DtBestEffort, "Best effort"}, {DtReliable, "Reliable"}};
constexpr DtMomWord orderWords[] = {{DtReceiveOrder, "receive"}, {DtTimestampOrder, "timestamp"}};
constexpr DtMomWord booleanWords[] = {{RTI::RTI_TRUE, "True"}, {RTI::RTI_FALSE, "False"}};
constexpr DtMomWord stateWords[] = {{DtMomOwned, "Owned"}, {DtMomUnowned, "Unowned"}};
constexpr DtMomWord initiatorWords[] = {{DtMomInitiatorRti, "RTI"}, {DtMomInitiatorFederate, "FED"}};
constexpr DtMomWord alertWords[] = {{DtMomRtiException, "RTI exception"},
                                    {DtMomRtiInternalError, "RTI internal error"},
                                    {DtMomFederateInternalError, "Federate internal error"}};

}  // namespace

constinit const DtMomWords DtMomTransportWords(transportWords, "Reliable");
constinit const DtMomWords DtMomOrderWords(orderWords, "timestamp");
constinit const DtMomWords DtMomBooleanWords(booleanWords, "False");
constinit const DtMomWords DtMomStateWords(stateWords, "Unowned");
constinit const DtMomWords DtMomInitiatorWords(initiatorWords, "FED");
constinit const DtMomWords DtMomAlertWords(alertWords, "");

const char* DtMomWords::text(std::uint32_t value) const {
  for (const DtMomWord& word : words_) {
    if (word.value == value) return word.text;
  }
  return otherText_;
}

std::optional<std::uint32_t> DtMomWords::value(const std::string& text) const {
  for (const DtMomWord& word : words_) {
    if (strcasecmp(word.text, text.c_str()) == 0) return word.value;
  }
  return std::nullopt;
}
