#pragma once
// Small C-string helpers.

// A new array holding a copy (the caller frees it with delete[]); null for null.
char* DtStrdup(const char* text);
// Change the ASCII letters in place; return the string.
char* DtToLower(char* text);
char* DtToUpper(char* text);
// The index of the first element equal to the value in an array ended by 0,
// or -1.
int DtFindIndex(const int* array, int value);

// Splits a command line at blanks into an argument vector: element 0 is
// "main", then a DtStrdup copy of each word (the caller frees the copies
// with delete[], not element 0), then a null pointer. The count (words plus
// one) is stored through `count` when given. The vector belongs to the
// calling thread and is reused by its next call; it grows to any number of
// words.
char** DtMakeArgv(const char* line, int* count);
// The count DtMakeArgv would give, without copying.
int DtCountArgs(const char* line);
