// Uses federation time and its exceptions, and nothing else of the RTI: it
// links libhlatime alone, which must then need no other library of the RTI.
#include <fedtime.hh>

#include <iostream>
#include <limits>

int main() {
  RTIfedTime time(1.5);
  time += RTIfedTime(1.0);
  try {
    RTIfedTime infinity;
    infinity.setPositiveInfinity();
    infinity -= infinity;  // not a number: refused
    return 1;
  } catch (RTI::InvalidFederationTime& e) {
    std::cout << "time " << time << ", " << e << std::endl;
  }
  return time == 2.5 ? 0 : 1;
}
