// Helpers for the configuration-language tests: evaluate a text in an
// interpreter, see a value's printed form, and catch the language error with
// the message it printed.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "ConfigTestFiles.h"
#include "config/DtMtlEnvironment.h"
#include "config/DtlEval.h"
#include "config/DtlObj.h"
#include "config/DtlPrint.h"
#include "config/DtlReader.h"
#include "config/DtlStringStream.h"
#include "rti/util/NotifyCapture.h"

// The printed form of a value, as DtcObjFprint writes it.
inline std::string Printed(const DtlObjPtr& value) {
  char* buffer = nullptr;
  std::size_t size = 0;
  std::FILE* stream = open_memstream(&buffer, &size);
  try {
    DtcObjFprint(value, stream);
  } catch (...) {
    std::fclose(stream);
    std::free(buffer);
    throw;
  }
  std::fclose(stream);
  std::string text(buffer, size);
  std::free(buffer);
  return text;
}

// Everything the code writes to standard output (where the notify functions
// copy their text at the default settings) while `action` runs.
template <typename Action>
std::string StdoutOf(Action action) {
  std::fflush(stdout);
  testing::internal::CaptureStdout();
  action();
  std::fflush(stdout);
  return testing::internal::GetCapturedStdout();
}

template <typename Action>
std::string StderrOf(Action action) {
  std::fflush(stderr);
  testing::internal::CaptureStderr();
  action();
  std::fflush(stderr);
  return testing::internal::GetCapturedStderr();
}

class LispTest : public ::testing::Test {
protected:
  // Reads the first datum of the text and evaluates it in the global frame;
  // a language error propagates.
  DtlObjPtr Eval(const char* text) {
    DtlStringStream stream(text);
    const DtlObjPtr form = lread(&stream, env.environment());
    return DtcEval(form, env.environment());
  }

  // Every form of the text, as a loader runs them.
  DtlObjPtr Run(const char* text) { return env.loadExpr(text); }

  std::string Show(const char* text) { return Printed(Eval(text)); }

  // What the language error printed for the text, or "no error".
  std::string ErrorOf(const char* text) {
    NotifyCapture capture(1);
    try {
      Eval(text);
    } catch (const DtlObjPtr& thrown) {
      EXPECT_TRUE(DtcIsNil(thrown));
      return capture.text();
    }
    return "no error";
  }

  // Checks that the expression raises the language error with `message`, or
  // none when the message is "no error". Other output is swallowed.
  void ExpectError(const char* expression, const char* message) {
    SCOPED_TRACE(expression);
    std::string error;
    StdoutOf([&] { StderrOf([&] { error = ErrorOf(expression); }); });
    const std::string expected = std::string(message) == "no error" ? message : "Error: " + std::string(message) + "\n";
    EXPECT_EQ(error, expected);
  }

  DtMtlEnvironment env;
};
