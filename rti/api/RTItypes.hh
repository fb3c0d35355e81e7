// clang-format off
#pragma once
// HLA 1.3 C++ API: exceptions, handles, the abstract sets and regions, their
// factories, and federation time. Included by RTI.hh.

#include "baseTypes.hh"

// Every exception class of the API, one line each. The declarations below,
// the library's _ex texts and the tests all expand this one list.
#define RTI_EXCEPTION_LIST(X)                  \
  X(ArrayIndexOutOfBounds)                     \
  X(AsynchronousDeliveryAlreadyDisabled)       \
  X(AsynchronousDeliveryAlreadyEnabled)        \
  X(AttributeAcquisitionWasNotCanceled)        \
  X(AttributeAcquisitionWasNotRequested)       \
  X(AttributeAlreadyBeingAcquired)             \
  X(AttributeAlreadyBeingDivested)             \
  X(AttributeAlreadyOwned)                     \
  X(AttributeDivestitureWasNotRequested)       \
  X(AttributeNotDefined)                       \
  X(AttributeNotKnown)                         \
  X(AttributeNotOwned)                         \
  X(AttributeNotPublished)                     \
  X(ConcurrentAccessAttempted)                 \
  X(CouldNotDiscover)                          \
  X(CouldNotOpenFED)                           \
  X(CouldNotRestore)                           \
  X(DeletePrivilegeNotHeld)                    \
  X(DimensionNotDefined)                       \
  X(EnableTimeConstrainedPending)              \
  X(EnableTimeConstrainedWasNotPending)        \
  X(EnableTimeRegulationPending)               \
  X(EnableTimeRegulationWasNotPending)         \
  X(ErrorReadingFED)                           \
  X(EventNotKnown)                             \
  X(FederateAlreadyExecutionMember)            \
  X(FederateInternalError)                     \
  X(FederateLoggingServiceCalls)               \
  X(FederateNotExecutionMember)                \
  X(FederateOwnsAttributes)                    \
  X(FederateWasNotAskedToReleaseAttribute)     \
  X(FederatesCurrentlyJoined)                  \
  X(FederationExecutionAlreadyExists)          \
  X(FederationExecutionDoesNotExist)           \
  X(FederationTimeAlreadyPassed)               \
  X(HandleValuePairMaximumExceeded)            \
  X(InteractionClassNotDefined)                \
  X(InteractionClassNotKnown)                  \
  X(InteractionClassNotPublished)              \
  X(InteractionClassNotSubscribed)             \
  X(InteractionParameterNotDefined)            \
  X(InteractionParameterNotKnown)              \
  X(InvalidExtents)                            \
  X(InvalidFederationTime)                     \
  X(InvalidHandleValuePairSetContext)          \
  X(InvalidLookahead)                          \
  X(InvalidOrderingHandle)                     \
  X(InvalidRegionContext)                      \
  X(InvalidResignAction)                       \
  X(InvalidRetractionHandle)                   \
  X(InvalidTransportationHandle)               \
  X(MemoryExhausted)                           \
  X(NameNotFound)                              \
  X(ObjectAlreadyRegistered)                   \
  X(ObjectClassNotDefined)                     \
  X(ObjectClassNotKnown)                       \
  X(ObjectClassNotPublished)                   \
  X(ObjectClassNotSubscribed)                  \
  X(ObjectNotKnown)                            \
  X(OwnershipAcquisitionPending)               \
  X(RTIinternalError)                          \
  X(RegionInUse)                               \
  X(RegionNotKnown)                            \
  X(RestoreInProgress)                         \
  X(RestoreNotRequested)                       \
  X(SaveInProgress)                            \
  X(SaveNotInitiated)                          \
  X(SpaceNotDefined)                           \
  X(SpecifiedSaveLabelDoesNotExist)            \
  X(SynchronizationPointLabelWasNotAnnounced)  \
  X(TimeAdvanceAlreadyInProgress)              \
  X(TimeAdvanceWasNotInProgress)               \
  X(TimeConstrainedAlreadyEnabled)             \
  X(TimeConstrainedWasNotEnabled)              \
  X(TimeRegulationAlreadyEnabled)              \
  X(TimeRegulationWasNotEnabled)               \
  X(UnableToPerformSave)                       \
  X(ValueCountExceeded)                        \
  X(ValueLengthExceeded)

// This RTI's version (the one its banner prints).
#define RTI_VERSION "2.0.1"

