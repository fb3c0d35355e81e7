#pragma once
// Labelled print functions used by every printData of the library: one line
// of a label left-aligned in 20 columns and a value, printed at notify level
// 2 (DtNotifyInfo).

// "%-20s %ld\n"
void DtPrintField(const char* label, long value);
// "%-20s %d\n": 32-bit signed numbers print as the long form does.
void DtPrintField(const char* label, int value);
// "%-20s %u\n": 32-bit unsigned numbers (handles, counts) print in decimal.
void DtPrintField(const char* label, unsigned int value);
// "%-20s %lx\n": an unsigned long prints in hexadecimal.
void DtPrintField(const char* label, unsigned long value);
// "%-20s %lf\n"
void DtPrintField(const char* label, double value);
// "%-20s %s\n"; a null text prints "null".
void DtPrintField(const char* label, const char* text);
// "%-20s %s   (%d)\n"; a null text prints "null".
void DtPrintField(const char* label, const char* text, int value);

// "TRUE" when the flag is 1; "FALSE" otherwise, but only when onlyTrue is 0.
void DtPrintFlag(const char* label, char flag, int onlyTrue);

// The label on a line of its own, then the bytes as DtHexDump without
// addresses.
void DtPrintBytes(const char* label, const void* buffer, int length);

// Rows of 8 bytes as "%02x " each; with addresses every row begins with
// "0x<address>: ".
void DtHexDump(const void* buffer, int length, int withAddresses);
