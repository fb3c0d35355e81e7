// clang-format off
#pragma once
// The HLA 1.3 C++ API of this RTI: the RTI namespace with its types,
// exceptions, sets, regions, federation time, the RTI ambassador and the
// federate ambassador. A federate includes this header (and fedtime.hh for
// the concrete time class) and links libhlacore and libhlatime.
//
// It brings <iostream> and <fstream> as the headers of other HLA 1.3 RTIs
// do: federates written for them use both without including either.

#include <fstream>
#include <iostream>

#include "baseTypes.hh"
#include "RTItypes.hh"
#include "RTIambServices.hh"
#include "federateAmbServices.hh"
