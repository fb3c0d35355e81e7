#pragma once
// What a plug-in of libhlacore includes. A plug-in is a shared library that
// a federate loads when its RID file names it:
//
//   (setq RTI_pluginDirectory "/opt/site/plugins")   ; default "../plugins",
//                                                    ; beside libhlacore's lib/
//   (RTI-addPluginName "libsiteplugin.so")
//
// It defines, with C linkage, any of the entries declared below; the RTI
// calls each one it finds. A plug-in files service observers (told of every
// RTI service call with its arguments, result and exception) and
// federate-ambassador wrappers (which see every callback before the
// federate does) through the implementor it is given:
//
//   extern "C" void InitLRCPlugin(DtRtiAmbassadorImplementor* implementor) {
//     implementor->addObserver("site observer", new SiteObserver);
//     implementor->addFedAmbWrapper("site wrapper", new SiteWrapper);
//   }
//
// The ambassador owns what is filed (the observer list and the wrapper chain
// delete it before the plug-in is unloaded); a wrapper takes effect when the
// federate joins. A plug-in that cannot be loaded, exports none of the
// entries or throws from one is reported with its file name, and the
// federate goes on without it. tools/call-counter is a complete example.
//
// Built against the installed package: find_package(hlacore), then link
// hlacore::hlacore, or pkg-config --cflags --libs hlacore; C++20.

#include "RTI.hh"
#include "api/DtFedAmbWrapper.h"
#include "api/DtRtiAmbassadorObserver.h"
#include "core/DtRtiAmbassadorImplementor.h"
#include "util/DtString.h"

extern "C" {
// Right after the plug-in is loaded, before the ambassador makes its
// implementor: the place to install creator functions
// (DtRtiAmbassadorImplementor::setCreatorFunction).
RTI_EXPORT void SetPluginCreators();
// Once the ambassador's implementor exists, in the order the plug-ins were
// named.
RTI_EXPORT void InitLRCPlugin(DtRtiAmbassadorImplementor* implementor);
// In an rtiexec host, with the object the host passes.
RTI_EXPORT void InitRtiexecPlugin(void* object);
}
