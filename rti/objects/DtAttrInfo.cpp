#include "objects/DtAttrInfo.h"

const DtString DtAttrInfo::thePrivilegeToDelete("privilegeToDelete");
const DtString DtAttrInfo::thePrivilegeToDeleteObject("privilegeToDeleteObject");

DtAttrInfo::DtAttrInfo(const char* name, std::uint32_t handle) : name_(name), handle_(handle) {}

DtAttrInfo::DtAttrInfo(const DtAttrInfo& other)
    : name_(other.name_),
      handle_(other.handle_),
      published_(other.published_),
      subscribed_(other.subscribed_),
      relevant_(other.relevant_),
      transport_(other.transport_),
      order_(other.order_),
      space_(other.space_),
      subscribers_(other.subscribers_) {}

bool DtAttrInfo::isName(const char* text) const {
  if (!text) return false;
  if (handle_ == 0) return thePrivilegeToDelete.equalNoCase(text) || thePrivilegeToDeleteObject.equalNoCase(text);
  return name_.equalNoCase(text);
}

std::uint32_t DtAttrInfo::remoteRegionSubscription(std::uint32_t federate) const {
  const std::uint32_t* region = regionSubscribers_.find(federate);
  return region ? *region : 0;
}
