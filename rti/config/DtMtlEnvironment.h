// The configuration interpreter as the rest of the library sees it.
#pragma once

#include <cstdint>

#include "config/DtlObj.h"
#include "config/DtlObjPtr.h"
#include "util/DtString.h"

class DtList;

// One interpreter: a global frame holding the language's built-ins, the host
// variables registered in it, and the loaders. Every load first pushes the
// host variables into their Lisp bindings and afterwards pulls the Lisp values
// back, so a configuration file is a script of assignments to registered
// names (RTI_udpPort, ...).
//
// Errors in what is loaded never escape: the language error prints its
// message, an error while evaluating skips that form, an error while reading
// ends that input, and the other assignments still reach the host.
//
// Used by the thread that owns it; destroying it destroys its global frame,
// every binding and every registered parameter (string variables that were
// imported then point to freed text).
class DtMtlEnvironment {
public:
  DtMtlEnvironment();
  DtMtlEnvironment(const DtMtlEnvironment&) = delete;
  DtMtlEnvironment& operator=(const DtMtlEnvironment&) = delete;
  virtual ~DtMtlEnvironment();

  // The value bound to the name in the global frame's own table, or null.
  virtual DtlObjPtr value(const DtString& name);

  // Binds the host variable to the Lisp name; 1 when registered, 0 (and
  // "DtcRegister: <name> is already bound\n") when the name is bound.
  // Integer variables of 16 and 32 bits (int for the signed 32-bit kind),
  // doubles, floats and texts. A 64-bit long is refused at compile time:
  // the language's integers are 32 bits.
  virtual int registerVariable(const char* name, std::uint16_t* address);
  virtual int registerVariable(const char* name, std::int16_t* address);
  virtual int registerVariable(const char* name, std::uint32_t* address);
  virtual int registerVariable(const char* name, const char** address);
  virtual int registerVariable(const char* name, int* address);
  virtual int registerVariable(const char* name, double* address);
  virtual int registerVariable(const char* name, float* address);
  int registerVariable(const char* name, long* address) = delete;
  int registerVariable(const char* name, unsigned long* address) = delete;

  // The file sought in each directory of the Lisp list in turn; the last
  // value of the first file that yields one, else nil ("Couldn't find
  // <name>\n" when `report` is set).
  virtual DtlObjPtr loadFileFromPath(const DtlObjPtr& directories, const char* name, int report);
  // The value of the last form of the file that evaluated without error, or
  // a null handle ("Couldn't open <name>\n" when `report` is set).
  virtual DtlObjPtr loadFile(const char* name, int report);
  // "(...)" is evaluated as forms; "name=value" is the assignment
  // (set! name value); anything else is a file name, loaded. The text is
  // not changed.
  virtual DtlObjPtr evalString(const char* text, int report);
  // The forms of the text; the value of the last one evaluated without
  // error, or a null handle.
  virtual DtlObjPtr loadExpr(const char* text);

  // Binds a name in the global frame; returns its symbol.
  virtual DtlObjPtr registerValue(const DtString& name, const DtlObjPtr& value);
  // Binds a new compiled function (arguments evaluated) under the name.
  virtual DtlObjPtr registerFunction(const DtString& name, DtlNativeFunction function);
  // The global frame.
  virtual DtlObjPtr& environment();
  // Binds a new special form (arguments unevaluated) under the name.
  virtual DtlObjPtr registerSpecialForm(const DtString& name, DtlNativeFunction function);

private:
  DtlObjPtr frame_;
  DtList* params_;  // the global frame's list of registered variables
};
