#include <gtest/gtest.h>

#include <cctype>
#include <string>
#include <vector>

#include "FomTestSupport.h"
#include "config/DtRIDParameters.h"
#include "objects/DtFomClassMgr.h"
#include "objects/DtInteractionClassInfo.h"
#include "objects/DtObjectClassInfo.h"
#include "objects/DtSpaceInfo.h"
#include "rti/util/NotifyCapture.h"

namespace {

TEST(DtFomClassMgr, FedFileGivesTheDocumentedHandles) {
  NotifyCapture quiet(1);
  const auto fom = fomFromText(fixtureFed);
  ASSERT_TRUE(fom);
  EXPECT_EQ(fom->numClasses(), 7);
  std::vector<std::string> classes;
  for (int h = 0; h < fom->numClasses(); ++h) {
    const DtObjectClassInfo* c = fom->classByHandle(h);
    classes.push_back(c ? c->name() : "-");
  }
  EXPECT_EQ(classes, (std::vector<std::string>{"ObjectRoot", "ObjectRoot.RTIprivate", "-", "ObjectRoot.Manager",
                                               "ObjectRoot.Manager.Federate", "ObjectRoot.Platform",
                                               "ObjectRoot.Platform.Aircraft"}));
  EXPECT_EQ(fom->numInteractions(), 8);
  std::vector<std::string> interactions;
  for (int h = 0; h < fom->numInteractions(); ++h) {
    const DtInteractionClassInfo* c = fom->interactionByHandle(h);
    interactions.push_back(c ? c->name() : "-");
  }
  EXPECT_EQ(interactions, (std::vector<std::string>{"InteractionRoot", "InteractionRoot.RTIprivate", "-", "-",
                                                    "InteractionRoot.Manager", "InteractionRoot.Manager.Federate",
                                                    "InteractionRoot.Radio", "InteractionRoot.Radio.Encoded"}));
  EXPECT_EQ(fom->numSpaces(), 3);
  EXPECT_STREQ(fom->spaceByHandle(0)->name(), "HlaDefaultSpace");
  EXPECT_STREQ(fom->spaceByHandle(2)->name(), "Radio");
  EXPECT_EQ(fom->spaceByHandle(3), nullptr);
  EXPECT_EQ(fom->spaceByHandle(-1), nullptr);
  EXPECT_EQ(fom->classByHandle(7), nullptr);
  EXPECT_EQ(fom->interactionByHandle(0x100000000ul), nullptr);

  // Transport, order and space as the FED file gives them; an interaction
  // class's are its own, not its base's.
  const DtObjectClassInfo* aircraft = fom->classByHandle(6);
  EXPECT_EQ(aircraft->attrSpace(1), 1);
  EXPECT_EQ(aircraft->attrOrder(2), DtTimestampOrder);
  EXPECT_EQ(aircraft->attrTransport(0), DtReliable);
  const DtInteractionClassInfo* radio = fom->interactionByHandle(6);
  const DtInteractionClassInfo* encoded = fom->interactionByHandle(7);
  EXPECT_EQ(radio->spaceHandle(), 2);
  EXPECT_EQ(radio->order(), DtTimestampOrder);
  EXPECT_EQ(encoded->spaceHandle(), 0);
  EXPECT_EQ(encoded->order(), DtReceiveOrder);
  EXPECT_EQ(encoded->baseClass(), radio);
}

struct LookUp {
  const char* what;
  std::function<std::string(const DtFomClassMgr&)> call;
  std::string expected;
};

#define LOOK(expr) [](const DtFomClassMgr& f) { return std::string(expr); }
#define NUMBER(expr) [](const DtFomClassMgr& f) { return std::to_string(expr); }

const LookUp lookUps[] = {
    {"class by full name", NUMBER(f.classHandle("ObjectRoot.Manager.Federate")), "4"},
    {"class name in other case", NUMBER(f.classHandle("objectroot.manager.FEDERATE")), "4"},
    {"class without the root name", NUMBER(f.classHandle("Manager.Federate")), "4"},
    {"the root class", NUMBER(f.classHandle("ObjectRoot")), "0"},
    {"a class's own name alone", NUMBER(f.classHandle("Federate")), "throws NameNotFound"},
    {"no class name", NUMBER(f.classHandle(nullptr)), "throws NameNotFound"},
    {"name of a class", LOOK(f.className(6)), "ObjectRoot.Platform.Aircraft"},
    {"the unused class handle 2", LOOK(f.className(2)), "throws ObjectClassNotDefined"},
    {"a class handle past the last", LOOK(f.className(7)), "throws ObjectClassNotDefined"},
    {"attribute of a class", NUMBER(f.attrHandle("FederateHost", 4)), "2"},
    {"inherited attribute", NUMBER(f.attrHandle("speed", 6)), "2"},
    {"privilege under its other name", NUMBER(f.attrHandle("PRIVILEGETODELETEOBJECT", 6)), "0"},
    {"attribute of a subclass only", NUMBER(f.attrHandle("Altitude", 5)), "throws NameNotFound"},
    {"attribute of the unused class 2", NUMBER(f.attrHandle("Speed", 2)), "throws ObjectClassNotDefined"},
    {"attribute name", LOOK(f.attrName(3, 6)), "Altitude"},
    {"attribute handle the class lacks", LOOK(f.attrName(3, 5)), "throws AttributeNotDefined"},
    {"attribute name of an unknown class", LOOK(f.attrName(0, 99)), "throws ObjectClassNotDefined"},
    {"interaction by short name", NUMBER(f.interactionHandle("Radio.Encoded")), "7"},
    {"interaction by full name", NUMBER(f.interactionHandle("INTERACTIONROOT.manager")), "4"},
    {"unknown interaction", NUMBER(f.interactionHandle("Encoded")), "throws NameNotFound"},
    {"interaction name", LOOK(f.interactionName(5)), "InteractionRoot.Manager.Federate"},
    {"the unused interaction handle 2", LOOK(f.interactionName(2)), "throws InteractionClassNotDefined"},
    {"the unused interaction handle 3", LOOK(f.interactionName(3)), "throws InteractionClassNotDefined"},
    {"an interaction handle past the last", LOOK(f.interactionName(8)), "throws InteractionClassNotDefined"},
    {"inherited parameter", NUMBER(f.paramHandle("power", 7)), "1"},
    {"own parameter", NUMBER(f.paramHandle("Data", 7)), "2"},
    {"parameter of a subclass only", NUMBER(f.paramHandle("Data", 6)), "throws NameNotFound"},
    {"parameter of an unknown class", NUMBER(f.paramHandle("Data", 3)), "throws InteractionClassNotDefined"},
    {"parameter name", LOOK(f.paramName(1, 5)), "Handle"},
    {"parameter handle the class lacks", LOOK(f.paramName(2, 5)), "throws InteractionParameterNotDefined"},
    {"parameter name of an unknown class", LOOK(f.paramName(0, 2)), "throws InteractionClassNotDefined"},
    {"the default space", NUMBER(f.spaceHandle("HlaDefaultSpace")), "0"},
    {"the default space in other case", NUMBER(f.spaceHandle("hladefaultspace")), "0"},
    {"a FED space", NUMBER(f.spaceHandle("RADIO")), "2"},
    {"an unknown space", NUMBER(f.spaceHandle("Sea")), "throws NameNotFound"},
    {"space name", LOOK(f.spaceName(1)), "Geo"},
    {"space handle past the last", LOOK(f.spaceName(3)), "throws SpaceNotDefined"},
    {"negative space handle", LOOK(f.spaceName(-1)), "throws SpaceNotDefined"},
    {"dimension", NUMBER(f.dimHandle("y", 1)), "1"},
    {"dimension of another space", NUMBER(f.dimHandle("Freq", 1)), "throws NameNotFound"},
    {"dimension of an unknown space", NUMBER(f.dimHandle("x", 99)), "throws NameNotFound"},
    {"dimension name", LOOK(f.dimName(0, 2)), "Freq"},
    {"dimension name of an unknown space", LOOK(f.dimName(0, 99)), "throws SpaceNotDefined"},
    {"dimension handle the space lacks", LOOK(f.dimName(2, 1)), "throws DimensionNotDefined"},
    {"the default space has no dimension", LOOK(f.dimName(0, 0)), "throws DimensionNotDefined"},
};

TEST(DtFomClassMgr, LookUpsAndTheirExceptions) {
  NotifyCapture quiet(1);
  const auto fom = fomFromText(fixtureFed);
  ASSERT_TRUE(fom);
  for (const LookUp& row : lookUps) {
    EXPECT_EQ(outcome([&] { return row.call(*fom); }), row.expected) << row.what;
  }
}

// The index answers as a scan of the records in handle order would: every
// way of writing every class name of the large model finds the first class
// whose own name test accepts it.
template <class Record>
int checkNamesAgainstScan(const DtFomClassMgr& fom, int count, Record* (DtFomClassMgr::*byHandle)(unsigned long) const,
                          Record* (DtFomClassMgr::*byName)(const char*) const, const std::string& root) {
  const auto scan = [&](const char* name) -> long {
    for (int h = 0; h < count; ++h) {
      if (const Record* c = (fom.*byHandle)(h); c && c->isName(name)) return h;
    }
    return -1;
  };
  int checked = 0;
  for (int h = 0; h < count; ++h) {
    const Record* c = (fom.*byHandle)(h);
    if (!c) continue;
    const std::string full = c->name();
    std::string upper = full;
    for (char& ch : upper) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
    const std::string shortName = full.size() > root.size() + 1 ? full.substr(root.size() + 1) : full;
    for (const std::string& name : {full, upper, shortName, root + "." + shortName, root + shortName}) {
      const Record* found = (fom.*byName)(name.c_str());
      EXPECT_EQ(found ? static_cast<long>(found->handle()) : -1, scan(name.c_str())) << name;
      ++checked;
    }
  }
  return checked;
}

TEST(DtFomClassMgr, NameIndexAgreesWithTheRecordsNameTest) {
  NotifyCapture quiet(1);
  int result = -1;
  const auto fom = fomFromText(readWholeFile(QLX_SOURCE_ROOT "/tests/rti/config/data/large-fom.fed"), nullptr, &result);
  ASSERT_TRUE(fom) << result << quiet.text();
  EXPECT_GT(fom->numClasses() + fom->numInteractions(), 500);
  const int checked = checkNamesAgainstScan(*fom, fom->numClasses(), &DtFomClassMgr::classByHandle,
                                            &DtFomClassMgr::classByName, "objectroot") +
                      checkNamesAgainstScan(*fom, fom->numInteractions(), &DtFomClassMgr::interactionByHandle,
                                            &DtFomClassMgr::interactionByName, "interactionroot");
  EXPECT_GT(checked, 2500);
}

}  // namespace

