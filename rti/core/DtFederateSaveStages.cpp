#include "core/DtFederateSaveStages.h"

#include <exception>
#include <functional>
#include <vector>

#include "core/DtFederateMgr.h"
#include "core/DtTimeMgr.h"
#include "ddm/DtDataDistMgr.h"
#include "mom/DtMomMgr.h"
#include "objects/DtFomClassMgr.h"
#include "objects/DtInteractionMgr.h"
#include "objects/DtObjectMgr.h"
#include "save/DtRtiSaveFile.h"
#include "util/DtNotify.h"

namespace {

struct Stage {
  const char* saveName;     // "Begin <name> save"
  const char* restoreName;  // in the restore's error lines
  const char* restoredLine;
  std::function<bool(DtRtiSaveFile&)> save;
  std::function<bool(DtRtiSaveFile&)> restore;
};

std::vector<Stage> stagesOf(DtFederateMgr& mgr) {
  std::vector<Stage> stages;
  stages.push_back({"Federate Manager", "FedMgr", "fedMgr restored\n", [&mgr](DtRtiSaveFile& f) { return mgr.save(f); },
                    [&mgr](DtRtiSaveFile& f) { return mgr.restore(f); }});
  DtFomClassMgr* fom = mgr.fom();
  stages.push_back({"FOM", "FedMgr", "Fom restored\n", [fom](DtRtiSaveFile& f) { return fom && fom->save(f); },
                    [fom](DtRtiSaveFile& f) { return fom && fom->restore(f); }});
  if (DtTimeMgr* timeMgr = mgr.timeMgr()) {
    stages.push_back({"Time Manager", "TimeMgr", "TimeMgr restored\n",
                      [timeMgr](DtRtiSaveFile& f) { return timeMgr->saveState(f); },
                      [timeMgr](DtRtiSaveFile& f) { return timeMgr->restoreState(f); }});
  }
  // The regions come back before the region sets of the interaction and
  // object stages, which name them; the data distribution manager's
  // restore tears those sets down before the regions they point at go.
  if (DtDataDistMgr* ddmMgr = mgr.ddmMgr()) {
    stages.push_back({"Data Distribution Manager", "DataDistMgr", "ddmMgr restored\n",
                      [ddmMgr](DtRtiSaveFile& f) { return ddmMgr->save(f); },
                      [ddmMgr](DtRtiSaveFile& f) { return ddmMgr->restore(f); }});
  }
  DtInteractionMgr* interMgr = mgr.interMgr();
  stages.push_back({"Interaction Manager", "InterMgr", "intMgr restored\n",
                    [interMgr](DtRtiSaveFile& f) { return interMgr && interMgr->save(f); },
                    [interMgr](DtRtiSaveFile& f) { return interMgr && interMgr->restore(f); }});
  DtObjectMgr* objMgr = mgr.objMgr();
  stages.push_back({"Object Manager", "ObjMgr", "objMgr restored\n",
                    [objMgr](DtRtiSaveFile& f) { return objMgr && objMgr->save(f); },
                    [objMgr](DtRtiSaveFile& f) { return objMgr && objMgr->restore(f); }});
  // Its objects' records come after the object manager's, which leaves
  // them out (the RTI holds them) and, restoring, only unlists them.
  if (DtMomMgr* momMgr = mgr.joinedMomMgr()) {
    stages.push_back({"MOM Manager", "MomMgr", "MomMgr restored\n",
                      [momMgr](DtRtiSaveFile& f) { return momMgr->save(f); },
                      [momMgr](DtRtiSaveFile& f) { return momMgr->restore(f); }});
  }
  return stages;
}

}  // namespace

bool DtFederateSaveStages::save(DtRtiSaveFile& file) {
  for (const Stage& stage : stagesOf(mgr_)) {
    DtNotifyVerbose("Begin %s save\n", stage.saveName);
    bool saved = false;
    try {
      saved = stage.save(file);
    } catch (...) {
      DtNotifyError("Caught unexpected exception during LRC save.\n Save data may not be valid\n");
      return false;
    }
    if (!saved) {
      DtNotifyError("The %s save failed: %s is not a whole save\n", stage.saveName, file.fileName().string());
      return false;
    }
    DtNotifyVerbose("Finished %s save\n", stage.saveName);
  }
  return true;
}

bool DtFederateSaveStages::restore(DtRtiSaveFile& file) {
  for (const Stage& stage : stagesOf(mgr_)) {
    bool restored = false;
    try {
      restored = stage.restore(file);
    } catch (...) {
      DtNotifyError("Caught unexpected exception during LRC restore of %s.\n Restored data may not be valid\n",
                    stage.restoreName);
      return false;
    }
    if (!restored) {
      DtNotifyError("The restore of %s from %s failed\n", stage.restoreName, file.fileName().string());
      return false;
    }
    DtNotifyVerbose("%s", stage.restoredLine);
  }
  return true;
}
