#include "mom/DtMomObjectClasses.h"

#include "objects/DtFomClassMgr.h"
#include "objects/DtObjectClassInfo.h"

namespace {

constexpr DtMomAttribute federateAttributes[] = {
    {"PrivilegeToDeleteObject", DtMomNoElement},
    {"FEDid", DtMomFEDid},
    {"FederateType", DtMomFederateType},
    {"Lookahead", DtMomLookahead},
    {"FederateState", DtMomFederateState},
    {"TimeConstrained", DtMomTimeConstrained},
    {"ObjectsUpdated", DtMomObjectsUpdated},
    {"ReflectionsReceived", DtMomReflectionsReceived},
    {"FederateHost", DtMomFederateHost},
    {"UpdatesSent", DtMomUpdatesSent},
    {"FederateTime", DtMomFederateTime},
    {"TSOlength", DtMomTSOlength},
    {"ROlength", DtMomROlength},
    {"InteractionsReceived", DtMomInteractionsReceived},
    {"InteractionsSent", DtMomInteractionsSent},
    {"TimeManagerState", DtMomTimeManagerState},
    {"MinNextEventTime", DtMomMinNextEventTime},
    {"TimeRegulating", DtMomTimeRegulating},
    {"RTIversion", DtMomRTIversion},
    {"ObjectsReflected", DtMomObjectsReflected},
    {"ObjectsOwned", DtMomObjectsOwned},
    {"AsynchronousDelivery", DtMomAsynchronousDelivery},
    {"LBTS", DtMomLBTS},
    {"FederateHandle", DtMomFederateHandle},
};

constexpr DtMomAttribute federationAttributes[] = {
    {"PrivilegeToDeleteObject", DtMomNoElement},
    {"FederationName", DtMomFederationName},
    {"NextSaveTime", DtMomNextSaveTime},
    {"NextSaveName", DtMomNextSaveName},
    {"FederatesInFederation", DtMomFederatesInFederation},
    {"LastSaveTime", DtMomLastSaveTime},
    {"LastSaveName", DtMomLastSaveName},
    {"FEDid", DtMomFEDid},
    {"RTIversion", DtMomRTIversion},
};

}  // namespace

constinit const DtMomObjectClass DtMomFederateClass{"Manager.Federate", federateAttributes};
constinit const DtMomObjectClass DtMomFederationClass{"Manager.Federation", federationAttributes};

std::string DtMomMissingObjectModel(const DtFomClassMgr& fom) {
  for (const DtMomObjectClass* momClass : {&DtMomFederateClass, &DtMomFederationClass}) {
    const DtObjectClassInfo* cls = fom.classByName(momClass->name);
    if (!cls) return momClass->name;
    for (const DtMomAttribute& attribute : momClass->attributes) {
      if (!cls->attrByName(attribute.name)) return std::string(momClass->name) + "." + attribute.name;
    }
  }
  return {};
}