namespace {

const char* const missingPrivilegeMessage =
    "privilegeToDeleteObject (or privilegeToDelete) must be first attribute in ObjectRoot.\n"
    "Forcing insertion as (attribute privilegeToDeleteObject reliable timestamp)\n";
const char* const rootWithoutAttributesMessage =
    "ObjectRoot class missing privilegeToDeleteObject (or privilegeToDelete).\n"
    "Forcing insertion as (attribute privilegeToDeleteObject reliable timestamp)\n";

struct PrivilegeCase {
  const char* what;
  std::vector<std::pair<const char*, const char*>> build;  // {class, attribute or null for a subclass}
  std::string message;
  std::vector<std::string> rootAttributes;
};

const PrivilegeCase privilegeCases[] = {
    {"privilegeToDelete first is kept",
     {{"ObjectRoot", "privilegeToDelete"}, {"ObjectRoot", "Name"}},
     "",
     {"privilegeToDelete", "Name"}},
    {"the other name in capitals is kept",
     {{"ObjectRoot", "PRIVILEGETODELETEOBJECT"}},
     "",
     {"PRIVILEGETODELETEOBJECT"}},
    {"another attribute first gets the privilege before it",
     {{"ObjectRoot", "Name"}, {"ObjectRoot", "Kind"}},
     missingPrivilegeMessage,
     {"privilegeToDeleteObject", "Name", "Kind"}},
    {"a subclass of a root without attributes",
     {{"ObjectRoot.A", nullptr}, {"ObjectRoot", "Name"}},
     rootWithoutAttributesMessage,
     {"privilegeToDeleteObject", "Name"}},
};

TEST(DtFomClassMgr, PrivilegeAttributeIsAlwaysAttributeZero) {
  for (const PrivilegeCase& c : privilegeCases) {
    NotifyCapture capture(1);
    DtFomClassMgr fom;
    fom.addObjClass("ObjectRoot", nullptr);
    for (const auto& [name, attribute] : c.build) {
      if (attribute) {
        fom.addAttribute(name, attribute, DtBestEffort, DtReceiveOrder, nullptr);
      } else {
        fom.addObjClass(name, "ObjectRoot");
      }
    }
    EXPECT_EQ(capture.text(), c.message) << c.what;
    const DtObjectClassInfo* root = fom.classByHandle(0);
    std::vector<std::string> names;
    for (const auto& attribute : root->attrs()) names.push_back(attribute->name());
    EXPECT_EQ(names, c.rootAttributes) << c.what;
    EXPECT_EQ(root->attrTransport(0), c.message.empty() ? DtBestEffort : DtReliable) << c.what;
    // Either name finds attribute 0, in the root and (inherited) below it.
    EXPECT_EQ(fom.attrHandle("privilegeToDelete", 0), 0u) << c.what;
    EXPECT_EQ(fom.attrHandle("privilegetodeleteobject", 0), 0u) << c.what;
  }
}

TEST(DtFomClassMgr, SubclassesInheritTheAttributesTheirBaseHadWhenTheyWereMade) {
  NotifyCapture quiet(1);
  DtFomClassMgr fom;
  fom.addObjClass("ObjectRoot", nullptr);
  fom.addAttribute("ObjectRoot", "privilegeToDelete", DtReliable, DtTimestampOrder, nullptr);
  fom.addObjClass("ObjectRoot.A", "ObjectRoot");
  fom.addAttribute("ObjectRoot.A", "a0", DtReliable, DtReceiveOrder, nullptr);
  fom.addObjClass("ObjectRoot.A.B", "ObjectRoot.A");
  fom.addAttribute("ObjectRoot.A.B", "b", DtBestEffort, DtReceiveOrder, nullptr);
  // Added to the base after its subclass exists: the subclass does not get
  // it, and may have an attribute of that name itself.
  fom.addAttribute("ObjectRoot.A", "late", DtBestEffort, DtTimestampOrder, nullptr);
  fom.addAttribute("ObjectRoot.A.B", "late", DtReliable, DtReceiveOrder, nullptr);

  const unsigned long a = fom.classHandle("A");
  const unsigned long b = fom.classHandle("A.B");
  EXPECT_EQ(fom.attrHandle("a0", b), fom.attrHandle("a0", a));
  EXPECT_EQ(fom.attrHandle("late", a), 2u);
  EXPECT_EQ(fom.attrHandle("b", b), 2u);
  EXPECT_EQ(fom.attrHandle("late", b), 3u);
  EXPECT_EQ(fom.classByHandle(b)->attrOrder(3), DtReceiveOrder);
  EXPECT_EQ(fom.classByHandle(b)->numAttributes(), 4u);
  EXPECT_TRUE(fom.classByHandle(b)->isOfClass(a));
  EXPECT_FALSE(fom.classByHandle(a)->isOfClass(b));
  EXPECT_EQ(fom.classByHandle(a)->subclasses(), std::vector<DtObjectClassInfo*>{fom.classByHandle(b)});
}

// The starting sizes are shared, each table's room its own: a manager made
// before another one doubled the shared size still grows its own tables
// when it needs to, and one made afterwards starts larger.
TEST(DtFomClassMgr, TablesGrowPastTheirStartingSizesInEveryManager) {
  NotifyCapture quiet(1);
  FomLimitsGuard limits;
  // Classes C<from> .. C<classes - 1> and interactions I<...> under the
  // roots (made with the first), then the attributes and parameters.
  const auto build = [](DtFomClassMgr& fom, int from, int classes, int attributes) {
    if (from == 0) {
      fom.addObjClass("ObjectRoot", nullptr);
      fom.addInterClass("InteractionRoot", nullptr, DtBestEffort, DtReceiveOrder, nullptr);
    }
    for (int i = from; i < classes; ++i) {
      const std::string name = "ObjectRoot.C" + std::to_string(i);
      fom.addObjClass(name.c_str(), "ObjectRoot");
      const std::string interaction = "InteractionRoot.I" + std::to_string(i);
      fom.addInterClass(interaction.c_str(), "InteractionRoot", DtReliable, DtReceiveOrder, nullptr);
    }
    for (int i = 0; i < attributes; ++i) {
      const std::string name = "a" + std::to_string(i);
      fom.addAttribute("ObjectRoot.C0", name.c_str(), DtBestEffort, DtReceiveOrder, nullptr);
      fom.addParameter("InteractionRoot.I0", name.c_str());
    }
  };
  const auto check = [](const DtFomClassMgr& fom, int classes, int attributes) {
    for (int i = 0; i < classes; i += 7) {
      const std::string name = "C" + std::to_string(i);
      EXPECT_EQ(fom.className(fom.classHandle(name.c_str())), "ObjectRoot." + name);
      const std::string interaction = "I" + std::to_string(i);
      EXPECT_EQ(fom.interactionName(fom.interactionHandle(interaction.c_str())), "InteractionRoot." + interaction);
    }
    const unsigned long c0 = fom.classHandle("C0");
    const unsigned long i0 = fom.interactionHandle("I0");
    for (int i = 0; i < attributes; i += 7) {
      const std::string name = "a" + std::to_string(i);
      EXPECT_STREQ(fom.attrName(fom.attrHandle(name.c_str(), c0), c0), name.c_str());
      EXPECT_STREQ(fom.paramName(fom.paramHandle(name.c_str(), i0), i0), name.c_str());
    }
  };

  // Made at the starting sizes, with one class of each kind.
  DtFomClassMgr early;
  build(early, 0, 1, 0);
  DtFomClassMgr first;
  build(first, 0, 250, 310);
  EXPECT_EQ(DtFomClassMgr::maxClasses(), 400u);
  EXPECT_EQ(DtFomClassMgr::maxInteractions(), 400u);
  EXPECT_EQ(DtFomClassMgr::maxAttributes(), 600u);
  EXPECT_EQ(DtFomClassMgr::maxParameters(), 600u);
  EXPECT_EQ(first.numClasses(), 252);
  check(first, 250, 310);

  build(early, 1, 250, 310);
  check(early, 250, 310);
  DtFomClassMgr later;
  build(later, 0, 450, 20);
  EXPECT_EQ(DtFomClassMgr::maxClasses(), 800u);
  check(later, 450, 20);
  check(first, 250, 310);
}

TEST(DtFomClassMgr, AClassHoldsAtMost320Attributes) {
  NotifyCapture capture(1);
  DtFomClassMgr fom;
  fom.addObjClass("ObjectRoot", nullptr);
  fom.addAttribute("ObjectRoot", "privilegeToDelete", DtReliable, DtTimestampOrder, nullptr);
  for (int i = 1; i < 320; ++i) {
    const std::string name = "a" + std::to_string(i);
    fom.addAttribute("ObjectRoot", name.c_str(), DtBestEffort, DtReceiveOrder, nullptr);
  }
  capture.clear();
  EXPECT_EQ(outcome([&] {
              fom.addAttribute("ObjectRoot", "one-too-many", DtBestEffort, DtReceiveOrder, nullptr);
              return std::string("added");
            }),
            "throws RTIinternalError");
  EXPECT_EQ(capture.text(),
            "Can not add attribute one-too-many to class ObjectRoot: more attributes in one class than attribute "
            "handle sets hold\n");
  EXPECT_EQ(fom.classByHandle(0)->numAttributes(), 320u);
}

struct BadFed {
  const char* what;
  std::string fed;
  std::string errors;
};

const std::string goodSpaces = "(spaces (space Geo (dimension X)))";
const std::string goodObjects = "(objects (class ObjectRoot (attribute privilegeToDelete reliable timestamp)))";
const std::string goodInteractions = "(interactions (class InteractionRoot best_effort receive))";

std::string fedOf(const std::string& spaces, const std::string& objects, const std::string& interactions) {
  return "(FED (Federation f) (FEDversion v) " + spaces + " " + objects + " " + interactions + ")";
}

const char* const readFailure = "Unexpected problem reading fed file\n";

const BadFed badFeds[] = {
    {"a class given twice",
     fedOf(goodSpaces,
           "(objects (class ObjectRoot (attribute privilegeToDelete reliable timestamp) (class A) (class a)))",
           goodInteractions),
     std::string("Can not add class ObjectRoot.a: two classes with the same name\n") + readFailure},
    {"an attribute given twice",
     fedOf(goodSpaces,
           "(objects (class ObjectRoot (attribute privilegeToDelete reliable timestamp)"
           " (class A (attribute x reliable receive) (attribute X best_effort receive))))",
           goodInteractions),
     std::string("Can not add attribute X to class ObjectRoot.A: two attributes with the same name\n") + readFailure},
    {"an attribute of the base given again in a subclass",
     fedOf(goodSpaces,
           "(objects (class ObjectRoot (attribute privilegeToDelete reliable timestamp)"
           " (class A (attribute x reliable receive) (class B (attribute x reliable receive)))))",
           goodInteractions),
     std::string("Can not add attribute x to class ObjectRoot.A.B: two attributes with the same name\n") + readFailure},
    {"the privilege given again",
     fedOf(goodSpaces,
           "(objects (class ObjectRoot (attribute privilegeToDelete reliable timestamp)"
           " (class A (attribute privilegeToDeleteObject reliable receive))))",
           goodInteractions),
     std::string("Can not add attribute privilegeToDeleteObject to class ObjectRoot.A: two attributes with the same "
                 "name\n") +
         readFailure},
    {"an interaction class given twice",
     fedOf(goodSpaces, goodObjects,
           "(interactions (class InteractionRoot best_effort receive (class X reliable receive)"
           " (class X reliable receive)))"),
     std::string("Can not add class InteractionRoot.X: two classes with the same name\n") + readFailure},
    {"a parameter given twice",
     fedOf(goodSpaces, goodObjects,
           "(interactions (class InteractionRoot best_effort receive (class X reliable receive (parameter p)"
           " (class Y reliable receive (parameter P)))))"),
     std::string("Can not add parameter P to class InteractionRoot.X.Y: two parameters with the same name\n") +
         readFailure},
    {"an attribute in an unknown space",
     fedOf(goodSpaces,
           "(objects (class ObjectRoot (attribute privilegeToDelete reliable timestamp)"
           " (class A (attribute x reliable receive Sea))))",
           goodInteractions),
     std::string("Can not add attribute x: Sea is not a valid space name.\n") + readFailure},
    {"an interaction in an unknown space",
     fedOf(goodSpaces, goodObjects, "(interactions (class InteractionRoot best_effort receive Sea))"),
     std::string("Can not add class InteractionRoot: Sea is not a valid space name.\n") + readFailure},
};

TEST(DtFomClassMgr, AFedFileWithANameGivenTwiceGivesNoModel) {
  for (const BadFed& c : badFeds) {
    NotifyCapture capture(1);
    int result = -1;
    EXPECT_EQ(fomFromText(c.fed, nullptr, &result), nullptr) << c.what;
    EXPECT_EQ(result, DtFedReader::badFile) << c.what;
    // Then the reader's refusal: the file, the line, and that the model refused the part.
    const std::string text = capture.text();
    EXPECT_EQ(text.substr(0, c.errors.size()), c.errors) << c.what;
    EXPECT_TRUE(text.ends_with("model.fed, line 1: the model refused this part (the message before says why)\n"))
        << c.what << ": " << text;
  }
}

TEST(DtFomClassMgr, UnknownNamesInTheBuilderCallsLeaveThePartOut) {
  NotifyCapture capture(2);
  DtFomClassMgr fom;
  fom.addDimension("Sea", "Depth");
  fom.addObjClass("ObjectRoot", nullptr);
  fom.addObjClass("ObjectRoot.A.B", "ObjectRoot.A");
  fom.addAttribute("ObjectRoot.A", "x", DtReliable, DtReceiveOrder, nullptr);
  fom.addInterClass("InteractionRoot.X", "InteractionRoot", DtReliable, DtReceiveOrder, nullptr);
  fom.addParameter("InteractionRoot.X", "p");
  EXPECT_EQ(capture.text(),
            "Can not add dimension Depth: Sea is not a valid space name.\n"
            "Can not add class ObjectRoot.A.B: ObjectRoot.A is not a valid base class.\n"
            "Can not add attribute x: ObjectRoot.A is not a valid class name.\n"
            "Can not add class InteractionRoot.X: InteractionRoot is not a valid base class.\n"
            "Can not add parameter p: InteractionRoot.X is not a valid class name.\n");
  EXPECT_EQ(fom.numClasses(), 1);
  EXPECT_EQ(fom.numInteractions(), 0);
}

TEST(DtFomClassMgr, CopiesAreDeepAndLinkedAmongThemselves) {
  NotifyCapture quiet(1);
  const auto source = fomFromText(fixtureFed);
  ASSERT_TRUE(source);
  RecordingInteractionSink sink;
  source->interactionByHandle(6)->remoteSubscribe(9, &sink);
  DtFomClassMgr copy(*source);
  DtFomClassMgr assigned;
  assigned = copy;
  for (const DtFomClassMgr* fom : {&copy, &assigned}) {
    EXPECT_EQ(fom->numClasses(), 7);
    EXPECT_EQ(fom->numInteractions(), 8);
    EXPECT_EQ(fom->classByHandle(2), nullptr);
    DtObjectClassInfo* aircraft = fom->classByName("Platform.Aircraft");
    ASSERT_NE(aircraft, source->classByHandle(6));
    EXPECT_EQ(aircraft->baseClass(), fom->classByHandle(5));
    EXPECT_EQ(fom->classByHandle(5)->subclasses(), std::vector<DtObjectClassInfo*>{aircraft});
    EXPECT_EQ(fom->attrHandle("Speed", 6), 2u);
    EXPECT_EQ(fom->interactionByHandle(7)->baseClass(), fom->interactionByHandle(6));
    EXPECT_EQ(fom->paramHandle("Power", 7), 1u);
    EXPECT_TRUE(fom->interactionByHandle(6)->remoteFederateIsSubscribed(9));
    EXPECT_EQ(fom->dimHandle("Y", 1), 1u);
  }
  // The copies do not share records with their source.
  source->interactionByHandle(6)->remoteUnsubscribe(9, &sink);
  EXPECT_TRUE(copy.interactionByHandle(6)->remoteFederateIsSubscribed(9));
}

}  // namespace

