#pragma once
// DtMomInteraction: the base of every interaction of the management object
// model (MOM): the requests, adjustments and services that other federates
// send to this federate's MOM, and the reports and alerts that it sends.
// It holds the interaction class name, the "Federate" parameter (the
// federate meant; 0 for every federate), the number of parameters and the
// parameter set that phvps fills, and it codes every kind of MOM value.
//
// Every value is text followed by one NUL (numbers in decimal, enumerations
// and truth values as words that are read back ignoring case, handle lists
// joined by ","), except federation times, which travel in the time's own
// encoding. Parameter and class handles are looked up in the FOM (the handle
// mapper) at every use, by the names that the classes keep in their static
// *_PARAMETER_NAME members (unless the sender hands phvps the handles it
// looked up before, DtMomHandleCache); a FOM that lacks one makes phvps and setFromPhvps
// throw NameNotFound (InteractionClassNotDefined for a class handle it
// lacks), and so does a missing mapper (RTIinternalError).
//
// A subclass lists its parameters ("Federate" first) in parameters(); phvps
// and setFromPhvps walk that list. An interaction belongs to the one thread
// that made it.

#include <cstdint>
#include <memory>
#include <new>
#include <optional>
#include <span>

#include "RTI.hh"
#include "mom/DtMomParameter.h"
#include "mom/DtMomTypes.h"
#include "util/DtFomTypes.h"
#include "util/DtString.h"

class DtFomClassMgr;
class DtMomHandleList;
class DtMomTallyList;

class DtMomInteraction {
public:
  static constexpr const char* FEDERATE_PARAMETER_NAME = "Federate";

  // `className` must outlive the interaction (the classes pass literals).
  // The parameter set has room for `parameterCount` pairs, or `capacity`
  // for a class that may carry more than it declares.
  DtMomInteraction(const char* className, int parameterCount);
  DtMomInteraction(const char* className, int parameterCount, int capacity);
  // The federate handle and handle mapper; the copy has an empty parameter
  // set of its own, with room for its class's parameters.
  DtMomInteraction(const DtMomInteraction& other);
  DtMomInteraction& operator=(const DtMomInteraction& other);
  virtual ~DtMomInteraction();

  virtual void setHandleMapper(DtFomClassMgr* fom) { handleMapper_ = fom; }
  virtual DtFomClassMgr* handleMapper() const { return handleMapper_; }
  // The class handle in the mapper's FOM; 0 without a mapper.
  virtual std::uint32_t handle() const;
  // The parameters the class declares, "Federate" included: the number a
  // complete received interaction carries.
  virtual int parameterCount() const { return parameterCount_; }
  virtual const char* name() const { return name_; }
  // Empties the own set and adds one pair per parameter, in the class's
  // order. The set stays the interaction's, valid until the next phvps.
  virtual const RTI::ParameterHandleValuePairSet& phvps();
  // The same with the handles already looked up: one per row of
  // parameterRows(), in order (DtMomHandleCache).
  const RTI::ParameterHandleValuePairSet& phvps(std::span<const RTI::ParameterHandle> handles);
  // The class's parameters in their order, "Federate" first.
  std::span<const DtMomParameter> parameterRows() const { return parameters(); }
  // Takes every pair of the set that is a parameter of the class; pairs of
  // other handles are skipped, a parameter that is absent keeps its value,
  // and of two pairs of one parameter the later wins. Whether all came is
  // for the caller to tell (parameterCount() against the set's size).
  virtual void setFromPhvps(const RTI::ParameterHandleValuePairSet& set);

  std::uint32_t federateHandle() const { return federateHandle_; }
  void setFederateHandle(std::uint32_t federate) { federateHandle_ = federate; }
  // How many values the last setFromPhvps refused (a number outside its
  // 32-bit type, a list holding one, a count or subscription list out of
  // its form, bytes that hold no time): those members kept their values, so
  // a receiver should treat the interaction as it treats one with a
  // parameter missing.
  int refusedValues() const { return refusedValues_; }
  // The index of the set's last pair of the named parameter of this class,
  // if any.
  std::optional<RTI::ULong> lastPairOf(const RTI::ParameterHandleValuePairSet& set, const char* parameter) const;

  static void encodeFederateHandle(const DtMomInteraction& interaction, RTI::ParameterHandleValuePairSet* set,
                                   RTI::ParameterHandle handle);
  static bool decodeFederateHandle(DtMomInteraction* interaction, const RTI::ParameterHandleValuePairSet& set,
                                   RTI::ULong index, const char* parameter);

