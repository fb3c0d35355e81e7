#pragma once
// The command line of the network benchmarks: "--name number" pairs and
// --help. A bad option or value ends the program with status 2.

#include <charconv>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

// Calls set(name, value) for each pair; set returns false for an option it
// does not know. --help prints the usage and ends the program.
template <class Set>
void BenchParseOptions(int argc, char** argv, const char* program, const char* usage, Set set) {
  for (int i = 1; i < argc; ++i) {
    const std::string option = argv[i];
    if (option == "--help" || option == "-h") {
      std::puts(usage);
      std::exit(0);
    }
    if (i + 1 >= argc) {
      std::fprintf(stderr, "%s: %s needs a value\n", program, option.c_str());
      std::exit(2);
    }
    const char* text = argv[++i];
    std::uint32_t value = 0;
    const char* end = text + std::strlen(text);
    const auto [at, error] = std::from_chars(text, end, value);
    if (error != std::errc() || at != end) {
      std::fprintf(stderr, "%s: invalid value for %s: \"%s\"\n", program, option.c_str(), text);
      std::exit(2);
    }
    if (!set(option, value)) {
      std::fprintf(stderr, "%s: unknown option %s\n", program, option.c_str());
      std::exit(2);
    }
  }
}