// The standard's limits, under the standard's names. This RTI grows its tables
// as a federation needs, so most are the standard's figures and not limits of
// this RTI (a FOM may have more classes or spaces); where this RTI has a limit
// of its own, it is the figure: attribute handle sets hold the handles 0 to
// 319 (a 320-bit map), and parameter handles travel as 16-bit numbers.
#define MAX_FEDERATION 20
#define MAX_FEDERATE 20
#define MAX_NAME_LENGTH 64
#define MAX_SPACES 20
#define MAX_OBJECT_CLASSES 200
#define MAX_INTERACTION_CLASSES 200
#define MAX_ATTRIBUTES_PER_CLASS 320
#define MAX_PARAMETERS_PER_CLASS 65536
#define MAX_DIMENSIONS_PER_SPACE 10
#define MIN_EXTENT ((RTI::ULong)0UL)
#define MAX_EXTENT ((RTI::ULong)0xFFFFFFFFUL)

// The routing space that every FOM has (handle 0), and the name the standard
// gives the dimension of such a space.
#define DEFAULT_SPACE_NAME "HlaDefaultSpace"
#define DEFAULT_SPACE_DIMENSION_NAME "dimension"

namespace RTI {

RTI_EXCEPTION_LIST(RTI_EXCEPT)

typedef Long SpaceHandle;
typedef ULong ObjectClassHandle;
typedef ULong InteractionClassHandle;
typedef ULong ExtentIndex;
typedef ULong Handle;
typedef Handle AttributeHandle;
typedef Handle ParameterHandle;
typedef Handle ObjectHandle;
typedef Handle DimensionHandle;
typedef ULong FederateHandle;
typedef Handle TransportationHandle;
typedef TransportationHandle TransportType;
typedef Handle OrderingHandle;
typedef OrderingHandle OrderType;
typedef ULong FederateID;
typedef ULong UniqueID;
typedef Double TickTime;
typedef ULong RegionToken;

enum ResignAction {
  RELEASE_ATTRIBUTES = 1,
  DELETE_OBJECTS,
  DELETE_OBJECTS_AND_RELEASE_ATTRIBUTES,
  NO_ACTION
};

class Region;
class FederateAmbassador;
typedef FederateAmbassador* FederateAmbassadorPtr;

// Names a sent time-stamped event so that it can be retracted.
struct EventRetractionHandle_s {
  UniqueID theSerialNumber;
  FederateHandle sendingFederate;
};
typedef struct EventRetractionHandle_s EventRetractionHandle;

// Attribute handle/value pairs of one update or reflection; i is an index
// from 0 to size() - 1, not a handle.
class RTI_EXPORT AttributeHandleValuePairSet {
public:
  virtual ~AttributeHandleValuePairSet() {}
  virtual ULong size() const = 0;
  virtual Handle getHandle(ULong i) const = 0;
  virtual ULong getValueLength(ULong i) const = 0;
  virtual void getValue(ULong i, char* buff, ULong& valueLength) const = 0;
  virtual char* getValuePointer(ULong i, ULong& valueLength) const = 0;
  virtual TransportType getTransportType(ULong i) const = 0;
  virtual OrderType getOrderType(ULong i) const = 0;
  virtual Region* getRegion(ULong i) const = 0;
  virtual void add(Handle h, const char* buff, ULong valueLength) = 0;
  virtual void remove(Handle h) = 0;
  virtual void moveFrom(const AttributeHandleValuePairSet& ahvps, ULong& i) = 0;
  virtual void empty() = 0;
  virtual ULong start() const = 0;
  virtual ULong valid(ULong i) const = 0;
  virtual ULong next(ULong i) const = 0;
};

class RTI_EXPORT AttributeSetFactory {
public:
  // A new, empty set owned by the caller.
  static AttributeHandleValuePairSet* create(ULong count);
};

class RTI_EXPORT AttributeHandleSet {
public:
  virtual ~AttributeHandleSet() {}
  virtual ULong size() const = 0;
  virtual AttributeHandle getHandle(ULong i) const = 0;
  virtual void add(AttributeHandle h) = 0;
  virtual void remove(AttributeHandle h) = 0;
  virtual void empty() = 0;
  virtual Boolean isEmpty() const = 0;
  virtual Boolean isMember(AttributeHandle h) const = 0;
};

class RTI_EXPORT AttributeHandleSetFactory {
public:
  // A new, empty set owned by the caller; count is at most 320.
  static AttributeHandleSet* create(ULong count);
};

class RTI_EXPORT FederateHandleSet {
public:
  virtual ULong size() const = 0;
  virtual FederateHandle getHandle(ULong i) const = 0;
  virtual void add(FederateHandle h) = 0;
  virtual void remove(FederateHandle h) = 0;
  virtual void empty() = 0;
  virtual Boolean isMember(FederateHandle h) const = 0;
  virtual ~FederateHandleSet() {}
};

class RTI_EXPORT FederateHandleSetFactory {
public:
  // A new, empty set of that capacity, owned by the caller.
  static FederateHandleSet* create(ULong count);
};

// Parameter handle/value pairs of one interaction; transport, order and
// region belong to the whole set.
class RTI_EXPORT ParameterHandleValuePairSet {
public:
  virtual ~ParameterHandleValuePairSet() {}
  virtual ULong size() const = 0;
  virtual Handle getHandle(ULong i) const = 0;
  virtual ULong getValueLength(ULong i) const = 0;
  virtual void getValue(ULong i, char* buff, ULong& valueLength) const = 0;
  virtual char* getValuePointer(ULong i, ULong& valueLength) const = 0;
  virtual TransportType getTransportType() const = 0;
  virtual OrderType getOrderType() const = 0;
  virtual Region* getRegion() const = 0;
  virtual void add(Handle h, const char* buff, ULong valueLength) = 0;
  virtual void remove(Handle h) = 0;
  virtual void moveFrom(const ParameterHandleValuePairSet& phvps, ULong& i) = 0;
  virtual void empty() = 0;
  virtual ULong start() const = 0;
  virtual ULong valid(ULong i) const = 0;
  virtual ULong next(ULong i) const = 0;
};

class RTI_EXPORT ParameterSetFactory {
public:
  // A new, empty set owned by the caller.
  static ParameterHandleValuePairSet* create(ULong count);
};

// A region of a routing space: per extent and dimension a range of values.
class RTI_EXPORT Region {
public:
  virtual ~Region() {}
  virtual ULong getRangeLowerBound(ExtentIndex theExtent, DimensionHandle theDimension) const = 0;
  virtual ULong getRangeUpperBound(ExtentIndex theExtent, DimensionHandle theDimension) const = 0;
  virtual void setRangeLowerBound(ExtentIndex theExtent, DimensionHandle theDimension,
                                  ULong theLowerBound) = 0;
  virtual void setRangeUpperBound(ExtentIndex theExtent, DimensionHandle theDimension,
                                  ULong theUpperBound) = 0;
  virtual SpaceHandle getSpaceHandle() const = 0;
  virtual ULong getNumberOfExtents() const = 0;
  virtual ULong getRangeLowerBoundNotificationLimit(ExtentIndex theExtent,
                                                    DimensionHandle theDimension) const = 0;
  virtual ULong getRangeUpperBoundNotificationLimit(ExtentIndex theExtent,
                                                    DimensionHandle theDimension) const = 0;
};

// Federation time. The concrete class comes from the federation time
// library (fedtime.hh), which also supplies FedTimeFactory.
class RTI_EXPORT FedTime {
public:
  virtual ~FedTime() {}
  virtual void setZero() = 0;
  virtual Boolean isZero() = 0;
  virtual void setEpsilon() = 0;
  virtual void setPositiveInfinity() = 0;
  virtual Boolean isPositiveInfinity() = 0;
  virtual FedTime& operator+=(const FedTime& other) = 0;
  virtual FedTime& operator-=(const FedTime& other) = 0;
  virtual Boolean operator<=(const FedTime& other) const = 0;
  virtual Boolean operator<(const FedTime& other) const = 0;
  virtual Boolean operator>=(const FedTime& other) const = 0;
  virtual Boolean operator>(const FedTime& other) const = 0;
  virtual Boolean operator==(const FedTime& other) const = 0;
  virtual FedTime& operator=(const FedTime& other) = 0;
  // The encoded form: encodedLength() bytes, written by encode and read back
  // by FedTimeFactory::decode.
  virtual int encodedLength() const = 0;
  virtual void encode(char* buff) const = 0;
  // The printable text; getPrintableLength() counts its terminating null.
  virtual int getPrintableLength() const = 0;
  virtual void getPrintableString(char* buff) = 0;
};

// Lets derived time classes keep an implicitly defined copy assignment.
inline FedTime& FedTime::operator=(const FedTime&) { return *this; }

class RTI_EXPORT FedTimeFactory {
public:
  // A new time equal to zero, owned by the caller.
  static FedTime* makeZero();
  // A new time read from its encoded form, owned by the caller. Reads
  // exactly the encoded length of a time; throws InvalidFederationTime for
  // a null pointer or bytes that hold no valid time.
  static FedTime* decode(const char* buf);
  // The same, reading no more than length bytes: returns null when they do
  // not hold a whole, valid time. For decoders of received data.
  static FedTime* decode(const char* buf, ULong length);
};

}  // namespace RTI
