#include "ddm/DtDataDistMakers.h"

#include "ddm/DtInterDataDistMgr.h"
#include "ddm/DtObjectDataDistMgr.h"

void DtInstallDataDistMakers() {
  DtObjectMgr::setDataDistCreator(&DtObjectDataDistMgr::create);
  DtInteractionMgr::setDataDistCreator(&DtInterDataDistMgr::create);
}
