// A federation of the test's own run by the rtiexec program (see
// FederationScope): the program started and serving. The federation's port
// may be taken for TCP by another test's connection: then the federation
// moves to another port. Needs QLX_RTIEXEC.
#pragma once

#include "monitor/hla/HlaTestSupport.h"
#include "support/RtiExecProcess.h"

#include <memory>
#include <string>

namespace hlatest {

inline const char* const kRtiExecForms =
    "(setq RTI_useRtiExec 1)\n(setq RTI_internalMsgReliable 1)\n(setq RTI_fomDataReliable 1)\n";

struct RtiExecFederation {
    std::unique_ptr<FederationScope> scope;
    std::unique_ptr<RtiExecProcess> exec;
    std::string failures;   // what the attempts that failed printed

    explicit RtiExecFederation(const std::string& moreForms = "")
    {
        for (int attempt = 0; attempt < 10 && !exec; ++attempt) {
            scope.reset();   // its environment goes before the next one's comes
            scope = std::make_unique<FederationScope>(kRtiExecForms + moreForms);
            exec = std::make_unique<RtiExecProcess>();
            if (!exec->waitReady()) {
                failures += exec->text();
                exec.reset();
            }
        }
    }
};

}   // namespace hlatest
