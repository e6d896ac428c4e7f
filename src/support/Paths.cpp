#include "support/Paths.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <vector>

namespace zintrel {

std::string TPaths::LaunchDirectory;
std::string TPaths::WorkingDirectory;
std::string TPaths::ModuleRoot;

namespace {

std::string GetCwd() {
  std::string buffer(PATH_MAX, '\0');
  while (getcwd(buffer.data(), buffer.size()) == nullptr) {
    if (errno != ERANGE) return "/";
    buffer.resize(buffer.size() * 2);
  }
  buffer.resize(std::char_traits<char>::length(buffer.c_str()));
  return buffer;
}

// Length of the root prefix of a path with forward slashes: "//" for network paths, "X:/" for
// drive paths, "/" for Unix paths, 0 for a relative path.
size_t RootLength(std::string_view p) {
  if (p.size() >= 2 && p[0] == '/' && p[1] == '/') return 2;
  if (!p.empty() && p[0] == '/') return 1;
  size_t colon = p.find(':');
  if (colon != std::string_view::npos && p.find('/') == colon + 1) return colon + 2;
  return 0;
}

}  // namespace

bool TPaths::InitStartup() {
  LaunchDirectory = Slashes(GetCwd());
  std::string exe(PATH_MAX, '\0');
  ssize_t n = readlink("/proc/self/exe", exe.data(), exe.size() - 1);
  bool ok = false;
  if (n > 0) {
    exe.resize(static_cast<size_t>(n));
    std::string folder = FolderPart(exe);
    ok = chdir(folder.c_str()) == 0;
  }
  WorkingDirectory = Slashes(GetCwd());
  ModuleRoot = FullPath(MODULE_FOLDER);
  return ok;
}

const std::string& TPaths::CurrentDirectory() {
  if (WorkingDirectory.empty()) WorkingDirectory = Slashes(GetCwd());
  return WorkingDirectory;
}

std::string Slashes(std::string_view path) {
  std::string result(path);
  std::replace(result.begin(), result.end(), '\\', '/');
  return result;
}

std::string FolderPart(std::string_view path) {
  std::string p = Slashes(path);
  size_t last = p.rfind('/');
  if (last == std::string::npos) return "";
  size_t root = RootLength(p);
  if (root > 0 && last < root) return p.substr(0, root);  // a root such as "/" or "C:/" stays whole
  return p.substr(0, last);
}

std::string FilePart(std::string_view path) {
  std::string p = Slashes(path);
  size_t last = p.rfind('/');
  return last == std::string::npos ? p : p.substr(last + 1);
}

std::string ExtensionPart(std::string_view path) {
  std::string p = Slashes(path);
  size_t dot = p.rfind('.');
  if (dot == std::string::npos || p.find('/', dot) != std::string::npos) return "";
  return p.substr(dot + 1);
}

std::string StripExtension(std::string_view path) {
  std::string p = Slashes(path);
  size_t dot = p.rfind('.');
  if (dot == std::string::npos || p.find('/', dot) != std::string::npos) return p;
  return p.substr(0, dot);
}

std::string BareName(std::string_view path) { return StripExtension(FilePart(path)); }

std::string FullPath(std::string_view path) {
  std::string p = Slashes(path);
  if (RootLength(p) == 0) p = TPaths::CurrentDirectory() + "/" + p;
  size_t root = RootLength(p);
  std::string result = p.substr(0, root);
  std::vector<std::string_view> segments;
  std::string_view rest(p);
  rest.remove_prefix(root);
  while (!rest.empty()) {
    size_t slash = rest.find('/');
    std::string_view segment = rest.substr(0, slash);
    rest.remove_prefix(slash == std::string_view::npos ? rest.size() : slash + 1);
    if (segment.empty() || segment == ".") continue;
    if (segment == "..") {
      if (!segments.empty()) segments.pop_back();
      continue;
    }
    segments.push_back(segment);
  }
  for (size_t i = 0; i < segments.size(); ++i) {
    if (i > 0) result += '/';
    result += segments[i];
  }
  return result;
}

std::string AbsolutePath(std::string_view path) {
  std::string p = Slashes(path);
  // Absolute: "//" network paths, "/" paths, and any path whose first ":" is followed by "/".
  size_t colon = p.find(':');
  if (p.rfind("/", 0) == 0 || (colon != std::string::npos && colon + 1 < p.size() && p[colon + 1] == '/'))
    return p;
  return FullPath(TPaths::LaunchDirectory + "/" + p);
}

std::string RelativePath(std::string_view from, std::string_view to) {
  std::string base = FolderPart(from) + "/";
  std::string target = Slashes(to);
  size_t common = 0;
  for (size_t i = 0; i < base.size() && i < target.size() && base[i] == target[i]; ++i)
    if (base[i] == '/') common = i + 1;
  std::string result;
  for (size_t i = common; i < base.size(); ++i)
    if (base[i] == '/') result += "../";
  result += target.substr(common);
  return result;
}

bool IsHiddenName(std::string_view path) {
  std::string file = FilePart(path);
  return !file.empty() && file[0] == '.';
}

}  // namespace zintrel

namespace zintrel {

std::string PlaceInModuleTree(const std::string& path) {
  if (TPaths::ModuleRoot.empty()) return std::string();
  const std::string full = FullPath(path);
  const std::string root = FullPath(TPaths::ModuleRoot) + "/";
  return full.compare(0, root.size(), root) == 0 ? full.substr(root.size()) : std::string();
}

}  // namespace zintrel