  // The generic codecs. Each encoder adds exactly one pair under the
  // handle (the set's add may throw ValueCountExceeded). Each decoder reads
  // pair `index` (the set's ArrayIndexOutOfBounds for a bad index): text up
  // to its first NUL and never past the value's bytes. An unknown word gives
  // the default named here after "DtMomInteraction::<decoder>: Unknown value
  // <text>" (error level); a refused value gives no value after
  // "DtMomInteraction::<decoder>: Value <text> of parameter <name> refused".
  static void genericEncodeString(const DtString& value, RTI::ParameterHandleValuePairSet* set,
                                  RTI::ParameterHandle handle);
  static DtString genericDecodeString(const RTI::ParameterHandleValuePairSet& set, RTI::ULong index);
  // Decimal text; text that does not begin with a number reads as 0, "12ab"
  // as 12. Refused: a handle outside 0 to 4294967295, a long outside the
  // signed 32-bit range.
  static void genericEncodeHandle(std::uint32_t value, RTI::ParameterHandleValuePairSet* set,
                                  RTI::ParameterHandle handle);
  static std::optional<std::uint32_t> genericDecodeHandle(const RTI::ParameterHandleValuePairSet& set, RTI::ULong index,
                                                          const char* parameter);
  static void genericEncodeLong(std::int32_t value, RTI::ParameterHandleValuePairSet* set, RTI::ParameterHandle handle);
  static std::optional<std::int32_t> genericDecodeLong(const RTI::ParameterHandleValuePairSet& set, RTI::ULong index,
                                                       const char* parameter);
  // "Best effort" for 0, "Reliable" for any other; unknown: best effort.
  static void genericEncodeTransportationTypes(DtTransportType value, RTI::ParameterHandleValuePairSet* set,
                                               RTI::ParameterHandle handle);
  static DtTransportType genericDecodeTransportationTypes(const RTI::ParameterHandleValuePairSet& set,
                                                          RTI::ULong index);
  // "receive" for 0, "timestamp" for any other; unknown: receive.
  static void genericEncodeOrderTypes(DtOrderType value, RTI::ParameterHandleValuePairSet* set,
                                      RTI::ParameterHandle handle);
  static DtOrderType genericDecodeOrderTypes(const RTI::ParameterHandleValuePairSet& set, RTI::ULong index);
  // "True" for exactly 1, "False" for any other; unknown: false.
  static void genericEncodeBoolean(RTI::Boolean value, RTI::ParameterHandleValuePairSet* set,
                                   RTI::ParameterHandle handle);
  static RTI::Boolean genericDecodeBoolean(const RTI::ParameterHandleValuePairSet& set, RTI::ULong index);
  // "Owned" for 0, "Unowned" for any other; unknown: unowned.
  static void genericEncodeAttributeStateOptions(DtMomAttributeStateOptions value,
                                                 RTI::ParameterHandleValuePairSet* set, RTI::ParameterHandle handle);
  static DtMomAttributeStateOptions genericDecodeAttributeStateOptions(const RTI::ParameterHandleValuePairSet& set,
                                                                       RTI::ULong index);
  // "RTI" for exactly 1, "FED" for any other; unknown: the RTI.
  static void genericEncodeInitiatorOptions(DtMomInitiatorOptions value, RTI::ParameterHandleValuePairSet* set,
                                            RTI::ParameterHandle handle);
  static DtMomInitiatorOptions genericDecodeInitiatorOptions(const RTI::ParameterHandleValuePairSet& set,
                                                             RTI::ULong index);
  // "RTI exception", "RTI internal error", "Federate internal error" for 0
  // to 2, the empty text for any other; unknown: RTI exception.
  static void genericEncodeAlertTypes(DtMomAlertTypes value, RTI::ParameterHandleValuePairSet* set,
                                      RTI::ParameterHandle handle);
  static DtMomAlertTypes genericDecodeAlertTypes(const RTI::ParameterHandleValuePairSet& set, RTI::ULong index);
  // The list's text form; read back into `list` (false when refused, the
  // list then unchanged).
  static void genericEncodeHandleList(const DtMomHandleList& list, RTI::ParameterHandleValuePairSet* set,
                                      RTI::ParameterHandle handle);
  static bool genericDecodeHandleList(DtMomHandleList& list, const RTI::ParameterHandleValuePairSet& set,
                                      RTI::ULong index, const char* parameter);
  // "class/count" of every class whose count of that direction and
  // transport is not 0, joined by ","; a null list gives the empty text.
  // Read back into a new list that owns its tallies, each count under the
  // given direction and transport; null when refused.
  static void genericEncodeTallyList(const DtMomTallyList* list, RTI::ParameterHandleValuePairSet* set,
                                     RTI::ParameterHandle handle, RTI::Boolean received, DtTransportType transport);
  static std::unique_ptr<DtMomTallyList> genericDecodeTallyList(const RTI::ParameterHandleValuePairSet& set,
                                                                RTI::ULong index, const char* parameter,
                                                                RTI::Boolean received, DtTransportType transport);
  // The time's own encoding, no NUL (no bytes for a null time); read back
  // as a new time for the caller, null when the bytes hold no time.
  static void genericEncodeFedtime(const RTI::FedTime* time, RTI::ParameterHandleValuePairSet* set,
                                   RTI::ParameterHandle handle);
  static std::unique_ptr<RTI::FedTime> genericDecodeFedtime(const RTI::ParameterHandleValuePairSet& set,
                                                            RTI::ULong index, const char* parameter);

protected:
  // The class's parameters in their order, "Federate" first; the base has
  // only "Federate".
  virtual std::span<const DtMomParameter> parameters() const;
  // Whether phvps adds this parameter: always, unless a class carries one
  // only at times.
  virtual bool carries(const DtMomParameter&) const { return true; }
  // The handle of a parameter of this interaction's class.
  RTI::ParameterHandle parameterHandle(const char* parameter) const;
  // Each class's create(): a new C, or null when memory runs out.
  template <class C>
  static DtMomInteraction* make() noexcept {
    try {
      return new C;
    } catch (const std::bad_alloc&) {
      return nullptr;
    }
  }

private:
  const DtFomClassMgr& mapper() const;

  const char* name_;
  std::uint32_t federateHandle_ = 0;
  int parameterCount_;
  int capacity_;
  std::unique_ptr<RTI::ParameterHandleValuePairSet> pairs_;  // what phvps fills
  DtFomClassMgr* handleMapper_ = nullptr;
  int refusedValues_ = 0;
};

// The "Federate" parameter, first in every class's list.
inline constexpr DtMomParameter DtMomFederateParameter{DtMomInteraction::FEDERATE_PARAMETER_NAME,
                                                       &DtMomInteraction::encodeFederateHandle,
                                                       &DtMomInteraction::decodeFederateHandle};
