// A federate written the classic way: it includes the RTI's headers and
// nothing else, and relies on what they bring, as federates written for
// other HLA 1.3 RTIs do: fedtime.hh brings <string.h> and <sys/types.h>,
// RTI.hh brings <iostream> and <fstream>. That it compiles is the check.
#include <fedtime.hh>

int main() {
  const char* name = "ClassicFederate";
  char copy[32];
  strcpy(copy, name);
  if (strcmp(copy, name) != 0 || strlen(copy) != 15) return 1;
  const pid_t process = 0;
  const ssize_t written = 0;
  std::ofstream log("/dev/null");
  log << name << ' ' << process << ' ' << written << std::endl;
  std::cout << "classic includes: " << copy << " at " << RTIfedTime(1.5) << std::endl;
  return log.good() ? 0 : 1;
}
