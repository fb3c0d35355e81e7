#pragma once
// DtMomClassName: a MOM class or parameter name as a template argument, so
// that MOM interaction classes that differ in nothing but their names are
// one template (DtMomFederateOnlyInteraction and its likes). The text lives
// as long as the program.

#include <algorithm>
#include <cstddef>

#include "mom/DtMomInteraction.h"

template <std::size_t N>
struct DtMomClassName {
  // Implicit, so that a literal is the template argument.
  constexpr DtMomClassName(const char (&text)[N]) { std::copy_n(text, N, chars); }
  char chars[N];
};

// A MOM interaction class whose only parameter is "Federate": the requests
// for reports and the services without arguments.
template <DtMomClassName Name>
class DtMomFederateOnlyInteraction : public DtMomInteraction {
public:
  DtMomFederateOnlyInteraction() : DtMomInteraction(Name.chars, 1) {}
  static DtMomInteraction* create() { return make<DtMomFederateOnlyInteraction>(); }
};
