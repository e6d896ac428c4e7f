#include "support/Files.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>

namespace zintrel {

bool FileExists(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

bool FolderExists(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool PathExists(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0;
}

bool CreateFolder(const std::string& path) {
  if (FolderExists(path)) return true;
  return mkdir(path.c_str(), 0777) == 0 || FolderExists(path);
}

std::vector<std::string> ListFolder(const std::string& path) {
  std::vector<std::string> names;
  DIR* dir = opendir(path.c_str());
  if (dir == nullptr) return names;
  while (dirent* entry = readdir(dir)) {
    std::string name = entry->d_name;
    if (name != "." && name != "..") names.push_back(std::move(name));
  }
  closedir(dir);
  std::sort(names.begin(), names.end());
  return names;
}

bool RemoveFile(const std::string& path) { return ::unlink(path.c_str()) == 0; }

namespace {

template <class Bytes>
bool ReadInto(const std::string& path, Bytes& bytes) {
  // Without O_NONBLOCK, opening a FIFO would wait for a writer forever; only regular files are
  // read (reads of a regular file never block anyway).
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return false;
  struct stat info;
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    ::close(fd);
    return false;
  }
  size_t size = info.st_size > 0 ? static_cast<size_t>(info.st_size) : 0;
  // One byte more than the file, so the read that finds the end needs no growth. What the
  // buffer held before is not kept.
  bytes.clear();
  bytes.resize(size + 1 > 4096 ? size + 1 : 4096);
  size_t filled = 0;
  for (;;) {
    if (filled == bytes.size()) bytes.resize(bytes.size() * 2);
    ssize_t got = ::read(fd, bytes.data() + filled, bytes.size() - filled);
    if (got < 0) {
      if (errno == EINTR) continue;
      ::close(fd);
      return false;
    }
    if (got == 0) break;
    filled += static_cast<size_t>(got);
  }
  ::close(fd);
  bytes.resize(filled);
  return true;
}

}  // namespace

bool ReadFileBytes(const std::string& path, std::string& bytes) { return ReadInto(path, bytes); }
bool ReadFileBytes(const std::string& path, TRoom<char>& bytes) { return ReadInto(path, bytes); }

// Files are written under this name next to their place and then renamed into it, so that a
// reader (or the next build, after this one was killed) sees the old file or the whole new one.
std::string PartName(const std::string& path) { return path + ".part"; }

bool PublishPart(const std::string& path) {
  const std::string part = PartName(path);
  if (std::rename(part.c_str(), path.c_str()) == 0) return true;
  std::remove(part.c_str());
  return false;
}

namespace {

bool Publish(const std::string& path, bool written) {
  if (written) return PublishPart(path);
  std::remove(PartName(path).c_str());
  return false;
}

}  // namespace

bool WriteFileBytes(const std::string& path, const std::string& text) {
  std::FILE* f = std::fopen(PartName(path).c_str(), "wb");
  if (f == nullptr) return false;
  bool written = std::fwrite(text.data(), 1, text.size(), f) == text.size();
  written = std::fclose(f) == 0 && written;
  return Publish(path, written);
}

bool ReadTextLines(const std::string& path, std::vector<std::string>& lines) {
  std::string bytes;
  if (!ReadFileBytes(path, bytes)) return false;
  lines.clear();
  std::string line;
  for (char c : bytes) {
    if (c == '\n') {
      lines.push_back(std::move(line));
      line.clear();
    } else if (c != '\r') {
      line.push_back(c);
    }
  }
  if (!line.empty()) lines.push_back(std::move(line));
  return true;
}

bool WriteTextLines(const std::string& path, const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) {
    text += line;
    text += "\r\n";
  }
  return WriteFileBytes(path, text);
}

int64_t FileTime(const std::string& path) {
  struct stat st;
  if (stat(path.c_str(), &st) != 0) return 0;
  return static_cast<int64_t>(st.st_mtim.tv_sec) * 1000000000 +
         static_cast<int64_t>(st.st_mtim.tv_nsec);
}

std::string FileIdentity(const std::string& path) {
  struct stat st;
  if (stat(path.c_str(), &st) != 0) return std::string();
  const int64_t time = static_cast<int64_t>(st.st_mtim.tv_sec) * 1000000000 +
                       static_cast<int64_t>(st.st_mtim.tv_nsec);
  return std::to_string(time) + " " + std::to_string(st.st_size) + " " + std::to_string(st.st_dev) +
         ":" + std::to_string(st.st_ino);
}

namespace {

// Appends the low 8 bits of a code point.
void AppendUnit(std::string& text, uint32_t unit) { text.push_back(static_cast<char>(unit & 0xFF)); }

void DecodeUtf16(std::string_view bytes, bool bigEndian, std::string& text) {
  for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
    const auto a = static_cast<unsigned char>(bytes[i]);
    const auto b = static_cast<unsigned char>(bytes[i + 1]);
    AppendUnit(text, bigEndian ? (uint32_t{a} << 8 | b) : (uint32_t{b} << 8 | a));
  }
}

void DecodeUtf8(std::string_view bytes, std::string& text) {
  for (size_t i = 0; i < bytes.size();) {
    const auto lead = static_cast<unsigned char>(bytes[i]);
    size_t length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
    if (i + length > bytes.size()) length = 1;
    uint32_t unit = length == 1 ? lead : lead & (0x7Fu >> length);
    for (size_t k = 1; k < length; ++k)
      unit = unit << 6 | (static_cast<unsigned char>(bytes[i + k]) & 0x3Fu);
    AppendUnit(text, unit);
    i += length;
  }
}

}  // namespace

