#pragma once
// The reason texts of the implementor's refusals, as literals: a federate
// that has not joined ("Unable to process <service>.") and a data
// distribution service while data distribution is off. A few services cut
// their names in these texts; they write theirs out.

#define DT_UNABLE(name) "Unable to process " #name "."
#define DT_DDM_OFF(name) "RTI DDM services turned off: unable to process " #name
