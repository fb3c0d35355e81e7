// Command identifiers of Quorlex's menus, toolbar and context menus.
//
// Every QAction of the main frame carries its identifier (QAction::data), so
// the transmitter tree's context menu, the detail views and the tests reach
// the same command the menu reaches, by number.
#pragma once

namespace QuorlexCommand {
// Application commands.
inline constexpr int AppAbout = 57664;
inline constexpr int AppExit = 57665;
inline constexpr int EditPreferences = 32774;
inline constexpr int LogStartLogging = 32775;
inline constexpr int HelpContents = 32779;

// Main-frame commands.
inline constexpr int ViewToolbar = 59392;
inline constexpr int ViewStatusBar = 59393;
inline constexpr int ViewTransmitterBar = 32771;
inline constexpr int ViewDetails = 59411;
inline constexpr int ViewAllDetails = 32780;
inline constexpr int ViewRefresh = 32773;

// A command of the DIS detail view; available only while a view handles it.
inline constexpr int ViewRawData = 32772;

// Printing, commands of both detail views (Ctrl+P is Print).
inline constexpr int FilePrint = 57607;
inline constexpr int FilePrintDirect = 57608;
inline constexpr int FilePrintPreview = 57609;

// Detail windows.
inline constexpr int WindowArrange = 57649;
inline constexpr int WindowCascade = 57650;
inline constexpr int WindowTileHorz = 57651;
inline constexpr int WindowTileVert = 57652;
inline constexpr int WindowCloseAll = 32781;
}   // namespace QuorlexCommand
