#pragma once
// The parts of a save file's name. Labels and names come from federates
// over the network; put into a file name as they are, a label such as
// "../../x" would write outside the save folder. Each part is therefore
// escaped: '/', '\\', '%' and control characters (a line feed among them)
// become '%' and two upper-case hex digits, so that a part never names
// another folder and two different parts never give the same name.

#include <string>

// The text (null: empty) as one part of a file name.
std::string DtSaveFileNamePart(const char* text);