namespace {

// A RID file's multicast definitions, applied to the fixture's classes.
std::string multicastAssignments(const std::string& definitions, std::string* errors = nullptr) {
  ScratchDirectory dir;
  const std::string rid = dir.write("rid.mtl", definitions);
  ScopedEnv ridFile("RTI_RID_FILE", rid.c_str());
  NotifyCapture capture(1);
  DtRIDParameters parameters;
  capture.clear();
  DtSetNotifyLevel(3);
  const auto fom = fomFromText(fixtureFed, &parameters);
  if (!fom) return "no model";
  if (errors) {
    for (const NotifyCapture::Piece& piece : capture.pieces) {
      if (piece.text.find("Not Found") != std::string::npos) *errors += piece.text;
    }
  }
  std::string printed;
  bool inAssignments = false;
  for (const NotifyCapture::Piece& piece : capture.pieces) {
    if (piece.text.starts_with("DM Object")) inAssignments = true;
    if (inAssignments) printed += piece.text;
  }
  return printed;
}

TEST(DtFomClassMgr, RidMulticastDefinitionsGoToTheirClassesAndArePrintedAtLevelThree) {
  std::string errors;
  const std::string printed = multicastAssignments(
      "(RTI-addDMObjectMulticastAddr \"ObjectRoot.Platform.Aircraft\" \"230.9.9.9\" \"exclusive\")\n"
      "(RTI-addDMObjectMulticastAddr \"Platform\" \"230.1.1.1\" \"inclusive\")\n"
      "(RTI-addDMObjectMulticastAddr \"Manager.Federate\" \"230.2.2.2\" \"exclusive\")\n"
      "(RTI-addDMObjectMulticastAddr \"Ship\" \"230.3.3.3\" \"inclusive\")\n"
      "(RTI-addDMInteractionMulticastAddr \"InteractionRoot\" \"231.0.0.1\" \"inclusive\")\n"
      "(RTI-addDMInteractionMulticastAddr \"Radio\" \"231.0.0.2\" \"exclusive\")\n",
      &errors);
  EXPECT_EQ(errors, "Ship Not Found in the fom!\n");
  // The aircraft kept the group it had; the inclusive root assignment
  // reached every interaction class, the later exclusive one only Radio.
  EXPECT_EQ(printed,
            "DM Object class multicast assignments:\n"
            "  ObjectRoot is assigned to default\n"
            "  ObjectRoot.RTIprivate is assigned to default\n"
            "  ObjectRoot.Manager is assigned to default\n"
            "  ObjectRoot.Manager.Federate is assigned to 230.2.2.2\n"
            "  ObjectRoot.Platform is assigned to 230.1.1.1\n"
            "  ObjectRoot.Platform.Aircraft is assigned to 230.9.9.9\n"
            "DM Interaction class multicast assignments:\n"
            "  InteractionRoot is assigned to 231.0.0.1\n"
            "  InteractionRoot.RTIprivate is assigned to 231.0.0.1\n"
            "  InteractionRoot.Manager is assigned to 231.0.0.1\n"
            "  InteractionRoot.Manager.Federate is assigned to 231.0.0.1\n"
            "  InteractionRoot.Radio is assigned to 231.0.0.2\n"
            "  InteractionRoot.Radio.Encoded is assigned to 231.0.0.1\n");
}

TEST(DtFomClassMgr, WithoutMulticastDefinitionsNothingIsAssignedOrPrinted) { EXPECT_EQ(multicastAssignments(""), ""); }

}  // namespace

namespace {

class PluginFom : public DtFomClassMgr {};

TEST(DtFomClassMgr, APluginsCreatorReplacesTheClassUntilReset) {
  DtFomClassMgr::setCreatorFunction([](const DtRIDParameters*) -> DtFomClassMgr* { return new PluginFom; });
  EXPECT_NE(dynamic_cast<PluginFom*>(DtFomClassMgr::create(nullptr).get()), nullptr);
  DtFomClassMgr::setCreatorFunction(nullptr);
  const auto fom = DtFomClassMgr::create(nullptr);
  EXPECT_EQ(dynamic_cast<PluginFom*>(fom.get()), nullptr);
  EXPECT_EQ(fom->spaceHandle("HlaDefaultSpace"), 0);
}

}  // namespace