bool ReadTextFile(const std::string& path, std::string& text, size_t maxBytes) {
  text.clear();
  // Too large a file is refused before it is read.
  struct stat st;
  if (stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode) ||
      static_cast<size_t>(st.st_size) > maxBytes)
    return false;
  std::string bytes;
  if (!ReadFileBytes(path, bytes) || bytes.size() > maxBytes) return false;
  std::string_view view(bytes);
  if (view.substr(0, 2) == "\xFF\xFE") {
    DecodeUtf16(view.substr(2), false, text);
  } else if (view.substr(0, 2) == "\xFE\xFF") {
    DecodeUtf16(view.substr(2), true, text);
  } else if (view.substr(0, 3) == "\xEF\xBB\xBF") {
    DecodeUtf8(view.substr(3), text);
  } else {
    text = std::move(bytes);
  }
  return true;
}

bool TLineWriter::Open(const std::string& path) {
  Close();
  Failed = false;
  Path = path;
  File = std::fopen(PartName(path).c_str(), "wb");
  return File != nullptr;
}

void TLineWriter::WriteLine(std::string_view text) {
  if (File == nullptr) return;
  if (std::fwrite(text.data(), 1, text.size(), File) != text.size() ||
      std::fwrite("\r\n", 1, 2, File) != 2)
    Failed = true;
}

bool TLineWriter::Close() {
  if (File == nullptr) return !Failed;
  if (std::fclose(File) != 0) Failed = true;
  File = nullptr;
  if (!Publish(Path, !Failed)) Failed = true;
  return !Failed;
}

namespace {

// The parts of the text files being written, removed if the process ends before they are done.
std::vector<std::string>& UnfinishedParts() {
  static std::vector<std::string>* parts = new std::vector<std::string>;
  return *parts;
}

void ForgetPart(const std::string& part) {
  std::vector<std::string>& parts = UnfinishedParts();
  parts.erase(std::remove(parts.begin(), parts.end(), part), parts.end());
}

}  // namespace

void RemoveUnfinishedFiles() {
  for (const std::string& part : UnfinishedParts()) std::remove(part.c_str());
  UnfinishedParts().clear();
}

TTextFileWriter::~TTextFileWriter() { Discard(); }

void TTextFileWriter::Open(const std::string& path) {
  Discard();
  Path = path;
  Opened = true;
  Failed = false;
  Text.clear();
}

void TTextFileWriter::Flush() {
  // The file is made at the first piece that goes out: a short text is written at Close in one go.
  if (File == nullptr && !Failed) {
    File = std::fopen(PartName(Path).c_str(), "wb");
    if (File == nullptr) Failed = true;
    else UnfinishedParts().push_back(PartName(Path));
  }
  if (File != nullptr && std::fwrite(Text.data(), 1, Text.size(), File) != Text.size()) Failed = true;
  Text.clear();
}

void TTextFileWriter::Write(std::string_view piece) {
  // A short piece joins the text, so that the file still takes large writes only.
  if (!Opened || piece.size() < ChunkBytes) {
    Text += piece;
    Pause();
    return;
  }
  Flush();
  if (File != nullptr && std::fwrite(piece.data(), 1, piece.size(), File) != piece.size())
    Failed = true;
}

bool TTextFileWriter::Close() {
  if (!Opened) return false;
  Flush();
  Opened = false;
  if (File == nullptr) return false;
  if (std::fclose(File) != 0) Failed = true;
  File = nullptr;
  ForgetPart(PartName(Path));
  return Publish(Path, !Failed);
}

void TTextFileWriter::Discard() {
  if (File != nullptr) {
    std::fclose(File);
    File = nullptr;
    std::remove(PartName(Path).c_str());
    ForgetPart(PartName(Path));
  }
  Opened = false;
}

}  // namespace zintrel
