// Loading configuration files and texts into an environment frame.
#pragma once

#include "config/DtlObjPtr.h"

class DtlParam;

// Reads and evaluates every form of the file in the frame. An error while
// evaluating a form skips that form; an error while reading ends the load.
// Returns the value of the last form that evaluated without error, or a null
// handle (a file that cannot be opened, an empty file, a file whose every
// form failed). A file that cannot be opened is reported only when `report`
// is set. Prints "Loading Config File: <name>\n" at level 2.
DtlObjPtr DtcLoadLispFile(const char* name, const DtlObjPtr& frame, int report);

// The same over a text, between an export and an import of the frame's host
// variables, without the "Loading" message.
DtlObjPtr DtcLoadLispExpr(const char* text, const DtlObjPtr& frame);

// Tries the file in each directory of the list in turn (a string each) and
// returns the first non-null result; nil (and "Couldn't find <name>\n" when
// `report` is set) when none yields one.
DtlObjPtr DtcLoadFromPath(const DtlObjPtr& directories, const char* name, const DtlObjPtr& frame, int report);

// Registers a host variable in the frame: interns its name and, unless the
// name is bound there already ("DtcRegister: <name> is already bound\n",
// result 0, the parameter deleted), pushes the host value into Lisp and lists
// the parameter with the frame, which owns it from then on. Result 1.
int DtcRegister(DtlParam* parameter, const DtlObjPtr& frame);

// Host values into their Lisp bindings, and the Lisp values back into the
// host variables, for every variable registered in the frame, in order.
void DtcExportParams(const DtlObjPtr& frame);
void DtcImportParams(const DtlObjPtr& frame);
