#pragma once
// The file-system calls of the compiler. Every call that can fail says so in its result, so
// callers report the failure instead of going on with a half-written build folder.
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "support/Room.h"

namespace zintrel {

bool FileExists(const std::string& path);    // a regular file (or anything but a folder)
bool FolderExists(const std::string& path);
bool PathExists(const std::string& path);    // a file or a folder
bool CreateFolder(const std::string& path);  // not recursive; true when it exists afterwards
// Folder entries (names only, without "." and ".."), sorted by name; empty when unreadable.
std::vector<std::string> ListFolder(const std::string& path);

// Deletes a file; false when it could not be deleted (or was not there).
bool RemoveFile(const std::string& path);

// The whole content of a file into bytes (whose buffer is reused); false when the path is not a
// regular file (a folder, a FIFO, a device) or cannot be opened or read.
bool ReadFileBytes(const std::string& path, std::string& bytes);
// The same into room that is not cleared first (a source file, read once).
bool ReadFileBytes(const std::string& path, TRoom<char>& bytes);
// Writes text as the whole content of the file; false when it cannot be written completely.
// The old content stays until the new one is complete: no reader ever sees half a file.
bool WriteFileBytes(const std::string& path, const std::string& text);
// Where a file is written until it is complete (next to it, so that the rename is atomic), and
// the rename into place; PublishPart is false (and the part gone) when the rename failed. Files
// that other programs write (objects) go the same way as the compiler's own.
std::string PartName(const std::string& path);
bool PublishPart(const std::string& path);
// The lines of an 8-bit text file, split at line feeds with carriage returns dropped; false
// when the file cannot be read.
bool ReadTextLines(const std::string& path, std::vector<std::string>& lines);
// Writes every line followed by CR LF; false when the file cannot be written completely.
bool WriteTextLines(const std::string& path, const std::vector<std::string>& lines);

// Modification time in nanoseconds since the epoch, at the file system's full resolution; 0 when
// nothing exists at the path.
int64_t FileTime(const std::string& path);
// What tells one version of a file from another without reading it: its time, size, device and
// inode as one text; "" when nothing exists at the path.
std::string FileIdentity(const std::string& path);

// Reads a whole text file, honouring byte-order marks (UTF-16 LE/BE, UTF-8); without one every
// byte is one character. Characters keep their low 8 bits. False when the file cannot be read or
// is larger than maxBytes.
bool ReadTextFile(const std::string& path, std::string& text, size_t maxBytes = size_t{1} << 28);

// A file written line by line, each line as 8-bit text followed by CR LF. Like every file the
// compiler writes, it appears whole at Close (it is written under another name until then).
class TLineWriter {
 public:
  TLineWriter() = default;
  TLineWriter(const TLineWriter&) = delete;
  TLineWriter& operator=(const TLineWriter&) = delete;
  ~TLineWriter() { Close(); }
  // Creates (or replaces) the file; false when it cannot be created.
  bool Open(const std::string& path);
  void WriteLine(std::string_view text);
  // False when anything written was lost.
  bool Close();

 private:
  std::FILE* File = nullptr;
  bool Failed = false;
  std::string Path;
};

// A file whose text is made piece by piece (a generated source): the pieces gather in Text,
// and at each Pause the gathered text goes to the file once it has grown past a chunk, so a long
// text never sits whole in memory. Like every file the compiler writes, it appears whole at
// Close; one left unfinished (the writer destroyed, or the process ending on an error) is
// removed. Without Open, nothing is written and Text keeps the whole text.
class TTextFileWriter {
 public:
  TTextFileWriter() = default;
  TTextFileWriter(const TTextFileWriter&) = delete;
  TTextFileWriter& operator=(const TTextFileWriter&) = delete;
  ~TTextFileWriter();
  void Open(const std::string& path);
  void Pause() {
    if (Opened && Text.size() >= ChunkBytes) Flush();
  }
  // Adds a piece after the text: an open file takes a long one as it is, with no copy into Text.
  void Write(std::string_view piece);
  // Writes what is left and puts the file in place; false when anything was lost.
  bool Close();
  std::string Text;

 private:
  static constexpr size_t ChunkBytes = size_t{1} << 18;
  void Flush();
  void Discard();
  std::FILE* File = nullptr;
  bool Opened = false;
  bool Failed = false;
  std::string Path;
};
// Removes the files of the writers still open; the process calls it when it ends on an error.
void RemoveUnfinishedFiles();

}  // namespace zintrel
