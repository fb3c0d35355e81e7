#pragma once
// Names memory that the caller owns and in which a message is to live: a
// buffer given a DtBufferPlaceHolder pointer works in that memory, never
// copies it elsewhere and never frees it. A null pointer means "allocate".
// The caller's memory must hold the message at its final size: a buffer in
// caller memory is never grown beyond it.
struct DtBufferPlaceHolder;

// The caller's bytes seen as a placeholder (received datagrams are adopted
// this way, without a copy).
inline DtBufferPlaceHolder* DtPlaceHolderAt(void* memory) { return static_cast<DtBufferPlaceHolder*>(memory); }
