#include "util/DtStringFunctions.h"

#include <cstring>
#include <string>
#include <vector>

char* DtStrdup(const char* text) {
  if (!text) return nullptr;
  const std::size_t size = std::strlen(text) + 1;
  char* copy = new char[size];
  std::memcpy(copy, text, size);
  return copy;
}

char* DtToLower(char* text) {
  for (char* p = text; p && *p; ++p) {
    if (*p >= 'A' && *p <= 'Z') *p = static_cast<char>(*p - 'A' + 'a');
  }
  return text;
}

char* DtToUpper(char* text) {
  for (char* p = text; p && *p; ++p) {
    if (*p >= 'a' && *p <= 'z') *p = static_cast<char>(*p - 'a' + 'A');
  }
  return text;
}

int DtFindIndex(const int* array, int value) {
  if (!array) return -1;
  for (int i = 0; array[i] != 0; ++i) {
    if (array[i] == value) return i;
  }
  return -1;
}

namespace {

// Calls `word` with each blank-separated word of the line.
template <class Visit>
void forEachWord(const char* line, Visit word) {
  if (!line) return;
  std::string copy(line);
  char* state = nullptr;
  for (char* w = strtok_r(copy.data(), " ", &state); w; w = strtok_r(nullptr, " ", &state)) word(w);
}

}  // namespace

char** DtMakeArgv(const char* line, int* count) {
  static char programName[] = "main";
  thread_local std::vector<char*> argv;
  argv.clear();
  argv.push_back(programName);
  forEachWord(line, [](const char* w) { argv.push_back(DtStrdup(w)); });
  if (count) *count = static_cast<int>(argv.size());
  argv.push_back(nullptr);
  return argv.data();
}

int DtCountArgs(const char* line) {
  int count = 1;
  forEachWord(line, [&count](const char*) { ++count; });
  return count;
}
