#pragma once
// The HLA 1.3 C++ API of this RTI: the RTI namespace with its types,
// exceptions, sets, regions, federation time, the RTI ambassador and the
// federate ambassador. A federate includes this header (and fedtime.hh for
// the concrete time class) and links libhlacore and libhlatime.

#include "baseTypes.hh"
#include "RTItypes.hh"
#include "RTIambServices.hh"
#include "federateAmbServices.hh"
