// Prints a detail page with the drawing code of the screen: a header line
// with the window's title on every sheet, then as many of the page's lines as
// fit, sheet after sheet.
#pragma once

#include "DetailPage.h"

#include <QString>

class QPrinter;

// False when the printer could not be started (no such printer, an output
// file that cannot be written).
bool PrintDetailPage(const DetailPage& page, const QString& title, QPrinter& printer);
