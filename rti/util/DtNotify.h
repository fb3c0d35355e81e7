#pragma once
// The library's diagnostics. Reports are printf-style and filtered by one
// process-wide notify level: level 1 carries errors, 2 information, 3 a trace
// of every service call and 4 debugging. Each report goes through the
// installed DtNotifyHandler to the log file, the console (standard error,
// when one was asked for) and standard output. Fatal reports end the process
// through a replaceable exit function.
//
// Thread safety: every function may be called from any thread; the pieces
// of one report are written together.

#include <cstdio>

#include "port/DtSockError.h"

class DtNotifyHandler;

// The process-wide notify level, 2 until set. A negative level silences
// even the fatal reports (which still end the process). Code that binds it
// as a configuration variable may write it directly; from other threads use
// DtSetNotifyLevel / DtGetNotifyLevel.
extern int DtNotifyLevel;
int DtGetNotifyLevel();
void DtSetNotifyLevel(int level);

#define DT_PRINTF_FORMAT __attribute__((format(printf, 1, 2)))

// Printed when the level is at least 1, 2, 3 and 4. Callers end their
// formats with "\n" themselves.
void DtNotifyError(const char* format, ...) DT_PRINTF_FORMAT;
void DtNotifyInfo(const char* format, ...) DT_PRINTF_FORMAT;
void DtNotifyVerbose(const char* format, ...) DT_PRINTF_FORMAT;
void DtNotifyDebug(const char* format, ...) DT_PRINTF_FORMAT;

// At level 1 and above: the text, ":", the C library's text for errno and a
// newline (the socket form puts the socket error text before the latter).
void DtNotifyPerror(const char* format, ...) DT_PRINTF_FORMAT;
void DtNotifySockPerror(const char* format, ...) DT_PRINTF_FORMAT;

// "**FATAL ERROR**: " and the text (at level 0 and above), then DtExit. They
// return only when an installed exit function returns.
void DtNotifyFatal(const char* format, ...) DT_PRINTF_FORMAT;
void DtNotifyFatalPerror(const char* format, ...) DT_PRINTF_FORMAT;
void DtNotifyFatalSockPerror(const char* format, ...) DT_PRINTF_FORMAT;

#undef DT_PRINTF_FORMAT

// Writes the text unchanged to the log file (when open), to the console
// (when held) and to the stream (while copying is on). The log file gets
// CRLF line ends, as a text log file should.
void DtPrintOutput(std::FILE* stream, const char* text);

// Closes the open log file, then opens `path` (when not null) for writing,
// emptying it; a file that cannot be opened leaves no log file. A set
// console flag makes standard error the console. Copying to standard output
// follows `copyFlag`, but is off when standard output is a terminal and a
// console is held, so that nothing shows twice.
void DtOpenLogOutput(const char* path, int consoleFlag, int copyFlag);
void DtCloseConsole();

// Deletes the installed handler and installs this one (null silences the
// report functions).
void DtSetNotifyHandler(DtNotifyHandler* handler);

typedef void (*DtExitFunction)();
void DtSetExitFunction(DtExitFunction function);
DtExitFunction DtGetExitFunction();
// Calls the exit function when one is installed, else exit(-1).
void DtExit();
