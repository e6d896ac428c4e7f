// Rebuild decisions: whether a source file must be compiled again, and whether a module's build
// is older than its sources. File times are compared at the file system's full resolution, so
// that an edit made within the second of the last build still counts.
#include <limits.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <map>

#include "driver/Compiler.h"
#include "support/Paths.h"
#include "model/ProgramNode.h"
#include "support/Files.h"
#include "support/Messages.h"
#include "support/Process.h"
#include "modules/Module.h"

namespace zintrel {

namespace {

bool AllExist(const std::string& base, std::initializer_list<const char*> suffixes) {
  for (const char* suffix : suffixes)
    if (!PathExists(base + suffix)) return false;
  return true;
}

// Where a record's "File" entry lies: below the source's folder. Headers, C/C++ sources and
// libraries are listed by absolute path or bare name, so a file importing them is compiled again
// on every run (a module only checks entries with an extension).
std::string EntryPath(const std::string& folder, const std::string& entry) {
  return folder + "/" + entry;
}

// Program files whose declarations this run took from their records: source path to target base.
std::map<std::string, std::string> AdoptedRecords;
std::vector<std::string> LaunchArguments;
// The files a run started for a bad record has compiled from source already, one a line: an
// error in one of them is the file's own, and a second rebuild would loop.
constexpr const char* REBUILT_VARIABLE = "ZINTREL_REBUILT_FILES";

// A record anyone could have written may declare what its file does not (an unknown type, a
// redefinition, a cycle). Such a record is deleted and the same build runs again, its output
// passed on without the lines this run has written already, so that the user sees the output
// of the build that compiled the file from source.
void RebuildWithoutRecord(const TASTNode* node) {
  const auto adopted = AdoptedRecords.find(node->SourceFile().str());
  if (adopted == AdoptedRecords.end() || LaunchArguments.empty()) return;
  const char* value = std::getenv(REBUILT_VARIABLE);
  std::string rebuilt = value != nullptr ? value : "";
  if (("\n" + rebuilt).find("\n" + adopted->first + "\n") != std::string::npos) return;
  std::remove((adopted->second + ".dep").c_str());
  std::remove((adopted->second + ".o").c_str());
  std::string exe(PATH_MAX, '\0');
  const ssize_t length = readlink("/proc/self/exe", exe.data(), exe.size() - 1);
  if (length <= 0) return;
  exe.resize(static_cast<size_t>(length));
  std::string command = "\"" + exe + "\"";
  for (size_t i = 1; i < LaunchArguments.size(); ++i) {
    if (LaunchArguments[i].find('"') != std::string::npos) return;  // not passable: report it
    command += " \"" + LaunchArguments[i] + "\"";
  }
  rebuilt += adopted->first + "\n";
  if (setenv(REBUILT_VARIABLE, rebuilt.c_str(), 1) != 0 ||
      chdir(TPaths::LaunchDirectory.c_str()) != 0)
    return;
  std::map<std::string, size_t> written;
  size_t unmatched = 0;
  for (const std::string& line : WrittenMessageLines()) ++written[line], ++unmatched;
  std::string pending;
  TChildOptions options;
  options.CollectError = false;
  options.Inherit = true;
  options.OnText = [&](std::string_view piece) {
    pending += piece;
    size_t start = 0;
    for (size_t end; unmatched > 0 && (end = pending.find('\n', start)) != std::string::npos;
         start = end + 1) {
      auto line = written.find(pending.substr(start, end - start));
      if (line != written.end() && line->second > 0) {
        --line->second, --unmatched;
      } else {
        std::fwrite(pending.data() + start, 1, end + 1 - start, stdout);
      }
    }
    pending.erase(0, start);
    // Once every line written here has come again the rest passes at once (a program's prompt).
    if (unmatched == 0) {
      std::fwrite(pending.data(), 1, pending.size(), stdout);
      pending.clear();
    }
    std::fflush(stdout);
  };
  TChildResult result;
  if (!RunChild(command, options, result)) return;
  std::fwrite(pending.data(), 1, pending.size(), stdout);
  ExitProcess(result.Signal != 0 ? -1 : result.Status);
}

bool KnowsEveryModule(const TProgramNode* root) {
  if (ModuleTree == nullptr) return true;
  for (const std::string& scope : root->ModuleImports)
    if (ModuleTree->Find(scope) == nullptr) return false;
  return true;
}

}  // namespace

void TCompiler::RebuildFilesWithBadRecords(const std::vector<std::string>& arguments) {
  LaunchArguments = arguments;
  TASTNode::RecordErrorHandler = &RebuildWithoutRecord;
}

int32_t TCompiler::CompilationNecessary(const std::string& path, TProgramNode*& root) {
  const std::string target = GenerateTargetPath(path);
  if (!AllExist(target, {".h", ".cpp", ".o", ".dep"})) return 1;
  const int64_t recordTime = FileTime(target + ".dep");
  if (recordTime < FileTime(path) || FileTime(target + ".o") < recordTime) return 1;
  root = LoadRootFromDep(target + ".dep", path);
  if (root == nullptr) return 1;  // unreadable: compiled again, and written anew
  if (!KnowsEveryModule(root)) return 1;
  const std::string folder = FolderPart(path);
  for (const std::string& entry : root->FileImports) {
    const std::string at = EntryPath(folder, entry);
    if (!PathExists(at) || FileTime(at) > recordTime) return 1;
  }
  AdoptedRecords[path] = target;
  return 0;
}

int32_t TCompiler::ModuleCompilationNecessary(const std::string& path, TProgramNode*& root) {
  if (!AllExist(GenerateTargetPath(path), {".dep", ".h", ".cpp", ".o"})) return 1;
  const std::string module = GenerateModuleTargetPath(path);
  if (!AllExist(module, {".dep", ".a", ".h"})) return 1;
  root = LoadRootFromDep(module + ".dep", path);
  if (root == nullptr) return 1;
  if (!KnowsEveryModule(root)) return 1;
  const int64_t recordTime = FileTime(module + ".dep");
  // The record is written before the archive: an archive older than it is from an earlier build.
  if (FileTime(module + ".a") < recordTime) return 1;
  const std::string folder = FolderPart(path);
  for (const std::string& entry : root->FileImports) {
    const std::string extension = ToLower(ExtensionPart(entry));
    if (!extension.empty()) {
      const std::string at = EntryPath(folder, entry);
      if (!PathExists(at) || FileTime(at) > recordTime) return 1;
    }
    if (extension == "a" || extension == "so" || extension.empty()) root->Libraries.push_back(entry);
  }
  return PathExists(path) && FileTime(path) >= recordTime ? 1 : 0;
}

}  // namespace zintrel
