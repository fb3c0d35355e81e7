#pragma once
// Files and environment for the configuration tests: a private scratch
// directory that the test may also work in, and environment variables that
// are put back as they were.

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

// A fresh directory below the system's temporary one, removed with everything
// in it at the end. While `enter` is set, it is also the working directory.
class ScratchDirectory {
public:
  explicit ScratchDirectory(bool enter = false) {
    static int serial = 0;
    // Made new by mkdtemp: a directory left behind by a killed test of a
    // process that had the same id must not lend this one its files.
    std::string name = (std::filesystem::temp_directory_path() /
                        ("qlx-config-" + std::to_string(getpid()) + "-" + std::to_string(++serial) + "-XXXXXX"))
                           .string();
    if (!mkdtemp(name.data())) {
      std::perror(name.c_str());
      std::abort();
    }
    path_ = name;
    if (enter) {
      previous_ = std::filesystem::current_path();
      std::filesystem::current_path(path_);
    }
  }
  ~ScratchDirectory() {
    if (previous_) std::filesystem::current_path(*previous_);
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  ScratchDirectory(const ScratchDirectory&) = delete;
  ScratchDirectory& operator=(const ScratchDirectory&) = delete;

  // Writes the file (below the directory unless `name` is absolute) and
  // returns its full path.
  std::string write(const std::string& name, const std::string& content) const {
    const std::filesystem::path file = path_ / name;
    std::filesystem::create_directories(file.parent_path());
    std::FILE* out = std::fopen(file.c_str(), "wb");
    if (out) {
      std::fwrite(content.data(), 1, content.size(), out);
      std::fclose(out);
    }
    return file.string();
  }
  std::string path() const { return path_.string(); }

private:
  std::filesystem::path path_;
  std::optional<std::filesystem::path> previous_;
};

// The whole content of a file; empty when it cannot be read.
inline std::string readWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

// Sets (or, with null, unsets) an environment variable for the life of the
// object.
class ScopedEnv {
public:
  ScopedEnv(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    if (value) {
      setenv(name, value, 1);
    } else {
      unsetenv(name);
    }
  }
  ~ScopedEnv() {
    if (old_) {
      setenv(name_.c_str(), old_->c_str(), 1);
    } else {
      unsetenv(name_.c_str());
    }
  }
  ScopedEnv(const ScopedEnv&) = delete;
  ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
  std::string name_;
  std::optional<std::string> old_;
};
