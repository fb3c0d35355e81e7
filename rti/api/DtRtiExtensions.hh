#pragma once
// libhlacore's functions beside the HLA 1.3 API. A federate that includes
// RTI.hh may include this header too and call them with its constructed
// ambassador.

#include "RTI.hh"

// The descriptor to wait on (poll or select) for network input before
// calling tick: index 0 stands for the best-effort (UDP) connection, any
// other index for the reliable one. -1 when that connection does not exist,
// and always while the RTI reads its sockets on a thread of its own
// (RTI_asynchronousIO); then wait on DtReadFileEvent instead. The descriptor
// stays the RTI's: do not read or close it.
RTI_EXPORT int DtReadFileDescriptor(RTI::RTIambassador* ambassador, unsigned long index);
RTI_EXPORT int DtReadFileDescriptor(RTI::RTIambassador* ambassador);
// The same as DtReadFileDescriptor(ambassador), under its second name.
RTI_EXPORT int RtReadFileDescriptor(RTI::RTIambassador* ambassador);
// A descriptor that becomes readable when received input waits for tick:
// while the RTI reads on a thread of its own, one that stays readable while
// received packets wait (the same for every index); otherwise the chosen
// connection's socket. -1 when that connection does not exist.
RTI_EXPORT int DtReadFileEvent(RTI::RTIambassador* ambassador, unsigned long index);
// True once the federate's TCP connection to the rtiexec has broken (the
// rtiexec ended or closed it), as the tick that meets it finds out: the
// federation is lost. From then on every tick throws RTI::RTIinternalError;
// the federate can still resign. False without an rtiexec, and while the
// federate has not joined.
RTI_EXPORT bool DtRtiExecConnectionLost(RTI::RTIambassador* ambassador);
// Sets the process-wide diagnostics level (as RTI_notifyLevel does when an
// ambassador is made) until it is set again; the ambassador is not used and
// may be null. 0 silences the levelled diagnostics.
RTI_EXPORT void setRtiNotifyLevel(RTI::RTIambassador* ambassador, int level);
