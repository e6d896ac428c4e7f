#pragma once
// File-system helpers of the incremental build. They belong with the other file-system calls of
// the support layer and are meant to move there; until then they live here, grouped.
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

namespace zintrel {

// Modification time in nanoseconds since the epoch, at the file system's full resolution; 0 when
// nothing exists at the path.
int64_t FileTime(const std::string& path);

// Reads a whole text file, honouring byte-order marks (UTF-16 LE/BE, UTF-8); without one every
// byte is one character. Characters keep their low 8 bits. False when the file cannot be read or
// is larger than maxBytes.
bool ReadTextFile(const std::string& path, std::string& text, size_t maxBytes = size_t{1} << 28);

// A file written line by line, each line as 8-bit text followed by CR LF.
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
};

}  // namespace zintrel
