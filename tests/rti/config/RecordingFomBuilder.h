#pragma once
// A FOM builder that writes down every call as one line of text, so a test
// can compare what a FED file handed on, in order.

#include <string>
#include <vector>

#include "config/DtFomBuilder.h"

class RecordingFomBuilder : public DtFomBuilder {
public:
  void addSpace(const char* space) override { calls.push_back("space " + text(space)); }
  void addDimension(const char* space, const char* dimension) override {
    calls.push_back("dimension " + text(space) + " " + text(dimension));
  }
  void addInterClass(const char* className, const char* baseName, DtTransportType transport, DtOrderType order,
                     const char* space) override {
    calls.push_back("interclass " + text(className) + " base=" + text(baseName) + " " + words(transport, order) +
                    " space=" + text(space));
  }
  void addObjClass(const char* className, const char* baseName) override {
    calls.push_back("objclass " + text(className) + " base=" + text(baseName));
  }
  void addParameter(const char* className, const char* parameter) override {
    calls.push_back("parameter " + text(className) + " " + text(parameter));
  }
  void addAttribute(const char* className, const char* attribute, DtTransportType transport, DtOrderType order,
                    const char* space) override {
    calls.push_back("attribute " + text(className) + " " + text(attribute) + " " + words(transport, order) +
                    " space=" + text(space));
  }

  std::vector<std::string> calls;

private:
  static std::string text(const char* value) { return value ? value : "-"; }
  static std::string words(DtTransportType transport, DtOrderType order) {
    return std::string(transport == DtReliable     ? "reliable"
                       : transport == DtBestEffort ? "best_effort"
                                                   : "?") +
           " " +
           (order == DtTimestampOrder ? "timestamp"
            : order == DtReceiveOrder ? "receive"
                                      : "?");
  }
};
