#pragma once
// Marks a class or function that libhlacore exports: the library is built with
// hidden visibility, so only what carries this mark (or RTI_EXPORT, its
// spelling in the public headers) is reachable from federates, plug-ins and
// the rtiexec host. Mark only the documented extensions:
//   class DT_EXPORT DtSomething { ... };
#define DT_EXPORT __attribute__((visibility("default")))
