#pragma once
// libhlacore's functions beside the HLA 1.3 API. A federate that includes
// RTI.hh may include this header too and call them with its constructed
// ambassador.

#include "RTI.hh"

// Sets the process-wide diagnostics level (as RTI_notifyLevel does when an
// ambassador is made) until it is set again; the ambassador is not used and
// may be null. 0 silences the levelled diagnostics.
RTI_EXPORT void setRtiNotifyLevel(RTI::RTIambassador* ambassador, int level);
