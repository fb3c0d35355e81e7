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
// A file it refuses is refused with a reason that names the file, the line
// and what was expected there (refusal(), also printed at level 1 after the
// file's own message), so that the author can mend it.
//
// Each federate manager holds one reader and uses it on its own thread; a
// read makes a fresh interpreter of its own.

#include <cstdio>
#include <functional>
#include <string>
#include <unordered_map>

#include "config/DtlObjPtr.h"
#include "util/DtFomTypes.h"

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

  // Why the last readFed gave badFile: "<file>, line <n>: <what was
  // expected there>"; empty after a read that was accepted (or found no
  // file).
  const std::string& refusal() const { return refusal_; }

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

  // Refuses the part at `list` (or, for an element without a line of its
  // own, at the list walked last): keeps the first such reason, with its
  // line, and returns badFile.
  int refuse(const DtlObjPtr& list, const std::string& expected);

private:
  class LineStream;

  int readExpression(std::FILE* file);
  // Refuses a value that is not a list of the shape (without ending the
  // walk: taking its elements raises the language error).
  void expectList(const DtlObjPtr& value, const char* shape);
  // The root class list of (objects (class ObjectRoot ...)) or of
  // (interactions (class InteractionRoot ...)); null (refused) when the
  // section has another shape.
  const DtlObjPtr* sectionRoot(const DtlObjPtr& list, const char* keyword, const char* rootName,
                               const char* rootMessage);
  // The members of a class from `cell` on: lists that start with
  // `memberKeyword` (attribute or parameter, of the form `shape`) or with
  // class, in any order; the first refused ends the walk.
  int walkMembers(const DtlObjPtr* cell, const char* memberKeyword, const char* shape,
                  const std::function<int(const DtlObjPtr&)>& member,
                  const std::function<int(const DtlObjPtr&)>& subclass);
  // The transport and order at elements `first` and `first` + 1 of the list
  // of an attribute or interaction class; `kind` is "Attribute" or
  // "Interaction" for the messages.
  int readTransportOrder(const DtlObjPtr& list, int first, const char* kind, const char* name,
                         DtTransportType* transport, DtOrderType* order);
  // The line of a list of the file, or of the list walked last.
  int lineOf(const DtlObjPtr& list);

  DtFomBuilder* builder_ = nullptr;  // not owned
  std::string opened_;               // the path of the file being read
  const std::unordered_map<const DtlObj*, int>* lines_ = nullptr;
  int currentLine_ = 0;
  int refusedLine_ = 0;
  std::string refusedFor_;
  std::string refusal_;
};
