#pragma once
// Console input without blocking: the keyboard is standard input (see
// DtConsoleInput). Used from one thread.

// Empties the buffer; when input is waiting, reads one line into it (the
// line end stays as its last character) of at most size - 2 characters
// (a longer line is reported at level 1 and cut there). An empty buffer
// means that no line was waiting.
void DtPollInputLine(char* buffer, int size);

// The line just typed (held in a buffer of 512 characters until the next
// call), or null when none is waiting.
char* DtGetInputLine();

// The character waiting, or 0 when none is.
int DtPollInputChar();
