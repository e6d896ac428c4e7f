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
// The file's lines without their line ends (LF or CR LF; a last line needs none); no lines
// when it cannot be read.
Array<String*, 1>* ReadLines(String* path);
// Every line followed by a line feed; false when the file cannot be written completely.
bool WriteLines(String* path, Array<String*, 1>* lines);
// The text added at the end of the file, which is created when missing.
bool AppendFile(String* path, String* text);
bool FolderExists(String* path);
// The names in a folder, "." and ".." left out, in byte order; none when it cannot be read.
Array<String*, 1>* ListFolder(String* path);
// Makes the folder and every missing folder above it; true when it exists afterwards.
bool MakeFolder(String* path);
// Removes a file that is not a folder; true when it was removed.
bool DeleteFile(String* path);
// Removes an empty folder; true when it was removed.
bool DeleteFolder(String* path);

#endif
