#pragma once
// The ways a federation of the tests is deployed, for the scenarios that
// must hold on each: serverless on the federation's UDP group; run by the
// rtiexec program with everything by UDP (best effort); run by it with the
// RTI's own messages and the reliable classes' traffic by TCP through its
// forwarder (reliable). Each with the scenario's own federates alone, and
// with one more that joins beside them and only ticks (a bystander); and
// some with data distribution management on.

#include <ostream>
#include <string>

#include <gtest/gtest.h>

struct Deployment {
  const char* name;
  bool rtiexec;                   // run by the rtiexec program (else serverless)
  bool reliable;                  // the RTI's own messages and the reliable traffic by TCP
  int bystanders;                 // federates beside the scenario's own
  bool dataDistribution = false;  // RTI_dataDistMgmt on

  // The RID forms that make it.
  std::string forms() const {
    std::string text = dataDistribution ? "(setq RTI_dataDistMgmt 1)\n" : "";
    if (!rtiexec) return text;
    text += "(setq RTI_useRtiExec 1)\n";
    if (reliable) text += "(setq RTI_internalMsgReliable 1)\n(setq RTI_fomDataReliable 1)\n";
    return text;
  }
};

inline const Deployment everyDeployment[] = {
    {"Serverless", false, false, 0},       {"ServerlessWithABystander", false, false, 1},
    {"RtiExecBestEffort", true, false, 0}, {"RtiExecBestEffortWithABystander", true, false, 1},
    {"RtiExecReliable", true, true, 0},    {"RtiExecReliableWithABystander", true, true, 1},
};

// Two of them with data distribution management on, under which the
// scenarios of the plain services hold unchanged.
inline const Deployment withDataDistribution[] = {
    {"ServerlessWithDataDistribution", false, false, 0, true},
    {"RtiExecReliableWithDataDistribution", true, true, 0, true},
};

inline const Deployment& serverless() { return everyDeployment[0]; }

inline void PrintTo(const Deployment& deployment, std::ostream* out) { *out << deployment.name; }

// The test name's suffix for a deployment parameter.
inline std::string deploymentName(const ::testing::TestParamInfo<Deployment>& info) { return info.param.name; }
