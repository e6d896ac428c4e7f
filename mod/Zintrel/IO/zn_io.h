// Zintrel.IO, C++ side: console and whole-file input and output.
#ifndef ZN_IO_H
#define ZN_IO_H

#include "../Core/zn_core.h"

// Text and a line feed to standard output, every byte (NUL included), through C's stdout.
void Print(String* text);
// Text without a line feed.
void Write(String* text);
// Writes the prompt, flushes, reads one line without its line end; "" at end of input.
String* Input(String* prompt = nullptr);
// The whole file; "" when it cannot be read.
String* ReadFile(String* path);
bool WriteFile(String* path, String* text);
// True for an existing file that is not a folder.
bool FileExists(String* path);

#endif
