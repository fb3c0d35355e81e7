#pragma once
// The answer of a service or manager operation whose part of the RTI is not
// built yet: RTI::RTIinternalError with the reason "<what> not implemented".

[[noreturn]] void DtNotImplemented(const char* what);
