#pragma once
// DtFedReader: reads a FED file, the federation's object model written as
// one expression of the configuration language,
//
//   (FED (Federation name) (FEDversion v)
//        (spaces (space S (dimension D) ...) ...)
//        (objects (class ObjectRoot (attribute a transport order [space])
//                                   (class A ...) ...))
//        (interactions (class InteractionRoot transport order [space]
//                                   (parameter p) (class X ...) ...)))
//
// and hands every space, dimension, class, attribute and parameter, in file
// order, to a DtFomBuilder. Keywords are symbols compared with case; the root
// class names, transports (best_effort, reliable) and orders (receive,
// timestamp) are compared ignoring case; a name may be a word or a "string".
// The reader keeps nothing of the model itself.
//
// Each federate manager holds one reader and uses it on its own thread; a
// read makes a fresh interpreter of its own.

#include <cstdio>

#include "config/DtlObjPtr.h"

class DtFomBuilder;

class DtFedReader {
public:
  // Results of readFed.
  static constexpr int accepted = 0;
  static constexpr int noFile = 1;
  static constexpr int badFile = 2;

  DtFedReader() = default;
  DtFedReader(const DtFedReader&) = delete;
  DtFedReader& operator=(const DtFedReader&) = delete;
  virtual ~DtFedReader();

  // Reads the file (looked for as named, then in the directory RTI_CONFIG
  // names) into the builder (null: the file is only read and checked).
  // Returns accepted, noFile when no file was found, or badFile when it
  // holds no expression ("Unable to find FED in fedfile"), its walk rejects
  // a part, or the language raises an error or the builder throws
  // ("Unexpected problem reading fed file"). A rejected part stops the walk
  // at once; what reached the builder before it stays there.
  virtual int readFed(const char* fileName, DtFomBuilder* builder);
  // The file opened for reading, as named or else under RTI_CONFIG; null
  // (and "No such FED file: <name>") when neither exists. A '\\' in the
  // name is a separator. The caller closes it.
  virtual std::FILE* openFedFile(const char* fileName);

protected:
  // The walkers: each takes one list of the expression and returns accepted
  // or badFile.
  virtual int parseFed(const DtlObjPtr& fed);
  virtual int parseFederation(const DtlObjPtr& list);
  virtual int parseFedVersion(const DtlObjPtr& list);
  virtual int parseSpaces(const DtlObjPtr& list);
  virtual int parseSpace(const DtlObjPtr& list);
  virtual int parseDimension(const DtlObjPtr& list, const char* space);
  virtual int parseObjects(const DtlObjPtr& list);
  // `base` is the full name of the base class, null for the root.
  virtual int parseObjectClass(const DtlObjPtr& list, const char* base);
  virtual int parseAttribute(const DtlObjPtr& list, const char* className);
  virtual int parseInteractions(const DtlObjPtr& list);
  virtual int parseInteractionClass(const DtlObjPtr& list, const char* base);
  virtual int parseParameter(const DtlObjPtr& list, const char* className);

  DtFomBuilder* builder() const { return builder_; }

private:
  int readExpression(std::FILE* file);

  DtFomBuilder* builder_ = nullptr;  // not owned
};
