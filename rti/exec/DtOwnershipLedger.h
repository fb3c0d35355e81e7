#pragma once
// DtOwnershipLedger: the attributes each federate of an execution was given
// (an acquisition completed for it, or free attributes the rtiexec handed
// to it) and has not yet said it dealt with. A federate that leaves before
// it took them over cannot hand them on itself: the rtiexec hands on what
// the ledger still holds for it, as it hands on a resigning federate's own.
//
// Each attribute is counted: one up for a gift, one down for the
// federate's word that it dealt with one, so that a word heard before its
// gift still settles it. Gifts carry the object's class and name, which a
// federate that never heard of the object needs to hold its attributes.
// No lock: it lives on the rtiexec's thread.

#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "RTI.hh"
#include "api/DtAttributeHandleSet.h"

class DtOwnershipLedger {
public:
  struct Gift {
    std::uint32_t object = 0;
    std::uint32_t classHandle = 0;
    std::string name;
    DtAttributeHandleSet attributes;
  };

  void given(std::uint32_t federate, const Gift& gift);
  void taken(std::uint32_t federate, std::uint32_t object, const RTI::AttributeHandleSet& attributes);
  // What the federate was given and never dealt with, by object; the
  // federate's account is closed.
  std::vector<Gift> close(std::uint32_t federate);
  bool empty() const { return accounts_.empty(); }

private:
  struct Account {
    std::uint32_t classHandle = 0;
    std::string name;
    std::map<RTI::AttributeHandle, int> counts;  // gifts less words, per attribute
  };
  void settle(std::map<std::pair<std::uint32_t, std::uint32_t>, Account>::iterator entry);

  std::map<std::pair<std::uint32_t, std::uint32_t>, Account> accounts_;  // (federate, object)
};
